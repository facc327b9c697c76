#include "ui/toolkit/controls/TMemo.h"

#include <functional>

#include "app/AppWindow.h"
#include "app/TApplication.h"
#include "platform/host/Host.h"

namespace zozuz {

TMemo::TMemo(TComponent* owner) : TWinControl(owner), lines_(editor_, LeadByteSet::codePage936(), this) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TMemo::~TMemo() {
    lines_.setHost(nullptr);
    pane_.reset();
}

void TMemo::HandleNeeded() {
    if (pane_) return;
    auto* form = dynamic_cast<AppWindow*>(TopWindow());
    if (!form || !form->Native()) return;
    Host& host = form->Application().GetHost();
    pane_ = std::make_unique<EditorPane>(host, *form->Native(), editor_);
    clipboard_ = &host.clipboard();
    // The editor window's events and the pane's timers run guarded by the window the memo is on
    // when they run, so that an error among them is shown and the program goes on.
    pane_->setGuard([this](const std::function<void()>& handler) {
        if (auto* window = dynamic_cast<AppWindow*>(TopWindow()))
            window->guarded(handler);
        else
            handler();
    });
    pane_->onFocusChanged = [this](bool focused) {
        // The editor window took the focus (a click on it): the window's bookkeeping follows.
        if (focused && !Focused()) SetFocus();
    };
    pane_->view().setFont(GetFont());
    if (wordWrap_) pane_->view().setWordWrap(true);
    pane_->setRedraw(redraw_);
    placeWindow();
    if (Focused()) pane_->window().setFocus();
}

void TMemo::placeWindow() {
    if (!pane_) return;
    const Rect r = WindowRect();
    pane_->window().setBounds(r);
    pane_->window().setVisible(Visible() && windowShown_);
}

void TMemo::SetWindowShown(bool shown) {
    windowShown_ = shown;
    if (pane_) pane_->window().setVisible(Visible() && windowShown_);
}

void TMemo::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    placeWindow();
}

void TMemo::SetVisible(bool visible) {
    TWinControl::SetVisible(visible);
    placeWindow();
}

void TMemo::PaintWindow(Surface& surface, const Rect& area) {
    if (redraw_) TWinControl::PaintWindow(surface, area);
}

void TMemo::FontChanged() {
    TWinControl::FontChanged();
    if (pane_) pane_->view().setFont(GetFont());
}

void TMemo::FocusChanged(bool focused) {
    if (focused && pane_ && !pane_->window().hasFocus()) pane_->window().setFocus();
}

void TMemo::SetWordWrap(bool wrap) {
    if (wrap == wordWrap_) return;
    wordWrap_ = wrap;
    if (pane_) {
        pane_->view().setWordWrap(wrap);
    } else if (!wrap) {
        editor_.setWordWrap(false);
    }
    editor_.clearUndo();
}

void TMemo::CutToClipboard() {
    if (pane_) pane_->view().cut();
}

void TMemo::CopyToClipboard() {
    if (pane_) pane_->view().copy();
}

void TMemo::PasteFromClipboard() {
    if (pane_) pane_->view().paste();
}

void TMemo::Undo() {
    if (pane_) pane_->view().undo();
}

void TMemo::KeyDown(const KeyEvent& key) {
    // Keys come here when the window hands them on itself rather than the editor window taking them.
    if (pane_) pane_->view().key(key);
}

void TMemo::MouseInput(const MouseEvent& event) {
    if (pane_) pane_->view().mouse(event);
}

void TMemo::CancelMode() {
    TWinControl::CancelMode();
    if (pane_) pane_->cancelMode();
}

void TMemo::setEditorRedraw(bool on) {
    redraw_ = on;
    if (pane_) pane_->view().setRedraw(on);
}

void TMemo::refreshEditor() {
    if (!pane_) return;
    pane_->window().setVisible(Visible());
    pane_->window().repaintNow();
}

}  // namespace zozuz
