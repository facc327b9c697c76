#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/EditorPane.h"
#include "hosts/headless/HeadlessHost.h"

namespace zozuz {
namespace {

class NoClient : public WindowClient {};

struct PaneRig {
    explicit PaneRig(const EditorColours& colours = {})
        : window(colouredWindow(host, client, colours)),
          panePtr(std::make_unique<EditorPane>(host, *window, edit)),
          pane(*panePtr),
          editor(static_cast<HeadlessEditorWindow&>(pane.window())) {
        window->show();
        window->activate();
        pane.window().setBounds({0, 0, 216, 116});
    }

    // The desktop's colours are set before anything asks for them.
    static std::unique_ptr<NativeWindow> colouredWindow(HeadlessHost& host, WindowClient& client, const EditorColours& colours) {
        host.setDesktopColours(colours);
        return host.createWindow(client, WindowOptions{});
    }

    HeadlessHost host;
    NoClient client;
    std::unique_ptr<NativeWindow> window;
    EditControl edit;
    std::unique_ptr<EditorPane> panePtr;
    EditorPane& pane;
    HeadlessEditorWindow& editor;

    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
};

TEST(EditorPane, KeysReachTheFocusedEditorAfterTheWindowsPreview) {
    PaneRig rig;
    rig.host.postKeyPress(*rig.window, 'A');
    rig.drain();
    EXPECT_EQ(rig.edit.textLength(), 0);  // no focus yet
    rig.pane.window().setFocus();
    EXPECT_TRUE(rig.pane.view().focused());
    KeyEvent key;
    key.virtualKey = 'A';
    key.text = "中";
    rig.host.postKey(*rig.window, key);
    rig.drain();
    EXPECT_EQ(rig.edit.text(), "\xD6\xD0");
    rig.editor.loseFocus();
    EXPECT_FALSE(rig.pane.view().focused());
}

TEST(EditorPane, ClickTakesTheFocusAndTheTextAreaLeavesRoomForTheScrollBars) {
    PaneRig rig;
    EXPECT_EQ(rig.editor.textAreaSize(), (Size{200, 100}));
    EXPECT_EQ(rig.pane.view().viewSize(), (Size{200, 100}));
    EXPECT_TRUE(rig.editor.verticalBar().shown);
    EXPECT_TRUE(rig.editor.horizontalBar().shown);
    MouseEvent click;
    click.kind = MouseEvent::Kind::Down;
    click.button = MouseEvent::Button::Left;
    rig.editor.client().mouse(click);
    EXPECT_TRUE(rig.editor.hasFocus());
    // Word wrap takes the horizontal bar away, and the text area grows into its room.
    rig.pane.view().setWordWrap(true);
    EXPECT_FALSE(rig.editor.horizontalBar().shown);
    EXPECT_EQ(rig.pane.view().viewSize(), (Size{200, 116}));
}

TEST(EditorPane, ScrollBarsFollowTheViewAndMoveIt) {
    PaneRig rig;
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line\r\n";
    rig.edit.setText(text);
    EXPECT_EQ(rig.editor.verticalBar().maximum, 100);
    EXPECT_EQ(rig.editor.verticalBar().page, 100 / 16);
    rig.editor.client().scrolled(true, 40);
    EXPECT_EQ(rig.pane.view().topLine(), 40);
    EXPECT_EQ(rig.editor.verticalBar().position, 40);
}

TEST(EditorPane, IdleStepsDivideWhatWordWrapLeftAndGrowTheScrollBar) {
    PaneRig rig;
    std::string text;
    // Enough text for several slices, every line several display lines at the pane's width.
    const std::string line = std::string(200, 'a') + " " + std::string(200, 'b') + "\r\n";
    while (text.size() < 3 * static_cast<std::size_t>(EditView::kWrapSliceBytes)) text += line;
    rig.edit.setText(text);
    rig.pane.view().setWordWrap(true);
    EXPECT_TRUE(rig.pane.view().wrapPending());
    const std::int64_t before = rig.editor.verticalBar().maximum;
    int steps = 0;
    while (rig.pane.view().wrapPending() && steps < 100) {
        rig.host.advanceClock(0);
        rig.drain();
        ++steps;
    }
    EXPECT_FALSE(rig.pane.view().wrapPending());
    EXPECT_GE(steps, 3);
    EXPECT_GT(rig.editor.verticalBar().maximum, before);
    EXPECT_EQ(rig.editor.verticalBar().maximum, rig.edit.lineCount() - 1);
    EXPECT_EQ(rig.host.activeTimers(), 0u);
}

TEST(EditorPane, NothingIsPaintedWhileRedrawIsOffAndEverythingAtOnceAfter) {
    PaneRig rig;
    rig.editor.paintPending();
    const int before = rig.editor.paintCount();
    rig.pane.setRedraw(false);
    rig.edit.setText("changed");
    rig.editor.paintPending();
    EXPECT_EQ(rig.editor.paintCount(), before);
    rig.pane.setRedraw(true);
    EXPECT_EQ(rig.editor.paintCount(), before + 1);  // before setRedraw returned
    // The text is on the pixels: the first glyph column of "c" is not the window's white.
    bool inked = false;
    for (int y = 0; y < 16; ++y) inked |= rig.editor.pixels().pixel(EditView::kMargin + 1, y) != 0xFFFFFFu;
    EXPECT_TRUE(inked);
}

TEST(EditorPane, CaretBlinksWhileFocusedAndShowsAtOnceAfterAMove) {
    PaneRig rig;
    rig.edit.setText("   ");  // spaces: no glyph where the caret stands
    rig.pane.window().setFocus();
    const auto caretInked = [&] {
        rig.editor.repaintNow();
        const Rect caret = rig.pane.view().caretRect();
        return rig.editor.pixels().pixel(caret.left, caret.top + 1) != 0xFFFFFFu;
    };
    EXPECT_TRUE(caretInked());
    rig.host.advanceClock(EditorPane::kCaretBlinkMilliseconds);
    rig.drain();
    EXPECT_FALSE(caretInked());
    rig.host.advanceClock(EditorPane::kCaretBlinkMilliseconds);
    rig.drain();
    EXPECT_TRUE(caretInked());
    rig.host.advanceClock(EditorPane::kCaretBlinkMilliseconds);
    rig.drain();
    KeyEvent right;
    right.virtualKey = vk::Right;
    rig.pane.key(right);
    EXPECT_TRUE(caretInked());
    rig.editor.loseFocus();
    EXPECT_EQ(rig.host.activeTimers(), 0u);
    EXPECT_FALSE(caretInked());
}

TEST(EditorPane, ADragHeldBelowTheTextScrollsOnUntilTheButtonComesUp) {
    PaneRig rig;
    std::string text;
    for (int i = 0; i < 50; ++i) text += "line\r\n";
    rig.edit.setText(text);
    MouseEvent event;
    event.button = MouseEvent::Button::Left;
    event.kind = MouseEvent::Kind::Down;
    event.position = {5, 5};
    rig.editor.client().mouse(event);
    event.kind = MouseEvent::Kind::Move;
    event.button = MouseEvent::Button::None;
    event.position = {5, 200};
    rig.editor.client().mouse(event);
    const EditControl::Pos top = rig.pane.view().topLine();
    for (int i = 0; i < 5; ++i) {
        rig.host.advanceClock(EditorPane::kDragScrollMilliseconds);
        rig.drain();
    }
    EXPECT_EQ(rig.pane.view().topLine(), top + 5);
    EXPECT_EQ(rig.pane.view().anchor(), 0);
    event.kind = MouseEvent::Kind::Up;
    event.button = MouseEvent::Button::Left;
    rig.editor.client().mouse(event);
    rig.host.advanceClock(EditorPane::kDragScrollMilliseconds);
    rig.drain();
    EXPECT_EQ(rig.pane.view().topLine(), top + 5);
}

TEST(EditorPane, TakesTheDesktopsColours) {
    EditorColours colours;
    colours.highlight = 0x112233;
    PaneRig rig(colours);
    rig.edit.setText("ab");
    rig.pane.view().select(0, 1);
    rig.editor.repaintNow();
    EXPECT_EQ(rig.editor.pixels().pixel(EditView::kMargin + 11, 0), 0x112233u);
}

TEST(EditorPane, InputMethodPreeditAndCommitAndItsQueries) {
    PaneRig rig;
    rig.pane.window().setFocus();
    rig.edit.setText("ab");
    rig.pane.view().select(1, 1);
    rig.editor.client().preeditChanged("zh");
    EXPECT_EQ(rig.edit.text(), "ab");
    rig.editor.client().textCommitted("中");
    rig.editor.client().preeditChanged("");
    EXPECT_EQ(rig.edit.text(), "a\xD6\xD0" "b");
    EditorWindowClient::SurroundingText around = rig.editor.client().surroundingText();
    EXPECT_EQ(around.utf8, "a中b");
    EXPECT_EQ(around.caret, 2);
    EXPECT_EQ(around.anchor, 2);
    rig.pane.view().select(0, 3);
    around = rig.editor.client().surroundingText();
    EXPECT_EQ(around.caret, 2);
    EXPECT_EQ(around.anchor, 0);
    const Rect rect = rig.editor.client().caretRect();
    EXPECT_EQ(rect.left, EditView::kMargin + 24);
    EXPECT_EQ(rect.height(), 16);
    EXPECT_GT(rig.editor.caretMoves(), 0);
}

TEST(EditorPaneGuard, EveryEventAndTimerRunsInsideTheGuardWhichKeepsItsErrorsFromTheHost) {
    PaneRig rig;
    int runs = 0;
    std::vector<std::string> caught;
    rig.pane.setGuard([&](const std::function<void()>& handler) {
        ++runs;
        try {
            handler();
        } catch (const std::exception& e) {
            caught.emplace_back(e.what());
        }
    });
    EditorWindowClient& client = rig.editor.client();
    const auto counted = [&](const std::function<void()>& event) {
        const int before = runs;
        event();
        return runs > before;
    };
    EXPECT_TRUE(counted([&] { client.key(KeyEvent{}); }));
    EXPECT_TRUE(counted([&] { client.mouse(MouseEvent{}); }));
    EXPECT_TRUE(counted([&] { rig.editor.repaintNow(); }));
    EXPECT_TRUE(counted([&] { client.resized({100, 50}); }));
    EXPECT_TRUE(counted([&] { client.scrolled(true, 0); }));
    EXPECT_TRUE(counted([&] { client.preeditChanged("zh"); }));
    EXPECT_TRUE(counted([&] { client.textCommitted("中"); }));
    EXPECT_TRUE(counted([&] { client.caretRect(); }));
    EXPECT_TRUE(counted([&] { client.surroundingText(); }));
    EXPECT_TRUE(counted([&] { rig.editor.setFocus(); }));
    // The caret's blink, once the editor has the focus.
    EXPECT_TRUE(counted([&] {
        rig.host.advanceClock(EditorPane::kCaretBlinkMilliseconds);
        rig.drain();
    }));
    EXPECT_TRUE(caught.empty());

    // An error of a handler reaches the guard, not the host's pump step.
    rig.pane.onFocusChanged = [](bool) { throw std::runtime_error("focus handler failed"); };
    rig.editor.loseFocus();
    EXPECT_EQ(caught, std::vector<std::string>{"focus handler failed"});
    EXPECT_FALSE(rig.pane.view().focused()) << "what the handler did before it failed stays done";
}

TEST(EditorPaneGuard, CancellingEndsTheDragAndGivesUpThePointer) {
    PaneRig rig;
    rig.edit.setText(std::string(400, 'x'));
    rig.pane.window().setFocus();
    EditorWindowClient& client = rig.editor.client();
    client.mouse(MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, {0, 2}});
    client.mouse(MouseEvent{MouseEvent::Kind::Move, MouseEvent::Button::None, {300, 2}});
    const EditControl::Pos selected = rig.edit.selectionEnd() - rig.edit.selectionStart();
    ASSERT_GT(selected, 0);
    rig.pane.cancelMode();
    const int offset = rig.pane.view().horizontalOffset();
    EXPECT_EQ(rig.editor.mouseReleases(), 1);
    EXPECT_FALSE(rig.pane.view().dragging());
    rig.host.advanceClock(1000);
    rig.drain();
    client.mouse(MouseEvent{MouseEvent::Kind::Move, MouseEvent::Button::None, {20, 2}});
    EXPECT_EQ(rig.edit.selectionEnd() - rig.edit.selectionStart(), selected);
    EXPECT_EQ(rig.pane.view().horizontalOffset(), offset) << "the drag's scrolling stopped";
}

}  // namespace
}  // namespace zozuz
