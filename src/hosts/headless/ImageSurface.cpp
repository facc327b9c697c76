#include "hosts/headless/ImageSurface.h"

#include <climits>

#include "platform/gfx/Raster.h"

namespace zozuz {

ImageSurface::ImageSurface(Size size) : image_(size.width, size.height) {}

void ImageSurface::resize(Size size) { image_ = Image(size.width, size.height); }

void ImageSurface::drawImage(Point at, const Image& image, const Rect& clip) {
    ++drawCount_;
    const auto reach = [](int from, int span) {
        const long long end = static_cast<long long>(from) + span;
        return end > INT_MAX ? INT_MAX : static_cast<int>(end);
    };
    const Rect placed{at.x, at.y, reach(at.x, image.width()), reach(at.y, image.height())};
    lastDrawn_ = placed.intersected(clip).intersected(image_.bounds());
    if (lastDrawn_.empty()) lastDrawn_ = Rect{};
    raster::copyImage(image_, at, image, clip);
}

}  // namespace zozuz
