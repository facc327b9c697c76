#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include <QAccessible>
#include <QRect>

#include "platform/host/Accessible.h"

class QAccessibleInterface;

namespace zozuz {

class QtWindow;

// The drawn controls of one top-level window as Qt's accessibility sees them. The program describes
// them as a list (WindowClient::accessibleNodes); this keeps the list a screen reader last saw and
// one accessible interface per control, registered with Qt under the control's id, so that a control
// stays the same object to the screen reader however often the list is read again. Interfaces are
// made only when a screen reader asks for them, and go when their control leaves the list.
class QtAccessibleNodes {
public:
    explicit QtAccessibleNodes(QtWindow& window);
    ~QtAccessibleNodes();
    QtAccessibleNodes(const QtAccessibleNodes&) = delete;
    QtAccessibleNodes& operator=(const QtAccessibleNodes&) = delete;

    // The control `id`, or null when the list holds none such.
    const AccessibleNode* node(std::uint32_t id);
    // The controls that lie directly in `parent` (0: on the window), in reading order.
    std::vector<std::uint32_t> childrenOf(std::uint32_t parent);
    // The interface of control `id`, made now if it has none yet; null when there is no such control.
    QAccessibleInterface* interfaceFor(std::uint32_t id);
    // The window's own interface, which the controls on the window name as their parent.
    QAccessibleInterface* windowInterface() const;
    // A control's bounds on the screen.
    QRect screenRect(const AccessibleNode& node) const;
    // Presses a push button as a click would, once the event loop runs again: the click may open a
    // modal window, and the screen reader waits for the answer to its call.
    void press(std::uint32_t id);

    // The program says a control changed (NativeWindow::accessibleChanged). The list is read again
    // once the event loop runs again, never from inside the program's call, and what differs from
    // the list read before is announced.
    void changed(AccessibleEvent event, std::uint32_t id);

private:
    // Reads the list again if the program changed anything since, and announces the differences to
    // a listening screen reader; interfaces of controls that went are announced gone and deleted.
    void refresh();

    QtWindow& window_;
    std::vector<AccessibleNode> nodes_;
    // Whether nodes_ may differ from what the program would list now.
    bool stale_ = true;
    // The interfaces registered with Qt, by control id; each names a control of nodes_.
    std::unordered_map<std::uint32_t, QAccessible::Id> interfaces_;
    // Whether the list was read before, so that differences from it are news.
    bool read_ = false;
    // A reading is queued for the event loop.
    bool announcing_ = false;
};

}  // namespace zozuz
