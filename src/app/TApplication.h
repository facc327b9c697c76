#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/AppWindow.h"
#include "app/CommandTarget.h"
#include "app/HostTooltipView.h"
#include "app/OneShotTimers.h"
#include "app/TooltipTiming.h"
#include "platform/host/Host.h"
#include "platform/host/HostListener.h"
#include "platform/gfx/Image.h"

namespace zozuz {

class MouseTarget;

// The application object: exactly one per process. It exists before the first window and after
// the last, owns the program's windows, its title and icon and its single event loop, shows windows
// modally and turns errors that escape the program's handlers into one message box each.
//
// Everything runs on the user-interface thread. The application keeps no timers of its own and
// never polls: when the queue is empty it does its idle work once and then sleeps in the host until
// the next event arrives.
class TApplication : private HostListener, private OneShotTimers {
public:
    explicit TApplication(Host& host);
    ~TApplication() override;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    Host& GetHost() const { return host_; }

    // Derived once, from the executable's file name.
    const std::string& Title() const { return title_; }
    const Image& Icon() const { return icon_; }
    // The first window created with CreateForm; null before that and after it is destroyed.
    AppWindow* MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }
    bool Running() const { return running_; }
    bool Terminated() const { return terminated_; }

    // The long hint of the control under the pointer. Only a change is announced, through OnHint.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    std::function<void()> OnHint;
    // How a changed hint reaches the windows when OnHint is not set: the toolkit's windows install
    // the transient hint action here, which finds the status line that shows it. Empty for none.
    void SetHintRoute(std::function<void(const std::string& hint)> route) { hintRoute_ = std::move(route); }
    bool HasHintRoute() const { return static_cast<bool>(hintRoute_); }
    // Told of every input that ends a tooltip's showing, before the input is delivered (after the
    // tooltip itself has been cancelled).
    std::function<void()> OnCancelHint;
    // Whether one of the program's menus is open, as its menus report their highlight. Where the
    // desktop's menu runs a loop of its own the idle step cannot run meanwhile; where it can, it
    // leaves the pointer, the tooltip and the hint alone, so that the highlighted entry's hint
    // stays on the status line until the highlight moves or the menu closes.
    bool MenuOpen() const { return menuOpen_; }
    void SetMenuOpen(bool open) { menuOpen_ = open; }

    // Tooltips: the application-wide switch, on from the start, and their timing, which the idle
    // step feeds with the control under the pointer. The tooltip window attaches itself as the
    // timing's view.
    bool ShowHint() const { return tooltip_.Enabled(); }
    void SetShowHint(bool show) { tooltip_.SetEnabled(show); }
    TooltipTiming& Tooltip() { return tooltip_; }
    const TooltipTiming& Tooltip() const { return tooltip_; }

    // The hooks Initialize runs, in the order they were added.
    void AddInitProc(std::function<void()> proc);
    // Hooks Terminate asks first; the quit request is posted only when every one agrees.
    void AddTerminateProc(std::function<bool()> proc);

    void Initialize();

    // Makes a window of class T, constructed as T(TApplication&), owned by the application.
    // `reference` holds the window before its construction starts, so that code running during the
    // construction can reach it, and is reset to null if the construction fails; the error travels
    // on. The first window created becomes the main window, and its host window is created at once.
    template <class T>
    void CreateForm(T*& reference);

    // The event loop: shows the main window in its initial state and repeats the message step until
    // the quit request is taken. Returns at once without a main window.
    void Run();
    // Asks the event loop to end: the quit request is queued behind the waiting events.
    void Terminate();

    // One message step: delivers the next waiting event, or runs the idle step when there is none.
    void HandleMessage();
    // Delivers the next waiting event without waiting; false when the queue was empty.
    bool ProcessMessage();

    // Shows a window modally and returns the modal result it closed with.
    int ShowModal(AppWindow& window);

