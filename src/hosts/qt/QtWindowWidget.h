#pragma once

#include <QWidget>

class QCloseEvent;
class QEvent;
class QKeyEvent;
class QMouseEvent;
class QMoveEvent;
class QPaintEvent;
class QResizeEvent;
class QWheelEvent;
class QWindow;

namespace zozuz {

class QtWindow;

// The QWidget of a top-level window. It only translates Qt's events and hands them to its QtWindow,
// which decides what the program hears of them.
class QtWindowWidget final : public QWidget {
public:
    QtWindowWidget(QtWindow& window, QWidget* owner, Qt::WindowFlags flags);

    // The platform window, created now if the widget has none yet. Unlike QWidget::winId(), this
    // leaves the owner's child widgets alone: winId() would turn every one of them into a native
    // window of its own.
    QWindow& platformWindow();
    // The program's window this widget shows.
    QtWindow& nativeWindow() const { return window_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QtWindow& window_;
};

}  // namespace zozuz
