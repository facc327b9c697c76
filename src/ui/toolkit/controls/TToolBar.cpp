#include "ui/toolkit/controls/TToolBar.h"

#include "ui/toolkit/components/TImageList.h"
#include "ui/toolkit/controls/TToolButton.h"

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

bool TToolBar::readStoredValue(const StoredValue& value) {
    const int* number = value.as<int>();
    if (value.property == "Indent" && number) {
        SetIndent(*number);
        return true;
    }
    return TWinControl::readStoredValue(value);
}

bool TToolBar::readStoredReference(const std::string& property, TComponent& target) {
    if (property != "Images") return TWinControl::readStoredReference(property, target);
    SetImages(dynamic_cast<TImageList*>(&target));
    return true;
}

}  // namespace zozuz
