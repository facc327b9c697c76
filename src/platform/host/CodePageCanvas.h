#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"

namespace zozuz {

// Where an editor paints: filled rectangles and runs of code-page text. Everything is clipped to the
// area the host is painting. A Windows host answers with FillRect and ExtTextOutA on the window's
// device context; other hosts decode the bytes at their edge.
class CodePageCanvas {
public:
    virtual ~CodePageCanvas() = default;

    virtual void fill(const Rect& area, std::uint32_t rgb) = 0;
    // Draws valid characters of the code page with the top-left corner of their line cell at `at`;
    // nothing is filled behind the glyphs.
    virtual void drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) = 0;
};

}  // namespace zozuz
