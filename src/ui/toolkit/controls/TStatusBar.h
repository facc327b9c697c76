#pragma once

#include <functional>
#include <string>

#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TGraphicControl.h"

namespace zozuz {

// The status line along the bottom of a window, drawn by the program. It shows one simple panel:
// a single text across its whole width. With AutoHint set it takes the hints the application
// broadcasts (see THintAction) and shows them as that text.
class TStatusBar : public TGraphicControl {
public:
    explicit TStatusBar(TComponent* owner = nullptr);

    // The status line has no divided panels here, so the simple panel is the only way it shows
    // text; the switch is kept because hints are shown in it only while it is on.
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool simple);
    const std::string& SimpleText() const { return simpleText_; }
    // Repaints only when the text changes.
    void SetSimpleText(const std::string& text);
    // Whether the status line takes the application's hints.
    bool AutoHint() const { return autoHint_; }
    void SetAutoHint(bool autoHint) { autoHint_ = autoHint; }
    // A handler of its own takes the hints instead: the status line then leaves them to other
    // controls, as it cannot tell what the handler would show.
    std::function<void(TStatusBar& sender)> OnHint;

    // Whether a broadcast hint is for this status line, and showing it.
    bool TakesHints() const { return autoHint_ && !OnHint; }
    void ShowHintText(const std::string& text);

protected:
    bool readStoredValue(const StoredValue& value) override;
    void Paint() override;

private:
    bool simplePanel_ = false;
    std::string simpleText_;
    bool autoHint_ = false;
};

}  // namespace zozuz
