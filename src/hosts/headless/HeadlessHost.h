#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/Host.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/ShowCommand.h"
#include "hosts/headless/BitmapCodePageText.h"
#include "hosts/headless/BitmapFontRenderer.h"
#include "hosts/headless/HeadlessFileDialogs.h"
#include "hosts/headless/HeadlessMenuBar.h"
#include "hosts/headless/HeadlessPrinter.h"
#include "hosts/headless/HeadlessEditorWindow.h"
#include "platform/files/SystemCodePageCodec.h"
#include "hosts/headless/MemoryClipboard.h"
#include "hosts/headless/HeadlessWindow.h"
#include "hosts/headless/RecordedTooltip.h"
#include "hosts/headless/RecordedWarningSound.h"

namespace zozuz {

// Raised by HeadlessHost::waitForEvent when the queue is empty and the test scripted nothing more
// to happen: a real host would sleep forever here, so the test has a mistake in its script.
class HeadlessWouldBlock : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The in-memory host the program's logic is tested on. It is deterministic and needs no display:
// events sit in an explicit queue that tests fill, time moves only when a test advances the clock,
// message boxes take scripted answers and are recorded, shell calls are recorded, and every window
// draws into a pixel image.
class HeadlessHost final : public Host {
public:
    // What one shown message box looked like, and what the program's windows were doing meanwhile.
    struct MessageBoxRecord {
        MessageBoxRequest request;
        // The visible windows that accepted input while the box showed.
        std::vector<NativeWindow*> enabledWindows;
        NativeWindow* activeWindow = nullptr;
        MessageBoxResult answer = MessageBoxResult::Ok;
    };

    struct ShellCall {
        std::string address;
        NativeWindow* owner = nullptr;
    };

    // Lets a test act while a box shows (for example look at the windows, or raise an error from
    // inside it) and pick the answer; returning nothing falls back to the scripted answers.
    using MessageBoxHook = std::function<std::optional<MessageBoxResult>(const MessageBoxRecord&)>;

    HeadlessHost();
    ~HeadlessHost() override;

    // --- Host ---
    std::unique_ptr<NativeWindow> createWindow(WindowClient& client, const WindowOptions& options) override;
    std::unique_ptr<EditorWindow> createEditorWindow(NativeWindow& parent, EditorWindowClient& client) override;
    NativeWindow* activeWindow() const override { return active_; }
    PumpResult pumpOne() override;
    void waitForEvent() override;
    void postQuit() override;
    void setListener(HostListener* listener) override { listener_ = listener; }
    TimerId startTimer(int milliseconds, std::function<void()> callback) override;
    void stopTimer(TimerId id) override;
    Point pointerPosition() const override { return pointer_; }
    NativeWindow* windowAt(Point screen) const override;
    Size screenSize() const override { return screenSize_; }
    // One screen, whose work area is the whole screen unless a test set another.
    Rect workArea(const Rect&) const override {
        return workArea_ ? *workArea_ : Rect{0, 0, screenSize_.width, screenSize_.height};
    }
    MessageBoxResult messageBox(const MessageBoxRequest& request) override;
    std::unique_ptr<NativeMenuBar> createMenuBar(NativeWindow& window, MenuListener& listener) override;
    HeadlessFileDialogs& fileDialogs() override { return fileDialogs_; }
    HeadlessPrinter& printer() override { return printer_; }
    TextRenderer& textRenderer() override { return renderer_; }
    const CodePageCodec& codePageCodec() const override { return codec_; }
    CodePageTextMeasure& codePageTextMeasure() override { return codePageText_; }
    Clipboard& clipboard() override { return clipboard_; }
    // The clipboard with what a test puts there, as another program would.
    MemoryClipboard& memoryClipboard() { return clipboard_; }
    BitmapCodePageText& bitmapCodePageText() { return codePageText_; }
    RecordedTooltip& tooltipWindow() override { return tooltip_; }
    RecordedWarningSound& warningSound() override { return warningSound_; }
    bool openAddress(std::string_view address, NativeWindow* owner) override;
    std::string executablePath() const override { return executablePath_; }
    int initialShowCommand() const override { return showCommand_; }
    void setApplicationIcon(const Image& icon) override { applicationIcon_ = icon; }

    // --- Process and screen, as a test sets them ---
    void setExecutablePath(std::string path) { executablePath_ = std::move(path); }
    void setInitialShowCommand(int command) { showCommand_ = command; }
    void setScreenSize(Size size) { screenSize_ = size; }
    void setWorkArea(Rect area) { workArea_ = area; }
    void setPointerPosition(Point screen) { pointer_ = screen; }
    const Image& applicationIcon() const { return applicationIcon_; }

    // --- Posting input, as the desktop would ---
    void postKey(NativeWindow& window, const KeyEvent& key);
    // A key press followed by its release.
    void postKeyPress(NativeWindow& window, std::uint8_t virtualKey, bool shift = false, bool ctrl = false,
                      bool alt = false);
    void postMouse(NativeWindow& window, const MouseEvent& mouse);
    // The user clicks the close box (or presses Alt+F4).
    void postCloseRequest(NativeWindow& window);
    // The desktop session asks whether the program may end; the answer is recorded
    // (sessionEndAnswers). Without a listener the answer is yes.
    void postSessionEndQuery();
    // The desktop session ends, or, with `ending` false, the end it asked about was cancelled
    // (WM_ENDSESSION with wParam FALSE): the program is not told then.
    void postSessionEnd(bool ending = true);
    const std::vector<bool>& sessionEndAnswers() const { return sessionEndAnswers_; }
    // Any other work that arrives through the queue; an error it raises travels out of pumpOne.
    void post(std::function<void()> task);
    std::size_t pendingEvents() const { return queue_.size(); }

