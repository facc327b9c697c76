#include "ui/toolkit/windows/TForm.h"

#include <cstddef>
#include <vector>

#include "app/ProgramPictures.h"
#include "base/KeyCode.h"
#include "ui/toolkit/actions/THintAction.h"
#include "ui/toolkit/commands/TActionList.h"
#include "ui/toolkit/controls/TButton.h"
#include "ui/toolkit/controls/TCursor.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"
#include "ui/toolkit/menus/TPopupMenu.h"
#include "ui/toolkit/windows/TMenuBarView.h"

namespace zozuz {

namespace {

// The outer bounds a window starts with before anything sets them.
constexpr Rect kDefaultBounds{0, 0, 320, 240};

}  // namespace

TForm::TForm(TApplication& application) : TWinControl(nullptr), AppWindow(application), icon_(application.Icon()) {
    UpdateBoundsRect(kDefaultBounds);
    // A window is created hidden and shows when asked to.
    UpdateVisible(false);
    // The application's changed hints find their status line through the windows' target search.
    if (!application.HasHintRoute())
        application.SetHintRoute([&application](const std::string& hint) { THintAction::Broadcast(application, hint); });
}

void TForm::Loaded() {
    TWinControl::Loaded();
    if (menu_) menu_->AssignAccessKeys();
    showMenu();
}

TForm::~TForm() {
    // The controls go first, while the form they paint on and report to is still whole.
    while (!Components().empty()) delete Components().back();
    Application().ControlDestroyed(this);
    native_.reset();
}

void TForm::HandleNeeded() {
    if (native_) return;
    WindowOptions options;
    options.frame = borderStyle_;
    options.caption = caption_;
    options.bounds = BoundsRect();
    // Every other window of the program stays above the main window and has no taskbar entry.
    AppWindow* main = Application().MainForm();
    if (main && main != this) {
        main->HandleNeeded();
        options.owner = main->Native();
    }
    native_ = Application().GetHost().createWindow(*this, options);
    native_->setFont(GetFont());
    native_->setIcon(icon_);
    native_->setEnabled(Enabled());
    native_->setState(state_);
    if (pendingClientSize_.width >= 0) {
        native_->setClientSize(pendingClientSize_);
        pendingClientSize_ = Size{-1, -1};
    }
    UpdateBoundsRect(native_->bounds());
    showMenu();
}

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (native_) native_->setCaption(caption);
}

void TForm::FontChanged() {
    if (native_) native_->setFont(GetFont());
    TWinControl::FontChanged();
}

void TForm::SetIcon(const Image& icon) {
    icon_ = icon;
    if (native_) native_->setIcon(icon);
}

void TForm::SetBorderStyle(WindowFrame style) {
    borderStyle_ = style;
    if (native_) {
        native_->setFrame(style);
        UpdateBoundsRect(native_->bounds());
    }
}

void TForm::SetBounds(int left, int top, int width, int height) {
    UpdateBoundsRect(Rect{left, top, left + width, top + height});
    pendingClientSize_ = Size{-1, -1};
    if (native_) {
        native_->setBounds(BoundsRect());
        UpdateBoundsRect(native_->bounds());
    }
}

void TForm::SetClientSize(int width, int height) {
    if (native_) {
        native_->setClientSize(Size{width, height});
        UpdateBoundsRect(native_->bounds());
    } else {
        pendingClientSize_ = Size{width, height};
    }
}

Size TForm::clientSize() const {
    if (native_) return native_->clientSize();
    if (pendingClientSize_.width >= 0) return pendingClientSize_;
    // Without a host window the frame is not known yet; the outer size is the best answer.
    return Size{Width(), Height()};
}

void TForm::SetVisible(bool visible) {
    if (!visible) {
        UpdateVisible(false);
        if (native_) native_->hide();
        return;
    }
    HandleNeeded();
    if (!shownOnce_ && position_ == TPosition::poScreenCenter) {
        // Centred with the outer size, rounded down, the first time only: a box the user moved
        // comes back where it was left.
        const Size screen = Application().GetHost().screenSize();
        SetBounds((screen.width - Width()) / 2, (screen.height - Height()) / 2, Width(), Height());
    } else if (!shownOnce_) {
        // A stored place is kept where the screen holds it; where it does not (a smaller screen, a
        // larger scale), the window moves until its whole frame is on the screen's work area, and
        // shrinks only if the area is smaller than the window.
        const Rect bounds = BoundsRect();
        const Rect fitted = bounds.movedInto(Application().GetHost().workArea(bounds));
        if (fitted != bounds) SetBounds(fitted.left, fitted.top, fitted.width(), fitted.height());
    }
    shownOnce_ = true;
    UpdateVisible(true);
    native_->setState(state_);
    native_->show();
    // A minimised window appears only as its taskbar entry and does not take the keyboard.
    if (state_ != WindowState::Minimized) native_->activate();
}

