#include "hosts/win32/GdiPrintPainter.h"

#include <algorithm>
#include <string>

#include <windows.h>

#include "hosts/win32/WideText.h"
#include "platform/host/Printer.h"

namespace zozuz {

namespace {

HFONT createFont(HDC dc, const Font& font, int pixelHeight) {
    // The program's fonts are sized in screen pixels of 96 to the inch; on paper the same size is
    // kept in points.
    const int height = MulDiv(std::max(1, pixelHeight), GetDeviceCaps(dc, LOGPIXELSY), 96);
    const std::wstring face = toWide(font.family).substr(0, LF_FACESIZE - 1);
    return CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

std::wstring decode(const CodePageCodec& codec, std::string_view bytes) { return toWide(codec.decodeText(bytes)); }

int extentOf(HDC dc, const std::wstring& text) {
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return static_cast<int>(extent.cx);
}

// The distance of a margin in device units, at `dotsPerInch`.
int marginDots(int dotsPerInch) { return static_cast<int>(kPrintMarginMillimetres * dotsPerInch / 25.4 + 0.5); }

}  // namespace

GdiPrintPainter::GdiPrintPainter(HDC dc, const Font& font, const CodePageCodec& codec)
    : dc_(dc),
      codec_(codec),
      font_(createFont(dc, font, font.pixelHeight)),
      boxFont_(nullptr),
      oldFont_(nullptr),
      colour_(RGB((font.rgb >> 16) & 0xFF, (font.rgb >> 8) & 0xFF, font.rgb & 0xFF)),
      penWidth_(std::max(1, GetDeviceCaps(dc, LOGPIXELSX) / 96)) {
    // The digits of a box are smaller than the text, as on the screen.
    Font small = font;
    small.bold = false;
    boxFont_ = createFont(dc, small, std::max(6, font.pixelHeight * 11 / 16));

    // The printable area lies at an offset on the paper; the margins are counted from the paper's
    // edges, and a device that is no printer reports no paper, only its area.
    const int areaWidth = GetDeviceCaps(dc, HORZRES);
    const int areaHeight = GetDeviceCaps(dc, VERTRES);
    const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    const int paperWidth = std::max(GetDeviceCaps(dc, PHYSICALWIDTH), areaWidth + offsetX);
    const int paperHeight = std::max(GetDeviceCaps(dc, PHYSICALHEIGHT), areaHeight + offsetY);
    const int marginX = marginDots(GetDeviceCaps(dc, LOGPIXELSX));
    const int marginY = marginDots(GetDeviceCaps(dc, LOGPIXELSY));
    int left = std::max(0, marginX - offsetX);
    int top = std::max(0, marginY - offsetY);
    int right = std::min(areaWidth, paperWidth - marginX - offsetX);
    int bottom = std::min(areaHeight, paperHeight - marginY - offsetY);
    if (right <= left || bottom <= top) {  // a page too small for its margins keeps its whole area
        left = top = 0;
        right = areaWidth;
        bottom = areaHeight;
    }
    left_ = left;
    top_ = top;

    oldFont_ = SelectObject(dc_, boxFont_);
    int digit = 0;
    for (const wchar_t c : std::wstring_view(L"0123456789ABCDEF")) digit = std::max(digit, extentOf(dc_, std::wstring(1, c)));
    SelectObject(dc_, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    geometry_.width = right - left;
    geometry_.height = bottom - top;
    geometry_.lineHeight = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);
    // Tab stops eight average characters apart, as in the editor.
    geometry_.tabStop = std::max<int>(1, 8 * metrics.tmAveCharWidth);
    geometry_.boxWidth = 2 * digit + 4 * penWidth_;
    startPage();
}

void GdiPrintPainter::startPage() {
    SelectObject(dc_, font_);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, colour_);
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
}

GdiPrintPainter::~GdiPrintPainter() {
    if (oldFont_) SelectObject(dc_, oldFont_);
    if (font_) DeleteObject(font_);
    if (boxFont_) DeleteObject(boxFont_);
}

int GdiPrintPainter::advance(std::string_view character) { return extentOf(dc_, decode(codec_, character)); }

void GdiPrintPainter::draw(const PrintLayout::Page& page) {
    for (const PrintLayout::Row& row : page.rows) draw(row);
    draw(page.footer);
}

void GdiPrintPainter::draw(const PrintLayout::Row& row) {
    const int y = top_ + row.y;
    for (const PrintLayout::Run& run : row.runs) {
        const std::string_view bytes = std::string_view(row.bytes).substr(run.start, run.end - run.start);
        switch (run.kind) {
            case PrintLayout::Run::Kind::Text: {
                const std::wstring text = decode(codec_, bytes);
                ExtTextOutW(dc_, left_ + run.x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
                break;
            }
            case PrintLayout::Run::Kind::Box:
                drawBox(left_ + run.x, y, run.width, static_cast<unsigned char>(bytes[0]));
                break;
            case PrintLayout::Run::Kind::Tab: break;
        }
    }
}

// A byte that is no character: a frame around its two hex digits.
void GdiPrintPainter::drawBox(int x, int y, int width, unsigned char byte) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    const int inset = penWidth_;
    HPEN pen = CreatePen(PS_SOLID, penWidth_, colour_);
    HGDIOBJ oldPen = SelectObject(dc_, pen);
    HGDIOBJ oldBrush = SelectObject(dc_, GetStockObject(NULL_BRUSH));
    Rectangle(dc_, x + inset, y + inset, x + width - inset, y + geometry_.lineHeight - inset);
    SelectObject(dc_, oldBrush);
    SelectObject(dc_, oldPen);
    DeleteObject(pen);

    SelectObject(dc_, boxFont_);
    const std::wstring digits{kHex[byte >> 4], kHex[byte & 15]};
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    const int textX = x + (width - extentOf(dc_, digits)) / 2;
    const int textY = y + (geometry_.lineHeight - metrics.tmHeight) / 2;
    ExtTextOutW(dc_, textX, textY, 0, nullptr, digits.c_str(), static_cast<UINT>(digits.size()), nullptr);
    SelectObject(dc_, font_);
}

}  // namespace zozuz
