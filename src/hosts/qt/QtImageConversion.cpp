#include "hosts/qt/QtImageConversion.h"

#include <cstdint>

namespace zozuz {

QImage toQImage(const Image& image) {
    QImage result(image.width(), image.height(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const std::uint32_t* from = image.row(y);
        auto* to = reinterpret_cast<std::uint32_t*>(result.scanLine(y));
        for (int x = 0; x < image.width(); ++x) to[x] = from[x] | 0xFF000000u;
    }
    return result;
}

Image fromQImage(const QImage& image) {
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    Image result(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::uint32_t* to = result.row(y);
        for (int x = 0; x < rgb.width(); ++x) to[x] = from[x] & 0x00FFFFFFu;
    }
    return result;
}

}  // namespace zozuz
