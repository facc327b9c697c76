#include "hosts/qt/QtEventHub.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimerEvent>
#include <QWindow>

#include "platform/host/KeyEvent.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtKeyMap.h"
#include "hosts/qt/QtWindow.h"

namespace zozuz {

QEvent::Type QtEventHub::quitEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type QtEventHub::timerEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

namespace {

class TimerDueEvent final : public QEvent {
public:
    explicit TimerDueEvent(std::uint64_t timer) : QEvent(QtEventHub::timerEventType()), timer_(timer) {}
    std::uint64_t timer() const { return timer_; }

private:
    std::uint64_t timer_;
};

}  // namespace

QtEventHub::QtEventHub(QtHost& host) : host_(host) {}

void QtEventHub::postTimerDue(std::uint64_t timer) { QCoreApplication::postEvent(this, new TimerDueEvent(timer)); }

void QtEventHub::postQuit() {
    // Posted events keep their order, so everything posted before the request is delivered first.
    QCoreApplication::postEvent(this, new QEvent(quitEventType()));
}

void QtEventHub::customEvent(QEvent* event) {
    if (event->type() == quitEventType()) host_.quitArrived();
    if (event->type() == timerEventType()) host_.timerDue(static_cast<TimerDueEvent*>(event)->timer());
}

void QtEventHub::timerEvent(QTimerEvent* event) { host_.timerFired(event->timerId()); }

bool QtEventHub::eventFilter(QObject* watched, QEvent* event) {
    // The platform asks the application to end (the session manager ends the program): the program
    // ends its loop itself, and Qt does not go round closing its windows.
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        host_.sessionEnded();
        return true;
    }
    // Input reaches the QWindow of a top-level window first and only then its widgets; watching the
    // QWindow sees each event exactly once, however far it travels among the widgets afterwards.
    if (!watched->isWindowType()) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return previewKey(watched, event);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            announceInput(watched, HostListener::InputKind::MouseButton);
            return false;
        case QEvent::Wheel:
            announceInput(watched, HostListener::InputKind::MouseWheel);
            return false;
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseMove:
            announceInput(watched, HostListener::InputKind::FrameMouse);
            return false;
        default:
            return false;
    }
}

void QtEventHub::announceInput(QObject* watched, HostListener::InputKind kind) {
    // Input for a window that takes none goes nowhere, and so ends no tooltip either.
    const QtWindow* window = host_.windowOf(static_cast<QWindow*>(watched));
    if (window && window->enabled()) host_.announce(kind);
}

bool QtEventHub::previewKey(QObject* watched, QEvent* event) {
    QtWindow* window = host_.windowOf(static_cast<QWindow*>(watched));
    // A disabled window takes no keys at all; Qt drops them on the way to its widgets.
    if (!window || !window->enabled()) return false;
    host_.announce(HostListener::InputKind::Key);
    const auto* qtKey = static_cast<const QKeyEvent*>(event);
    // A copy for the preview: a nested event loop inside it converts keys of its own.
    const KeyEvent key = keyEventFromQt(*qtKey);
    convertedKey_ = ConvertedKey{qtKey, qtKey->type(), qtKey->key(), qtKey->modifiers(), qtKey->text(), key};
    bool consumed = false;
    // A key whose preview failed counts as handled: the error display takes over from here.
    if (!host_.guard([&] { consumed = window->client().keyPreview(key); })) consumed = true;
    return consumed;
}

KeyEvent QtEventHub::keyOf(const QKeyEvent& event) const {
    const bool converted = convertedKey_ && convertedKey_->event == &event && convertedKey_->type == event.type() &&
                           convertedKey_->key == event.key() && convertedKey_->modifiers == event.modifiers() &&
                           convertedKey_->text == event.text();
    return converted ? convertedKey_->converted : keyEventFromQt(event);
}

}  // namespace zozuz
