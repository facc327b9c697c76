#include "hosts/qt/QtEditorWidget.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QRect>
#include <QResizeEvent>
#include <QScrollBar>
#include <QString>
#include <QWheelEvent>

#include "platform/host/MouseEvent.h"
#include "hosts/qt/QtCodePageText.h"
#include "hosts/qt/QtEditorWindow.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtMouseMap.h"
#include "hosts/qt/QtWindow.h"

namespace zozuz {

QtEditorWidget::QtEditorWidget(QtEditorWindow& window, QWidget* parent) : QAbstractScrollArea(parent), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    setFrameShape(QFrame::StyledPanel);
}

bool QtEditorWidget::event(QEvent* event) {
    // Tab types a tab in the editor instead of moving the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool QtEditorWidget::viewportEvent(QEvent* event) {
    QtHost& host = window_.host();
    EditorWindowClient& client = window_.client();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            const MouseEvent mouse = mouseEventFromQt(*static_cast<QMouseEvent*>(event));
            host.guard([&] { client.mouse(mouse); });
            return true;
        }
        case QEvent::Wheel: {
            const MouseEvent mouse = mouseEventFromQt(*static_cast<QWheelEvent*>(event));
            host.guard([&] { client.mouse(mouse); });
            return true;
        }
        default: return QAbstractScrollArea::viewportEvent(event);
    }
}

void QtEditorWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect r = event->rect();
    painter.setClipRect(r);
    QtPainterCanvas canvas(painter, window_.host().codePageText());
    const Rect area{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    window_.host().guard([&] { window_.client().paint(canvas, area); });
}

void QtEditorWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const QSize size = viewport()->size();
    window_.host().guard([&] { window_.client().resized({size.width(), size.height()}); });
}

void QtEditorWidget::keyPressEvent(QKeyEvent* event) {
    const KeyEvent key = window_.host().keyOf(*event);
    if (window_.parent().offerToMenuBar(key)) return;
    window_.host().guard([&] { window_.client().key(key); });
}

void QtEditorWidget::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    window_.host().guard([&] { window_.client().focusChanged(true); });
}

void QtEditorWidget::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    window_.host().guard([&] { window_.client().focusChanged(false); });
}

void QtEditorWidget::inputMethodEvent(QInputMethodEvent* event) {
    const std::string commit = event->commitString().toStdString();
    const std::string preedit = event->preeditString().toStdString();
    window_.host().guard([&] {
        if (!commit.empty()) window_.client().textCommitted(commit);
        window_.client().preeditChanged(preedit);
    });
    event->accept();
}

QVariant QtEditorWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    EditorWindowClient& client = window_.client();
    switch (query) {
        case Qt::ImEnabled: return true;
        case Qt::ImCursorRectangle: {
            Rect caret;
            window_.host().guard([&] { caret = client.caretRect(); });
            // The text area lies inside the frame; the input method asks in the widget's coordinates.
            const QPoint offset = viewport()->mapTo(this, QPoint(0, 0));
            return QRect(caret.left + offset.x(), caret.top + offset.y(), std::max(1, caret.width()), caret.height());
        }
        case Qt::ImSurroundingText:
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition: {
            EditorWindowClient::SurroundingText around;
            window_.host().guard([&] { around = client.surroundingText(); });
            const QString line = QString::fromStdString(around.utf8);
            if (query == Qt::ImSurroundingText) return line;
            // Qt counts in UTF-16 units; the offsets come in Unicode characters.
            const QList<uint> codes = line.toUcs4();
            const int characters = query == Qt::ImCursorPosition ? around.caret : around.anchor;
            int units = 0;
            for (int i = 0; i < characters && i < codes.size(); ++i) units += codes[i] > 0xFFFF ? 2 : 1;
            return units;
        }
        default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void QtEditorWidget::scrollContentsBy(int, int) {
    // The view paints from its own scroll position; only the user's moves are reported.
    if (window_.settingScrollBars()) return;
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    window_.host().guard([&] {
        window_.client().scrolled(true, vertical);
        window_.client().scrolled(false, horizontal);
    });
}

}  // namespace zozuz
