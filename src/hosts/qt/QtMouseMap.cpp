#include "hosts/qt/QtMouseMap.h"

#include <QMouseEvent>
#include <QPoint>
#include <QWheelEvent>

namespace zozuz {

namespace {

MouseEvent::Button buttonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return MouseEvent::Button::Left;
        case Qt::RightButton: return MouseEvent::Button::Right;
        case Qt::MiddleButton: return MouseEvent::Button::Middle;
        default: return MouseEvent::Button::None;
    }
}

MouseEvent mouseOf(const QSinglePointEvent& event, MouseEvent::Kind kind) {
    MouseEvent mouse;
    mouse.kind = kind;
    const QPoint at = event.position().toPoint();
    mouse.position = Point{at.x(), at.y()};
    mouse.shift = event.modifiers().testFlag(Qt::ShiftModifier);
    mouse.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    mouse.alt = event.modifiers().testFlag(Qt::AltModifier);
    return mouse;
}

}  // namespace

MouseEvent mouseEventFromQt(const QMouseEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            const MouseEvent::Kind kind = event.type() == QEvent::MouseButtonPress     ? MouseEvent::Kind::Down
                                          : event.type() == QEvent::MouseButtonRelease ? MouseEvent::Kind::Up
                                                                                       : MouseEvent::Kind::DoubleClick;
            MouseEvent mouse = mouseOf(event, kind);
            mouse.button = buttonOf(event.button());
            return mouse;
        }
        default:
            // A move names no button: the buttons held do not matter to the program.
            return mouseOf(event, MouseEvent::Kind::Move);
    }
}

MouseEvent mouseEventFromQt(const QWheelEvent& event) {
    MouseEvent mouse = mouseOf(event, MouseEvent::Kind::Wheel);
    mouse.wheelDelta = event.angleDelta().y();
    return mouse;
}

}  // namespace zozuz
