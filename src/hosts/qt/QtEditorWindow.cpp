#include "hosts/qt/QtEditorWindow.h"

#include <algorithm>
#include <limits>

#include <QAccessible>
#include <QGuiApplication>
#include <QInputMethod>
#include <QPalette>
#include <QScrollBar>
#include <QWidget>

#include "hosts/qt/QtAccessibleTextNotifier.h"
#include "hosts/qt/QtEditorWidget.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

namespace {

int toInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

// Our scroll bars count positions 0..maximum with a page of them in view; Qt's count the first
// position in view, from 0 to maximum - page + 1.
void apply(QScrollBar& bar, const ScrollBarState& state) {
    bar.setRange(0, toInt(std::max<std::int64_t>(0, state.maximum - state.page + 1)));
    bar.setPageStep(std::max(1, toInt(state.page)));
    bar.setSingleStep(1);
    bar.setValue(toInt(state.position));
}

}  // namespace

QtEditorWindow::QtEditorWindow(QtHost& host, QtWindow& parent, EditorWindowClient& client)
    : host_(host),
      parent_(parent),
      client_(client),
      widget_(std::make_unique<QtEditorWidget>(*this, &parent.widget())),
      textNotifier_(std::make_unique<QtAccessibleTextNotifier>(*widget_)) {
    parent_.addEditor(*this);
    widget_->show();
}

// The program destroys its editors before their window, as a control goes before its form.
QtEditorWindow::~QtEditorWindow() { parent_.removeEditor(*this); }

void QtEditorWindow::setBounds(const Rect& bounds) {
    bounds_ = bounds;
    placeInClientArea();
}

Rect QtEditorWindow::bounds() const { return bounds_; }

void QtEditorWindow::placeInClientArea() {
    widget_->setGeometry(bounds_.left, bounds_.top + parent_.clientTop(), bounds_.width(), bounds_.height());
}

Size QtEditorWindow::textAreaSize() const {
    const QSize size = widget_->viewport()->size();
    return {size.width(), size.height()};
}

void QtEditorWindow::setVisible(bool visible) { widget_->setVisible(visible); }

void QtEditorWindow::setFocus() { widget_->setFocus(Qt::OtherFocusReason); }

bool QtEditorWindow::hasFocus() const { return widget_->hasFocus(); }

void QtEditorWindow::releaseMouse() {
    // The grab Qt takes while a button is held ends by itself once a modal window blocks this
    // one; only a grab the text area holds explicitly is given up here.
    if (QWidget::mouseGrabber() == widget_->viewport()) widget_->viewport()->releaseMouse();
}

void QtEditorWindow::setScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) {
    settingScrollBars_ = true;
    widget_->setVerticalScrollBarPolicy(vertical.shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    widget_->setHorizontalScrollBarPolicy(horizontal.shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    apply(*widget_->verticalScrollBar(), vertical);
    apply(*widget_->horizontalScrollBar(), horizontal);
    settingScrollBars_ = false;
}

void QtEditorWindow::invalidate(const Rect& area) {
    widget_->viewport()->update(area.left, area.top, area.width(), area.height());
}

void QtEditorWindow::repaintNow() { widget_->viewport()->repaint(); }

void QtEditorWindow::caretMoved() {
    if (widget_->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImSurroundingText | Qt::ImCursorPosition |
                                                                      Qt::ImAnchorPosition);
}

void QtEditorWindow::accessibleTextChanged(const AccessibleTextChange& change) {
    if (!QAccessible::isActive()) return;
    AccessibleText* text = client_.accessibleText();
    if (text != nullptr) textNotifier_->changed(*text, change);
}

EditorColours QtEditorWindow::colours() const {
    const QPalette palette = widget_->palette();
    const auto rgb = [&](QPalette::ColorRole role) { return static_cast<std::uint32_t>(palette.color(role).rgb() & 0xFFFFFF); };
    return {rgb(QPalette::Base), rgb(QPalette::Text), rgb(QPalette::Highlight), rgb(QPalette::HighlightedText)};
}

}  // namespace zozuz
