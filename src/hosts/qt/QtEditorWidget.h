#pragma once

#include <QAbstractScrollArea>
#include <QVariant>

class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;
class QWheelEvent;

namespace zozuz {

class QtEditorWindow;

// The QWidget of an editor window: a scroll area whose viewport is the text area. It translates
// Qt's events, the input method's included, and hands them to its QtEditorWindow.
class QtEditorWidget final : public QAbstractScrollArea {
public:
    QtEditorWidget(QtEditorWindow& window, QWidget* parent);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // The program's editor window this widget shows.
    QtEditorWindow& editorWindow() const { return window_; }

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    QtEditorWindow& window_;
};

}  // namespace zozuz
