#pragma once

#include <memory>
#include <string>

#include "platform/host/MouseEvent.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/components/TNotifyEvent.h"
#include "ui/toolkit/controls/TGraphicControl.h"

namespace zozuz {

class TAction;
class TControlActionLink;

enum class TToolButtonStyle { tbsButton, tbsSeparator };

// A button of a toolbar (TToolBar is its parent), or the gap that separates groups of buttons. It
// keeps what it shows itself; a linked action offers its values when the link is made and pushes
// its changes while the button still holds the action's value (see TAction). Every change of its
// look repaints it later and is announced to its toolbar, for a host's view of the bar.
class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* owner = nullptr);
    ~TToolButton() override;

    // The toolbar shows no captions; the button keeps one all the same, as its action offers one.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // Shown pressed in.
    bool Down() const { return down_; }
    void SetDown(bool down);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style);
    void SetEnabled(bool enabled) override;
    void SetVisible(bool visible) override;
    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& handler) { onClick_ = handler; }

    // The user clicked the button: a disabled button or a separator does nothing; a button whose
    // own click handler is not its action's runs that handler; otherwise the action runs
    // (refreshed first).
    void Click();

    // A press and release of the left button over it clicks it.
    void MouseInput(const MouseEvent& event) override;
    void CancelMode() override { pressed_ = false; }

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredEvent(const std::string& property, const TNotifyEvent& handler) override;
    // A flat button: its toolbar's picture ImageIndex, 16 x 16, centred on the bar's colour, or its
    // greyed form (a grey silhouette over a white one shifted down and right) while disabled. A
    // separator paints the bar's colour only.
    void Paint() override;
    std::unique_ptr<TControlActionLink> CreateActionLink() override;
    // Besides a control's values, a caption equal to the button's name counts as a default.
    void ActionChange(const TAction& action, bool checkDefaults) override;

private:
    void changed();

    std::string caption_;
    int imageIndex_ = -1;
    bool down_ = false;
    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    TNotifyEvent onClick_;
    // Between a press of the left button on the button and its release.
    bool pressed_ = false;
};

}  // namespace zozuz
