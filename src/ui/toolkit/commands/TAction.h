#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/CommandTarget.h"
#include "base/KeyCode.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/components/TNotifyEvent.h"

namespace zozuz {

class TActionLink;
class TActionList;
class TApplication;

// A command that menu entries and toolbar buttons share. Each client keeps its own copy of what it
// shows; setting a value here pushes it to the clients that still follow the action for that value
// (those whose value equals the action's old one), and only then stores it. The action's state is
// recomputed by Update, at every idle step and before every run, never kept elsewhere.
//
// Update and Execute ask, in order, the action list's handler, the action's own handler, and then
// the target search: the application has the active window and, when that is not the main window,
// the main window searched for a control the action accepts (HandlesTarget), and the action
// refreshes itself from it or runs on it. An action without any of these that is enabled and
// DisableWhenUnhandled disables itself when it has no Execute handler.
class TAction : public TComponent {
public:
    explicit TAction(TComponent* owner = nullptr);
    // Leaves its action list, and every client link forgets the action.
    ~TAction() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    KeyCode ShortCut() const { return shortCut_; }
    void SetShortCut(KeyCode shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context);
    const TNotifyEvent& OnExecute() const { return onExecute_; }
    void SetOnExecute(const TNotifyEvent& handler);

    // Grouping only; nothing at run time reads it.
    const std::string& Category() const { return category_; }
    void SetCategory(std::string category) { category_ = std::move(category); }
    bool DisableWhenUnhandled() const { return disableWhenUnhandled_; }
    void SetDisableWhenUnhandled(bool disable) { disableWhenUnhandled_ = disable; }

    // The refresh handler: when set, it handles every refresh.
    TNotifyEvent OnUpdate;
    // Runs after a value changed and was pushed to the clients.
    std::function<void(TAction& sender)> OnChange;

    // The list the action belongs to, or null.
    TActionList* ActionList() const { return actionList_; }
    // Moves the action to the end of `list`, or out of any list with null.
    void SetActionList(TActionList* list);

    // The links of the clients, in the order they were linked.
    const std::vector<TActionLink*>& Clients() const { return clients_; }

    // Refreshes the action; returns whether anything handled the refresh.
    bool Update();
    // Refreshes the action and, if it is enabled then, runs it; returns whether it ran.
    bool Execute();

    // Whether `target` is a control the action acts on. The plain action acts on none.
    virtual bool HandlesTarget(CommandTarget& /*target*/) { return false; }
    // Refreshes the action from a target it accepted, or runs it there.
    virtual void UpdateTarget(CommandTarget& /*target*/) {}
    virtual void ExecuteTarget(CommandTarget& /*target*/) {}

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredEvent(const std::string& property, const TNotifyEvent& handler) override;
    bool servesAsStored(const std::string& property) const override;
    void placeStored(TComponent* parent, TComponent& window) override;
    // The application whose windows the target search visits: that of the first window among the
    // action's owners (HomeApplication), or null when it has none (then there is no search).
    virtual TApplication* TargetApplication() const;

private:
    friend class TActionLink;

    // Has the application offer the action to the active window and then the main window; true
    // when a control took it.
    bool searchTarget(bool execute);
    // Applies the rule that follows an unhandled refresh or run.
    void disableIfUnhandled();
    void changed();

    std::string caption_;
    std::string hint_;
    int imageIndex_ = -1;
    KeyCode shortCut_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    int helpContext_ = 0;
    TNotifyEvent onExecute_;
    std::string category_;
    bool disableWhenUnhandled_ = true;
    TActionList* actionList_ = nullptr;
    // Each link here has this action as its action.
    std::vector<TActionLink*> clients_;
};

}  // namespace zozuz
