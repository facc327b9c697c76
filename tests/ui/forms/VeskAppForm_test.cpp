// The main window as its stored layout builds it: its components and where they sit, its commands'
// clients, and the toolbar it draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ProgramPictures.h"
#include "app/TApplication.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/HeadlessWindow.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/text/ShortCutText.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/menus/TMenuItem.h"

namespace zozuz {
namespace {

class VeskAppFormTest : public ::testing::Test {
protected:
    void SetUp() override { app.CreateForm(form); }
    template <class T>
    T& get(const std::string& name) const {
        return dynamic_cast<T&>(*form->FindComponent(name));
    }
    void showAndPaint() {
        form->Show();
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    const Image& screen() { return static_cast<HeadlessWindow&>(*form->Native()).image(); }
    // Whether the 16 x 16 picture `index` is drawn, as it is, centred on `button`.
    bool showsPicture(const TToolButton& button, int index) {
        const Picture picture = imageListPicture(index, 16);
        const Rect r = button.WindowRect();
        const int left = r.left + (r.width() - 16) / 2;
        const int top = r.top + (r.height() - 16) / 2;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (picture.coveredAt(x, y) && screen().pixel(left + x, top + y) != picture.image.pixel(x, y))
                    return false;
        return true;
    }

    HeadlessHost host;
    TApplication app{host};
    TVeskAppForm* form = nullptr;
};

TEST_F(VeskAppFormTest, TheWindowAndItsComponentsComeFromTheLayout) {
    EXPECT_EQ(form->Name(), "VeskAppForm");
    EXPECT_EQ(form->Caption(), "zozuz");
    EXPECT_EQ(form->BoundsRect(), (Rect{193, 135, 763, 520}));
    EXPECT_EQ(form->GetFont().family, "仿宋_GB2312");
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(form->MainMenu1->Images(), form->ImageList1);
    EXPECT_EQ(form->ToolBar1->Images(), form->ImageList1);
    EXPECT_EQ(form->ImageList1->Count(), 22);
    EXPECT_EQ(form->Gauge1->BoundsRect(), (Rect{8, 32, 305, 49}));
    EXPECT_EQ(form->Gauge1->Progress(), 0);

    // The action list in its order: the order the key search goes through.
    std::string order;
    for (const TAction* action : form->ActionList1->Actions()) order += action->Name() + " ";
    EXPECT_EQ(order,
              "FileNew1 FileOpen1 FileSave1 FileSaveAs1 FileSend1 FileExit1 EditCut1 EditCopy1 EditPaste1 "
              "HelpAbout1 DataSetPost1 DataSetNext1 EditUndo1 ");

    // The four menus, each with its entries in display order.
    const TMenuItem& root = form->MainMenu1->Items();
    ASSERT_EQ(root.Count(), 4);
    EXPECT_EQ(root.Children()[0]->Caption(), "文件(&F)");
    EXPECT_EQ(root.Children()[0]->Count(), 13);
    EXPECT_EQ(root.Children()[1]->Count(), 12);
    EXPECT_EQ(root.Children()[2]->Count(), 4);
    EXPECT_EQ(root.Children()[3]->Caption(), "帮助(&H)");
    EXPECT_EQ(root.Children()[3]->Count(), 4);

    // Every caption of the menu bar with its shortcut's text, menu by menu: "打开已加密文件",
    // "全选(A)" and "替换所有" are stored without an access key and show the one the menu gives them.
    const std::vector<std::string> expected{
        "文件(&F)",
        "  新建(&N)  Ctrl+N",
        "  打开已加密文件(&Z)  F12",
        "  打开未加密文件(&O)...  Ctrl+O",
        "  保存(&S)  Ctrl+S",
        "  另存为(&A)...",
        "  -",
        "  页面设置(&T)...",
        "  打印预览(&V)",
        "  打印(&P)  Ctrl+P",
        "  -",
        "  发送(&D)  Ctrl+D",
        "  -",
        "  退出(&X)",
        "编辑(&E)",
        "  撤消(&U)  Ctrl+Z",
        "  -",
        "  剪切(&T)  Ctrl+X",
        "  复制(&C)  Ctrl+C",
        "  粘贴(&P)  Ctrl+V",
        "  删除(&L)  Del",
        "  -",
        "  全选(A)(&A)  Ctrl+A",
        "  时间/日期(&D)  F5",
        "  -",
        "  自动换行(&W)",
        "  设置字体(&F)...",
        "搜索(&S)",
        "  查找(&F)...  Ctrl+F",
        "  查找下一个(&N)  F3",
        "  替换(&E)  Ctrl+H",
        "  替换所有(&Z)",
        "帮助(&H)",
        "  帮助主题(&H)",
        "  访问主页(&I)",
        "  联系作者(&E)",
        "  关于zozuz(&A)",
    };
    std::vector<std::string> shown;
    for (const TMenuItem* menu : root.Children()) {
        shown.push_back(menu->Caption() + (menu->ShortCut() != 0 ? "  " + ShortCutToText(menu->ShortCut()) : ""));
        for (const TMenuItem* entry : menu->Children()) {
            shown.push_back("  " + entry->Caption() + (entry->ShortCut() != 0 ? "  " + ShortCutToText(entry->ShortCut()) : ""));
            EXPECT_TRUE(entry->Children().empty()) << entry->Caption();
        }
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(VeskAppFormTest, ToolbarButtonsSitAtTheirPlacesWithTheirPictures) {
    struct Row {
        const char* name;
        int left;
        int width;
        int image;
        bool enabled;
    };
    const Row rows[] = {
        {"ToolButton9", 5, 23, 6, true},   {"ToolButton1", 28, 23, 7, true},  {"ToolButton2", 51, 23, 8, true},
        {"ToolButton3", 74, 8, -1, true},  {"ToolButton7", 82, 23, 15, false}, {"ToolButton8", 105, 8, -1, true},
        {"ToolButton4", 113, 23, 0, true}, {"ToolButton5", 136, 23, 1, true}, {"ToolButton6", 159, 23, 2, true},
        {"ToolButton12", 182, 8, -1, true}, {"ToolButton10", 190, 23, 16, true}, {"ToolButton11", 213, 23, 17, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto& button = get<TToolButton>(row.name);
        EXPECT_EQ(button.Parent(), form->ToolBar1);
        EXPECT_EQ(button.Left(), row.left);
        EXPECT_EQ(button.Width(), row.width);
        EXPECT_EQ(button.ImageIndex(), row.image);
        EXPECT_EQ(button.Enabled(), row.enabled);
    }
}

TEST_F(VeskAppFormTest, TheToolbarIsDrawnWithDisabledButtonsGreyed) {
    showAndPaint();
    EXPECT_TRUE(showsPicture(get<TToolButton>("ToolButton9"), 6));
    EXPECT_TRUE(showsPicture(get<TToolButton>("ToolButton10"), 16));
    // Decrypt starts disabled: its green disc is drawn as a grey shape, not in its colours.
    EXPECT_FALSE(showsPicture(get<TToolButton>("ToolButton11"), 17));
    const Rect decrypt = get<TToolButton>("ToolButton11").WindowRect();
    EXPECT_EQ(screen().pixel(decrypt.left + 11, decrypt.top + 11), colorToRgb(clGrayText));

    // Only the dark lines of a disabled picture are embossed: the envelope of the disabled Send
    // button keeps its outline, while its light paper drops out to the toolbar's face.
    const auto& send = get<TToolButton>("ToolButton7");
    const Rect sendRect = send.WindowRect();
    const int imageLeft = sendRect.left + (send.Width() - 16) / 2;
    const int imageTop = sendRect.top + (send.Height() - 16) / 2;
    EXPECT_EQ(screen().pixel(imageLeft + 1, imageTop + 8), colorToRgb(clGrayText)) << "the envelope's edge";
    EXPECT_EQ(screen().pixel(imageLeft + 8, imageTop + 11), colorToRgb(clBtnFace)) << "the envelope's paper";

    // Once Decrypt is enabled it shows its picture.
    get<TToolButton>("ToolButton11").SetEnabled(true);
    while (host.pumpOne() != Host::PumpResult::Empty) {
    }
    EXPECT_TRUE(showsPicture(get<TToolButton>("ToolButton11"), 17));
}

TEST_F(VeskAppFormTest, TheBarsStayAlongTheTopAndBottomWithTheEditorBetweenAsTheWindowSizes) {
    ASSERT_NE(form->StatusBar, nullptr);
    EXPECT_EQ(form->StatusBar, form->FindComponent("StatusBar"));
    EXPECT_TRUE(form->StatusBar->AutoHint());
    EXPECT_TRUE(form->StatusBar->SimplePanel());
    EXPECT_FALSE(form->StatusBar->ShowHint()) << "it shows no tooltip of its own";
    auto expectDocked = [&] {
        const int width = form->ClientWidth();
        const int height = form->ClientHeight();
        EXPECT_EQ(form->ToolBar1->BoundsRect(), (Rect{0, 0, width, 30}));
        EXPECT_EQ(form->StatusBar->BoundsRect(), (Rect{0, height - 19, width, height}));
        EXPECT_EQ(form->Memo1->BoundsRect(), (Rect{0, 30, width, height - 19}));
    };
    expectDocked();
    showAndPaint();
    expectDocked();
    form->SetBounds(100, 100, 700, 500);
    showAndPaint();
    expectDocked();
    EXPECT_EQ(form->StatusBar->Width(), form->ClientWidth());
    // Too low for an editor: the editor shrinks to nothing and the status line keeps its height.
    form->SetBounds(100, 100, 300, 60);
    showAndPaint();
    EXPECT_EQ(form->StatusBar->Height(), 19);
    EXPECT_EQ(form->StatusBar->Top(), form->ClientHeight() - 19);
    EXPECT_EQ(form->Memo1->Height(), 0);
}

TEST_F(VeskAppFormTest, ExitEndsTheProgramWithoutAQuestion) {
    showAndPaint();
    get<TMenuItem>("FileExitItem").Click();
    while (app.ProcessMessage()) {
    }
    EXPECT_TRUE(app.Terminated());
}

TEST_F(VeskAppFormTest, VisitHomePageAndContactAuthorHandTheDesktopTheAboutBoxsAddresses) {
    get<TMenuItem>("N22").Click();
    get<TMenuItem>("N23").Click();
    ASSERT_EQ(host.shellCalls().size(), 2u);
    EXPECT_EQ(host.shellCalls()[0].address, "www.zozuz.example.com");
    EXPECT_EQ(host.shellCalls()[1].address, "mailto:author@zozuz.example.com");
    // Owned by the main window, which is not shown yet here and so has no window of its own.
    EXPECT_EQ(host.shellCalls()[0].owner, form->Native());
}

}  // namespace
}  // namespace zozuz
