#include "ui/toolkit/TForm.h"

#include <algorithm>

#include "ui/toolkit/TGraphicControl.h"

namespace zozuz {

TForm::TForm(TApplication& application) : TComponent(nullptr), AppWindow(application), icon_(application.Icon()) {}

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
    options.bounds = bounds_;
    // Every other window of the program stays above the main window and has no taskbar entry.
    AppWindow* main = Application().MainForm();
    if (main && main != this) {
        main->HandleNeeded();
        options.owner = main->Native();
    }
    native_ = Application().GetHost().createWindow(*this, options);
    native_->setFont(font_);
    native_->setIcon(icon_);
    native_->setEnabled(enabled_);
    native_->setState(state_);
    if (pendingClientSize_.width >= 0) {
        native_->setClientSize(pendingClientSize_);
        pendingClientSize_ = Size{-1, -1};
    }
    bounds_ = native_->bounds();
}

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (native_) native_->setCaption(caption);
}

void TForm::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    parentPropertiesChanged();
}

void TForm::SetFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    if (native_) native_->setFont(font);
    parentPropertiesChanged();
}

void TForm::parentPropertiesChanged() {
    for (TGraphicControl* control : GraphicControls()) control->ParentChanged();
    if (native_) native_->invalidateAll();
}

void TForm::SetIcon(const Image& icon) {
    icon_ = icon;
    if (native_) native_->setIcon(icon);
}

void TForm::SetBorderStyle(WindowFrame style) {
    borderStyle_ = style;
    if (native_) {
        native_->setFrame(style);
        bounds_ = native_->bounds();
    }
}

void TForm::SetBounds(int left, int top, int width, int height) {
    bounds_ = Rect{left, top, left + width, top + height};
    pendingClientSize_ = Size{-1, -1};
    if (native_) {
        native_->setBounds(bounds_);
        bounds_ = native_->bounds();
    }
}

void TForm::SetClientSize(int width, int height) {
    if (native_) {
        native_->setClientSize(Size{width, height});
        bounds_ = native_->bounds();
    } else {
        pendingClientSize_ = Size{width, height};
    }
}

Size TForm::clientSize() const {
    if (native_) return native_->clientSize();
    if (pendingClientSize_.width >= 0) return pendingClientSize_;
    // Without a host window the frame is not known yet; the outer size is the best answer.
    return Size{bounds_.width(), bounds_.height()};
}

void TForm::SetVisible(bool visible) {
    if (!visible) {
        visible_ = false;
        if (native_) native_->hide();
        return;
    }
    HandleNeeded();
    if (!shownOnce_ && position_ == TPosition::poScreenCenter) {
        // Centred with the outer size, rounded down, the first time only: a box the user moved
        // comes back where it was left.
        const Size screen = Application().GetHost().screenSize();
        const int width = bounds_.width();
        const int height = bounds_.height();
        SetBounds((screen.width - width) / 2, (screen.height - height) / 2, width, height);
    }
    shownOnce_ = true;
    visible_ = true;
    native_->setState(state_);
    native_->show();
    // A minimised window appears only as its taskbar entry and does not take the keyboard.
    if (state_ != WindowState::Minimized) native_->activate();
}

void TForm::SetEnabled(bool enabled) {
    enabled_ = enabled;
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

bool TForm::IsShortCut(const KeyEvent& key) { return OnShortCut ? OnShortCut(key) : false; }

std::vector<TGraphicControl*> TForm::GraphicControls() const {
    std::vector<TGraphicControl*> controls;
    for (TComponent* component : Components()) {
        auto* control = dynamic_cast<TGraphicControl*>(component);
        if (control && control->Parent() == this) controls.push_back(control);
    }
    return controls;
}

MouseTarget* TForm::ControlAtPoint(Point client) {
    const std::vector<TGraphicControl*> controls = GraphicControls();
    // Topmost first; a disabled control still counts as being under the pointer.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if ((*it)->Visible() && (*it)->BoundsRect().contains(client)) {
            if (auto* target = dynamic_cast<MouseTarget*>(*it)) return target;
            return this;
        }
    }
    return this;
}

void TForm::paintControlsAbove(const TGraphicControl& control, const Rect& area) {
    Surface* target = surface();
    if (!target) return;
    const std::vector<TGraphicControl*> controls = GraphicControls();
    auto it = std::find(controls.begin(), controls.end(), &control);
    if (it == controls.end()) return;
    for (++it; it != controls.end(); ++it) {
        if ((*it)->Visible() && !(*it)->BoundsRect().intersected(area).empty()) (*it)->PaintTo(*target, area);
    }
}

void TForm::invalidate(const Rect& area) {
    if (native_) native_->invalidate(area);
}

void TForm::PaintWindow(Surface& surface, const Rect& area) {
    Image background(area.width(), area.height());
    const std::uint32_t rgb = colorToRgb(color_);
    for (int y = 0; y < background.height(); ++y) std::fill_n(background.row(y), background.width(), rgb);
    surface.drawImage(Point{area.left, area.top}, background, area);
    for (TGraphicControl* control : GraphicControls()) {
        if (control->Visible() && !control->BoundsRect().intersected(area).empty()) control->PaintTo(surface, area);
    }
}

bool TForm::keyPreview(const KeyEvent& key) {
    // Shortcuts act on presses; releases go on to the control.
    if (key.kind != KeyEvent::Kind::Down) return false;
    try {
        return IsShortCut(key);
    } catch (...) {
        Application().HandleException(this);
        return true;
    }
}

void TForm::keyPress(const KeyEvent& key) {
    if (key.kind != KeyEvent::Kind::Down || !OnKeyDown) return;
    try {
        OnKeyDown(key);
    } catch (...) {
        Application().HandleException(this);
    }
}

void TForm::closeRequest() {
    try {
        Close();
    } catch (...) {
        Application().HandleException(this);
    }
}

void TForm::paint(Surface& surface, const Rect& area) {
    try {
        PaintWindow(surface, area);
    } catch (...) {
        Application().HandleException(this);
    }
}

void TForm::boundsChanged(const Rect& outer) { bounds_ = outer; }

void TForm::stateChanged(WindowState state) { state_ = state; }

}  // namespace zozuz
