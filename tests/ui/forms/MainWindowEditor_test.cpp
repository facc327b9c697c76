#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/Exception.h"
#include "base/KeyCode.h"

#include "app/TApplication.h"
#include "document/TMemoStrings.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

namespace zozuz {
namespace {

// The main window's editor, Memo1, on the headless host.
class MainWindowEditor : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        memo = form->Memo1;
    }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    HeadlessEditorWindow& editor() { return static_cast<HeadlessEditorWindow&>(memo->Pane()->window()); }

    HeadlessHost host;
    TApplication app{host};
    TVeskAppForm* form = nullptr;
    TMemo* memo = nullptr;
};

TEST_F(MainWindowEditor, FillsTheWindowBetweenToolbarAndStatusLineInTheSongFace) {
    ASSERT_NE(memo->Pane(), nullptr);
    const int width = form->ClientWidth();
    const int height = form->ClientHeight();
    EXPECT_EQ(editor().bounds(), (Rect{0, 30, width, height - 19}));
    EXPECT_EQ(memo->View()->font().family, "宋体");
    EXPECT_EQ(memo->View()->font().pixelHeight, 16);
    EXPECT_FALSE(memo->WordWrap());
    EXPECT_TRUE(editor().horizontalBar().shown);
    EXPECT_TRUE(editor().verticalBar().shown);
    EXPECT_EQ(memo->Lines().count(), 0);
}

TEST_F(MainWindowEditor, TakesTheKeyboardWhenTheWindowIsFirstActivatedAndTypesWhatArrives) {
    form->Show();
    form->Native()->activate();
    drain();
    EXPECT_TRUE(memo->Focused());
    EXPECT_EQ(host.focusedEditor(), &editor());
    KeyEvent key;
    key.virtualKey = 'A';
    key.text = "中";
    host.postKey(*form->Native(), key);
    host.postKeyPress(*form->Native(), vk::Return);
    drain();
    EXPECT_EQ(memo->Lines().count(), 1);
    EXPECT_EQ(memo->Lines().get(0), "\xD6\xD0");
    EXPECT_EQ(memo->Editor().text(), "\xD6\xD0\r\n");
}

TEST_F(MainWindowEditor, TheDocumentsUpdatesSwitchPaintingOffAndRepaintAtTheEnd) {
    form->Show();
    drain();
    editor().paintPending();
    const int before = editor().paintCount();
    {
        TMemoStrings::UpdateScope update(memo->Lines());
        memo->Lines().put(0, "A\r\nB");
        memo->Lines().put(1, "C");
        editor().paintPending();
        EXPECT_EQ(editor().paintCount(), before);
    }
    EXPECT_EQ(editor().paintCount(), before + 1);  // at once, before the update ended
    EXPECT_EQ(memo->Editor().text(), "A\r\nC");
}

TEST_F(MainWindowEditor, EditCommandsAndWordWrapWorkOnTheDocument) {
    memo->Lines().put(0, "one two three four five six seven eight nine ten eleven twelve thirteen");
    memo->View()->select(0, 3);
    EXPECT_EQ(memo->SelLength(), 3);
    memo->CutToClipboard();
    EXPECT_EQ(*host.memoryClipboard().bytes(), "one");
    EXPECT_TRUE(memo->CanUndo());
    memo->Undo();
    EXPECT_EQ(memo->Lines().get(0).substr(0, 3), "one");
    memo->SetReadOnly(true);
    memo->SetWordWrap(true);
    EXPECT_GT(memo->Editor().lineCount(), 1);
    EXPECT_FALSE(editor().horizontalBar().shown);
    EXPECT_TRUE(memo->ReadOnly());
    EXPECT_FALSE(memo->CanUndo());
    memo->SetWordWrap(false);
    EXPECT_EQ(memo->Editor().lineCount(), 1);
    EXPECT_EQ(memo->Lines().get(0).substr(0, 7), "one two");
}

TEST_F(MainWindowEditor, AnErrorInsideTheEditorIsShownAndTheProgramGoesOn) {
    host.setExecutablePath("/usr/bin/zozuz");
    form->Show();
    form->Native()->activate();
    drain();
    ASSERT_EQ(host.focusedEditor(), &editor());
    // The first change the editor makes fails, as one whose memory cannot be had would.
    bool failed = false;
    memo->Editor().addChangeListener([&](EditControl::Pos, EditControl::Pos, EditControl::Pos) {
        if (failed) return;
        failed = true;
        throw EInvalidOperation("Out of memory");
    });
    KeyEvent key;
    key.virtualKey = 'A';
    key.text = "a";
    host.postKey(*form->Native(), key);
    host.postKey(*form->Native(), key);
    EXPECT_NO_THROW(drain());
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Out of memory.");
    EXPECT_EQ(host.messageBoxes()[0].request.owner, form->Native());
    EXPECT_EQ(memo->Editor().text(), "aa") << "the text stays, and the next key types on";
    EXPECT_FALSE(app.Terminated());
}

TEST_F(MainWindowEditor, ADragSelectionEndsWhenAnErrorBoxOrAModalWindowComesUp) {
    TAboutBox* about = nullptr;
    app.CreateForm(about);
    form->Show();
    form->Native()->activate();
    drain();
    std::string line;
    for (int i = 0; i < 40; ++i) line += "word ";
    EditorWindowClient& client = editor().client();
    struct Row {
        const char* box;
        std::function<void(const std::function<void()>& whileUp)> comeUp;
    };
    const Row rows[] = {
        {"an error box",
         [&](const std::function<void()>& whileUp) {
             form->guarded([] { throw EInvalidOperation("Cannot open file x"); });
             ASSERT_EQ(host.messageBoxes().size(), 1u);
             whileUp();
         }},
        {"a modal window",
         [&](const std::function<void()>& whileUp) {
             host.whenIdle([&] {
                 whileUp();
                 host.postKeyPress(*about->Native(), vk::Return);
             });
             EXPECT_EQ(about->ShowModal(), mrOk);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        memo->Lines().put(0, line);
        memo->View()->select(0, 0);
        memo->View()->scrollHorizontally(0);
        const int releases = editor().mouseReleases();
        client.mouse(MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, {0, 2}});
        client.mouse(MouseEvent{MouseEvent::Kind::Move, MouseEvent::Button::None, {40, 2}});
        ASSERT_GT(memo->SelLength(), 0);
        // The pointer leaves the text to the right and holds still there: the view scrolls on by itself.
        const int right = memo->View()->viewSize().width + 5;
        client.mouse(MouseEvent{MouseEvent::Kind::Move, MouseEvent::Button::None, {right, 2}});
        const std::size_t timers = host.activeTimers();
        const int offset = memo->View()->horizontalOffset();
        const EditControl::Pos dragged = memo->SelLength();

        row.comeUp([&] {
            EXPECT_EQ(editor().mouseReleases(), releases + 1) << "the editor window gave up the pointer";
            EXPECT_LT(host.activeTimers(), timers) << "the drag's scrolling stopped";
        });
        host.advanceClock(1000);
        drain();
        client.mouse(MouseEvent{MouseEvent::Kind::Move, MouseEvent::Button::None, {120, 2}});
        EXPECT_EQ(memo->SelLength(), dragged) << "moves after the box select nothing more";
        EXPECT_EQ(memo->View()->horizontalOffset(), offset);
    }
}

}  // namespace
}  // namespace zozuz
