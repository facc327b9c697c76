#include "hosts/win32/IconHandle.h"

#include <cstring>
#include <vector>

#include <windows.h>

namespace zozuz {

HICON iconFromImage(const Image& image) {
    if (image.width() <= 0 || image.height() <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width();
    info.bmiHeader.biHeight = -image.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color || !bits) return nullptr;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int row = 0; row < image.height(); ++row)
        for (int col = 0; col < image.width(); ++col)
            pixels[static_cast<std::size_t>(row) * image.width() + col] = image.pixel(col, row) | 0xFF000000u;
    // An all-clear mask: every pixel is the colour bitmap's.
    const std::vector<std::uint8_t> maskBits(static_cast<std::size_t>((image.width() + 15) / 16 * 2) * image.height(), 0);
    HBITMAP mask = CreateBitmap(image.width(), image.height(), 1, 1, maskBits.data());
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = color;
    icon.hbmMask = mask;
    HICON handle = CreateIconIndirect(&icon);
    DeleteObject(color);
    DeleteObject(mask);
    return handle;
}

void destroyIcon(HICON icon) {
    if (icon) DestroyIcon(icon);
}

Image imageFromIcon(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return Image();
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    const int width = bitmap.bmWidth;
    const int height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    Image image(width, height);
    BITMAPINFO target{};
    target.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    target.bmiHeader.biWidth = width;
    target.bmiHeader.biHeight = -height;
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 32;
    target.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(dc, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (canvas && bits) {
        HGDIOBJ old = SelectObject(dc, canvas);
        DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col)
                image.setPixel(col, row, pixels[static_cast<std::size_t>(row) * width + col] & 0x00FFFFFFu);
        SelectObject(dc, old);
        DeleteObject(canvas);
    }
    DeleteDC(dc);
    return image;
}

}  // namespace zozuz
