#pragma once

#include <string>

#include "platform/gfx/PixelScale.h"
#include "platform/host/TooltipWindow.h"

struct HWND__;

namespace zozuz {

// The common controls' tooltip window, used as a tracking tooltip: the program says when it shows
// and where, so the control's own timing and hit testing stay unused. Created on its first showing.
class Win32TooltipWindow final : public TooltipWindow {
public:
    Win32TooltipWindow() = default;
    ~Win32TooltipWindow() override;
    Win32TooltipWindow(const Win32TooltipWindow&) = delete;
    Win32TooltipWindow& operator=(const Win32TooltipWindow&) = delete;

    void show(const std::string& text, Point pointer) override;
    void hide() override;

    // The density the program's screen positions are mapped with.
    void setScreenScale(const PixelScale& scale) { screen_ = scale; }

private:
    // Creates the window and its one tool; false when the system refused, and then nothing shows.
    bool created();

    HWND__* window_ = nullptr;
    PixelScale screen_;
    // The text the tool shows; the control keeps a pointer to it.
    std::wstring text_;
};

}  // namespace zozuz
