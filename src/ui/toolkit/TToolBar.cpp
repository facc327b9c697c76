#include "ui/toolkit/TToolBar.h"

#include "ui/toolkit/TToolButton.h"

namespace zozuz {

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {}

void TToolBar::SetIndent(int indent) {
    indent_ = indent;
    ArrangeButtons();
}

void TToolBar::SetButtonSize(int width, int height) {
    buttonWidth_ = width;
    buttonHeight_ = height;
    ArrangeButtons();
}

void TToolBar::SetImages(TImageList* images) {
    images_ = images;
    Invalidate();
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
    int x = indent_;
    for (TControl* child : Controls()) {
        auto* button = dynamic_cast<TToolButton*>(child);
        if (!button || !button->Visible()) continue;
        const int width = button->Style() == TToolButtonStyle::tbsSeparator ? kSeparatorWidth : buttonWidth_;
        button->SetBounds(x, 0, width, buttonHeight_);
        x += width;
    }
}

void TToolBar::ButtonChanged(TToolButton& button) {
    if (OnButtonChange) OnButtonChange(button);
}

}  // namespace zozuz
