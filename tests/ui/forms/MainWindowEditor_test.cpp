#include <gtest/gtest.h>

#include <string>

#include "app/TApplication.h"
#include "document/TMemoStrings.h"
#include "platform/headless/HeadlessHost.h"
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

}  // namespace
}  // namespace zozuz
