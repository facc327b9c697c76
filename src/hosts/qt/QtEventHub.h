#pragma once

#include <cstdint>
#include <optional>

#include <QEvent>
#include <QObject>
#include <QString>

#include "platform/host/HostListener.h"
#include "platform/host/KeyEvent.h"

class QKeyEvent;

namespace zozuz {

class QtHost;

// The host's listening post inside Qt: it receives the posted quit request and the timers' events,
// and, installed as the application's event filter, sees every input before any widget does. That
// is where a key press is offered to its window's client (the key preview) and where the inputs
// that end a tooltip are announced.
class QtEventHub final : public QObject {
public:
    // The type of the posted event that carries the quit request.
    static QEvent::Type quitEventType();
    // The type of the posted event that says a timer is due.
    static QEvent::Type timerEventType();

    explicit QtEventHub(QtHost& host);

    // Queues the quit request behind the events already posted.
    void postQuit();
    // Queues the message that a host timer is due.
    void postTimerDue(std::uint64_t timer);

    // A key event in the program's terms. The filter converts each key as it reaches its top-level
    // window, and the widget it goes on to takes that conversion instead of making its own; a key
    // sent to a widget directly never passed the filter and is converted here.
    KeyEvent keyOf(const QKeyEvent& event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    bool previewKey(QObject* watched, QEvent* event);
    void announceInput(QObject* watched, HostListener::InputKind kind);

    // The last key the filter converted, with what its conversion was made from. The event's
    // address alone could be a later event's that the filter never saw; the conversion reads
    // nothing but the type, key, modifiers and text, so an event that matches in these converts
    // to just this key.
    struct ConvertedKey {
        const QKeyEvent* event = nullptr;
        QEvent::Type type = QEvent::None;
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        QString text;
        KeyEvent converted;
    };

    QtHost& host_;
    std::optional<ConvertedKey> convertedKey_;
};

}  // namespace zozuz
