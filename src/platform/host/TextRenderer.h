#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"

namespace zozuz {

// Text measuring and glyph drawing in a given font, into the program's own images. Each host gives
// one: the Qt host draws with the desktop's fonts, the headless host with a small built-in bitmap
// font, so tests can assert on exact pixels. Text is UTF-8.
class TextRenderer {
public:
    virtual ~TextRenderer() = default;

    // Width of the text and height of its line cell.
    virtual Size measure(const Font& font, std::string_view text) = 0;

    // Draws the glyph pixels of the text, in `rgb`, with the top-left corner of its cell at (x, y),
    // clipped to `clip`; nothing is filled behind the glyphs.
    virtual void draw(Image& image, int x, int y, const Rect& clip, const Font& font,
                      std::string_view text, std::uint32_t rgb) = 0;
};

}  // namespace zozuz
