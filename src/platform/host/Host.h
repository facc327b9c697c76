#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gfx/Geometry.h"
#include "platform/host/FileDialogs.h"
#include "platform/host/Clipboard.h"
#include "platform/host/CodePageCodec.h"
#include "platform/host/CodePageTextMeasure.h"
#include "platform/host/EditorWindow.h"
#include "platform/host/HostListener.h"
#include "platform/gfx/Image.h"
#include "platform/host/MenuBar.h"
#include "platform/host/MessageBox.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/Printer.h"
#include "platform/host/TextRenderer.h"
#include "platform/host/TooltipWindow.h"
#include "platform/host/WarningSound.h"
#include "platform/host/WindowClient.h"

namespace zozuz {

// What the program asks of its platform: top-level windows, the event queue, timers, the pointer,
// message boxes, text drawing, the shell and a few facts about the process and the screen. One
// object per process, used only on the user-interface thread. The Qt host and the headless host
// implement it; nothing outside the host folders knows which one runs.
class Host {
public:
    // What one pump step did.
    enum class PumpResult : std::uint8_t {
        // The queue was empty: nothing was delivered.
        Empty,
        // One or more events were taken and delivered.
        Handled,
        // The quit request posted by postQuit was taken. Events posted before it have been
        // delivered already; the request is reported once.
        Quit,
    };

    using TimerId = std::uint64_t;

    virtual ~Host() = default;

    // --- Windows ---

    // Creates a hidden top-level window that reports its events to `client`. The client must
    // outlive the window.
    virtual std::unique_ptr<NativeWindow> createWindow(WindowClient& client, const WindowOptions& options) = 0;
    // Creates a visible editor window inside `parent`, reporting to `client`; both must outlive it.
    virtual std::unique_ptr<EditorWindow> createEditorWindow(NativeWindow& parent, EditorWindowClient& client) = 0;
    // The window that has the keyboard, or null when none of the program's windows is active.
    virtual NativeWindow* activeWindow() const = 0;

    // --- The event queue ---

    // Takes the next waiting event and delivers it, without waiting. A key event is offered to its
    // window's WindowClient::keyPreview before it goes on. Events that end a tooltip are announced
    // to the listener before they are delivered.
    virtual PumpResult pumpOne() = 0;
    // Blocks until an event is waiting, without polling: the thread sleeps until the desktop, a
    // timer or postQuit wakes it. Returns at once when an event is already waiting. A host whose
    // event system cannot wait without delivering may deliver the events that end the wait here; a
    // quit request taken that way is still reported by the next pumpOne.
    virtual void waitForEvent() = 0;
    // Queues the quit request behind the events already waiting.
    virtual void postQuit() = 0;

    // The listener for application-wide notifications; null for none. Not owned.
    virtual void setListener(HostListener* listener) = 0;

    // --- Timers ---

    // A one-shot timer: `callback` runs once, from a pump step on the user-interface thread, no
    // sooner than `milliseconds` from now. An exception escaping it travels out of that pump step.
    // Returns 0, and the callback never runs, when the platform cannot start a timer.
    virtual TimerId startTimer(int milliseconds, std::function<void()> callback) = 0;
    // Cancels a timer that has not fired yet; an unknown or fired timer is ignored.
    virtual void stopTimer(TimerId id) = 0;

    // --- Pointer and screen ---

    // The pointer's position in screen coordinates.
    virtual Point pointerPosition() const = 0;
    // The program's visible top-level window under a screen point, topmost first; null when the
    // point lies over none of them (or over another program's window above them).
    virtual NativeWindow* windowAt(Point screen) const = 0;
    // The size of the screen (the primary monitor's full area).
    virtual Size screenSize() const = 0;
    // The part of a screen that windows may take (without task bars and docks): of the screen that
    // holds most of `window`, else the one nearest to it; in the program's coordinates.
    virtual Rect workArea(const Rect& window) const = 0;

    // --- Message boxes ---

    // Shows a message box and returns the chosen button once the user has closed it. The host
    // shows the box over its owner (or, without owner, in front of everything); it does not disable
    // the program's windows itself.
    virtual MessageBoxResult messageBox(const MessageBoxRequest& request) = 0;

    // --- Menus, file and print dialogs (MenuBar.h, FileDialogs.h, Printer.h) ---

    // Gives `window` a menu bar that reports to `listener`; both must outlive it.
    virtual std::unique_ptr<NativeMenuBar> createMenuBar(NativeWindow& window, MenuListener& listener) = 0;
    virtual FileDialogs& fileDialogs() = 0;
    virtual Printer& printer() = 0;

    // --- Text ---

    virtual TextRenderer& textRenderer() = 0;
    // Conversion between the system code page (936) and Unicode, at the edges of the program.
    virtual const CodePageCodec& codePageCodec() const = 0;
    // Measuring code-page text in the desktop's fonts, for the editor's layout.
    virtual CodePageTextMeasure& codePageTextMeasure() = 0;

    // --- Clipboard ---

    virtual Clipboard& clipboard() = 0;

    // --- Small services, one object each for the life of the host ---

    virtual TooltipWindow& tooltipWindow() = 0;
    virtual WarningSound& warningSound() = 0;

    // --- Shell and process ---

    // Hands an address (a web address or a "mailto:" address) to the desktop's default handler,
    // with `owner` as the window any question of the handler belongs to. Returns whether the
    // desktop accepted it.
    virtual bool openAddress(std::string_view address, NativeWindow* owner) = 0;
    // The full path of the program's executable file, as the system names it (UTF-8).
    virtual std::string executablePath() const = 0;
    // The show command the process was started with (platform/ShowCommand.h); show_command::
    // kShowDefault when the starter gave none.
    virtual int initialShowCommand() const = 0;
    // The application's icon, used where the desktop shows the program as a whole.
    virtual void setApplicationIcon(const Image& icon) = 0;
};

}  // namespace zozuz
