#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include "platform/gfx/Font.h"
#include "platform/host/CodePageCanvas.h"
#include "platform/host/CodePageCodec.h"
#include "platform/host/CodePageTextMeasure.h"

class QPainter;

namespace zozuz {

// Code-page text in the desktop's fonts: the bytes are decoded at this edge and measured with Qt's
// font metrics. Kerning is off, so a run drawn whole lands where its characters' advances say.
class QtCodePageText final : public CodePageTextMeasure {
public:
    explicit QtCodePageText(const CodePageCodec& codec) : codec_(codec) {}

    int advance(const Font& font, std::string_view character) override;
    int lineHeight(const Font& font) override;
    int averageCharWidth(const Font& font) override;

    QString decode(std::string_view bytes) const;
    const QFont& qtFont(const Font& font);
    const QFontMetrics& metrics(const Font& font);

private:
    struct Mapped {
        Font font;
        QFont qtFont;
        QFontMetrics metrics;
    };
    const Mapped& mapped(const Font& font);

    const CodePageCodec& codec_;
    // The fonts mapped so far: the editor draws in two (its text and the digits of its boxes), and
    // mapping one means a font database lookup.
    std::vector<Mapped> mapped_;
};

// Paints with a QPainter that the caller has set up (clip included).
class QtPainterCanvas final : public CodePageCanvas {
public:
    QtPainterCanvas(QPainter& painter, QtCodePageText& text) : painter_(painter), text_(text) {}

    void fill(const Rect& area, std::uint32_t rgb) override;
    void drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) override;

private:
    QPainter& painter_;
    QtCodePageText& text_;
};

}  // namespace zozuz
