#pragma once

#include <functional>

#include "app/CommandTarget.h"
#include "platform/gfx/Geometry.h"
#include "platform/host/NativeWindow.h"

namespace zozuz {

class MouseTarget;
class TApplication;

// Modal results, the values a window shown modally closes with.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// A top-level window as the application object sees it: something it owns, shows modally, disables
// and enables, offers the command-state update to and asks for the control under the pointer. The
// program's window classes (ui/TForm) implement it. A window registers with its application when it
// is constructed and leaves it when it is destroyed.
class AppWindow {
public:
    explicit AppWindow(TApplication& application);
    virtual ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    TApplication& Application() const { return application_; }

    // The window on the host, or null before it has been created.
    virtual NativeWindow* Native() const = 0;
    // Creates the window on the host now, if it does not exist yet.
    virtual void HandleNeeded() = 0;

    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual WindowState GetWindowState() const = 0;
    virtual void SetWindowState(WindowState state) = 0;

    // The close check: whether the window may close now. It may raise an error.
    virtual bool CloseQuery() { return true; }

    // The mouse is taken away from the program's windows (an error box or a modal window comes up):
    // whatever holds it lets go and forgets a press in progress.
    virtual void CancelMode() {}

    // Brings the commands' states up to date; the idle step calls it for every visible, enabled
    // window. Errors it raises go to the error display.
    virtual void UpdateActions() {}

    // Whether the host reports this window as the active one, which has the keyboard. Only windows
    // with controls of their own track it; the others are never active for the target search.
    virtual bool WindowActive() const { return false; }
    // The window's part of the command layer's target search: offers its controls to `accepts`, in
    // the window's own order, until it takes one; returns whether one was taken. A window without
    // controls offers nothing.
    virtual bool OfferTargets(const TargetTest& /*accepts*/) { return false; }

    // The control at a point of the client area, disabled controls included; null when there is
    // none the application should track.
    virtual MouseTarget* ControlAtPoint(Point /*client*/) { return nullptr; }

    // Runs a handler of an event of this window or of a control's own host window (an editor's);
    // an error escaping it abandons the handler and goes to the application's error display.
    void guarded(const std::function<void()>& handler);

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Whether the window is being shown modally right now.
    bool Modal() const { return modal_; }

private:
    friend class TApplication;

    TApplication& application_;
    int modalResult_ = mrNone;
    bool modal_ = false;
};

}  // namespace zozuz
