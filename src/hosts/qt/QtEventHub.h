#pragma once

#include <cstdint>

#include <QEvent>
#include <QObject>

#include "platform/host/HostListener.h"

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    bool previewKey(QObject* watched, QEvent* event);
    void announceInput(QObject* watched, HostListener::InputKind kind);

    QtHost& host_;
};

}  // namespace zozuz