void TForm::SetEnabled(bool enabled) {
    TWinControl::SetEnabled(enabled);
    if (native_) native_->setEnabled(enabled);
}

void TForm::SetWindowState(WindowState state) {
    state_ = state;
    if (native_) native_->setState(state);
}

void TForm::Close() {
    if (Modal()) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    // The main window is not hidden: closing it ends the program.
    if (Application().MainForm() == this)
        Application().Terminate();
    else
        Hide();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(*this, canClose);
    return canClose;
}

bool TForm::IsShortCut(const KeyEvent& key) {
    if (OnShortCut && OnShortCut(key)) return true;
    const KeyCode code = key.keyCode();
    if (menu_ && menu_->IsShortCut(code)) return true;
    // By index: a command a key runs may create components.
    const std::vector<TComponent*>& components = Components();
    for (std::size_t i = 0; i < components.size(); ++i) {
        auto* list = dynamic_cast<TActionList*>(components[i]);
        if (list && list->IsShortCut(code)) return true;
    }
    return false;
}

void TForm::UpdateActions() {
    InitiateAction();
    if (menu_) {
        for (TMenuItem* item : menu_->Items().Children())
            if (item->Visible()) item->InitiateAction();
    }
    SearchControls([](TControl& control) {
        control.InitiateAction();
        return false;
    });
    // Buttons enabled or disabled by their actions, a new hint on the status line.
    if (native_) accessible_.announceChanges(*this, *native_);
}

void TForm::AccessibleValueChanged() {
    if (native_) accessible_.announceChanges(*this, *native_);
}

void TForm::accessibleAction(std::uint32_t id) {
    guarded([&] {
        TControl* control = accessible_.find(id);
        if (auto* tool = dynamic_cast<TToolButton*>(control))
            tool->Click();
        else if (auto* button = dynamic_cast<TButton*>(control); button && button->Enabled())
            button->Click();
    });
}

TControl* TForm::FindTarget(const std::function<bool(TControl&)>& accepts) {
    if (!Showing()) return nullptr;
    if (TWinControl* active = ActiveControl(); active && accepts(*active)) return active;
    if (accepts(*this)) return this;
    return SearchControls(accepts);
}

void TForm::ReferenceDestroyed(TComponent& component) {
    if (menu_ && &component == menu_) SetMenu(nullptr);
    TWinControl::ReferenceDestroyed(component);
}

bool TForm::OfferTargets(const TargetTest& accepts) {
    return FindTarget([&accepts](TControl& control) { return accepts(control); }) != nullptr;
}

MouseTarget* TForm::ControlAtPoint(Point client) {
    // A disabled control still counts as being under the pointer.
    return FindControlAt(client, true);
}

void TForm::ControlRemoved(TControl& control) {
    TWinControl::ControlRemoved(control);
    // Mouse tracking forgets the control, and whatever it holds, before either can be destroyed.
    forgetTracked(control);
}

void TForm::forgetTracked(TControl& control) {
    Application().ControlDestroyed(&control);
    accessible_.forget(control);
    // Hidden ones too: a control may have been hidden after the pointer last rested on it.
    if (auto* container = dynamic_cast<TWinControl*>(&control))
        for (TControl* inner : container->Controls()) forgetTracked(*inner);
}

void TForm::InvalidateRect(const Rect& area) {
    if (native_) native_->invalidate(area);
}

void TForm::Invalidate() {
    if (native_) native_->invalidateAll();
}

