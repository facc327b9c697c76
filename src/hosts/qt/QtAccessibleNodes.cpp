#include "hosts/qt/QtAccessibleNodes.h"

#include <algorithm>
#include <unordered_set>

#include <QAccessibleInterface>
#include <QMetaObject>
#include <QPoint>

#include "hosts/qt/QtAccessibleNode.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

QtAccessibleNodes::QtAccessibleNodes(QtWindow& window) : window_(window) {}

QtAccessibleNodes::~QtAccessibleNodes() {
    for (const auto& [id, qtId] : interfaces_) QAccessible::deleteAccessibleInterface(qtId);
}

const AccessibleNode* QtAccessibleNodes::node(std::uint32_t id) {
    refresh();
    const auto found = std::find_if(nodes_.begin(), nodes_.end(), [&](const AccessibleNode& n) { return n.id == id; });
    return found == nodes_.end() ? nullptr : &*found;
}

std::vector<std::uint32_t> QtAccessibleNodes::childrenOf(std::uint32_t parent) {
    refresh();
    std::vector<std::uint32_t> children;
    for (const AccessibleNode& n : nodes_)
        if (n.parent == parent) children.push_back(n.id);
    return children;
}

QAccessibleInterface* QtAccessibleNodes::interfaceFor(std::uint32_t id) {
    if (node(id) == nullptr) return nullptr;
    if (const auto found = interfaces_.find(id); found != interfaces_.end())
        return QAccessible::accessibleInterface(found->second);
    auto* made = new QtAccessibleNode(*this, id);
    interfaces_.emplace(id, QAccessible::registerAccessibleInterface(made));
    return made;
}

QAccessibleInterface* QtAccessibleNodes::windowInterface() const {
    return QAccessible::queryAccessibleInterface(&window_.widget());
}

QRect QtAccessibleNodes::screenRect(const AccessibleNode& n) const {
    const QPoint topLeft = window_.widget().mapToGlobal(QPoint(n.bounds.left, n.bounds.top + window_.clientTop()));
    return {topLeft, QSize(n.bounds.width(), n.bounds.height())};
}

void QtAccessibleNodes::press(std::uint32_t id) {
    QMetaObject::invokeMethod(
        &window_.widget(),
        [this, id] { window_.host().guard([&] { window_.client().accessibleAction(id); }); },
        Qt::QueuedConnection);
}

void QtAccessibleNodes::changed(AccessibleEvent event, std::uint32_t id) {
    stale_ = true;
    // Nobody listens: the list is read again when a screen reader next asks.
    if (!QAccessible::isActive()) return;
    const bool queued = !pending_.empty();
    pending_.emplace_back(event, id);
    if (!queued) QMetaObject::invokeMethod(&window_.widget(), [this] { announce(); }, Qt::QueuedConnection);
}

void QtAccessibleNodes::refresh() {
    if (!stale_) return;
    stale_ = false;
    std::vector<AccessibleNode> now;
    window_.host().guard([&] { now = window_.client().accessibleNodes(); });
    std::unordered_set<std::uint32_t> present;
    for (const AccessibleNode& n : now) present.insert(n.id);
    // The controls that went are announced while their interfaces still answer as they were.
    std::vector<QAccessible::Id> gone;
    for (const auto& [id, qtId] : interfaces_)
        if (!present.contains(id)) gone.push_back(qtId);
    if (QAccessible::isActive()) {
        for (const QAccessible::Id qtId : gone) {
            QAccessibleEvent event(QAccessible::accessibleInterface(qtId), QAccessible::ObjectDestroyed);
            QAccessible::updateAccessibility(&event);
        }
    }
    std::erase_if(interfaces_, [&](const auto& entry) { return !present.contains(entry.first); });
    for (const QAccessible::Id qtId : gone) QAccessible::deleteAccessibleInterface(qtId);
    nodes_ = std::move(now);
}

void QtAccessibleNodes::announce() {
    std::vector<std::pair<AccessibleEvent, std::uint32_t>> events;
    events.swap(pending_);
    if (!QAccessible::isActive()) return;
    refresh();
    for (const auto& [kind, id] : events) {
        if (kind == AccessibleEvent::Structure) {
            QAccessibleEvent event(windowInterface(), QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&event);
            continue;
        }
        // A control no screen reader has looked at yet needs no news.
        const AccessibleNode* n = node(id);
        if (n == nullptr || !interfaces_.contains(id)) continue;
        QAccessibleInterface* iface = interfaceFor(id);
        switch (kind) {
            case AccessibleEvent::NameChanged: {
                QAccessibleEvent event(iface, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&event);
                break;
            }
            case AccessibleEvent::StateChanged: {
                QAccessible::State states;
                states.disabled = true;
                QAccessibleStateChangeEvent event(iface, states);
                QAccessible::updateAccessibility(&event);
                break;
            }
            case AccessibleEvent::ValueChanged:
                if (n->role == AccessibleRole::ProgressBar) {
                    QAccessibleValueChangeEvent event(iface, n->value);
                    QAccessible::updateAccessibility(&event);
                } else {
                    // A status line's text is its name and description; screen readers read
                    // those again when told they changed.
                    QAccessibleEvent name(iface, QAccessible::NameChanged);
                    QAccessible::updateAccessibility(&name);
                    QAccessibleEvent description(iface, QAccessible::DescriptionChanged);
                    QAccessible::updateAccessibility(&description);
                }
                break;
            case AccessibleEvent::Structure: break;
        }
    }
}

}  // namespace zozuz
