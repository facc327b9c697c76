#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/TextRenderer.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TGraphicControl.h"

namespace zozuz {

// A line of text, or a paragraph, without a window of its own: left-aligned in the control's font
// and font colour on a background of its colour (the parent's while ParentColor is set), never
// underlined.
//
// With AutoSize (the default) the label fits its bounds to its text whenever the text or the font
// changes: one line as wide as the text, or, with WordWrap, lines broken to the width it has, which
// it keeps, growing downwards. Text breaks after a space or around any character outside ASCII (a
// Chinese character stands alone), and a word longer than the width is broken where it must be.
// Fitting needs the desktop's text measures, so a label that is not on a window yet, or is being
// loaded, fits itself once it is.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);

    // Fits the bounds to the text now, when AutoSize is set and the text can be measured.
    void AdjustBounds();

    // The lines the text shows in, for `width` pixels (unlimited below 0).
    static std::vector<std::string> BreakLines(TextRenderer& renderer, const Font& font, const std::string& text,
                                               int width);

    // A press and release of the left button over the label.
    std::function<void(TLabel& sender)> OnClick;
    void MouseInput(const MouseEvent& event) override;
    void CancelMode() override { pressed_ = false; }
    // A disabled label shows its text greyed.
    void SetEnabled(bool enabled) override;

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool readStoredEvent(const std::string& property, const TNotifyEvent& handler) override;
    void Paint() override;
    void Loaded() override;
    void FontChanged() override;

private:
    // The text measures of the window the label is on, or null when it is on none.
    TextRenderer* measuringRenderer() const;
    std::vector<std::string> lines(TextRenderer& renderer) const;

    std::string caption_;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    // A left button went down over the label and has not come up yet.
    bool pressed_ = false;
};

}  // namespace zozuz
