#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/AppWindow.h"
#include "app/MouseTarget.h"
#include "app/TApplication.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/PointerShape.h"
#include "platform/host/Surface.h"
#include "platform/host/WindowClient.h"
#include "ui/toolkit/windows/AccessibleControls.h"
#include "ui/toolkit/controls/TControl.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

class TMainMenu;
class TMenuBarView;

// A top-level window of the program: the top of a control tree, on a host window. It keeps its
// caption, bounds, colour, font and icon whether or not its host window exists yet, and hands them
// over when it is created. Its controls paint onto the host window's surface; keys go to the
// shortcut check first and then to the focused control, mouse events to the control under the
// pointer.
//
// Every event the host delivers runs guarded: an error escaping the handler abandons it and goes
// to the application's error display, and the event counts as handled.
class TForm : public TWinControl, public AppWindow, private WindowClient {
public:
    // Where the window appears the first time it is shown.
    enum class TPosition { poDesigned, poScreenCenter };

    explicit TForm(TApplication& application);
    ~TForm() override;

    // --- Appearance (colour and font are the control's, which the form's controls follow) ---
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const Image& Icon() const { return icon_; }
    void SetIcon(const Image& icon);
    WindowFrame BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(WindowFrame style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }

    // --- Geometry: the control's bounds are the outer bounds, frame included, on the screen ---
    void SetBounds(int left, int top, int width, int height) override;
    // The client area. Before the host window exists, the size asked for is kept and applied when
    // it is created.
    int ClientWidth() const { return clientSize().width; }
    int ClientHeight() const { return clientSize().height; }
    void SetClientSize(int width, int height);

    // --- Showing and closing ---
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    int ShowModal() { return Application().ShowModal(*this); }
    // Closes as the close box does: a modal window ends its showing with Cancel; otherwise the close
    // check runs, and the main window ends the program while any other window hides.
    void Close();
    // Asked by Close; the window stays open when it sets its argument to false.
    std::function<void(TForm& sender, bool& canClose)> OnCloseQuery;

    // --- Menu bar ---
    // The menu bar, or null; a menu destroyed first tells the window. Once the window has loaded,
    // the menu is shown on the host's native menu bar.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Forgets the menu bar when it is the one destroyed.
    void ReferenceDestroyed(TComponent& component) override;

    // --- Keys and commands ---
    // The window's own shortcut check: OnShortCut, then the menu bar, then each action list the
    // window owns, in creation order. The key is consumed when it returns true. Every key press
    // addressed to the window or a control on it is offered to the context menus of the focused
    // control and its parents, then to this check; a key for any other window then also passes the
    // main window's check, while the main window is enabled.
    virtual bool IsShortCut(const KeyEvent& key);
    std::function<bool(const KeyEvent&)> OnShortCut;
    // The idle step's refresh of the window's commands: the window's own action, those of the
    // visible top-level menus, then those of every visible control, depth-first in child order.
    void UpdateActions() override;

    // The command layer's target search: `accepts` is offered the active control first, then the
    // window itself, then every visible control depth-first in child order, until it accepts one.
    // A window that is not showing offers nothing. Returns the control accepted, or null.
    TControl* FindTarget(const std::function<bool(TControl&)>& accepts);
    // The same search for the application's target search (TApplication::OfferTarget).
    bool OfferTargets(const TargetTest& accepts) override;

    // --- The control tree on the host window ---
    // A control's value changed while the program shows its progress without returning to the event
    // loop: screen readers are told at once.
    void AccessibleValueChanged() override;
    Surface* PaintSurface() override { return native_ ? &native_->surface() : nullptr; }
    bool Showing() const override { return native_ && native_->visible(); }
    void InvalidateRect(const Rect& area) override;
    void Invalidate() override;
    // Whether the host reports this window as the active one, which has the keyboard.
    bool WindowActive() const override { return active_; }

    // --- AppWindow and TControl: one value each, the control's ---
    NativeWindow* Native() const override { return native_.get(); }
    void HandleNeeded() override;
    bool Visible() const override { return TControl::Visible(); }
    void SetVisible(bool visible) override;
    bool Enabled() const override { return TControl::Enabled(); }
    void SetEnabled(bool enabled) override;
    WindowState GetWindowState() const override { return state_; }
    void SetWindowState(WindowState state) override;
    bool CloseQuery() override;
    MouseTarget* ControlAtPoint(Point client) override;
    void CancelMode() override { TWinControl::CancelMode(); }

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredReference(const std::string& property, TComponent& target) override;
    // Once every value is in, linked actions included, the menu bar's entries get their access keys
    // and the menu shows on the host.
    void Loaded() override;
    TApplication* ownApplication() const override { return &Application(); }
    void FontChanged() override;
    void ControlRemoved(TControl& control) override;
    // The client area changed size because the user or the window manager resized the window, or
    // changed its state; a form lays out its controls again here.
    virtual void Resized() {}

private:
    // WindowClient
    bool keyPreview(const KeyEvent& key) override;
    void keyPress(const KeyEvent& key) override;
    void mouse(const MouseEvent& event) override;
    void closeRequest() override;
    void paint(Surface& surface, const Rect& area) override;
    void activated(bool active) override;
    void boundsChanged(const Rect& outer) override;
    void stateChanged(WindowState state) override;
    std::vector<AccessibleNode> accessibleNodes() override { return accessible_.describe(*this); }
    // Presses a push button as a click does, guarded like the mouse.
    void accessibleAction(std::uint32_t id) override;

    Size clientSize() const;
    // Puts menu_ on the host's menu bar once the window has its host window and has loaded.
    void showMenu();
    // Makes mouse tracking forget `control` and everything inside it.
    void forgetTracked(TControl& control);
    // Shows the pointer of the control under `client`, or of the control holding the mouse.
    void updatePointer(Point client);
    // Enter presses the focused button, or else the default button; Esc the cancel button. Returns
    // whether a button took the key.
    bool dialogKey(const KeyEvent& key);

    std::unique_ptr<NativeWindow> native_;
    // What screen readers were told of the drawn controls.
    AccessibleControls accessible_;
    TMainMenu* menu_ = nullptr;
    // Shows menu_ on the host while the window has one and is not loading; declared after native_
    // so that the host's menu bar goes before its window.
    std::unique_ptr<TMenuBarView> menuView_;
    std::string caption_;
    Image icon_;
    WindowFrame borderStyle_ = WindowFrame::Sizeable;
    TPosition position_ = TPosition::poDesigned;
    Size pendingClientSize_{-1, -1};
    bool shownOnce_ = false;
    bool active_ = false;
    WindowState state_ = WindowState::Normal;
    // The pointer last given to the host window.
    PointerShape pointer_ = PointerShape::Arrow;
};

}  // namespace zozuz
