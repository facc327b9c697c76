#pragma once

#include <functional>
#include <vector>

#include "base/KeyCode.h"
#include "ui/toolkit/components/TComponent.h"

namespace zozuz {

class TAction;

// An ordered list of a window's actions. Its order decides which action a key runs when several
// share a shortcut. The list does not own its actions (their owner does); an action destroyed
// leaves it, and the list destroyed first lets its actions go.
class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner = nullptr);
    ~TActionList() override;

    const std::vector<TAction*>& Actions() const { return actions_; }
    int ActionCount() const { return static_cast<int>(actions_.size()); }

    // Asked first when any action of the list refreshes or runs; setting `handled` ends the request.
    std::function<void(TAction& action, bool& handled)> OnUpdate;
    std::function<void(TAction& action, bool& handled)> OnExecute;

    // Runs the first action, in list order, whose shortcut is `code`. The key is consumed exactly
    // when that action ran; a disabled one leaves the key to whoever comes next.
    bool IsShortCut(KeyCode code);

private:
    friend class TAction;

    void insertAction(TAction& action);
    void removeAction(TAction& action);

    // Each action here has this list as its ActionList.
    std::vector<TAction*> actions_;
};

}  // namespace zozuz
