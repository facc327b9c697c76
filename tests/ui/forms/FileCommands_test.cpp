// New, the two opens, Save and Save As on the main window: what they load and write, what they ask,
// what a cancel and a failure leave behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "MainWindowCommands.h"
#include "document/TextFile.h"

namespace zozuz {
namespace {

using FileCommands = MainWindowCommands;
using Answer = MessageBoxResult;

TEST_F(FileCommands, NewEmptiesTheDocumentAndTurnsEncryptOn) {
    setText("甲\r\n乙");
    openEncrypted();  // cancelled: Decrypt on
    ASSERT_EQ(states(), "off/on");
    newText();
    EXPECT_EQ(text(), "");
    EXPECT_EQ(states(), "on/off");
}

TEST_F(FileCommands, OpeningPlainNormalisesTheLineBreaksAndEndsAtAZeroByte) {
    folder.write("letter.txt", std::string("A\nB\rC\0D", 7));
    form->Memo1->SetReadOnly(true);
    host.fileDialogs().scriptChoice("letter");
    openPlain();
    EXPECT_EQ(text(), "A\r\nB\r\nC");
    // The editor takes the keyboard and ends editable, as the dialog hides its read-only box.
    EXPECT_TRUE(form->Memo1->Focused());
    EXPECT_FALSE(form->Memo1->ReadOnly());
    EXPECT_EQ(states(), "on/off");
    EXPECT_EQ(lastChosenPath(), pathOf("letter.txt"));

    // The dialog as it showed: both entries of the filter, the first selected, the default extension
    // and the documents folder, the system's own title, the read-only box hidden.
    const FileDialogRequest& request = lastDialog();
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].caption, "文本文件");
    EXPECT_EQ(request.filters[0].patterns, "*.txt");
    EXPECT_EQ(request.filters[1].caption, "All Files (*.*)");
    EXPECT_EQ(request.filters[1].patterns, "*.*");
    EXPECT_EQ(request.filterIndex, 0);
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.initialFolder, folder.root().string());
    EXPECT_EQ(request.title, "");
    EXPECT_FALSE(request.showReadOnlyBox);
    EXPECT_TRUE(request.resizable);
    EXPECT_EQ(request.owner, form->Native());
    EXPECT_TRUE(errors().empty());
}

TEST_F(FileCommands, OpeningEncryptedTakesTheBytesAsTheyAreAndTurnsDecryptOn) {
    const std::string bytes("B\nC\0\x01\r\r\n", 8);
    folder.write("secret.txt", bytes);
    host.fileDialogs().scriptChoice("secret.txt");
    openEncrypted();
    EXPECT_EQ(text(), bytes);
    EXPECT_EQ(states(), "off/on");
    EXPECT_TRUE(form->Memo1->Focused());
}

TEST_F(FileCommands, ACancelledOpenChangesNothingButTheEncryptAndDecryptStates) {
    setText("kept");
    form->Memo1->SetReadOnly(true);
    openEncrypted();
    EXPECT_EQ(states(), "off/on");
    openPlain();
    EXPECT_EQ(states(), "on/off");
    EXPECT_EQ(text(), "kept");
    EXPECT_TRUE(form->Memo1->ReadOnly());
    EXPECT_EQ(host.fileDialogs().dialogs().size(), 2u);
    EXPECT_TRUE(errors().empty());
}

TEST_F(FileCommands, AFailedOpenShowsItsErrorAndLeavesEverythingAsItWas) {
    setText("kept");
    form->Memo1->SetReadOnly(true);
    openEncrypted();
    ASSERT_EQ(states(), "off/on");

    // A missing file, and a name that is a folder, which cannot be read as a file.
    std::filesystem::create_directory(folder.root() / "folder.txt");
    host.fileDialogs().scriptChoice("missing");
    openPlain();
    const std::string missing = lastChosenPath();
    host.fileDialogs().scriptChoice("folder");
    openEncrypted();
    const std::string directory = lastChosenPath();
    ASSERT_EQ(errors().size(), 2u);
    EXPECT_EQ(errors()[0], "Cannot open file " + missing + ".");
    EXPECT_EQ(errors()[1], "Cannot open file " + directory + ".");
    EXPECT_EQ(host.messageBoxes()[0].request.caption, app.Title());

    // Neither open got as far as the states: the last cancelled open's states stand.
    EXPECT_EQ(states(), "off/on");
    EXPECT_EQ(text(), "kept");
    EXPECT_TRUE(form->Memo1->ReadOnly());
    EXPECT_EQ(form->Memo1->Lines().updateDepth(), 0);
}

