#include "app/TApplication.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>
#include <utility>

#include "app/ApplicationIcon.h"
#include "app/ApplicationTitle.h"
#include "app/FatalErrorText.h"
#include "app/MouseTarget.h"
#include "base/ErrorText.h"
#include "base/Exception.h"
#include "base/Utf8Cut.h"
#include "platform/host/ShowCommand.h"

namespace zozuz {

namespace {

// The readable name of an error class from outside the program's own family.
std::string demangledName(const std::type_info& type) {
    int status = 0;
    char* readable = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = (status == 0 && readable) ? readable : type.name();
    std::free(readable);
    return name;
}

}  // namespace

TApplication::TApplication(Host& host)
    : host_(host), title_(titleFromExecutablePath(host.executablePath())), icon_(applicationIcon()) {
    host_.setApplicationIcon(icon_);
    host_.setListener(this);
    tooltip_.SetView(&tooltipView_);
}

TApplication::~TApplication() { Shutdown(); }

void TApplication::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint)
        OnHint();
    else if (hintRoute_)
        hintRoute_(hint_);
}

void TApplication::AddInitProc(std::function<void()> proc) { initProcs_.push_back(std::move(proc)); }

void TApplication::AddTerminateProc(std::function<bool()> proc) { terminateProcs_.push_back(std::move(proc)); }

void TApplication::Initialize() {
    for (const auto& proc : initProcs_) proc();
}

void TApplication::adoptForm(AppWindow* window) {
    owned_.emplace_back(window);
    if (!mainForm_) {
        window->HandleNeeded();
        mainForm_ = window;
    }
}

void TApplication::registerWindow(AppWindow* window) { windows_.push_back(window); }

void TApplication::unregisterWindow(AppWindow* window) {
    std::erase(windows_, window);
    if (mainForm_ == window) mainForm_ = nullptr;
    if (mouseWindow_ == window) {
        mouseWindow_ = nullptr;
        mouseControl_ = nullptr;
    }
}

AppWindow* TApplication::windowOf(const NativeWindow* native) const {
    if (!native) return nullptr;
    for (AppWindow* window : windows_)
        if (window->Native() == native) return window;
    return nullptr;
}

std::vector<AppWindow*> TApplication::disableVisibleWindows() {
    std::vector<AppWindow*> disabled;
    for (AppWindow* window : windows_) {
        if (window->Native() && window->Visible() && window->Enabled()) {
            window->SetEnabled(false);
            disabled.push_back(window);
        }
    }
    return disabled;
}

void TApplication::enableWindows(const std::vector<AppWindow*>& windows) {
    // A window destroyed in the meantime has left the list and is skipped.
    for (AppWindow* window : windows)
        if (std::find(windows_.begin(), windows_.end(), window) != windows_.end()) window->SetEnabled(true);
}

void TApplication::Run() {
    running_ = true;
    struct ClearRunning {
        bool& running;
        ~ClearRunning() { running = false; }
    } clearRunning{running_};
    if (!mainForm_) return;

    const int showCommand = host_.initialShowCommand();
    if (showCommand == show_command::kShowMaximized)
        mainForm_->SetWindowState(WindowState::Maximized);
    else if (showCommand == show_command::kShowMinNoActive)
        mainForm_->SetWindowState(WindowState::Minimized);
    // A minimised main window shows as minimised, so only its taskbar entry appears.
    if (showMainForm_) mainForm_->SetVisible(true);

    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    for (const auto& proc : terminateProcs_)
        if (!proc()) return;
    host_.postQuit();
}

bool TApplication::ProcessMessage() {
    switch (host_.pumpOne()) {
        case Host::PumpResult::Empty:
            return false;
        case Host::PumpResult::Quit:
            terminated_ = true;
            return true;
        case Host::PumpResult::Handled:
            return true;
    }
    return true;
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) idle();
}

void TApplication::idle() {
    if (!menuOpen_) {
        trackMouse();
        // Off the program's controls the tooltip hides; onto another control its pause starts.
        tooltip_.PointerAt(mouseControl_, host_.pointerPosition(), host_.activeWindow() != nullptr);
    }
    updateActions();
    if (!terminated_) host_.waitForEvent();
}

