#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Image.h"
#include "hosts/headless/BitmapCodePageText.h"
#include "platform/host/EditorWindow.h"

namespace zozuz {

class HeadlessHost;
class HeadlessWindow;

// An editor window of the headless host: plain state, and a pixel image of its text area that is
// painted whenever a test asks for it. Scroll bars are 16 pixels wide when shown. The window with
// the keyboard focus receives the keys that its top-level window's preview lets through.
class HeadlessEditorWindow final : public EditorWindow {
public:
    static constexpr int kScrollBarWidth = 16;

    HeadlessEditorWindow(HeadlessHost& host, HeadlessWindow& parent, EditorWindowClient& client);
    ~HeadlessEditorWindow() override;
    HeadlessEditorWindow(const HeadlessEditorWindow&) = delete;
    HeadlessEditorWindow& operator=(const HeadlessEditorWindow&) = delete;

    void setBounds(const Rect& bounds) override;
    Rect bounds() const override { return bounds_; }
    Size textAreaSize() const override;
    void setVisible(bool visible) override { visible_ = visible; }
    void setFocus() override;
    bool hasFocus() const override;
    void releaseMouse() override { ++mouseReleases_; }
    void setScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) override;
    void invalidate(const Rect& area) override;
    void repaintNow() override;
    void caretMoved() override { ++caretMoves_; }
    EditorColours colours() const override;
    void accessibleTextChanged(const AccessibleTextChange& change) override { accessibleChanges_.push_back(change); }

    // --- For tests ---
    EditorWindowClient& client() const { return client_; }
    HeadlessWindow& parent() const { return parent_; }
    bool visible() const { return visible_; }
    const ScrollBarState& verticalBar() const { return vertical_; }
    const ScrollBarState& horizontalBar() const { return horizontal_; }
    // Whether some of the text area waits for painting, and painting it as the event loop would.
    bool needsPaint() const { return needsPaint_; }
    void paintPending();
    // The text area's pixels as last painted, and how often painting reached the client.
    const Image& pixels() const { return pixels_; }
    int paintCount() const { return paintCount_; }
    int caretMoves() const { return caretMoves_; }
    // How often the program gave up the pointer.
    int mouseReleases() const { return mouseReleases_; }
    // What screen readers were told of the text, the caret and the selection, oldest first.
    const std::vector<AccessibleTextChange>& accessibleChanges() const { return accessibleChanges_; }
    void clearAccessibleChanges() { accessibleChanges_.clear(); }
    // Loses the focus, as when another window takes it.
    void loseFocus();

private:
    void paintArea(const Rect& area);

    HeadlessHost& host_;
    HeadlessWindow& parent_;
    EditorWindowClient& client_;
    Rect bounds_;
    bool visible_ = true;
    ScrollBarState vertical_;
    ScrollBarState horizontal_;
    bool needsPaint_ = false;
    Image pixels_;
    int paintCount_ = 0;
    int caretMoves_ = 0;
    int mouseReleases_ = 0;
    std::vector<AccessibleTextChange> accessibleChanges_;
};

}  // namespace zozuz
