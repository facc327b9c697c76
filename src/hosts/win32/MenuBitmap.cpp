#include "hosts/win32/MenuBitmap.h"

#include <cstddef>

#include <windows.h>

#include "platform/host/MenuBar.h"

namespace zozuz {

namespace {

// Whether a pixel is dark enough to stay in the embossed form: by its perceived brightness, so
// that light fills drop out whatever their tint (the toolbar's rule).
bool inks(std::uint32_t rgb) {
    if (rgb == kMenuPictureBackground) return false;
    const unsigned red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return red * 299 + green * 587 + blue * 114 < 192u * 1000u;
}

}  // namespace

Image greyedMenuPicture(const Image& picture, std::uint32_t shadow, std::uint32_t highlight) {
    Image greyed(picture.width(), picture.height());
    for (int y = 0; y < greyed.height(); ++y)
        for (int x = 0; x < greyed.width(); ++x) greyed.setPixel(x, y, kMenuPictureBackground);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (inks(picture.pixel(x, y))) greyed.setPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (inks(picture.pixel(x, y))) greyed.setPixel(x, y, shadow);
    return greyed;
}

HBITMAP createMenuBitmap(const Image& picture, std::uint32_t clear) {
    if (picture.width() <= 0 || picture.height() <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width();
    info.bmiHeader.biHeight = -picture.height();  // top-down, as the picture's rows run
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t rgb = picture.pixel(x, y) & 0x00FFFFFFu;
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width()) + x] =
                rgb == kMenuPictureBackground ? (clear & 0x00FFFFFFu) : (rgb | 0xFF000000u);
        }
    GdiFlush();
    return bitmap;
}

}  // namespace zozuz
