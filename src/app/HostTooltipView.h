#pragma once

#include <string>

#include "app/TooltipView.h"
#include "platform/gfx/Geometry.h"
#include "platform/host/TooltipWindow.h"

namespace zozuz {

// The tooltip timing's view on the host's tooltip window: what the timing decides to show appears
// in the desktop's tooltip window, and nothing more is decided here.
class HostTooltipView final : public TooltipView {
public:
    explicit HostTooltipView(TooltipWindow& window) : window_(window) {}

    void ShowTooltip(const std::string& text, Point pointer) override { window_.show(text, pointer); }
    void HideTooltip() override { window_.hide(); }

private:
    TooltipWindow& window_;
};

}  // namespace zozuz