    // Shows a message box modally for the whole program: every visible, enabled window is disabled
    // while it shows, and afterwards exactly those are enabled again and the window that was active
    // is activated again. An empty owner places the box over the active window.
    MessageBoxResult ShowMessageBox(MessageBoxRequest request);

    // The error display, for an error that escaped a handler of `sender` (may be null). Call it
    // from inside a catch block, or pass the error.
    void HandleException(AppWindow* sender, std::exception_ptr error = std::current_exception());

    // Runs the program's start code (Initialize, CreateForm, Run) and then shuts down. An error
    // escaping the start code is shown in the "Application Error" box. Returns the process exit
    // code: 0 after a normal end, 1 after such an error.
    int Execute(const std::function<void()>& startCode);

    // Hides every window and destroys them, the most recently created first. Runs once.
    void Shutdown();

    // The command layer's target search, for commands that act on a control of their own choosing:
    // the active window offers its controls to `accepts` first, then, when it is another window,
    // the main window (AppWindow::OfferTargets). Returns whether a control was taken.
    bool OfferTarget(const TargetTest& accepts);

    // The program's windows in creation order.
    const std::vector<AppWindow*>& Windows() const { return windows_; }
    // The control the pointer was over at the last idle step.
    MouseTarget* MouseControl() const { return mouseControl_; }
    // Forgets a control that is being destroyed, so that mouse tracking never touches it again.
    void ControlDestroyed(MouseTarget* control);

private:
    friend class AppWindow;

    void registerWindow(AppWindow* window);
    void unregisterWindow(AppWindow* window);
    void adoptForm(AppWindow* window);
    AppWindow* windowOf(const NativeWindow* native) const;
    // Disables every visible, enabled window and returns them, to be enabled again afterwards.
    std::vector<AppWindow*> disableVisibleWindows();
    void enableWindows(const std::vector<AppWindow*>& windows);

    // Every window lets go of the mouse, before a box or a modal window takes over.
    void cancelMouseCapture();
    void idle();
    void trackMouse();
    void updateActions();
    void showErrorBox(const std::string& text);
    void showFatalBox(const std::string& text, bool taskModal);
    std::string fatalTextOf(std::exception_ptr error) const;

    // HostListener
    void inputArriving(InputKind kind) override;
    bool sessionEndQuery() override;
    void sessionEnding() override;

    // OneShotTimers: the host's timers.
    TimerId StartTimer(int milliseconds, std::function<void()> callback) override;
    void StopTimer(TimerId id) override;

    Host& host_;
    std::string title_;
    Image icon_;
    AppWindow* mainForm_ = nullptr;
    bool showMainForm_ = true;
    bool running_ = false;
    bool terminated_ = false;
    bool shutDown_ = false;
    std::string hint_;
    std::function<void(const std::string& hint)> hintRoute_;
    bool menuOpen_ = false;
    MouseTarget* mouseControl_ = nullptr;
    AppWindow* mouseWindow_ = nullptr;
    std::vector<std::function<void()>> initProcs_;
    std::vector<std::function<bool()>> terminateProcs_;
    std::vector<AppWindow*> windows_;
    std::vector<std::unique_ptr<AppWindow>> owned_;
    // Declared first so that it outlives the timing that draws through it.
    HostTooltipView tooltipView_{host_.tooltipWindow()};
    TooltipTiming tooltip_{*this};
};

template <class T>
void TApplication::CreateForm(T*& reference) {
    static_assert(std::is_base_of_v<AppWindow, T>, "a form is an AppWindow");
    // Plain allocation, so that deleting the window through its AppWindow base later releases the
    // memory the ordinary way.
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "a form needs no over-alignment");
    void* memory = ::operator new(sizeof(T));
    reference = static_cast<T*>(memory);
    T* window = nullptr;
    try {
        window = ::new (memory) T(*this);
    } catch (...) {
        reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    adoptForm(window);
}

}  // namespace zozuz
