#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/gfx/Geometry.h"
#include "platform/host/TooltipWindow.h"

namespace zozuz {

// The headless tooltip window: remembers what it shows and where, and how often it was shown.
class RecordedTooltip final : public TooltipWindow {
public:
    void show(const std::string& text, Point pointer) override {
        text_ = text;
        pointer_ = pointer;
        ++shows_;
    }
    void hide() override { text_.reset(); }

    // The text showing now; empty while hidden.
    const std::optional<std::string>& text() const { return text_; }
    // The pointer position the last show was placed for.
    Point pointer() const { return pointer_; }
    std::size_t shows() const { return shows_; }

private:
    std::optional<std::string> text_;
    Point pointer_{};
    std::size_t shows_ = 0;
};

}  // namespace zozuz
