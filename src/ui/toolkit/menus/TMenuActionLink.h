#pragma once

#include <string>

#include "base/KeyCode.h"
#include "ui/toolkit/commands/TActionLink.h"
#include "ui/toolkit/components/TNotifyEvent.h"

namespace zozuz {

class TMenuItem;

// A menu entry's link to its action. Every value an entry shows is linked; captions count as equal
// when they differ only in letter case or access-key marks.
class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem& client) : client_(client) {}

    bool IsCaptionLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsImageIndexLinked() const override;
    bool IsHelpContextLinked() const override;
    bool IsShortCutLinked() const override;
    bool IsOnExecuteLinked() const override;

    void SetCaption(const std::string& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const std::string& value) override;
    void SetVisible(bool value) override;
    void SetChecked(bool value) override;
    void SetImageIndex(int value) override;
    void SetHelpContext(int value) override;
    void SetShortCut(KeyCode value) override;
    void SetOnExecute(const TNotifyEvent& value) override;

private:
    TMenuItem& client_;
};

}  // namespace zozuz