void TApplication::trackMouse() {
    const Point pointer = host_.pointerPosition();
    NativeWindow* native = host_.windowAt(pointer);
    AppWindow* window = windowOf(native);
    MouseTarget* control = window ? window->ControlAtPoint(native->screenToClient(pointer)) : nullptr;
    if (control != mouseControl_) {
        MouseTarget* previous = mouseControl_;
        mouseControl_ = control;
        mouseWindow_ = control ? window : nullptr;
        // The notifications run a control's handlers; an error there is shown like any other
        // handler's instead of ending the program from the idle step.
        try {
            if (previous) previous->MouseLeft();
            if (control) control->MouseEntered();
        } catch (...) {
            HandleException(window);
        }
    }
    std::string hint;
    try {
        if (mouseControl_) hint = mouseControl_->ApplicationHint();
    } catch (...) {
        HandleException(window);
    }
    SetHint(hint);
}

void TApplication::updateActions() {
    // A copy: a window's update may, through the error display, change what is registered.
    const std::vector<AppWindow*> windows = windows_;
    for (AppWindow* window : windows) {
        if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) continue;
        if (!window->Native() || !window->Visible() || !window->Enabled()) continue;
        try {
            window->UpdateActions();
        } catch (...) {
            // The error is shown and the refresh ends here: the windows after this one wait for
            // the next idle step.
            HandleException(window);
            return;
        }
    }
}

void TApplication::cancelMouseCapture() {
    // A copy: letting go runs the controls' own code.
    const std::vector<AppWindow*> windows = windows_;
    for (AppWindow* window : windows)
        if (std::find(windows_.begin(), windows_.end(), window) != windows_.end()) window->CancelMode();
}

bool TApplication::OfferTarget(const TargetTest& accepts) {
    // The window that has the keyboard is the first among the windows that report being active.
    AppWindow* active = nullptr;
    for (AppWindow* window : windows_) {
        if (window->WindowActive()) {
            active = window;
            break;
        }
    }
    if (active && active->OfferTargets(accepts)) return true;
    return mainForm_ && mainForm_ != active && mainForm_->OfferTargets(accepts);
}

void TApplication::ControlDestroyed(MouseTarget* control) {
    tooltip_.Forget(control);
    if (mouseControl_ == control) {
        mouseControl_ = nullptr;
        mouseWindow_ = nullptr;
    }
}

int TApplication::ShowModal(AppWindow& window) {
    if (window.Visible() || !window.Enabled() || window.modal_)
        throw EInvalidOperation(std::string(messages::kCannotMakeVisibleWindowModal));

    // A drag or a button press under way stays behind: the modal window takes the mouse.
    cancelMouseCapture();
    window.HandleNeeded();
    window.modal_ = true;
    AppWindow* previousActive = windowOf(host_.activeWindow());
    const std::vector<AppWindow*> disabled = disableVisibleWindows();

    // Hiding the window and giving the others back their input happens on every way out, also when
    // an error escapes the loop.
    struct EndShowing {
        TApplication& app;
        AppWindow& window;
        AppWindow* previousActive;
        const std::vector<AppWindow*>& disabled;
        ~EndShowing() {
            const bool wasActive = window.Native() && app.host_.activeWindow() == window.Native();
            window.SetVisible(false);
            app.enableWindows(disabled);
            const bool previousAlive =
                std::find(app.windows_.begin(), app.windows_.end(), previousActive) != app.windows_.end();
            if (wasActive && previousActive && previousAlive && previousActive->Native())
                previousActive->Native()->activate();
            window.modal_ = false;
        }
    } endShowing{*this, window, previousActive, disabled};

    window.SetVisible(true);
    if (window.Native()) window.Native()->activate();
    window.SetModalResult(mrNone);
    do {
        HandleMessage();
        if (terminated_) {
            window.SetModalResult(mrCancel);
        } else if (window.ModalResult() != mrNone) {
            bool canClose = false;
            try {
                canClose = window.CloseQuery();
            } catch (...) {
                HandleException(&window);
            }
            if (!canClose) window.SetModalResult(mrNone);
        }
    } while (window.ModalResult() == mrNone);
    return window.ModalResult();
}

void TApplication::HandleException(AppWindow* /*sender*/, std::exception_ptr error) {
    if (!error) return;
    // Whatever held the mouse lets go first, silent errors included: a drag interrupted by the
    // error must not go on selecting once the box has gone.
    cancelMouseCapture();
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        // Silent by design: the command that raised it simply ends.
    } catch (const Exception& e) {
        showErrorBox(withFinalPeriod(e.message()));
    } catch (...) {
        // Not one of the program's own errors: shown in the fatal box's words, but the program
        // goes on.
        showFatalBox(fatalTextOf(std::current_exception()), true);
    }
}

