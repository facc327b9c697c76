#include "hosts/win32/GdiCodePageText.h"

#include <vector>

#include <windows.h>

#include "base/LeadByteSet.h"
#include "hosts/win32/GdiTextRenderer.h"

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

void GdiCodePageCanvas::fill(const Rect& logical, std::uint32_t rgb) {
    if (logical.empty()) return;
    // Edges map to the nearest device pixel, so areas that touch still touch.
    const Rect area = scale_.toDevice(logical);
    const RECT r{area.left, area.top, area.right, area.bottom};
    HBRUSH brush = CreateSolidBrush(colourOf(rgb));
    FillRect(dc_, &r, brush);
    DeleteObject(brush);
}

void GdiCodePageCanvas::drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) {
    if (bytes.empty()) return;
    if (scale_.identity()) {
        HGDIOBJ oldFont = SelectObject(dc_, fonts_.unsmoothedHandleOf(font));
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, colourOf(rgb));
        SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
        ExtTextOutA(dc_, at.x, at.y, 0, nullptr, bytes.data(), static_cast<UINT>(bytes.size()), nullptr);
        SelectObject(dc_, oldFont);
        return;
    }
    // Each character's logical advance, measured as the program measured it, gives its device
    // place; the system takes the distances one per byte, the whole one on a lead byte.
    const LeadByteSet leads = LeadByteSet::codePage936();
    std::vector<INT> distances(bytes.size(), 0);
    int logicalX = at.x;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = leads.contains(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
        const int next = logicalX + measure_.advance(font, bytes.substr(i, length));
        distances[i] = scale_.toDevice(next) - scale_.toDevice(logicalX);
        logicalX = next;
        i += length;
    }
    // Unsmoothed at every density, as at the logical one: the system's smoothing only greys the
    // thin Latin strokes of some Song faces, and the text must show in the window-text colour.
    Font scaled = font;
    scaled.pixelHeight = scale_.toDevice(font.pixelHeight);
    HGDIOBJ oldFont = SelectObject(dc_, fonts_.unsmoothedHandleOf(scaled));
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, colourOf(rgb));
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    const Point device = scale_.toDevice(at);
    ExtTextOutA(dc_, device.x, device.y, 0, nullptr, bytes.data(), static_cast<UINT>(bytes.size()), distances.data());
    SelectObject(dc_, oldFont);
}

}  // namespace zozuz
