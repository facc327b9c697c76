#include "platform/win32/GdiCodePageText.h"

#include <windows.h>

#include "platform/win32/GdiTextRenderer.h"

namespace zozuz {

namespace {

COLORREF colourOf(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

TEXTMETRICA metricsOf(HDC dc) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    return metrics;
}

}  // namespace

GdiCodePageTextMeasure::GdiCodePageTextMeasure(GdiTextRenderer& fonts)
    : fonts_(fonts), dc_(CreateCompatibleDC(nullptr)) {}

GdiCodePageTextMeasure::~GdiCodePageTextMeasure() {
    if (dc_) DeleteDC(dc_);
}

int GdiCodePageTextMeasure::advance(const Font& font, std::string_view character) {
    if (character.empty()) return 0;
    SelectObject(dc_, fonts_.unsmoothedHandleOf(font));
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc_, character.data(), static_cast<int>(character.size()), &extent);
    return static_cast<int>(extent.cx);
}

int GdiCodePageTextMeasure::lineHeight(const Font& font) {
    SelectObject(dc_, fonts_.unsmoothedHandleOf(font));
    const TEXTMETRICA metrics = metricsOf(dc_);
    return static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading);
}

int GdiCodePageTextMeasure::averageCharWidth(const Font& font) {
    SelectObject(dc_, fonts_.unsmoothedHandleOf(font));
    return static_cast<int>(metricsOf(dc_).tmAveCharWidth);
}

void GdiCodePageCanvas::fill(const Rect& area, std::uint32_t rgb) {
    if (area.empty()) return;
    const RECT r{area.left, area.top, area.right, area.bottom};
    HBRUSH brush = CreateSolidBrush(colourOf(rgb));
    FillRect(dc_, &r, brush);
    DeleteObject(brush);
}

void GdiCodePageCanvas::drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) {
    if (bytes.empty()) return;
    HGDIOBJ oldFont = SelectObject(dc_, fonts_.unsmoothedHandleOf(font));
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, colourOf(rgb));
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    ExtTextOutA(dc_, at.x, at.y, 0, nullptr, bytes.data(), static_cast<UINT>(bytes.size()), nullptr);
    SelectObject(dc_, oldFont);
}

}  // namespace zozuz
