#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "editor/EditControl.h"
#include "editor/EditorAccessibleText.h"
#include "editor/EditView.h"
#include "platform/host/EditorWindow.h"
#include "platform/host/Host.h"
#include "platform/host/NativeWindow.h"

namespace zozuz {

// The editor as a child window: an EditView shown in one of the host's editor windows. The window
// delivers its events here and paints what the view lays out; the view tells the window what to
// repaint, where its scroll bars stand and where the caret went.
class EditorPane final : public EditorWindowClient, public EditViewListener {
public:
    EditorPane(Host& host, NativeWindow& parent, EditControl& edit);
    ~EditorPane() override;
    EditorPane(const EditorPane&) = delete;
    EditorPane& operator=(const EditorPane&) = delete;

    EditView& view() { return view_; }
    EditorWindow& window() { return *window_; }

    // Told when the editor window gains or loses the keyboard focus, after the view has been told.
    std::function<void(bool focused)> onFocusChanged;

    // Runs a handler: every event the editor window delivers and every timer of the pane runs
    // inside it. The owner sets it so that an error escaping a handler goes to its error display
    // instead of out of the host's pump step; without it the handler simply runs.
    using Guard = std::function<void(const std::function<void()>& handler)>;
    void setGuard(Guard guard) { guard_ = std::move(guard); }

    // The pointer was taken away while a button may be held (an error box or a modal window came
    // up): the drag selection ends, its scrolling stops and the editor window gives up the pointer.
    void cancelMode();

    // The caret blinks at this pace while the editor has the focus, and shows at once after it moves.
    static constexpr int kCaretBlinkMilliseconds = 530;
    // While a drag selection holds the pointer outside the text, the view scrolls on at this pace.
    static constexpr int kDragScrollMilliseconds = 50;

    // The redraw switch: while off the editor paints nothing; switched on, it repaints at once,
    // before the call returns.
    void setRedraw(bool on);

    // --- EditorWindowClient ---
    // Each runs guarded (setGuard).
    void key(const KeyEvent& key) override;
    void mouse(const MouseEvent& mouse) override;
    void paint(CodePageCanvas& canvas, const Rect& area) override;
    void resized(Size textArea) override;
    void focusChanged(bool focused) override;
    void scrolled(bool vertical, std::int64_t position) override;
    void preeditChanged(const std::string& utf8) override;
    void textCommitted(const std::string& utf8) override;
    // An answer whose handler failed is empty.
    Rect caretRect() override;
    SurroundingText surroundingText() override;
    Font textFont() override { return view_.font(); }
    // Made at the first request, and from then on told of every change.
    AccessibleText* accessibleText() override;

    // --- EditViewListener ---
    void invalidate(const Rect& area) override;
    void scrollBarsChanged() override;
    void caretMoved() override;
    void focusWanted() override;

private:
    void guarded(const std::function<void()>& handler);
    void mouseUnguarded(const MouseEvent& mouse);
    void restartBlink();
    void scheduleBlink();
    void scheduleDragScroll();
    void scheduleWrapStep();

    Host& host_;
    EditView view_;
    Host::TimerId blinkTimer_ = 0;
    Host::TimerId dragTimer_ = 0;
    // Divides the lines word wrap has left, one slice per step, while the program has nothing else to do.
    Host::TimerId wrapTimer_ = 0;
    // Tells screen readers what changed, once the change that asked for it is over.
    Host::TimerId accessibleTimer_ = 0;
    Guard guard_;
    // Set from a left button press until its release, or until the drag is cancelled.
    bool dragging_ = false;
    MouseEvent lastMove_;
    bool caretShown_ = true;
    // Made once a screen reader asks for the text.
    std::unique_ptr<EditorAccessibleText> accessible_;
    // Created after the view, which it reports to from its first moment.
    std::unique_ptr<EditorWindow> window_;
};

}  // namespace zozuz
