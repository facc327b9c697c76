#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/MouseTarget.h"
#include "app/TApplication.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/WindowClient.h"
#include "ui/toolkit/ControlParent.h"
#include "ui/toolkit/TColor.h"
#include "ui/toolkit/TComponent.h"

namespace zozuz {

class TGraphicControl;

// A top-level window of the program: a component on a host window. It keeps its caption, bounds,
// colour, font and icon whether or not its host window exists yet, and hands them over when it is
// created. The window-less controls on it are the graphic controls it owns whose parent it is,
// stacked in the order they were created; it paints them in its paint event.
//
// Every event the host delivers runs guarded: an error escaping the handler abandons it and goes
// to the application's error display, and the event counts as handled.
class TForm : public TComponent, public AppWindow, public ControlParent, public MouseTarget, private WindowClient {
public:
    // Where the window appears the first time it is shown.
    enum class TPosition { poDesigned, poScreenCenter };

    explicit TForm(TApplication& application);
    ~TForm() override;

    // --- Appearance ---
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font);
    const Image& Icon() const { return icon_; }
    void SetIcon(const Image& icon);
    WindowFrame BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(WindowFrame style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }

    // --- Geometry: outer bounds, frame included, in screen coordinates ---
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    Rect BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
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

    // --- Keys ---
    // Every key press addressed to the window or a control on it comes here first; the key is
    // consumed when it returns true. The command layer overrides it for menu and action shortcuts.
    virtual bool IsShortCut(const KeyEvent& key);
    std::function<bool(const KeyEvent&)> OnShortCut;
    // A key press that nothing consumed and no control took.
    std::function<void(const KeyEvent&)> OnKeyDown;

    // --- AppWindow ---
    NativeWindow* Native() const override { return native_.get(); }
    void HandleNeeded() override;
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    WindowState GetWindowState() const override { return state_; }
    void SetWindowState(WindowState state) override;
    bool CloseQuery() override;
    MouseTarget* ControlAtPoint(Point client) override;

    // --- ControlParent ---
    Surface* surface() override { return native_ ? &native_->surface() : nullptr; }
    bool showing() const override { return native_ && native_->visible(); }
    const Font& font() const override { return font_; }
    TColor color() const override { return color_; }
    void paintControlsAbove(const TGraphicControl& control, const Rect& area) override;
    void invalidate(const Rect& area) override;

    // --- MouseTarget ---
    std::string ApplicationHint() const override { return hint_; }

    // The window-less controls on the form, bottom to top.
    std::vector<TGraphicControl*> GraphicControls() const;

protected:
    // Paints `area` of the client area: the background in the form's colour, then the controls.
    virtual void PaintWindow(Surface& surface, const Rect& area);

private:
    // WindowClient
    bool keyPreview(const KeyEvent& key) override;
    void keyPress(const KeyEvent& key) override;
    void closeRequest() override;
    void paint(Surface& surface, const Rect& area) override;
    void boundsChanged(const Rect& outer) override;
    void stateChanged(WindowState state) override;

    Size clientSize() const;
    void parentPropertiesChanged();

    std::unique_ptr<NativeWindow> native_;
    std::string caption_;
    TColor color_ = clBtnFace;
    Font font_;
    Image icon_;
    WindowFrame borderStyle_ = WindowFrame::Sizeable;
    TPosition position_ = TPosition::poDesigned;
    std::string hint_;
    Rect bounds_{0, 0, 320, 240};
    Size pendingClientSize_{-1, -1};
    bool visible_ = false;
    bool enabled_ = true;
    bool shownOnce_ = false;
    WindowState state_ = WindowState::Normal;
};

}  // namespace zozuz
