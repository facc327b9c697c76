#include "hosts/qt/QtSurface.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include <QWidget>

#include "hosts/qt/QtHost.h"

namespace zozuz {

QtSurface::QtSurface(QtHost& host, QWidget& widget, QSize size)
    : host_(host), widget_(widget), backing_(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32) {
    backing_.fill(0xFF000000u);
}

TextRenderer& QtSurface::textRenderer() { return host_.textRenderer(); }

void QtSurface::resize(QSize size) {
    size = size.expandedTo(QSize(0, 0));
    if (size == backing_.size()) return;
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(0xFF000000u);
    const int width = std::min(size.width(), backing_.width());
    const int height = std::min(size.height(), backing_.height());
    for (int y = 0; y < height; ++y)
        std::copy_n(reinterpret_cast<const std::uint32_t*>(backing_.constScanLine(y)), width,
                    reinterpret_cast<std::uint32_t*>(grown.scanLine(y)));
    backing_ = std::move(grown);
}

void QtSurface::drawImage(Point at, const Image& image, const Rect& clip) {
    const auto reach = [](int from, int span) {
        const long long end = static_cast<long long>(from) + span;
        return end > INT_MAX ? INT_MAX : static_cast<int>(end);
    };
    const Rect placed{at.x, at.y, reach(at.x, image.width()), reach(at.y, image.height())};
    const Rect area = placed.intersected(clip).intersected(Rect{0, 0, backing_.width(), backing_.height()});
    if (area.empty()) return;
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* from = image.row(y - at.y) + (area.left - at.x);
        auto* to = reinterpret_cast<std::uint32_t*>(backing_.scanLine(y)) + area.left;
        for (int x = 0; x < area.width(); ++x) to[x] = from[x] | 0xFF000000u;
    }
    if (painting_ || !widget_.isVisible()) return;
    flushing_ = true;
    widget_.repaint(QRect(area.left, area.top + top_, area.width(), area.height()));
    flushing_ = false;
    host_.rethrowPending();
}

}  // namespace zozuz
