#pragma once

// A window built like the main window's commands: its action list, menu bar and toolbar with the
// values its stored layout holds, read the way a stored layout is read (every value first, the
// links to actions after, then the end of loading), and an editor stand-in that holds the focus.
// The commands only record that they ran.

#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/KeyCode.h"
#include "platform/host/KeyEvent.h"
#include "ui/toolkit/EditActionTarget.h"
#include "ui/toolkit/TAction.h"
#include "ui/toolkit/TActionList.h"
#include "ui/toolkit/TDataSetNext.h"
#include "ui/toolkit/TDataSetPost.h"
#include "ui/toolkit/TEditCopy.h"
#include "ui/toolkit/TEditCut.h"
#include "ui/toolkit/TEditPaste.h"
#include "ui/toolkit/TEditUndo.h"
#include "ui/toolkit/TForm.h"
#include "ui/toolkit/TMainMenu.h"
#include "ui/toolkit/TMenuItem.h"
#include "ui/toolkit/TNotifyEvent.h"
#include "ui/toolkit/TToolBar.h"
#include "ui/toolkit/TToolButton.h"
#include "ui/toolkit/TWinControl.h"

namespace zozuz {

// An editor control as the edit commands see it, with its state set by the test.
class FakeEditor : public TWinControl, public EditActionTarget {
public:
    explicit FakeEditor(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

    int SelLength() const override { return selLength; }
    bool CanUndo() const override { return canUndo; }
    bool ClipboardHasText() const override { return clipboardHasText; }
    bool ReadOnly() const override { return false; }
    void CutToClipboard() override { commands.push_back("cut"); }
    void CopyToClipboard() override { commands.push_back("copy"); }
    void PasteFromClipboard() override { commands.push_back("paste"); }
    void Undo() override { commands.push_back("undo"); }

    void KeyDown(const KeyEvent& key) override { keys.push_back(key.keyCode()); }

    int selLength = 0;
    bool canUndo = false;
    bool clipboardHasText = false;
    // What the commands sent it, and the keys that reached it.
    std::vector<std::string> commands;
    std::vector<KeyCode> keys;
};

class CommandForm : public TForm {
public:
    explicit CommandForm(TApplication& application) : TForm(application) {
        SetBounds(193, 135, 570, 385);
        BeginLoading();
        readValues();
        resolveReferences();
        EndLoading();
    }

    template <class T>
    T& get(const std::string& name) const {
        return dynamic_cast<T&>(*FindComponent(name));
    }
    TAction& action(const std::string& name) const { return get<TAction>(name); }
    TMenuItem& item(const std::string& name) const { return get<TMenuItem>(name); }
    TToolButton& button(const std::string& name) const { return get<TToolButton>(name); }

    // The commands that ran, by handler name, in order.
    std::vector<std::string> ran;
    FakeEditor* Memo1 = nullptr;
    TActionList* ActionList1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TToolBar* ToolBar1 = nullptr;

private:
    TNotifyEvent handler(const std::string& name) {
        return TNotifyEvent([this, name](TComponent&) { ran.push_back(name); });
    }

    template <class T>
    T& make(const std::string& name) {
        T* component = new T(this);
        component->SetName(name);
        return *component;
    }

    void addAction(TAction& action, const std::string& caption, const std::string& hint, KeyCode shortCut,
                   int image, const std::string& handlerName) {
        action.SetCaption(caption);
        action.SetHint(hint);
        action.SetShortCut(shortCut);
        action.SetImageIndex(image);
        if (!handlerName.empty()) action.SetOnExecute(handler(handlerName));
        action.SetActionList(ActionList1);
    }

    TMenuItem& addItem(TMenuItem& parent, const std::string& name, const std::string& caption, KeyCode shortCut = 0,
                       bool enabled = true, const std::string& hint = "") {
        TMenuItem& item = make<TMenuItem>(name);
        item.SetCaption(caption);
        item.SetShortCut(shortCut);
        item.SetEnabled(enabled);
        item.SetHint(hint);
        parent.Add(item);
        return item;
    }

