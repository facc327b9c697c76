#include "hosts/qt/QtCodePageText.h"

#include <string>

#include <QColor>
#include <QPainter>
#include <QRect>

#include "hosts/qt/QtFontMapper.h"

namespace zozuz {

QString QtCodePageText::decode(std::string_view bytes) const {
    const std::string utf8 = codec_.decodeText(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

const QtCodePageText::Mapped& QtCodePageText::mapped(const Font& font) {
    for (const Mapped& known : mapped_)
        if (known.font == font) return known;
    if (mapped_.size() >= 8) mapped_.clear();
    QFont qtFont = QtFontMapper::toQFont(font);
    qtFont.setKerning(false);
    mapped_.push_back({font, qtFont, QFontMetrics(qtFont)});
    return mapped_.back();
}

const QFont& QtCodePageText::qtFont(const Font& font) { return mapped(font).qtFont; }

const QFontMetrics& QtCodePageText::metrics(const Font& font) { return mapped(font).metrics; }

int QtCodePageText::advance(const Font& font, std::string_view character) {
    return metrics(font).horizontalAdvance(decode(character));
}

int QtCodePageText::lineHeight(const Font& font) { return metrics(font).height(); }

int QtCodePageText::averageCharWidth(const Font& font) { return metrics(font).averageCharWidth(); }

void QtPainterCanvas::fill(const Rect& area, std::uint32_t rgb) {
    if (area.empty()) return;
    painter_.fillRect(QRect(area.left, area.top, area.width(), area.height()), QColor::fromRgb(rgb));
}

void QtPainterCanvas::drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) {
    painter_.setFont(text_.qtFont(font));
    painter_.setPen(QColor::fromRgb(rgb));
    painter_.drawText(QPoint(at.x, at.y + text_.metrics(font).ascent()), text_.decode(bytes));
}

}  // namespace zozuz
