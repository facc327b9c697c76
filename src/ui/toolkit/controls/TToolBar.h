#pragma once

#include <functional>

#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

class TImageList;
class TToolButton;

// A bar of buttons at the top of a window. Its buttons (TToolButton children) sit in a row in child
// order from Indent on, each ButtonWidth wide, a separator 8 pixels. It is a model: a host's view
// draws it and listens to OnButtonChange.
class TToolBar : public TWinControl {
public:
    static constexpr int kSeparatorWidth = 8;

    explicit TToolBar(TComponent* owner = nullptr);

    int Indent() const { return indent_; }
    void SetIndent(int indent);
    int ButtonWidth() const { return buttonWidth_; }
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonSize(int width, int height);

    // The pictures its buttons name by their ImageIndex; none when null.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    // Places the visible buttons in a row, in child order. Call it after adding buttons.
    void ArrangeButtons();

    // A button on the bar changed its look (caption, image, enabled, pressed, visible, style).
    void ButtonChanged(TToolButton& button);
    std::function<void(TToolButton& button)> OnButtonChange;

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredReference(const std::string& property, TComponent& target) override;
    // The buttons read from a stored layout take their places once all of them are there.
    void Loaded() override;

private:
    TImageList* images_ = nullptr;
    int indent_ = 0;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
};

}  // namespace zozuz
