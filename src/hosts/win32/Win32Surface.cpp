#include "hosts/win32/Win32Surface.h"

#include <algorithm>
#include <cstring>

#include <windows.h>

namespace zozuz {

Win32Surface::Win32Surface(HWND window, TextRenderer& renderer) : window_(window), renderer_(renderer) {}

void Win32Surface::setScale(const PixelScale& scale) {
    scale_ = scale;
    resize(device_);
}

void Win32Surface::resize(Size device) {
    device_ = device;
    const Size size = scale_.toLogical(device);
    if (size == this->size()) return;
    Image next(size.width, size.height);
    const int width = std::min(next.width(), backing_.width());
    const int height = std::min(next.height(), backing_.height());
    for (int row = 0; row < height; ++row)
        std::memcpy(next.row(row), backing_.row(row), static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    backing_ = std::move(next);
}

void Win32Surface::drawImage(Point at, const Image& image, const Rect& clip) {
    const Rect placed{at.x, at.y, at.x + image.width(), at.y + image.height()};
    const Rect area = placed.intersected(clip).intersected(backing_.bounds());
    if (area.empty()) return;
    const auto rowBytes = static_cast<std::size_t>(area.width()) * sizeof(std::uint32_t);
    for (int row = area.top; row < area.bottom; ++row)
        std::memcpy(backing_.row(row) + area.left, image.row(row - at.y) + (area.left - at.x), rowBytes);
    if (painting_ || !window_) return;
    if (HDC dc = GetDC(window_)) {
        show(dc, area);
        ReleaseDC(window_, dc);
        // The drawing reaches the screen before the call returns.
        GdiFlush();
    }
}

void Win32Surface::show(HDC dc, const Rect& area) const {
    if (!scale_.identity()) {
        // The device pixels the area touches, each computed from the whole image, so that areas
        // shown one after another meet without a seam.
        const Rect device = scale_.coveringDevice(area).intersected(Rect{0, 0, device_.width, device_.height});
        if (device.empty() || backing_.width() == 0 || backing_.height() == 0) return;
        const Image scaled = scaledRegion(backing_, scale_, device);
        showImage(dc, scaled, Point{device.left, device.top});
        return;
    }
    const Rect part = area.intersected(backing_.bounds());
    if (part.empty()) return;
    // The rows of the part alone, as a small top-down image drawn whole: the source then starts at
    // its own first row, which reads the same whichever way up the system counts rows.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = backing_.width();
    info.bmiHeader.biHeight = -part.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, part.left, part.top, static_cast<DWORD>(part.width()), static_cast<DWORD>(part.height()),
                      part.left, 0, 0, static_cast<UINT>(part.height()), backing_.row(part.top), &info,
                      DIB_RGB_COLORS);
}

void Win32Surface::showImage(HDC dc, const Image& image, Point at) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width();
    info.bmiHeader.biHeight = -image.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, at.x, at.y, static_cast<DWORD>(image.width()), static_cast<DWORD>(image.height()), 0, 0, 0,
                      static_cast<UINT>(image.height()), image.data(), &info, DIB_RGB_COLORS);
}

}  // namespace zozuz