    // --- Time ---
    // Moves the manual clock on and queues the messages of the timers that have come due, in the
    // order they are due.
    void advanceClock(int milliseconds);
    std::int64_t now() const { return now_; }
    std::size_t activeTimers() const { return timers_.size(); }

    // --- Waiting ---
    // Adds an action to run when the program next waits with an empty queue, in the order added;
    // typically it posts the input the test wants delivered next.
    void whenIdle(std::function<void()> action);
    // How often waitForEvent was called, and how often of those the queue held something already
    // (a program that calls it only when idle never makes the second count grow).
    std::size_t waitCount() const { return waitCount_; }
    std::size_t waitsWithEventsPending() const { return waitsWithEventsPending_; }
    std::size_t pumpCount() const { return pumpCount_; }

    // --- Message boxes and shell ---
    void scriptMessageBoxAnswer(MessageBoxResult answer) { answers_.push_back(answer); }
    void setMessageBoxHook(MessageBoxHook hook) { messageBoxHook_ = std::move(hook); }
    const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
    void setOpenAddressResult(bool accepted) { openAddressResult_ = accepted; }
    const std::vector<ShellCall>& shellCalls() const { return shellCalls_; }

    // The menu bar of a window, or null.
    HeadlessMenuBar* menuBarOf(const NativeWindow& window) const;

    // --- Windows ---
    // The live windows, in creation order.
    const std::vector<HeadlessWindow*>& windows() const { return windows_; }
    // The editor window with the keyboard focus, or null; it receives the keys that its window's
    // preview lets through.
    HeadlessEditorWindow* focusedEditor() const { return focusedEditor_; }
    void focusEditor(HeadlessEditorWindow* editor);
    const std::vector<HeadlessEditorWindow*>& editors() const { return editors_; }
    // The desktop's colours that editor windows report, as a test sets them.
    const EditorColours& desktopColours() const { return desktopColours_; }
    void setDesktopColours(const EditorColours& colours) { desktopColours_ = colours; }
    // Input that arrived for a hidden or disabled window and was dropped, as a desktop drops it.
    std::size_t droppedInputs() const { return droppedInputs_; }
    // The user switches to another program: none of the program's windows stays active.
    void activateOtherProgram();

private:
    friend class HeadlessWindow;
    friend class HeadlessEditorWindow;
    void editorCreated(HeadlessEditorWindow* editor) { editors_.push_back(editor); }
    void editorDestroyed(HeadlessEditorWindow* editor);

    struct Event {
        enum class Kind : std::uint8_t { Key, Mouse, Close, SessionEndQuery, SessionEnd, Task, Timer, Quit };
        Kind kind = Kind::Task;
        HeadlessWindow* window = nullptr;
        KeyEvent key;
        MouseEvent mouse;
        std::function<void()> task;
        TimerId timer = 0;
        bool ending = true;
    };

    struct Timer {
        std::int64_t due = 0;
        std::function<void()> callback;
        bool queued = false;
    };

    void windowDestroyed(HeadlessWindow* window);
    void windowShown(HeadlessWindow* window);
    void windowHidden(HeadlessWindow* window);
    void activate(HeadlessWindow* window);
    void raise(HeadlessWindow* window);
    bool acceptsInput(const HeadlessWindow* window) const;
    void deliver(Event& event);
    HeadlessWindow* nextPaint() const;
    void announce(HostListener::InputKind kind);

    std::vector<HeadlessWindow*> windows_;
    std::vector<HeadlessEditorWindow*> editors_;
    HeadlessEditorWindow* focusedEditor_ = nullptr;
    EditorColours desktopColours_;
    std::vector<HeadlessWindow*> zOrder_;  // bottom to top
    HeadlessWindow* active_ = nullptr;
    std::deque<Event> queue_;
    HostListener* listener_ = nullptr;

    std::int64_t now_ = 0;
    TimerId nextTimer_ = 0;
    std::map<TimerId, Timer> timers_;

    std::deque<std::function<void()>> idleActions_;
    std::size_t waitCount_ = 0;
    std::size_t waitsWithEventsPending_ = 0;
    std::size_t pumpCount_ = 0;
    std::size_t droppedInputs_ = 0;

    std::deque<MessageBoxResult> answers_;
    MessageBoxHook messageBoxHook_;
    std::vector<MessageBoxRecord> messageBoxes_;
    bool openAddressResult_ = true;
    std::vector<ShellCall> shellCalls_;
    std::vector<bool> sessionEndAnswers_;
    std::vector<HeadlessMenuBar*> menuBars_;
    HeadlessFileDialogs fileDialogs_;

    BitmapFontRenderer renderer_;
    SystemCodePageCodec codec_;
    BitmapCodePageText codePageText_{codec_};
    HeadlessPrinter printer_{codec_};
    MemoryClipboard clipboard_;
    RecordedTooltip tooltip_;
    RecordedWarningSound warningSound_;
    std::string executablePath_ = "/usr/bin/zozuz";
    int showCommand_ = show_command::kShowDefault;
    Size screenSize_{1024, 768};
    std::optional<Rect> workArea_;
    Point pointer_{-1, -1};
    Image applicationIcon_;
};

}  // namespace zozuz