TEST_F(FileCommands, SaveWritesTheDocumentByteForByteAndOverwritesWithoutAsking) {
    const std::string document = "第一行\r\n\xFF\x80 tail\r\n\r\nend";
    setText(document);
    folder.write("out.txt", "older and longer content");
    host.fileDialogs().scriptChoice("out");
    save();
    const std::string out = lastChosenPath();
    EXPECT_EQ(TempFolder::read(out), document);
    EXPECT_TRUE(host.messageBoxes().empty());

    // The same bytes as the document layer writes for this document.
    TextFile().save(form->Memo1->Lines(), folder.path("check.txt"));
    EXPECT_EQ(TempFolder::read(out), TempFolder::read(folder.path("check.txt")));
    EXPECT_EQ(lastDialog().title, "加密后的文本保存为");
    EXPECT_FALSE(lastDialog().overwritePrompt);

    // Save shows the dialog every time, offering the name last chosen; an empty text gives an
    // empty file; the Encrypt and Decrypt states stay.
    openEncrypted();
    newText();
    openEncrypted();
    ASSERT_EQ(states(), "off/on");
    form->Memo1->Lines().clear();
    host.fileDialogs().scriptChoice("out");
    save();
    EXPECT_EQ(lastDialog().fileName, out);
    EXPECT_EQ(TempFolder::read(out), "");
    EXPECT_EQ(states(), "off/on");

    // A cancelled save writes nothing.
    setText("new");
    save();
    EXPECT_EQ(TempFolder::read(out), "");
}

TEST_F(FileCommands, SaveAsAsksBeforeOverwritingAndOnlyYesGoesOn) {
    setText("new text");
    folder.write("old.txt", "old");
    const std::string target = pathOf("old.txt");
    struct Case {
        Answer answer;
        const char* after;
    };
    for (const Case& c : {Case{Answer::No, "old"}, Case{Answer::Cancel, "old"}, Case{Answer::Yes, "new text"}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        const std::size_t boxes = host.messageBoxes().size();
        host.fileDialogs().scriptChoice("old");
        host.scriptMessageBoxAnswer(c.answer);
        saveAs();
        ASSERT_EQ(host.messageBoxes().size(), boxes + 1);
        const auto& box = host.messageBoxes().back();
        EXPECT_EQ(box.request.caption, "Confirm");
        EXPECT_EQ(box.request.text, "OK to overwrite " + target);
        EXPECT_EQ(box.request.icon, MessageBoxIcon::Question);
        EXPECT_EQ(box.request.buttons, MessageBoxButtons::YesNoCancel);
        // The box is modal: the main window takes no input while it shows.
        EXPECT_TRUE(box.enabledWindows.empty());
        EXPECT_EQ(TempFolder::read(target), c.after);
    }
    EXPECT_TRUE(form->Enabled());
    EXPECT_EQ(host.activeWindow(), form->Native());

    // A name that is free is written without a question; the dialog is Save's, with its name.
    host.fileDialogs().scriptChoice("new");
    const std::size_t boxes = host.messageBoxes().size();
    saveAs();
    EXPECT_EQ(host.messageBoxes().size(), boxes);
    EXPECT_EQ(TempFolder::read(folder.path("new.txt")), "new text");
    host.fileDialogs().scriptCancel();
    save();
    EXPECT_EQ(lastDialog().fileName, pathOf("new.txt"));
    EXPECT_EQ(states(), "on/off");
}

TEST_F(FileCommands, AFailedSaveShowsItsErrorAndChangesNothingElse) {
    setText("text");
    openEncrypted();
    // The folder the name was chosen in is gone by the time the file is written.
    const std::string target = pathOf("gone/x.txt");
    host.fileDialogs().scriptChoice("gone/x");
    save();
    host.fileDialogs().scriptChoice("gone/x");
    saveAs();
    ASSERT_EQ(errors().size(), 2u);
    EXPECT_EQ(errors()[0], "Cannot create file " + target + ".");
    EXPECT_EQ(errors()[1], "Cannot create file " + target + ".");
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(text(), "text");
    EXPECT_EQ(states(), "off/on");
}

TEST_F(FileCommands, ExitEndsTheProgramWithoutAQuestionAboutUnsavedText) {
    setText("never saved");
    choose(0, "退出");
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(host.messageBoxes().empty());
    EXPECT_TRUE(host.fileDialogs().dialogs().empty());
}

}  // namespace
}  // namespace zozuz
