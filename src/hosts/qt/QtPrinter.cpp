#include "hosts/qt/QtPrinter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPen>
#include <QPrintDialog>
#include <QPrinter>
#include <QRectF>
#include <QString>
#include <QtMath>

#include "base/Exception.h"
#include "base/LeadByteSet.h"
#include "base/MessageFormat.h"
#include "editor/CharacterKinds.h"
#include "editor/PrintLayout.h"
#include "hosts/qt/QtFontMapper.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

namespace {

[[noreturn]] void cannotPrint(const QPrinter& printer) {
    const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    throw EPrinter(formatMessage(messages::kCannotPrintTo, {target.toStdString()}));
}

QString decode(const CodePageCodec& codec, std::string_view bytes) {
    const std::string utf8 = codec.decodeText(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Advances in the printer's dots, in the font as the printer renders it.
class PrinterMeasure final : public PrintLayout::Measure {
public:
    PrinterMeasure(const QFontMetricsF& metrics, const CodePageCodec& codec) : metrics_(metrics), codec_(codec) {}
    int advance(std::string_view character) override {
        return qRound(metrics_.horizontalAdvance(decode(codec_, character)));
    }

private:
    const QFontMetricsF& metrics_;
    const CodePageCodec& codec_;
};

// The program's fonts are sized in screen pixels of 96 to the inch; on paper the same size is kept in
// points. Kerning is off, so a run lands where its characters' advances say.
QFont paperFont(const Font& font) {
    QFont result = QtFontMapper::toQFont(font);
    result.setPointSizeF(std::max(1, font.pixelHeight) * 72.0 / 96.0);
    result.setKerning(false);
    return result;
}

// The digits of a box are smaller than the text, as on the screen.
QFont boxFontOf(const QFont& font) {
    QFont result = font;
    result.setBold(false);
    result.setPointSizeF(font.pointSizeF() * 11.0 / 16.0);
    return result;
}

// Draws the laid-out rows of one page; the painter's origin is the printable area's top-left corner.
class PagePainter {
public:
    PagePainter(QPainter& painter, const PrintJob& job, const QPrinter& printer, const CodePageCodec& codec)
        : painter_(painter),
          codec_(codec),
          font_(paperFont(job.font)),
          boxFont_(boxFontOf(font_)),
          colour_(QColor::fromRgb(job.font.rgb)),
          dots_(printer.resolution() / 96.0),
          metrics_(font_, &printer) {}

    const QFontMetricsF& metrics() const { return metrics_; }

    PrintLayout::Geometry geometry(const QPrinter& printer) const {
        const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
        const QFontMetricsF boxMetrics(boxFont_, &printer);
        qreal digit = 0;
        for (const QChar c : QStringLiteral("0123456789ABCDEF")) digit = std::max(digit, boxMetrics.horizontalAdvance(c));
        PrintLayout::Geometry geometry;
        geometry.width = area.width();
        geometry.height = area.height();
        geometry.lineHeight = std::max(1, qCeil(metrics_.lineSpacing()));
        // Tab stops eight average characters apart, as in the editor.
        geometry.tabStop = std::max(1, qRound(8 * metrics_.averageCharWidth()));
        geometry.boxWidth = qRound(2 * digit + 4 * dots_);
        return geometry;
    }

    void draw(const PrintLayout::Row& row, int lineHeight) {
        for (const PrintLayout::Run& run : row.runs) {
            const std::string_view bytes = std::string_view(row.bytes).substr(run.start, run.end - run.start);
            switch (run.kind) {
                case PrintLayout::Run::Kind::Text:
                    painter_.setFont(font_);
                    painter_.setPen(colour_);
                    painter_.drawText(QPointF(run.x, row.y + metrics_.ascent()), decode(codec_, bytes));
                    break;
                case PrintLayout::Run::Kind::Box: drawBox(run, row.y, lineHeight, static_cast<std::uint8_t>(bytes[0])); break;
                case PrintLayout::Run::Kind::Tab: break;
            }
        }
    }

private:
    // A byte that is no character: a frame around its two hex digits.
    void drawBox(const PrintLayout::Run& run, int y, int lineHeight, std::uint8_t byte) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const char digits[2] = {kHex[byte >> 4], kHex[byte & 15]};
        const QRectF box(run.x + dots_, y + dots_, run.width - 2 * dots_, lineHeight - 2 * dots_);
        painter_.setPen(QPen(colour_, std::max(1.0, dots_)));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(box);
        painter_.setFont(boxFont_);
        painter_.drawText(box, Qt::AlignCenter, QString::fromLatin1(digits, 2));
    }

    QPainter& painter_;
    const CodePageCodec& codec_;
    QFont font_;
    QFont boxFont_;
    QColor colour_;
    qreal dots_;  // printer dots to a screen pixel
    QFontMetricsF metrics_;  // of font_ on the printer
};

}  // namespace

void QtPrinter::prepare(QPrinter& printer, const PrintJob& job) {
    printer.setDocName(QString::fromStdString(job.title));
    const qreal margin = kPrintMarginMillimetres;
    printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
}

bool QtPrinter::print(const PrintJob& job) {
    auto* owner = dynamic_cast<QtWindow*>(job.owner);
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer, job);
    QPrintDialog dialog(&printer, owner ? &owner->widget() : nullptr);
    dialog.setWindowModality(Qt::ApplicationModal);
    const int answer = dialog.exec();
    host_.rethrowPending();
    if (answer != QDialog::Accepted) return false;
    printOn(printer, job, host_.codePageCodec());
    return true;
}

void QtPrinter::printOn(QPrinter& printer, const PrintJob& job, const CodePageCodec& codec) {
    QPainter painter;
    if (!painter.begin(&printer)) cannotPrint(printer);
    PagePainter pages(painter, job, printer, codec);
    const PrintLayout::Geometry geometry = pages.geometry(printer);
    const CharacterKinds kinds(LeadByteSet::codePage936(), codec);
    PrinterMeasure measure(pages.metrics(), codec);
    PrintLayout layout(kinds, measure, geometry, job.lineCount, job.line);
    bool first = true;
    for (PrintLayout::Page page; layout.nextPage(page); first = false) {
        if (!first && !printer.newPage()) cannotPrint(printer);
        for (const PrintLayout::Row& row : page.rows) pages.draw(row, geometry.lineHeight);
        pages.draw(page.footer, geometry.lineHeight);
    }
    if (!painter.end()) cannotPrint(printer);
}

}  // namespace zozuz