    TToolButton& addButton(const std::string& name, const std::string& hint = "", bool enabled = true) {
        TToolButton& button = make<TToolButton>(name);
        button.SetHint(hint);
        button.SetEnabled(enabled);
        button.SetParent(ToolBar1);
        return button;
    }

    void readValues() {
        constexpr KeyCode ctrl = kCtrlBit;
        ActionList1 = &make<TActionList>("ActionList1");
        addAction(make<TAction>("FileNew1"), "&New", "New|Create a new file", ctrl | 'N', 6, "FileNew1Execute");
        addAction(make<TAction>("FileOpen1"), "&Open...", "Open|Open a file", ctrl | 'O', 7, "FileOpen1Execute");
        addAction(make<TAction>("FileSave1"), "&Save", "Save|Save the file", ctrl | 'S', 8, "FileSave1Execute");
        addAction(make<TAction>("FileSaveAs1"), "Save &As...", "Save As|Save under a new name", 0, -1,
                  "FileSaveAs1Execute");
        addAction(make<TAction>("FileSend1"), "Sen&d...", "Send|Send the file", 0, 15, "FileSend1Execute");
        addAction(make<TAction>("FileExit1"), "E&xit", "Exit|Quit the program", 0, -1, "FileExit1Execute");
        addAction(make<TEditCut>("EditCut1"), "Cu&t", "Cut|Cuts the selection", ctrl | 'X', 0, "");
        addAction(make<TEditCopy>("EditCopy1"), "&Copy", "Copy|Copies the selection", ctrl | 'C', 1, "");
        addAction(make<TEditPaste>("EditPaste1"), "&Paste", "Paste|Inserts the clipboard", ctrl | 'V', 2, "");
        addAction(make<TAction>("HelpAbout1"), "&About...", "About|Shows the program's details", 0, -1,
                  "HelpAbout1Execute");
        addAction(make<TDataSetPost>("DataSetPost1"), "P&ost", "Post", 0, 18, "");
        addAction(make<TDataSetNext>("DataSetNext1"), "&Next", "Next", 0, 19, "");
        addAction(make<TEditUndo>("EditUndo1"), "&Undo", "", kAltBit | vk::Back, 20, "");

        MainMenu1 = &make<TMainMenu>("MainMenu1");
        SetMenu(MainMenu1);
        TMenuItem& root = MainMenu1->Items();
        TMenuItem& file = addItem(root, "N1", "文件(&F)");
        addItem(file, "FileNewItem", "新建(&N)", 0, true, "新建|新建一个文件");
        addItem(file, "N24", "打开已加密文件", vk::F12).SetOnClick(handler("N24Click"));
        addItem(file, "FileOpenItem", "打开未加密文件(&O)...", 0, true, "打开|打开一个未加密文件");
        addItem(file, "FileSaveItem", "保存(&S)", 0, true, "保存|保存文件");
        addItem(file, "FileSaveAsItem", "另存为(&A)...", 0, true, "另存为|另存为一个文件");
        addItem(file, "N5", "-", 0, false);
        addItem(file, "N11", "页面设置(&T)...", 0, false);
        addItem(file, "N12", "打印预览(&V)", 0, false);
        addItem(file, "N13", "打印(&P)", ctrl | 'P').SetOnClick(handler("N13Click"));
        addItem(file, "N10", "-", 0, false);
        addItem(file, "FileSendItem", "发送(&D)", ctrl | 'D', false, "发送|发送文件");
        addItem(file, "N14", "-", 0, false);
        addItem(file, "FileExitItem", "退出(&X)", 0, true, "退出|退出程序");
        TMenuItem& edit = addItem(root, "N2", "编辑(&E)");
        addItem(edit, "N4", "撤消(&U)", ctrl | 'Z', false);
        addItem(edit, "N15", "-", 0, false);
        addItem(edit, "CutItem", "剪切(&T)", 0, false, "剪切|剪切所选文字");
        addItem(edit, "CopyItem", "复制(&C)", 0, false, "复制|复制所选文字");
        addItem(edit, "PasteItem", "粘贴(&P)", 0, false, "粘贴|粘贴剪贴板的文字");
        addItem(edit, "N3", "删除(&L)", vk::Delete, false);
        addItem(edit, "N16", "-", 0, false);
        addItem(edit, "N8", "全选(A)", ctrl | 'A', false);
        addItem(edit, "N9", "时间/日期(&D)", vk::F1 + 4, false);
        addItem(edit, "N25", "-", 0, false);
        addItem(edit, "N6", "自动换行(&W)").SetOnClick(handler("N6Click"));
        addItem(edit, "N7", "设置字体(&F)...", 0, false);
        TMenuItem& search = addItem(root, "N26", "搜索(&S)");
        addItem(search, "N17", "查找(&F)...", ctrl | 'F', false);
        addItem(search, "N18", "查找下一个(&N)", vk::F1 + 2, false);
        addItem(search, "N19", "替换(&E)", ctrl | 'H', false);
        addItem(search, "N20", "替换所有", 0, false);
        TMenuItem& help = addItem(root, "N27", "帮助(&H)");
        addItem(help, "N21", "帮助主题(&H)", 0, false);
        addItem(help, "N22", "访问主页(&I)").SetOnClick(handler("N22Click"));
        addItem(help, "N23", "联系作者(&E)").SetOnClick(handler("N23Click"));
        addItem(help, "HelpAboutItem", "关于zozuz(&A)", 0, true, "关于|关于本程序");

        ToolBar1 = &make<TToolBar>("ToolBar1");
        ToolBar1->SetParent(this);
        ToolBar1->SetBounds(0, 0, 562, 30);
        ToolBar1->SetIndent(5);
        addButton("ToolButton9", "新建|新建一个文件");
        addButton("ToolButton1", "打开|打开一个未加密文件");
        addButton("ToolButton2", "保存|保存文件");
        addButton("ToolButton3").SetStyle(TToolButtonStyle::tbsSeparator);
        addButton("ToolButton7", "发送|发送文件", false);
        addButton("ToolButton8").SetStyle(TToolButtonStyle::tbsSeparator);
        addButton("ToolButton4", "Cut|Cuts the selection");
        addButton("ToolButton5", "复制|复制所选文字");
        addButton("ToolButton6", "粘贴|粘贴剪贴板的文字");
        addButton("ToolButton12").SetStyle(TToolButtonStyle::tbsSeparator);
        addButton("ToolButton10", "加密|加密文字").SetImageIndex(16);
        addButton("ToolButton11", "解密|解密文字", false).SetImageIndex(17);
        button("ToolButton10").SetOnClick(handler("ToolButton10Click"));
        button("ToolButton11").SetOnClick(handler("ToolButton11Click"));
        ToolBar1->ArrangeButtons();

        Memo1 = &make<FakeEditor>("Memo1");
        Memo1->SetParent(this);
        Memo1->SetBounds(0, 30, 562, 290);
    }

    void resolveReferences() {
        const std::pair<const char*, const char*> links[] = {
            {"FileNewItem", "FileNew1"},       {"FileOpenItem", "FileOpen1"}, {"FileSaveItem", "FileSave1"},
            {"FileSaveAsItem", "FileSaveAs1"}, {"FileSendItem", "FileSend1"}, {"FileExitItem", "FileExit1"},
            {"CutItem", "EditCut1"},           {"CopyItem", "EditCopy1"},     {"PasteItem", "EditPaste1"},
            {"HelpAboutItem", "HelpAbout1"}};
        for (const auto& [client, target] : links) item(client).SetAction(&action(target));
        const std::pair<const char*, const char*> buttons[] = {
            {"ToolButton9", "FileNew1"}, {"ToolButton1", "FileOpen1"}, {"ToolButton2", "FileSave1"},
            {"ToolButton7", "FileSend1"}, {"ToolButton4", "EditCut1"}, {"ToolButton5", "EditCopy1"},
            {"ToolButton6", "EditPaste1"}};
        for (const auto& [client, target] : buttons) button(client).SetAction(&action(target));
    }
};

}  // namespace zozuz
