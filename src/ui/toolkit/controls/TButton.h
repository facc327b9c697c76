#pragma once

#include <functional>
#include <string>

#include "platform/gfx/Geometry.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/Surface.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

// A push button, drawn by the program in the desktop's look: a light face with a thin border, blue
// when it is the default button or has the focus, darker while it is held down, and a dotted focus
// rectangle while it has the focus. It takes the focus and is a tab stop.
//
// A click (the left button pressed and released over it, Space pressed and released while it has
// the focus, or Enter and Esc through its window when it is the default or cancel button) copies
// the button's modal result into its window's, then runs OnClick.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    // The button Enter presses when the focus is on no other button.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    // The button Esc presses.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    // What the button does when the user presses it.
    virtual void Click();
    std::function<void(TButton& sender)> OnClick;

    // Whether the button shows as held down.
    bool Down() const { return mouseDown_ ? mouseOver_ : spaceDown_; }

    // A disabled button shows greyed.
    void SetEnabled(bool enabled) override;
    void PaintWindow(Surface& surface, const Rect& area) override;
    void KeyDown(const KeyEvent& key) override;
    void KeyUp(const KeyEvent& key) override;
    void MouseInput(const MouseEvent& event) override;
    void CancelMode() override;

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredEvent(const std::string& property, const TNotifyEvent& handler) override;
    void FocusChanged(bool focused) override;

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
    // The left button went down over the button and has not come up yet; mouseOver_ says whether
    // the pointer is over it meanwhile.
    bool mouseDown_ = false;
    bool mouseOver_ = false;
    // Space went down while the button had the focus and has not come up yet.
    bool spaceDown_ = false;
};

}  // namespace zozuz
