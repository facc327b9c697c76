#pragma once

#include <string>

#include "base/KeyCode.h"
#include "ui/toolkit/components/TNotifyEvent.h"

namespace zozuz {

class TAction;

// The tie between one client (a menu entry, a button, a control) and the action it shows. The link
// belongs to the client. For each value it tells whether the client still follows the action, that
// is whether the value is linked for this kind of client and the client holds the action's current
// value, and it sets the client's value when the action's changes. The base links nothing; each
// kind of client has its own link.
class TActionLink {
public:
    TActionLink() = default;
    virtual ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    // The action, or null once it has been destroyed.
    TAction* Action() const { return action_; }
    // Moves the link into the new action's client list, last, or out of any with null.
    void SetAction(TAction* action);

    // Refreshes and runs the action; false without one.
    bool Update();
    bool Execute();

    virtual bool IsCaptionLinked() const { return false; }
    virtual bool IsEnabledLinked() const { return false; }
    virtual bool IsHintLinked() const { return false; }
    virtual bool IsVisibleLinked() const { return false; }
    virtual bool IsCheckedLinked() const { return false; }
    virtual bool IsImageIndexLinked() const { return false; }
    virtual bool IsHelpContextLinked() const { return false; }
    virtual bool IsShortCutLinked() const { return false; }
    virtual bool IsOnExecuteLinked() const { return false; }

    virtual void SetCaption(const std::string& /*value*/) {}
    virtual void SetEnabled(bool /*value*/) {}
    virtual void SetHint(const std::string& /*value*/) {}
    virtual void SetVisible(bool /*value*/) {}
    virtual void SetChecked(bool /*value*/) {}
    virtual void SetImageIndex(int /*value*/) {}
    virtual void SetHelpContext(int /*value*/) {}
    virtual void SetShortCut(KeyCode /*value*/) {}
    virtual void SetOnExecute(const TNotifyEvent& /*value*/) {}

private:
    friend class TAction;

    TAction* action_ = nullptr;
};

}  // namespace zozuz
