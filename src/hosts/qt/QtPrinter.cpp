#include "hosts/qt/QtPrinter.h"

#include <string>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QString>

#include "base/Exception.h"
#include "base/MessageFormat.h"
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

}  // namespace

bool QtPrinter::print(const PrintJob& job) {
    auto* owner = dynamic_cast<QtWindow*>(job.owner);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(job.title));
    QPrintDialog dialog(&printer, owner ? &owner->widget() : nullptr);
    dialog.setWindowModality(Qt::ApplicationModal);
    const int answer = dialog.exec();
    host_.rethrowPending();
    if (answer != QDialog::Accepted) return false;
    printOn(printer, job);
    return true;
}

void QtPrinter::printOn(QPrinter& printer, const PrintJob& job) {
    QPainter painter;
    if (!painter.begin(&printer)) cannotPrint(printer);
    // The program's fonts are sized in screen pixels of 96 to the inch; on paper the same size is
    // kept in points.
    QFont font = QtFontMapper::toQFont(job.font);
    font.setPointSizeF(job.font.pixelHeight * 72.0 / 96.0);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(job.font.rgb));
    const QFontMetrics metrics(font, &printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int lineHeight = std::max(1, metrics.lineSpacing());
    // The painter's origin is the printable area's top-left corner.
    const QRect area(0, 0, page.width(), page.height());
    painter.setClipRect(area);
    int y = 0;
    for (std::size_t i = 0; i < job.lineCount; ++i) {
        if (y > 0 && y + lineHeight > area.height()) {
            if (!printer.newPage()) cannotPrint(printer);
            y = 0;
        }
        painter.drawText(0, y + metrics.ascent(), QString::fromStdString(job.line(i)));
        y += lineHeight;
    }
    if (!painter.end()) cannotPrint(printer);
}

}  // namespace zozuz
