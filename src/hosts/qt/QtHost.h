#pragma once

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/host/Host.h"
#include "platform/host/HostListener.h"
#include "platform/host/KeyEvent.h"
#include "platform/gfx/Image.h"
#include "platform/host/MessageBox.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/WindowClient.h"
#include "hosts/qt/QtTooltip.h"
#include "hosts/qt/QtWarningSound.h"

// Only forward declarations of Qt's classes here: the program's start code includes this header,
// and nothing outside the Qt host folder sees a Qt header.
class QApplication;
class QKeyEvent;
class QObject;
class QWindow;

namespace zozuz {

class QtClipboard;
class QtCodePageCodec;
class QtCodePageText;
class QtEventHub;
class QtFileDialogs;
class QtPrinter;
class QtTextRenderer;
class QtTranslations;
class QtWindow;

// The host on Qt 6 Widgets. It owns the QApplication, so that a program needs nothing but this
// class to run on the desktop.
//
// Events: Qt's own dispatcher runs the queue. One pump step is one non-blocking round of the
// dispatcher, and waiting for an event is one blocking round, which delivers what woke it (the
// Host interface allows that); the quit request is an ordinary posted event whose arrival is
// remembered and reported by the next pump step.
//
// Errors: Qt cannot carry an exception through its event delivery, so every call into the program
// runs guarded. The first error is kept aside, the dispatcher is asked to return, and the error is
// thrown again when the host call that delivered it returns.
class QtHost final : public Host {
public:
    // `argc` and `argv` go to the QApplication, which keeps references to them.
    QtHost(int& argc, char** argv);
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    // --- Host ---
    std::unique_ptr<NativeWindow> createWindow(WindowClient& client, const WindowOptions& options) override;
    std::unique_ptr<EditorWindow> createEditorWindow(NativeWindow& parent, EditorWindowClient& client) override;
    NativeWindow* activeWindow() const override;
    PumpResult pumpOne() override;
    void waitForEvent() override;
    void postQuit() override;
    void setListener(HostListener* listener) override { listener_ = listener; }
    TimerId startTimer(int milliseconds, std::function<void()> callback) override;
    void stopTimer(TimerId id) override;
    Point pointerPosition() const override;
    NativeWindow* windowAt(Point screen) const override;
    Size screenSize() const override;
    Rect workArea(const Rect& window) const override;
    MessageBoxResult messageBox(const MessageBoxRequest& request) override;
    std::unique_ptr<NativeMenuBar> createMenuBar(NativeWindow& window, MenuListener& listener) override;
    FileDialogs& fileDialogs() override;
    Printer& printer() override;
    TextRenderer& textRenderer() override;
    const CodePageCodec& codePageCodec() const override;
    CodePageTextMeasure& codePageTextMeasure() override;
    Clipboard& clipboard() override;
    QtCodePageText& codePageText() { return *codePageText_; }
    QtTooltip& tooltipWindow() override { return *tooltip_; }
    QtWarningSound& warningSound() override { return warningSound_; }
    bool openAddress(std::string_view address, NativeWindow* owner) override;
    std::string executablePath() const override;
    int initialShowCommand() const override;
    void setApplicationIcon(const Image& icon) override;

    // --- For the host's own classes ---

    // Runs a call into the program. An error escaping it is kept (the first one only) and the
    // dispatcher is asked to return; the call reports whether it finished normally.
    template <class F>
    bool guard(F&& call) noexcept {
        try {
            call();
            return true;
        } catch (...) {
            keepError(std::current_exception());
            return false;
        }
    }
    // Throws the error kept by guard, if any, and forgets it.
    void rethrowPending();

    HostListener* listener() const { return listener_; }
    void announce(HostListener::InputKind kind);

    // The program's window that a Qt window belongs to, or null.
    QtWindow* windowOf(const QWindow* window) const;
    QtWindow* windowOfWidget(const QObject* widget) const;
    // A key event that reached one of the program's widgets, in the program's terms: converted once,
    // as the key passed the event filter on its way.
    KeyEvent keyOf(const QKeyEvent& event) const;

    // The frame a window manager puts around a top-level window of each kind, as far as it has been
    // seen yet; empty until a window of the program has been mapped with its frame. New windows are
    // sized with it, so only the first window has to be corrected once its frame is known.
    Rect frameEstimate(WindowFrame frame) const;
    void learnFrame(WindowFrame frame, const Rect& insets);

    // The two steps of the desktop session's end. The session manager's question (Qt's
    // commitDataRequest) is only asked: the program answers, and the user may still cancel the
    // log-off. When the session manager then ends the program, Qt sends the application its quit
    // event, and only that tells the program to end. Each returns what it did: the program's answer,
    // and whether the program was told.
    bool askSessionEnd();
    bool sessionEnded();

    // While a window waits for its activation, the program's timers that come due are held back
    // and come due once the wait is over: the program runs nothing of its own from inside the
    // showing of a window but what the window system sends it. Holds nest.
    void holdTimers() { ++timerHolds_; }
    void releaseTimers();

    // Called by the event hub.
    void quitArrived() { quitPending_ = true; }
    void timerFired(int qtTimerId);
    void timerDue(TimerId id);

private:
    friend class QtWindow;

    struct Timer {
        int qtId = 0;
        std::function<void()> callback;
    };

    void keepError(std::exception_ptr error);
    void windowCreated(QtWindow* window);
    void windowDestroyed(QtWindow* window);
    bool takeQuit();

    std::unique_ptr<QApplication> app_;
    std::unique_ptr<QtTranslations> translations_;
    std::unique_ptr<QtEventHub> hub_;
    std::unique_ptr<QtTextRenderer> renderer_;
    std::unique_ptr<QtFileDialogs> fileDialogs_;
    std::unique_ptr<QtPrinter> printer_;
    std::unique_ptr<QtCodePageCodec> codec_;
    std::unique_ptr<QtCodePageText> codePageText_;
    std::unique_ptr<QtClipboard> clipboard_;
    // Its label must go before the QApplication.
    std::unique_ptr<QtTooltip> tooltip_;
    QtWarningSound warningSound_;
    HostListener* listener_ = nullptr;
    std::vector<QtWindow*> windows_;
    std::exception_ptr pending_;
    bool quitPending_ = false;
    TimerId nextTimer_ = 0;
    std::map<TimerId, Timer> timers_;
    std::map<int, TimerId> timerByQtId_;
    int timerHolds_ = 0;
    // Timers that came due while held, in the order they did.
    std::vector<TimerId> heldTimers_;
    std::optional<Rect> sizeableFrame_;
    std::optional<Rect> dialogFrame_;
    // The frame the window manager drew around the last message box.
    std::optional<Rect> messageBoxFrame_;
};

}  // namespace zozuz
