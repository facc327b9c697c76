#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/PixelScale.h"
#include "platform/host/CodePageCanvas.h"
#include "platform/host/CodePageTextMeasure.h"

struct HDC__;

namespace zozuz {

class GdiTextRenderer;

// Measuring code-page bytes with GDI's ANSI calls in the renderer's fonts, which carry the GB2312
// character set, so that the system reads a lead byte with its trail byte as one character. The
// editor's text is measured and drawn in the unsmoothed fonts, so that what is measured is what
// is drawn.
class GdiCodePageTextMeasure final : public CodePageTextMeasure {
public:
    // `fonts` must outlive the measure.
    explicit GdiCodePageTextMeasure(GdiTextRenderer& fonts);
    ~GdiCodePageTextMeasure() override;
    GdiCodePageTextMeasure(const GdiCodePageTextMeasure&) = delete;
    GdiCodePageTextMeasure& operator=(const GdiCodePageTextMeasure&) = delete;

    int advance(const Font& font, std::string_view character) override;
    int lineHeight(const Font& font) override;
    int averageCharWidth(const Font& font) override;

private:
    GdiTextRenderer& fonts_;
    HDC__* dc_;  // a memory device context of the screen's kind, only measured on
};

// Painting code-page text on a window's device context during one WM_PAINT, clipped by the system
// to the area being painted. The program paints in logical pixels; on a display of another density
// the canvas maps every position to device pixels and draws the text in a font of the scaled
// height, each character at the scaled place the program's logical measure gave it, so that the
// text is sharp and the caret and selection still meet the characters.
class GdiCodePageCanvas final : public CodePageCanvas {
public:
    // `fonts` and `measure` must outlive the canvas.
    GdiCodePageCanvas(HDC__* dc, GdiTextRenderer& fonts, GdiCodePageTextMeasure& measure, const PixelScale& scale)
        : dc_(dc), fonts_(fonts), measure_(measure), scale_(scale) {}

    void fill(const Rect& area, std::uint32_t rgb) override;
    void drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) override;

private:
    HDC__* dc_;
    GdiTextRenderer& fonts_;
    GdiCodePageTextMeasure& measure_;
    PixelScale scale_;
};

}  // namespace zozuz
