#include "hosts/qt/QtAccessibleWindow.h"

#include <algorithm>
#include <cstdint>

#include "hosts/qt/QtAccessibleNodes.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

QtAccessibleWindow::QtAccessibleWindow(QtWindowWidget& widget)
    : QAccessibleWidget(&widget, QAccessible::Window), widget_(widget) {}

std::vector<QAccessibleInterface*> QtAccessibleWindow::children() const {
    std::vector<QAccessibleInterface*> all;
    const int widgets = QAccessibleWidget::childCount();
    for (int i = 0; i < widgets; ++i)
        if (QAccessibleInterface* c = QAccessibleWidget::child(i)) all.push_back(c);
    QtAccessibleNodes& nodes = widget_.nativeWindow().accessibleNodes();
    for (const std::uint32_t id : nodes.childrenOf(0))
        if (QAccessibleInterface* c = nodes.interfaceFor(id)) all.push_back(c);
    // Reading order: from the top of the window down; what shares a row keeps its order.
    std::stable_sort(all.begin(), all.end(), [](QAccessibleInterface* a, QAccessibleInterface* b) {
        return a->rect().top() < b->rect().top();
    });
    return all;
}

QAccessibleInterface* QtAccessibleWindow::child(int index) const {
    const std::vector<QAccessibleInterface*> all = children();
    return index >= 0 && index < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(index)] : nullptr;
}

int QtAccessibleWindow::childCount() const { return static_cast<int>(children().size()); }

int QtAccessibleWindow::indexOfChild(const QAccessibleInterface* child) const {
    const std::vector<QAccessibleInterface*> all = children();
    const auto found = std::find(all.begin(), all.end(), child);
    return found == all.end() ? -1 : static_cast<int>(found - all.begin());
}

QAccessibleInterface* QtAccessibleWindow::childAt(int x, int y) const {
    for (QAccessibleInterface* c : children())
        if (c->rect().contains(x, y)) return c;
    return nullptr;
}

}  // namespace zozuz