bool TForm::keyPreview(const KeyEvent& key) {
    // Shortcuts act on presses; releases go on to the control.
    if (key.kind != KeyEvent::Kind::Down) return false;
    try {
        const KeyCode code = key.keyCode();
        for (TControl* c = ActiveControl(); c; c = c->Parent())
            if (c->PopupMenu() && c->PopupMenu()->IsShortCut(code)) return true;
        if (IsShortCut(key)) return true;
        // A key for another window still reaches the main window's commands, unless a modal box
        // has disabled that window.
        auto* main = dynamic_cast<TForm*>(Application().MainForm());
        return main && main != this && main->Enabled() && main->IsShortCut(key);
    } catch (...) {
        Application().HandleException(this);
        return true;
    }
}

void TForm::keyPress(const KeyEvent& key) {
    guarded([&] {
        if (!dialogKey(key)) DispatchKey(key);
    });
}

bool TForm::dialogKey(const KeyEvent& key) {
    if (key.kind != KeyEvent::Kind::Down || key.shift || key.ctrl || key.alt) return false;
    if (key.virtualKey != vk::Return && key.virtualKey != vk::Escape) return false;
    auto* focusedButton = dynamic_cast<TButton*>(ActiveControl());
    if (focusedButton && !focusedButton->CanFocus()) focusedButton = nullptr;
    TButton* pressed = nullptr;
    if (key.virtualKey == vk::Return && focusedButton) {
        pressed = focusedButton;
    } else {
        const bool wantDefault = key.virtualKey == vk::Return;
        SearchControls([&](TControl& control) {
            auto* button = dynamic_cast<TButton*>(&control);
            if (!button || !button->Enabled() || (wantDefault ? !button->Default() : !button->Cancel())) return false;
            pressed = button;
            return true;
        });
    }
    if (!pressed) return false;
    pressed->Click();
    return true;
}

void TForm::mouse(const MouseEvent& event) {
    guarded([&] {
        DispatchMouse(event);
        updatePointer(event.position);
    });
}

void TForm::updatePointer(Point client) {
    // Asked after the event, as a click may have hidden or moved what lay under the pointer.
    const TControl* under = FindControlAt(client, true);
    const PointerShape shape = pointerShapeOf(under ? under->Cursor() : TCursor::crDefault);
    if (shape == pointer_ || !native_) return;
    pointer_ = shape;
    native_->setPointerShape(shape);
}

void TForm::closeRequest() {
    guarded([&] { Close(); });
}

void TForm::paint(Surface& surface, const Rect& area) {
    guarded([&] { PaintWindow(surface, area); });
}

void TForm::activated(bool active) {
    active_ = active;
    guarded([&] { WindowActivationChanged(active); });
}

void TForm::boundsChanged(const Rect& outer) {
    UpdateBoundsRect(outer);
    guarded([&] { Resized(); });
}

void TForm::stateChanged(WindowState state) {
    state_ = state;
    guarded([&] { Resized(); });
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    menuView_.reset();
    menu_ = menu;
    showMenu();
}

void TForm::showMenu() {
    // A window that is still loading has not resolved its entries' actions yet, and one without
    // its host window has nowhere to show them; HandleNeeded and Loaded come back here.
    if (!menu_ || menuView_ || !native_ || Loading()) return;
    menuView_ = std::make_unique<TMenuBarView>(*this, *menu_);
    // The bar takes its height from the client area without the window being resized by anyone.
    guarded([&] { Resized(); });
}

bool TForm::readStoredValue(const StoredValue& value) {
    const std::string& property = value.property;
    const int* number = value.as<int>();
    const std::string* text = value.as<std::string>();
    if (property == "Caption" && text) {
        SetCaption(*text);
    } else if (property == "ClientWidth" && number) {
        SetClientSize(*number, ClientHeight());
    } else if (property == "ClientHeight" && number) {
        SetClientSize(ClientWidth(), *number);
    } else if (property == "BorderStyle" && text && *text == "bsDialog") {
        SetBorderStyle(WindowFrame::Dialog);
    } else if (property == "Position" && text && *text == "poScreenCenter") {
        SetPosition(TPosition::poScreenCenter);
    } else if (property == "Icon" && text) {
        SetIcon(programPicture(*text).image);
    } else {
        return TWinControl::readStoredValue(value);
    }
    return true;
}

bool TForm::readStoredReference(const std::string& property, TComponent& target) {
    if (property != "Menu") return TWinControl::readStoredReference(property, target);
    SetMenu(dynamic_cast<TMainMenu*>(&target));
    return true;
}

}  // namespace zozuz
