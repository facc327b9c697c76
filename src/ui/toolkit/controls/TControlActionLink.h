#pragma once

#include <string>

#include "ui/toolkit/commands/TActionLink.h"

namespace zozuz {

class TControl;

// A control's link to its action: the values every control has, enabled state, visibility and hint,
// follow the action.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl& client) : client_(client) {}

    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;

    void SetEnabled(bool value) override;
    void SetHint(const std::string& value) override;
    void SetVisible(bool value) override;

private:
    TControl& client_;
};

}  // namespace zozuz
