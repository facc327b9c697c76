#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/TextRenderer.h"

namespace zozuz {

// The headless host's text renderer: a small built-in bitmap font, so that tests can assert on the
// exact pixels of drawn text on any machine.
//
// Every glyph is designed on a grid of 5 x 8 dots (rows 0 to 6 stand on the baseline, row 7 holds
// descenders) and advances by 6 dots. A font draws each dot as an s x s block, with the scale s =
// max(1, pixelHeight / 8), so the glyphs never grow taller than the character height asked for. The
// line cell is max(pixelHeight, 8) pixels high, with the glyphs centred in it vertically. The printable
// ASCII characters have their own glyphs; every other character (each UTF-8 sequence counts once) is
// drawn as a hollow box. The face name, character set and bold flag do not change the pixels.
class BitmapFontRenderer final : public TextRenderer {
public:
    static constexpr int kDotsWide = 5;
    static constexpr int kDotsHigh = 8;
    static constexpr int kAdvanceDots = 6;

    // The size of one dot in pixels for a font.
    static int scale(const Font& font);
    // The height of a font's line cell in pixels.
    static int cellHeight(const Font& font);
    // The dot rows of the glyph of one character (bit 4 is the leftmost dot). Characters without a
    // glyph of their own give the hollow box.
    static const std::uint8_t* glyph(char32_t ch);

    Size measure(const Font& font, std::string_view text) override;
    void draw(Image& image, int x, int y, const Rect& clip, const Font& font, std::string_view text,
              std::uint32_t rgb) override;
};

}  // namespace zozuz
