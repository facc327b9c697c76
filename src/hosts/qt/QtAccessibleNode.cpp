#include "hosts/qt/QtAccessibleNode.h"

#include <vector>

#include <QWidget>

#include "hosts/qt/QtAccessibleNodes.h"
#include "platform/host/Accessible.h"

namespace zozuz {

namespace {

QAccessible::Role roleOf(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::ToolBar: return QAccessible::ToolBar;
        case AccessibleRole::PushButton: return QAccessible::Button;
        case AccessibleRole::StatusBar: return QAccessible::StatusBar;
        case AccessibleRole::ProgressBar: return QAccessible::ProgressBar;
        case AccessibleRole::Label: return QAccessible::StaticText;
        case AccessibleRole::Image: return QAccessible::Graphic;
    }
    return QAccessible::NoRole;
}

// Screen readers ask for "default" where they mean whatever a click does.
const QString kDefaultAction = QStringLiteral("default");

}  // namespace

bool QtAccessibleNode::isValid() const { return nodes_.node(id_) != nullptr; }

QWindow* QtAccessibleNode::window() const {
    QAccessibleInterface* top = nodes_.windowInterface();
    return top ? top->window() : nullptr;
}

QAccessibleInterface* QtAccessibleNode::childAt(int x, int y) const {
    for (const std::uint32_t id : nodes_.childrenOf(id_)) {
        if (const AccessibleNode* n = nodes_.node(id); n && nodes_.screenRect(*n).contains(x, y))
            return nodes_.interfaceFor(id);
    }
    return nullptr;
}

QAccessibleInterface* QtAccessibleNode::parent() const {
    const AccessibleNode* n = nodes_.node(id_);
    if (n == nullptr) return nullptr;
    return n->parent == 0 ? nodes_.windowInterface() : nodes_.interfaceFor(n->parent);
}

QAccessibleInterface* QtAccessibleNode::child(int index) const {
    const std::vector<std::uint32_t> children = nodes_.childrenOf(id_);
    if (index < 0 || index >= static_cast<int>(children.size())) return nullptr;
    return nodes_.interfaceFor(children[static_cast<std::size_t>(index)]);
}

int QtAccessibleNode::childCount() const { return static_cast<int>(nodes_.childrenOf(id_).size()); }

int QtAccessibleNode::indexOfChild(const QAccessibleInterface* child) const {
    const auto* other = dynamic_cast<const QtAccessibleNode*>(child);
    if (other == nullptr) return -1;
    const std::vector<std::uint32_t> children = nodes_.childrenOf(id_);
    for (std::size_t i = 0; i < children.size(); ++i)
        if (children[i] == other->id_) return static_cast<int>(i);
    return -1;
}

QString QtAccessibleNode::text(QAccessible::Text t) const {
    const AccessibleNode* n = nodes_.node(id_);
    if (n == nullptr) return {};
    if (n->role == AccessibleRole::StatusBar) {
        // A status line says nothing but its text, under whichever name it is asked for.
        if (t == QAccessible::Name || t == QAccessible::Description || t == QAccessible::Value)
            return QString::fromStdString(n->text);
        return {};
    }
    if (t == QAccessible::Name) return QString::fromStdString(n->name);
    if (t == QAccessible::Value && n->role == AccessibleRole::ProgressBar) return QString::number(n->value);
    return {};
}

QRect QtAccessibleNode::rect() const {
    const AccessibleNode* n = nodes_.node(id_);
    return n ? nodes_.screenRect(*n) : QRect();
}

QAccessible::Role QtAccessibleNode::role() const {
    const AccessibleNode* n = nodes_.node(id_);
    return n ? roleOf(n->role) : QAccessible::NoRole;
}

QAccessible::State QtAccessibleNode::state() const {
    QAccessible::State states;
    const AccessibleNode* n = nodes_.node(id_);
    if (n == nullptr) {
        states.invalid = true;
        return states;
    }
    states.disabled = !n->enabled;
    states.focusable = n->role == AccessibleRole::PushButton;
    states.invisible = n->bounds.width() <= 0 || n->bounds.height() <= 0;
    if (n->role == AccessibleRole::StatusBar || n->role == AccessibleRole::ProgressBar) states.readOnly = true;
    return states;
}

void* QtAccessibleNode::interface_cast(QAccessible::InterfaceType type) {
    const AccessibleNode* n = nodes_.node(id_);
    if (n == nullptr) return nullptr;
    if (type == QAccessible::ActionInterface && n->role == AccessibleRole::PushButton)
        return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::ValueInterface && n->role == AccessibleRole::ProgressBar)
        return static_cast<QAccessibleValueInterface*>(this);
    return nullptr;
}

QStringList QtAccessibleNode::actionNames() const {
    const AccessibleNode* n = nodes_.node(id_);
    if (n == nullptr || n->role != AccessibleRole::PushButton) return {};
    return {pressAction()};
}

void QtAccessibleNode::doAction(const QString& actionName) {
    const AccessibleNode* n = nodes_.node(id_);
    if (n == nullptr || n->role != AccessibleRole::PushButton || !n->enabled) return;
    if (actionName == pressAction() || actionName == kDefaultAction) nodes_.press(id_);
}

QVariant QtAccessibleNode::currentValue() const {
    const AccessibleNode* n = nodes_.node(id_);
    return n ? QVariant(n->value) : QVariant();
}

QVariant QtAccessibleNode::maximumValue() const {
    const AccessibleNode* n = nodes_.node(id_);
    return n ? QVariant(n->maximum) : QVariant();
}

QVariant QtAccessibleNode::minimumValue() const {
    const AccessibleNode* n = nodes_.node(id_);
    return n ? QVariant(n->minimum) : QVariant();
}

}  // namespace zozuz
