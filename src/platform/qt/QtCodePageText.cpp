#include "platform/qt/QtCodePageText.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include "base/LeadByteSet.h"
#include "platform/qt/QtFontMapper.h"

namespace zozuz {

QString QtCodePageText::decode(std::string_view bytes) const {
    constexpr LeadByteSet lead = LeadByteSet::codePage936();
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = lead.contains(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
        const char32_t c = codec_.decode(bytes.substr(i, length)).value_or(U'\uFFFD');
        out += QString::fromUcs4(&c, 1);
        i += length;
    }
    return out;
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
