#include "hosts/qt/QtTooltip.h"

#include <algorithm>

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QString>
#include <QToolTip>

namespace zozuz {

namespace {

// How far below the pointer's hot spot the pointer's shape reaches. Qt gives no size for the
// shape in use, so this is the height the usual arrow shows below its tip.
constexpr int kPointerShapeHeight = 20;

}  // namespace

QtTooltip::QtTooltip() = default;

QtTooltip::~QtTooltip() = default;

void QtTooltip::show(const std::string& text, Point pointer) {
    if (!label_) {
        label_ = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
        label_->setAttribute(Qt::WA_ShowWithoutActivating);
        label_->setForegroundRole(QPalette::ToolTipText);
        label_->setBackgroundRole(QPalette::ToolTipBase);
        label_->setPalette(QToolTip::palette());
        label_->setFont(QToolTip::font());
        label_->setAutoFillBackground(true);
        label_->setMargin(2);
        label_->setFrameStyle(QFrame::Box | QFrame::Plain);
        label_->setTextFormat(Qt::PlainText);
    }
    const QPoint at(pointer.x, pointer.y);
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);

    label_->setText(QString::fromStdString(text));
    label_->setWordWrap(false);
    label_->setMaximumWidth(area.width());
    QSize size = label_->sizeHint();
    if (size.width() > area.width()) {
        // Too long for one line: it wraps within the screen's width.
        label_->setWordWrap(true);
        size = QSize(area.width(), label_->heightForWidth(area.width()));
    }
    label_->resize(size);

    int x = at.x();
    int y = at.y() + kPointerShapeHeight;
    // Kept on the screen: pushed left from the right edge, and above the pointer when there is no
    // room below it.
    x = std::clamp(x, area.left(), area.left() + area.width() - size.width());
    if (y + size.height() > area.top() + area.height()) y = at.y() - size.height();
    y = std::max(y, area.top());
    label_->move(x, y);
    label_->show();
    label_->raise();
}

void QtTooltip::hide() {
    if (label_) label_->hide();
}

}  // namespace zozuz
