#pragma once

#include <string>

#include "ui/toolkit/components/TNotifyEvent.h"
#include "ui/toolkit/controls/TControlActionLink.h"

namespace zozuz {

class TToolButton;

// A toolbar button's link to its action: besides a control's values, the caption (compared
// exactly), the image, the pressed state (the action's check mark) and the click handler follow it.
class TToolButtonActionLink : public TControlActionLink {
public:
    explicit TToolButtonActionLink(TToolButton& client);

    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsImageIndexLinked() const override;
    bool IsOnExecuteLinked() const override;

    void SetCaption(const std::string& value) override;
    void SetChecked(bool value) override;
    void SetImageIndex(int value) override;
    void SetOnExecute(const TNotifyEvent& value) override;

private:
    TToolButton& button_;
};

}  // namespace zozuz
