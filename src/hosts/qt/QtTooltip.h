#pragma once

#include <memory>
#include <string>

#include "platform/gfx/Geometry.h"
#include "platform/host/TooltipWindow.h"

class QLabel;

namespace zozuz {

// The tooltip window on Qt: a frameless label with Qt's tooltip window flags, so that it takes no
// focus and the desktop draws it in its tooltip colours. Made on the first show.
class QtTooltip final : public TooltipWindow {
public:
    QtTooltip();
    ~QtTooltip() override;
    QtTooltip(const QtTooltip&) = delete;
    QtTooltip& operator=(const QtTooltip&) = delete;

    void show(const std::string& text, Point pointer) override;
    void hide() override;

    // The label, for the host's tests; null before the first show.
    QLabel* label() const { return label_.get(); }

private:
    std::unique_ptr<QLabel> label_;
};

}  // namespace zozuz
