#include "hosts/qt/QtTextRenderer.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include "hosts/qt/QtFontMapper.h"

namespace zozuz {

const QFont& QtTextRenderer::qtFont(const Font& font) {
    if (!cachedFont_ || !(*cachedFont_ == font)) {
        qtFont_ = QtFontMapper::toQFont(font);
        metrics_.emplace(qtFont_);
        cachedFont_ = font;
    }
    return qtFont_;
}

const QFontMetrics& QtTextRenderer::metrics(const Font& font) {
    qtFont(font);
    return *metrics_;
}

Size QtTextRenderer::measure(const Font& font, std::string_view text) {
    const QFontMetrics& fm = metrics(font);
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return Size{fm.horizontalAdvance(string), fm.height()};
}

void QtTextRenderer::draw(Image& image, int x, int y, const Rect& clip, const Font& font, std::string_view text,
                          std::uint32_t rgb) {
    const Rect area = clip.intersected(image.bounds());
    if (area.empty() || text.empty()) return;
    const QFont& qfont = qtFont(font);
    const int ascent = metrics_->ascent();

    // The scratch image holds the area's pixels with an opaque top byte, as Qt expects of RGB32.
    QImage scratch(area.width(), area.height(), QImage::Format_RGB32);
    for (int row = 0; row < area.height(); ++row) {
        const std::uint32_t* from = image.row(area.top + row) + area.left;
        auto* to = reinterpret_cast<std::uint32_t*>(scratch.scanLine(row));
        for (int col = 0; col < area.width(); ++col) to[col] = from[col] | 0xFF000000u;
    }
    {
        QPainter painter(&scratch);
        painter.setFont(qfont);
        painter.setPen(QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u)));
        painter.drawText(QPoint(x - area.left, y - area.top + ascent),
                         QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    for (int row = 0; row < area.height(); ++row) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(scratch.constScanLine(row));
        std::uint32_t* to = image.row(area.top + row) + area.left;
        for (int col = 0; col < area.width(); ++col) to[col] = from[col] & 0x00FFFFFFu;
    }
}

}  // namespace zozuz
