#pragma once

#include <functional>
#include <optional>
#include <memory>
#include <string>

#include "app/CommandTarget.h"
#include "app/MouseTarget.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/host/MouseEvent.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TCursor.h"

namespace zozuz {

class TAction;
class TControlActionLink;
class TPopupMenu;
class TWinControl;

// A visible component: bounds within its parent's client area, visibility, enabled state, hint, and
// a font and colour that follow the parent's while ParentFont / ParentColor are set. Its parent is a
// TWinControl, which lists it among its children; the owner (who destroys it) may be another
// component. A control destroyed or given another parent leaves its old parent's list at once.
class TControl : public TComponent, public MouseTarget, public CommandTarget {
public:
    explicit TControl(TComponent* owner = nullptr);
    ~TControl() override;

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    Rect BoundsRect() const { return bounds_; }
    virtual void SetBounds(int left, int top, int width, int height);
    // The bounds in the client coordinates of the window the control sits on (the top of its parent
    // chain); the bounds themselves for a control without parent.
    Rect WindowRect() const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled) { enabled_ = enabled; }

    // The pointer shown while the mouse rests over the control.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    // The hint: its short part (before the first "|") is the tooltip, its long part (after it) the
    // status line's text; without "|" it is both.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    // The control's own hint, or where it has none, that of its nearest parent that has one.
    const std::string& HintInUse() const;
    // Whether the control shows tooltips: the parent's setting while ParentShowHint is set (and
    // there is a parent). Setting it makes it the control's own and clears ParentShowHint.
    bool ShowHint() const;
    void SetShowHint(bool show);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool follow) { parentShowHint_ = follow; }

    // Forgets the context menu when it is the one destroyed.
    void ReferenceDestroyed(TComponent& component) override;

    TWinControl* Parent() const { return parent_; }
    // Moves the control into `parent`'s children, last in child order, or out of any with null.
    // Fails with EInvalidOperation when `parent` is the control itself or lies inside it.
    void SetParent(TWinControl* parent);
    // The top of the parent chain: the window the control sits on. A TWinControl without parent
    // is its own window; a window-less control without parent has none.
    TWinControl* TopWindow();
    const TWinControl* TopWindow() const;

    // The font in use: the parent's while ParentFont is set.
    const Font& GetFont() const;
    void SetFont(const Font& font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool follow);

    // The colour in use: the parent's while ParentColor is set.
    TColor Color() const;
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool follow);

    // Told by the parent that its font or its colour changed.
    void ParentFontChanged();
    void ParentColorChanged();

    // Marks the control's bounds for a deferred repaint.
    virtual void Invalidate();

    // A mouse event the window delivers to this control, in the control's client coordinates. The
    // default hands it to OnMouse.
    virtual void MouseInput(const MouseEvent& event);
    std::function<void(TControl& sender, const MouseEvent& event)> OnMouse;
    // The mouse was taken away while a button may be held, because an error box or a modal window
    // came up: a press in progress is forgotten, so that its release clicks nothing and the moves
    // after it drag nothing. The default has no press to forget.
    virtual void CancelMode() {}

    // MouseTarget: the long part of the hint in use.
    std::string ApplicationHint() const override;
    // MouseTarget: this control while it shows tooltips, else its nearest parent that does.
    const MouseTarget* TooltipControl() const override;
    // MouseTarget: the short part of the hint in use, with the shortcut of the control's command
    // after it in parentheses when there is one.
    std::string TooltipText() const override;

    // The text of the shortcut of the command (action) the control is linked to, when it is linked
    // to one whose shortcut is set; nothing otherwise.
    virtual std::optional<std::string> CommandShortCutText() const;

    // --- Action ---
    // The action the control shows and runs, or null.
    TAction* Action() const;
    // Links the control to `action` (null unlinks). While the window loads, only the values the
    // control still holds at their defaults take the action's; afterwards every value does.
    void SetAction(TAction* action);
    // Refreshes the linked action, if any; the idle step calls it for every visible control.
    void InitiateAction();

    // The context menu, or null; its keys are offered while the control or one inside it has the
    // focus. A menu destroyed first is forgotten.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredReference(const std::string& property, TComponent& target) override;
    void placeStored(TComponent* parent, TComponent& window) override;
    // Once loading has ended the linked action's values fill in what the control still holds at
    // its defaults.
    void Loaded() override;
    // The link a control of this kind keeps to its action.
    virtual std::unique_ptr<TControlActionLink> CreateActionLink();
    TControlActionLink* ActionLink() const { return actionLink_.get(); }
    // Takes the action's values; with `checkDefaults`, only where the control holds its default.
    virtual void ActionChange(const TAction& action, bool checkDefaults);

    // What follows a change of the font or colour in use; the default repaints the control later.
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }

    // Stores bounds the window system reports, without repainting anything.
    void UpdateBoundsRect(const Rect& bounds) { bounds_ = bounds; }
    // Stores the visibility without repainting anything.
    void UpdateVisible(bool visible) { visible_ = visible; }

private:
    friend class TWinControl;

    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = false;
    TCursor cursor_ = TCursor::crDefault;
    bool parentShowHint_ = true;
    std::string hint_;
    TWinControl* parent_ = nullptr;
    Font font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    std::unique_ptr<TControlActionLink> actionLink_;
    // When set, this control is among the menu's users.
    TPopupMenu* popupMenu_ = nullptr;
};

}  // namespace zozuz
