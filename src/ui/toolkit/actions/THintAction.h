#pragma once

#include <string>

#include "app/CommandTarget.h"
#include "ui/toolkit/commands/TAction.h"

namespace zozuz {

class TApplication;

// A short-lived action that carries a new application hint to the first control of the target
// search that shows hints: a status line with AutoHint on and no hint handler of its own. It owns
// no window, so it searches the windows of the application it is made for: the active one first,
// then the main window. Nothing handling it is no fault, so it never disables itself.
class THintAction : public TAction {
public:
    THintAction(TApplication& application, std::string hint);

    bool HandlesTarget(CommandTarget& target) override;
    void ExecuteTarget(CommandTarget& target) override;

    // Sends `hint` through the windows of `application`; how the application passes on a changed
    // hint when nobody has set a hint handler of their own.
    static void Broadcast(TApplication& application, const std::string& hint);

protected:
    TApplication* TargetApplication() const override { return &application_; }

private:
    TApplication& application_;
};

}  // namespace zozuz
