#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace zozuz {

class TComponent;

// A handler bound to an event by name, such as a command's Execute handler. Copies of one handler
// compare equal and two handlers made apart never do, which lets a menu entry or button tell whether
// the click handler it holds is the one it took from its action.
class TNotifyEvent {
public:
    using Handler = std::function<void(TComponent& sender)>;

    TNotifyEvent() = default;
    explicit TNotifyEvent(Handler handler)
        : handler_(handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr) {}

    explicit operator bool() const { return handler_ != nullptr; }
    // Runs the handler; calling an empty event is a mistake of the caller.
    void operator()(TComponent& sender) const { (*handler_)(sender); }

    friend bool operator==(const TNotifyEvent& a, const TNotifyEvent& b) { return a.handler_ == b.handler_; }

private:
    std::shared_ptr<const Handler> handler_;
};

}  // namespace zozuz
