#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/files/SystemCodePageCodec.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelScale.h"
#include "platform/host/Host.h"
#include "platform/host/HostListener.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MessageBox.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/WindowClient.h"
#include "hosts/win32/Win32TooltipWindow.h"
#include "hosts/win32/Win32WarningSound.h"

// Only the handle types are named here, as windows.h declares them: the program's start code
// includes this header, and nothing outside the Windows host sees windows.h.
struct HWND__;
struct HICON__;

namespace zozuz {

class GdiCodePageTextMeasure;
class GdiTextRenderer;
class Win32Clipboard;
class Win32FileDialogs;
class Win32Printer;
class Win32Window;

// The host on the system's own windows, for Windows. It initialises COM for the user-interface
// thread (a single-threaded apartment) for the life of the host, and owns the window class every
// window of the program belongs to.
//
// Events: one pump step takes one message from the thread's queue without waiting (PeekMessage),
// and waiting is WaitMessage, which sleeps until a new message arrives. The quit request is the
// system's quit message.
//
// Errors: an exception cannot travel through the system's code that calls a window procedure, so
// every call into the program runs guarded. The first error is kept aside and thrown again when the
// host call that delivered it returns (a pump step, a message box, a show or a move).
class Win32Host final : public Host {
public:
    Win32Host();
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    // --- Host ---
    std::unique_ptr<NativeWindow> createWindow(WindowClient& client, const WindowOptions& options) override;
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
    std::unique_ptr<EditorWindow> createEditorWindow(NativeWindow& parent, EditorWindowClient& client) override;
    std::unique_ptr<NativeMenuBar> createMenuBar(NativeWindow& window, MenuListener& listener) override;
    FileDialogs& fileDialogs() override;
    Printer& printer() override;
    TextRenderer& textRenderer() override;
    const CodePageCodec& codePageCodec() const override { return codec_; }
    CodePageTextMeasure& codePageTextMeasure() override;
    Clipboard& clipboard() override;
    TooltipWindow& tooltipWindow() override { return tooltip_; }
    WarningSound& warningSound() override { return warningSound_; }
    bool openAddress(std::string_view address, NativeWindow* owner) override;
    std::string executablePath() const override;
    int initialShowCommand() const override;
    void setApplicationIcon(const Image& icon) override;

    // Whether COM was initialised for this thread (and is therefore uninitialised with the host).
    bool comInitialised() const { return comInitialised_; }

    // --- For the host's own classes ---

    // Runs a call into the program. An error escaping it is kept (the first one only); the call
    // reports whether it finished normally.
    template <class F>
    bool guard(F&& call) noexcept {
        try {
            call();
            return true;
        } catch (...) {
            if (!pending_) pending_ = std::current_exception();
            return false;
        }
    }
    // Throws the error kept by guard, if any, and forgets it.
    void rethrowPending();

    HostListener* listener() const { return listener_; }
    void announce(HostListener::InputKind kind);

    // The program's window that a system window is, or lies inside; null for any other window.
    Win32Window* windowOf(HWND__* handle) const;
    // The name of the window class of the program's windows.
    static const wchar_t* windowClassName();
    // Hands a key message that reached one of the program's windows to `deliver`, guarded: the key
    // the pump converted when it dispatches the message, or else (a message sent to the window
    // directly) the message's own conversion. Returns whether the message is done with: the system
    // keys go on to the system's handling too, so that Alt+F4 and the system menu keep working.
    bool deliverKeyMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                           const std::function<void(const KeyEvent&)>& deliver);

    // The main monitor's density, in which screen positions are counted; read once, as the system
    // changes it only for a new session.
    const PixelScale& screenScale() const { return screenScale_; }

    // The GDI fonts every text of the host is drawn and measured in.
    GdiTextRenderer& gdiRenderer() { return *renderer_; }
    GdiCodePageTextMeasure& gdiCodePageText() { return *codePageText_; }

    // Called from the window procedure of the host's own message window.
    void timerMessage(std::uintptr_t id);

private:
    friend class Win32Window;

    void windowCreated(Win32Window* window) { windows_.push_back(window); }
    void windowDestroyed(Win32Window* window);

    bool comInitialised_ = false;
    PixelScale screenScale_;
    HWND__* messageWindow_ = nullptr;
    HICON__* applicationIcon_ = nullptr;
    std::unique_ptr<GdiTextRenderer> renderer_;
    SystemCodePageCodec codec_;
    std::unique_ptr<GdiCodePageTextMeasure> codePageText_;
    std::unique_ptr<Win32Clipboard> clipboard_;
    std::unique_ptr<Win32FileDialogs> fileDialogs_;
    std::unique_ptr<Win32Printer> printer_;
    Win32TooltipWindow tooltip_;
    Win32WarningSound warningSound_;
    HostListener* listener_ = nullptr;
    std::vector<Win32Window*> windows_;
    std::exception_ptr pending_;
    // The key message being dispatched right now, in the program's terms, with the text it types.
    std::optional<KeyEvent> dispatchingKey_;
    TimerId nextTimer_ = 0;
    std::map<TimerId, std::function<void()>> timers_;
};

}  // namespace zozuz
