#include "hosts/qt/QtWindowWidget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QWindow>

#include "hosts/qt/QtMouseMap.h"
#include "hosts/qt/QtWindow.h"

namespace zozuz {

QtWindowWidget::QtWindowWidget(QtWindow& window, QWidget* owner, Qt::WindowFlags flags)
    : QWidget(owner, flags), window_(window) {
    // The program paints every pixel itself from the window's surface: nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Mouse movement is tracked without a button held, as the program follows the pointer.
    setMouseTracking(true);
}

QWindow& QtWindowWidget::platformWindow() {
    if (windowHandle() == nullptr) create();
    return *windowHandle();
}

bool QtWindowWidget::event(QEvent* event) {
    // Keys are the program's: no shortcut of Qt's fires (the menu bar's access keys among them),
    // and every key press goes on to the key preview.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::WindowActivate) window_.activationChanged(true);
    if (event->type() == QEvent::WindowDeactivate) window_.activationChanged(false);
    if (event->type() == QEvent::Show) {
        // Some platforms frame a window as it maps without moving or resizing it afterwards; the
        // frame is looked at once the showing has gone through.
        QMetaObject::invokeMethod(this, [this] { window_.geometryChanged(); }, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void QtWindowWidget::paintEvent(QPaintEvent* event) {
    window_.paintRegion(event->region());
    const QImage& backing = window_.backing();
    // The client area starts below the menu bar, which paints itself.
    const int top = window_.clientTop();
    QPainter painter(this);
    for (const QRect& rect : event->region()) painter.drawImage(rect.topLeft(), backing, rect.translated(0, -top));
}

void QtWindowWidget::closeEvent(QCloseEvent* event) {
    // The window never closes by itself: the program decides what a close request means.
    event->ignore();
    window_.closeRequested();
}

void QtWindowWidget::resizeEvent(QResizeEvent* event) {
    window_.resized(event->size());
    window_.geometryChanged();
}

void QtWindowWidget::moveEvent(QMoveEvent*) { window_.geometryChanged(); }

void QtWindowWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) window_.windowStateChanged();
    QWidget::changeEvent(event);
}

void QtWindowWidget::keyPressEvent(QKeyEvent* event) { window_.keyArrived(*event); }

void QtWindowWidget::keyReleaseEvent(QKeyEvent* event) { window_.keyArrived(*event); }

void QtWindowWidget::mousePressEvent(QMouseEvent* event) { window_.mouseArrived(mouseEventFromQt(*event)); }

void QtWindowWidget::mouseReleaseEvent(QMouseEvent* event) { window_.mouseArrived(mouseEventFromQt(*event)); }

void QtWindowWidget::mouseDoubleClickEvent(QMouseEvent* event) { window_.mouseArrived(mouseEventFromQt(*event)); }

void QtWindowWidget::mouseMoveEvent(QMouseEvent* event) { window_.mouseArrived(mouseEventFromQt(*event)); }

void QtWindowWidget::wheelEvent(QWheelEvent* event) { window_.mouseArrived(mouseEventFromQt(*event)); }

}  // namespace zozuz
