#include "ui/forms/VeskAppLayout.h"

#include <string>

#include "base/KeyCode.h"
#include "ui/toolkit/controls/TColor.h"

namespace zozuz {

namespace {

using namespace std::string_literals;

constexpr int ctrl(char key) { return kCtrlBit | key; }

// A menu entry with its caption, and the few values it stores besides.
StoredComponent item(const char* name, const char* menu, const char* caption, std::vector<StoredValue> values = {}) {
    values.insert(values.begin(), {"Caption", std::string(caption)});
    return {"TMenuItem", name, menu, std::move(values)};
}

// A menu entry that stays grey for the whole run; its shortcut, if any, does nothing. Its hint
// still shows on the status line while it is highlighted; an empty one is not stored.
StoredComponent disabled(const char* name, const char* menu, const char* caption, const char* hint = "",
                         int shortCut = 0) {
    std::vector<StoredValue> values = {{"Enabled", false}};
    if (*hint != '\0') values.push_back({"Hint", std::string(hint)});
    if (shortCut != 0) values.push_back({"ShortCut", shortCut});
    return item(name, menu, caption, std::move(values));
}

StoredComponent action(const char* kind, const char* name, const char* caption, const char* hint,
                       std::vector<StoredValue> values = {}) {
    values.insert(values.begin(), {{"Caption", std::string(caption)}, {"Hint", std::string(hint)}});
    return {kind, name, "ActionList1", std::move(values)};
}

StoredComponent button(const char* name, std::vector<StoredValue> values) {
    return {"TToolButton", name, "ToolBar1", std::move(values)};
}

StoredComponent separator(const char* name) { return button(name, {{"Style", "tbsSeparator"s}}); }

}  // namespace

const StoredLayout& veskAppFormLayout() {
    static const StoredLayout layout = {
        {"TForm", "VeskAppForm", "",
         {{"Left", 193},
          {"Top", 135},
          {"Width", 570},
          {"Height", 385},
          {"Caption", "zozuz"s},
          {"Color", static_cast<int>(clBtnFace)},
          {"Font", Font{"仿宋_GB2312", 13, Font::Charset::GB2312, 0x000000, false}},
          {"Menu", "MainMenu1"s}}},

        // The commands that a menu entry and a toolbar button share, in the order the key search
        // goes through them. Their English captions and hints never show: every client has its own.
        {"TActionList", "ActionList1", "", {}},
        action("TAction", "FileNew1", "&New", "New|Create a new file",
               {{"ShortCut", ctrl('N')}, {"ImageIndex", 6}, {"OnExecute", "FileNew1Execute"s}}),
        action("TAction", "FileOpen1", "&Open...", "Open|Open a file",
               {{"ShortCut", ctrl('O')}, {"ImageIndex", 7}, {"OnExecute", "FileOpen1Execute"s}}),
        action("TAction", "FileSave1", "&Save", "Save|Save the file",
               {{"ShortCut", ctrl('S')}, {"ImageIndex", 8}, {"OnExecute", "FileSave1Execute"s}}),
        action("TAction", "FileSaveAs1", "Save &As...", "Save As|Save under a new name",
               {{"OnExecute", "FileSaveAs1Execute"s}}),
        action("TAction", "FileSend1", "Sen&d...", "Send|Send the file",
               {{"ImageIndex", 15}, {"OnExecute", "FileSend1Execute"s}}),
        action("TAction", "FileExit1", "E&xit", "Exit|Quit the program", {{"OnExecute", "FileExit1Execute"s}}),
        action("TEditCut", "EditCut1", "Cu&t", "Cut|Cuts the selection", {{"ShortCut", ctrl('X')}, {"ImageIndex", 0}}),
        action("TEditCopy", "EditCopy1", "&Copy", "Copy|Copies the selection",
               {{"ShortCut", ctrl('C')}, {"ImageIndex", 1}}),
        action("TEditPaste", "EditPaste1", "&Paste", "Paste|Inserts the clipboard",
               {{"ShortCut", ctrl('V')}, {"ImageIndex", 2}}),
        action("TAction", "HelpAbout1", "&About...", "About|Shows the program's details",
               {{"OnExecute", "HelpAbout1Execute"s}}),
        action("TDataSetPost", "DataSetPost1", "P&ost", "Post", {{"ImageIndex", 18}}),
        action("TDataSetNext", "DataSetNext1", "&Next", "Next", {{"ImageIndex", 19}}),
        {"TEditUndo", "EditUndo1", "ActionList1",
         {{"Caption", "&Undo"s}, {"ShortCut", kAltBit | vk::Back}, {"ImageIndex", 20}}},

        {"TImageList", "ImageList1", "", {{"Pictures", "program"s}}},

        {"TMainMenu", "MainMenu1", "", {{"Images", "ImageList1"s}}},
        item("N1", "MainMenu1", "文件(&F)"),
        item("FileNewItem", "N1", "新建(&N)", {{"Hint", "创建新文档"s}, {"Action", "FileNew1"s}}),
        item("N24", "N1", "打开已加密文件",
             {{"Hint", "打开现有已加密文档"s}, {"ShortCut", int{vk::F12}}, {"OnClick", "N24Click"s}}),
        item("FileOpenItem", "N1", "打开未加密文件(&O)...",
             {{"Hint", "打开现有未加密文档"s}, {"Action", "FileOpen1"s}}),
        item("FileSaveItem", "N1", "保存(&S)", {{"Hint", "保存活动文档"s}, {"Action", "FileSave1"s}}),
        item("FileSaveAsItem", "N1", "另存为(&A)...",
             {{"Hint", "用新名字保存活动文档"s}, {"Action", "FileSaveAs1"s}}),
        disabled("N5", "N1", "-"),
        disabled("N11", "N1", "页面设置(&T)...", "更改页面设置"),
        disabled("N12", "N1", "打印预览(&V)"),
        item("N13", "N1", "打印(&P)", {{"Hint", "打印活动文件"s}, {"ShortCut", ctrl('P')}, {"OnClick", "N13Click"s}}),
        disabled("N10", "N1", "-"),
        item("FileSendItem", "N1", "发送(&D)",
             {{"ShortCut", ctrl('D')}, {"Enabled", false}, {"Hint", "通过电子邮件发送文档"s}, {"Action", "FileSend1"s}}),
        disabled("N14", "N1", "-"),
        item("FileExitItem", "N1", "退出(&X)", {{"Hint", "推出应用程序，提示保存文档"s}, {"Action", "FileExit1"s}}),
        item("N2", "MainMenu1", "编辑(&E)"),
        disabled("N4", "N2", "撤消(&U)", "撤消上次操作", ctrl('Z')),
        disabled("N15", "N2", "-"),
        item("CutItem", "N2", "剪切(&T)",
             {{"Enabled", false}, {"Hint", "剪切选定内容并将它放入剪贴板"s}, {"Action", "EditCut1"s}}),
        item("CopyItem", "N2", "复制(&C)",
             {{"Enabled", false}, {"Hint", "复制选定内容并将它放入剪贴板"s}, {"Action", "EditCopy1"s}}),
        item("PasteItem", "N2", "粘贴(&P)",
             {{"Enabled", false}, {"Hint", "插入剪贴板内容"s}, {"Action", "EditPaste1"s}}),
        disabled("N3", "N2", "删除(&L)", "删除选定内容", vk::Delete),
        disabled("N16", "N2", "-"),
        disabled("N8", "N2", "全选(A)", "选定全部文档", ctrl('A')),
        disabled("N9", "N2", "时间/日期(&D)", "插入当前系统时间和日期", vk::F1 + 4),
        disabled("N25", "N2", "-"),
        item("N6", "N2", "自动换行(&W)", {{"Hint", "自动换行"s}, {"OnClick", "N6Click"s}}),
        disabled("N7", "N2", "设置字体(&F)...", "设置选定内容的字体"),
        item("N26", "MainMenu1", "搜索(&S)"),
        disabled("N17", "N26", "查找(&F)...", "", ctrl('F')),
        disabled("N18", "N26", "查找下一个(&N)", "", vk::F1 + 2),
        disabled("N19", "N26", "替换(&E)", "", ctrl('H')),
        disabled("N20", "N26", "替换所有"),
        item("N27", "MainMenu1", "帮助(&H)"),
        disabled("N21", "N27", "帮助主题(&H)"),
        item("N22", "N27", "访问主页(&I)", {{"Hint", "访问作者主页"s}, {"OnClick", "N22Click"s}}),
        item("N23", "N27", "联系作者(&E)", {{"Hint", "通过电子邮件联系作者"s}, {"OnClick", "N23Click"s}}),
        item("HelpAboutItem", "N27", "关于zozuz(&A)", {{"Hint", "关于"s}, {"Action", "HelpAbout1"s}}),

        {"TToolBar", "ToolBar1", "",
         {{"Left", 0}, {"Top", 0}, {"Width", 562}, {"Height", 30}, {"Indent", 5}, {"ShowHint", true},
          {"Images", "ImageList1"s}}},
        button("ToolButton9", {{"Hint", "创建新文档"s}, {"Action", "FileNew1"s}}),
        button("ToolButton1", {{"Hint", "打开现有文档"s}, {"Action", "FileOpen1"s}}),
        button("ToolButton2", {{"Hint", "保存活动文档"s}, {"Action", "FileSave1"s}}),
        separator("ToolButton3"),
        button("ToolButton7", {{"Hint", "通过电子邮件发送文档"s}, {"Enabled", false}, {"Action", "FileSend1"s}}),
        separator("ToolButton8"),
        // The one hint with separate parts: an English tooltip and a long part that runs into Chinese.
        button("ToolButton4",
               {{"Hint", "Cut|Cuts the selection and puts 简切选定内容并将它放入剪贴板"s}, {"Action", "EditCut1"s}}),
        button("ToolButton5", {{"Hint", "复制选定内容并将它放入剪贴板"s}, {"Action", "EditCopy1"s}}),
        button("ToolButton6", {{"Hint", "插入剪贴板内容"s}, {"Action", "EditPaste1"s}}),
        separator("ToolButton12"),
        button("ToolButton10", {{"Hint", "加密"s}, {"ImageIndex", 16}, {"OnClick", "ToolButton10Click"s}}),
        button("ToolButton11",
               {{"Hint", "解密"s}, {"Enabled", false}, {"ImageIndex", 17}, {"OnClick", "ToolButton11Click"s}}),

        // The status line along the bottom, whose one simple panel shows the hint of whatever the
        // pointer is on or the highlighted menu entry. The window keeps it docked at the bottom.
        {"TStatusBar", "StatusBar", "", {{"Height", 19}, {"AutoHint", true}, {"SimplePanel", true}}},

        // The dialogs of the file commands. The open dialog serves both open commands, the save
        // dialog both save commands, so each offers the name last chosen through it.
        {"TOpenDialog", "OpenDialog", "",
         {{"Filter", "文本文件|*.txt|All Files (*.*)|*.*"s}, {"DefaultExt", "txt"s}, {"InitialDir", "C:\\My Documents"s}}},
        {"TSaveDialog", "SaveDialog", "",
         {{"Filter", "文本文件|*.txt|All Files (*.*)|*.*"s},
          {"DefaultExt", "txt"s},
          {"InitialDir", "C:\\My Documents"s},
          {"Title", "加密后的文本保存为"s}}},
        {"TPrintDialog", "PrintDialog1", "", {}},

        // The gauge lies beneath the editor, which is created after it; it shows only while a
        // cipher run has switched the editor's drawing off.
        {"TGauge", "Gauge1", "", {{"Left", 8}, {"Top", 32}, {"Width", 297}, {"Height", 17}}},
        // The editor, which fills the client area between the toolbar and the status line as the
        // window sizes it.
        {"TMemo", "Memo1", "", {{"ParentFont", false}, {"Font", Font{"宋体", 16, Font::Charset::GB2312, 0x000000, false}}}},
    };
    return layout;
}

}  // namespace zozuz
