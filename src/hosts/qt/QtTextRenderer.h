#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <QFont>
#include <QFontMetrics>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/TextRenderer.h"

namespace zozuz {

// Text in the desktop's fonts (through QtFontMapper), drawn into the program's own images. The
// program combines pixels by exclusive-or and keeps the top byte of every pixel zero, so the glyphs
// are drawn into a scratch image of Qt's own layout and only their colour bits are copied back.
// Smoothed glyph edges are blended with the pixels beneath, as the desktop draws them.
class QtTextRenderer final : public TextRenderer {
public:
    Size measure(const Font& font, std::string_view text) override;
    void draw(Image& image, int x, int y, const Rect& clip, const Font& font, std::string_view text,
              std::uint32_t rgb) override;

private:
    // The mapped font and its metrics, for the font used last: the program draws in one or two
    // fonts, and mapping one means a font database lookup.
    const QFont& qtFont(const Font& font);
    const QFontMetrics& metrics(const Font& font);

    std::optional<Font> cachedFont_;
    QFont qtFont_;
    std::optional<QFontMetrics> metrics_;
};

}  // namespace zozuz
