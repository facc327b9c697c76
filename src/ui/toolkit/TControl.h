#pragma once

#include <string>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "ui/toolkit/ControlParent.h"
#include "ui/toolkit/TColor.h"
#include "ui/toolkit/TComponent.h"

namespace zozuz {

// A visible component: bounds within its parent window, visibility, enabled state, hint, and a font
// and colour that follow the parent's while ParentFont / ParentColor are set.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner = nullptr);

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    Rect BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }

    ControlParent* Parent() const { return parent_; }
    void SetParent(ControlParent* parent);

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

    // Tells the control that the parent's font or colour changed.
    void ParentChanged();

protected:
    // Marks the control's bounds for a deferred repaint.
    void Invalidate();

private:
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = false;
    std::string hint_;
    ControlParent* parent_ = nullptr;
    Font font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
};

}  // namespace zozuz
