#include "hosts/win32/GdiTextRenderer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <windows.h>

#include "hosts/win32/WideText.h"

namespace zozuz {

GdiTextRenderer::GdiTextRenderer() : dc_(CreateCompatibleDC(nullptr)) {}

GdiTextRenderer::~GdiTextRenderer() {
    if (dc_) DeleteDC(dc_);
    for (const auto& [key, font] : fonts_) DeleteObject(font);
    for (const auto& [smoothed, font] : unsmoothed_)
        if (font != smoothed) DeleteObject(font);
}

HFONT GdiTextRenderer::handleOf(const Font& font) {
    const Key key{font.family, font.pixelHeight, static_cast<int>(font.charset), font.bold};
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    // A negative height asks for the character height, without the internal leading, as the
    // program's font sizes are meant.
    const std::wstring face = toWide(font.family).substr(0, LF_FACESIZE - 1);
    HFONT handle = CreateFontW(-std::max(1, font.pixelHeight), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                               FALSE, static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    if (!handle) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace(key, handle);
    return handle;
}

HFONT GdiTextRenderer::unsmoothedHandleOf(const Font& font) {
    const HFONT smoothed = handleOf(font);
    if (auto it = unsmoothed_.find(smoothed); it != unsmoothed_.end()) return it->second;
    LOGFONTW description{};
    HFONT handle = nullptr;
    if (GetObjectW(smoothed, sizeof description, &description) == sizeof description) {
        description.lfQuality = NONANTIALIASED_QUALITY;
        handle = CreateFontIndirectW(&description);
    }
    if (!handle) handle = smoothed;
    unsmoothed_.emplace(smoothed, handle);
    return handle;
}

Size GdiTextRenderer::measure(const Font& font, std::string_view text) {
    SelectObject(dc_, handleOf(font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    const std::wstring wide = toWide(text);
    SIZE extent{0, 0};
    if (!wide.empty()) GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return Size{static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight)};
}

void GdiTextRenderer::draw(Image& image, int x, int y, const Rect& clip, const Font& font, std::string_view text,
                           std::uint32_t rgb) {
    const Rect area = clip.intersected(image.bounds());
    if (area.empty() || text.empty()) return;

    // A top-down DIB section of the area, in the image's own pixel layout (0x00RRGGBB is BGRX in
    // memory), so the pixels go in and out with plain copies.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = area.width();
    info.bmiHeader.biHeight = -area.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const auto rowBytes = static_cast<std::size_t>(area.width()) * sizeof(std::uint32_t);
    for (int row = 0; row < area.height(); ++row)
        std::memcpy(pixels + static_cast<std::size_t>(row) * area.width(), image.row(area.top + row) + area.left, rowBytes);

    HGDIOBJ oldBitmap = SelectObject(dc_, bitmap);
    HGDIOBJ oldFont = SelectObject(dc_, handleOf(font));
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    const std::wstring wide = toWide(text);
    TextOutW(dc_, x - area.left, y - area.top, wide.c_str(), static_cast<int>(wide.size()));
    GdiFlush();
    SelectObject(dc_, oldFont);
    SelectObject(dc_, oldBitmap);

    for (int row = 0; row < area.height(); ++row) {
        const std::uint32_t* from = pixels + static_cast<std::size_t>(row) * area.width();
        std::uint32_t* to = image.row(area.top + row) + area.left;
        for (int col = 0; col < area.width(); ++col) to[col] = from[col] & 0x00FFFFFFu;
    }
    DeleteObject(bitmap);
}

}  // namespace zozuz
