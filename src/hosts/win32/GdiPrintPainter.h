#pragma once

#include <string_view>

#include "editor/PrintLayout.h"
#include "platform/gfx/Font.h"
#include "platform/host/CodePageCodec.h"

struct HDC__;
struct HFONT__;

namespace zozuz {

// Printed pages on a printer's device context: the printable area within margins of
// kPrintMarginMillimetres from the paper's edges (or the whole printable area where the printer
// leaves less), the job's font at its size in points, and the laid-out rows drawn with ExtTextOutW
// after decoding their bytes with the codec. Measures what it draws, for the layout.
class GdiPrintPainter final : public PrintLayout::Measure {
public:
    // `dc` and `codec` must outlive the painter; the painter's fonts stay selected while it lives.
    GdiPrintPainter(HDC__* dc, const Font& font, const CodePageCodec& codec);
    ~GdiPrintPainter() override;
    GdiPrintPainter(const GdiPrintPainter&) = delete;
    GdiPrintPainter& operator=(const GdiPrintPainter&) = delete;

    // The page for the layout, in device units; its origin is the printable area's top-left corner.
    const PrintLayout::Geometry& geometry() const { return geometry_; }
    int left() const { return left_; }
    int top() const { return top_; }

    int advance(std::string_view character) override;
    // Selects the painter's font and text settings again, which a printer's device context may
    // forget at the start of a page.
    void startPage();
    void draw(const PrintLayout::Page& page);

private:
    void draw(const PrintLayout::Row& row);
    void drawBox(int x, int y, int width, unsigned char byte);

    HDC__* dc_;
    const CodePageCodec& codec_;
    HFONT__* font_;
    HFONT__* boxFont_;
    void* oldFont_;
    unsigned long colour_;
    int penWidth_;
    int left_ = 0;  // the area within the margins, from the printable area's top-left corner
    int top_ = 0;
    PrintLayout::Geometry geometry_;
};

}  // namespace zozuz
