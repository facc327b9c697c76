#include "hosts/qt/QtAccessibleNodes.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

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

void QtAccessibleNodes::changed(AccessibleEvent, std::uint32_t) {
    stale_ = true;
    // Nobody listens: the list is read again when a screen reader next asks.
    if (!QAccessible::isActive() || announcing_) return;
    announcing_ = true;
    QMetaObject::invokeMethod(
        &window_.widget(),
        [this] {
            announcing_ = false;
            refresh();
        },
        Qt::QueuedConnection);
}

namespace {

void send(QAccessibleInterface* iface, QAccessible::Event kind) {
    QAccessibleEvent event(iface, kind);
    QAccessible::updateAccessibility(&event);
}

bool sameShape(const std::vector<AccessibleNode>& a, const std::vector<AccessibleNode>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].id != b[i].id || a[i].parent != b[i].parent) return false;
    return true;
}

}  // namespace

void QtAccessibleNodes::refresh() {
    if (!stale_) return;
    stale_ = false;
    std::vector<AccessibleNode> now;
    window_.host().guard([&] { now = window_.client().accessibleNodes(); });
    const bool first = !read_;
    read_ = true;
    const bool tell = !first && QAccessible::isActive();
    std::unordered_map<std::uint32_t, const AccessibleNode*> present;
    for (const AccessibleNode& n : now) present.emplace(n.id, &n);
    // The controls that went are announced while their interfaces still answer as they were.
    std::vector<QAccessible::Id> gone;
    for (const auto& [id, qtId] : interfaces_)
        if (!present.contains(id)) gone.push_back(qtId);
    if (tell)
        for (const QAccessible::Id qtId : gone) send(QAccessible::accessibleInterface(qtId), QAccessible::ObjectDestroyed);
    std::erase_if(interfaces_, [&](const auto& entry) { return !present.contains(entry.first); });
    for (const QAccessible::Id qtId : gone) QAccessible::deleteAccessibleInterface(qtId);
    std::vector<AccessibleNode> before = std::move(nodes_);
    nodes_ = std::move(now);
    if (!tell) return;

    // What changed is found by comparing with the list the screen reader last saw, whatever the
    // program said changed: a change it told while this list was being read is not lost.
    if (!sameShape(before, nodes_)) send(windowInterface(), QAccessible::ObjectReorder);
    for (const AccessibleNode& was : before) {
        const auto found = present.find(was.id);
        const auto seen = interfaces_.find(was.id);
        // A control no screen reader has looked at yet needs no news.
        if (found == present.end() || seen == interfaces_.end()) continue;
        const AccessibleNode& is = *found->second;
        QAccessibleInterface* iface = QAccessible::accessibleInterface(seen->second);
        if (is.name != was.name) send(iface, QAccessible::NameChanged);
        if (is.enabled != was.enabled) {
            QAccessible::State states;
            states.disabled = true;
            QAccessibleStateChangeEvent event(iface, states);
            QAccessible::updateAccessibility(&event);
        }
        if (is.text != was.text) {
            // A status line's text is its name and description, which screen readers read again
            // when told they changed.
            if (is.name == was.name) send(iface, QAccessible::NameChanged);
            send(iface, QAccessible::DescriptionChanged);
        }
        if (is.value != was.value || is.minimum != was.minimum || is.maximum != was.maximum) {
            QAccessibleValueChangeEvent event(iface, is.value);
            QAccessible::updateAccessibility(&event);
        }
    }
}

}  // namespace zozuz