MessageBoxResult TApplication::ShowMessageBox(MessageBoxRequest request) {
    NativeWindow* activeNative = host_.activeWindow();
    AppWindow* active = windowOf(activeNative);
    const std::vector<AppWindow*> disabled = disableVisibleWindows();
    struct Restore {
        TApplication& app;
        AppWindow* active;
        const std::vector<AppWindow*>& disabled;
        ~Restore() {
            app.enableWindows(disabled);
            const bool alive = std::find(app.windows_.begin(), app.windows_.end(), active) != app.windows_.end();
            if (active && alive && active->Native()) active->Native()->activate();
        }
    } restore{*this, active, disabled};

    // Shown over the window the user is working in, so it appears on that window's monitor.
    if (!request.owner && active) request.owner = activeNative;
    return host_.messageBox(request);
}

void TApplication::showErrorBox(const std::string& text) {
    MessageBoxRequest request;
    request.caption = std::string(cutUtf8(title_, kMaxTitleBytes));
    request.text = text;
    request.icon = MessageBoxIcon::Stop;
    request.buttons = MessageBoxButtons::Ok;
    ShowMessageBox(std::move(request));
}

void TApplication::showFatalBox(const std::string& text, bool taskModal) {
    MessageBoxRequest request;
    request.owner = nullptr;
    request.caption = std::string(cutUtf8(kFatalErrorCaption, kMaxFatalCaptionBytes));
    request.text = text;
    request.icon = MessageBoxIcon::Stop;
    request.buttons = MessageBoxButtons::Ok;
    request.taskModal = taskModal;
    host_.messageBox(request);
}

std::string TApplication::fatalTextOf(std::exception_ptr error) const {
    std::string className;
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        className = e.className();
        message = e.message();
    } catch (const std::exception& e) {
        className = demangledName(typeid(e));
        message = e.what();
    } catch (...) {
        className = "unknown";
    }
    return fatalErrorText(className, moduleNameFromPath(host_.executablePath()), errorAddress(className), message);
}

int TApplication::Execute(const std::function<void()>& startCode) {
    int exitCode = 0;
    try {
        startCode();
    } catch (...) {
        showFatalBox(fatalTextOf(std::current_exception()), true);
        exitCode = 1;
    }
    Shutdown();
    return exitCode;
}

void TApplication::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    // Hints are switched off and host notifications no longer matter: what the windows report
    // while they disappear reaches nobody.
    host_.setListener(nullptr);
    OnHint = nullptr;
    hintRoute_ = nullptr;
    OnCancelHint = nullptr;
    tooltip_.SetEnabled(false);
    // Everything disappears at once, before the windows are destroyed one by one.
    for (AppWindow* window : windows_)
        if (window->Native() && window->Native()->visible()) window->Native()->hide();
    mouseControl_ = nullptr;
    mouseWindow_ = nullptr;
    // Newest first: the About box goes before the main window.
    while (!owned_.empty()) {
        std::unique_ptr<AppWindow> window = std::move(owned_.back());
        owned_.pop_back();
        window.reset();
    }
}

void TApplication::inputArriving(InputKind) {
    tooltip_.Cancel();
    if (OnCancelHint) OnCancelHint();
}

OneShotTimers::TimerId TApplication::StartTimer(int milliseconds, std::function<void()> callback) {
    return host_.startTimer(milliseconds, std::move(callback));
}

void TApplication::StopTimer(TimerId id) {
    if (id != 0) host_.stopTimer(id);
}

bool TApplication::sessionEndQuery() {
    // Asked before the session ends, and only asked: the user may still cancel the log-off, and
    // the program then goes on. The main window's close check and the terminate hooks answer;
    // nothing asks the user. A check that fails is shown and counts as a no.
    try {
        if (mainForm_ && !mainForm_->CloseQuery()) return false;
        for (const auto& proc : terminateProcs_)
            if (!proc()) return false;
        return true;
    } catch (...) {
        HandleException(mainForm_);
        return false;
    }
}

// The session really ends now: the event loop ends without a quit request.
void TApplication::sessionEnding() { terminated_ = true; }

}  // namespace zozuz
