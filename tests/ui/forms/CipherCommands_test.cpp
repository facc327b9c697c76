// Encrypt, Decrypt, Word wrap and Print on the main window, and the Encrypt/Decrypt states over a
// whole script of commands.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "MainWindowCommands.h"
#include "editor/EditView.h"
#include "platform/host/KeyEvent.h"
#include "ui/toolkit/controls/TColor.h"

namespace zozuz {
namespace {

using CipherCommands = MainWindowCommands;

std::string lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST_F(CipherCommands, EncryptAndDecryptShiftTheDocumentAndTurnTheButtonsOver) {
    setText("abc\r\n\xBC\xD3\xC3\xDC\r\n\xFE");
    ASSERT_EQ(states(), "on/off");
    encrypt();
    EXPECT_EQ(text(), "bcd\r\n\xBD\xD4\xC4\xDD\r\n\xFF");
    EXPECT_EQ(states(), "off/on");
    EXPECT_EQ(form->Gauge1->Progress(), 6);
    // A click on the disabled button does nothing.
    encrypt();
    EXPECT_EQ(text(), "bcd\r\n\xBD\xD4\xC4\xDD\r\n\xFF");
    decrypt();
    EXPECT_EQ(text(), "abc\r\n\xBC\xD3\xC3\xDC\r\n\xFE");
    EXPECT_EQ(states(), "on/off");
    EXPECT_TRUE(errors().empty());
}

TEST_F(CipherCommands, TheGaugeShowsInTheEditorsPlaceAndTheEditorComesBackOverIt) {
    setText(lines(10));
    editorWindow().paintPending();
    const Rect gauge = form->Gauge1->BoundsRect();
    // Beneath the editor window, the editor's place on the window shows the editor's background.
    const Point inBar{gauge.left + 10, gauge.top + 5};
    const std::uint32_t background = colorToRgb(clWindow);
    const Image& screen = static_cast<HeadlessWindow&>(*form->Native()).image();
    ASSERT_EQ(screen.pixel(inBar.x, inBar.y), background);
    const int paints = editorWindow().paintCount();

    encrypt();
    // The gauge painted there while the run lasted, and stands at 20 % for ten lines.
    EXPECT_EQ(form->Gauge1->Progress(), 20);
    EXPECT_EQ(screen.pixel(inBar.x, inBar.y), colorToRgb(form->Gauge1->ForeColor()));
    EXPECT_EQ(screen.pixel(gauge.right - 10, inBar.y), colorToRgb(form->Gauge1->BackColor()));
    // The editor's window is back, painted once, and has the keyboard again.
    EXPECT_TRUE(editorWindow().visible());
    EXPECT_EQ(editorWindow().paintCount(), paints + 1);
    EXPECT_TRUE(editorWindow().hasFocus());
    EXPECT_EQ(form->Memo1->Lines().updateDepth(), 0);

    // Sixty lines take the gauge to its end; an empty document leaves it where it stood.
    setText(lines(60));
    decrypt();
    EXPECT_EQ(form->Gauge1->Progress(), 100);
    newText();
    encrypt();
    EXPECT_EQ(form->Gauge1->Progress(), 100);
    EXPECT_TRUE(editorWindow().visible());
}

// The view ends where the run leaves the caret, at the end of the last line, so that typing there
// goes on in view instead of jumping to it; a text larger than the cipher's blocks ends the same way.
TEST_F(CipherCommands, TheEditorShowsTheCaretWhereTheRunLeavesIt) {
    EditView& view = *form->Memo1->View();
    const auto caretInView = [&] {
        return view.caretLine() >= view.topLine() && view.caretLine() < view.topLine() + view.visibleRows();
    };
    for (const std::string& document : {lines(200), std::string(1 << 20, 'x') + "\r\n" + lines(200)}) {
        setText(document);
        ASSERT_EQ(view.topLine(), 0);
        encrypt();
        const EditControl::Pos last = form->Memo1->Lines().count() - 1;
        EXPECT_EQ(view.caretLine(), last);
        EXPECT_TRUE(caretInView());
        EXPECT_EQ(view.topLine(), last - view.visibleRows() + 1);
        const EditControl::Pos top = view.topLine();
        KeyEvent key;
        key.virtualKey = 'A';
        key.text = "a";
        host.postKey(*form->Native(), key);
        drain();
        EXPECT_EQ(view.topLine(), top);
        EXPECT_EQ(form->Memo1->Lines().get(last), "mjof!2::a");

        // Scrolled back to the top by the user, Decrypt shows the end again.
        view.scrollToLine(0);
        decrypt();
        EXPECT_TRUE(caretInView());
    }
    EXPECT_TRUE(errors().empty());
}

// The states of Encrypt and Decrypt after each command of a user's session.
TEST_F(CipherCommands, EncryptAndDecryptStatesFollowTheCommandsAndNothingElse) {
    folder.write("a.txt", "abc");
    struct Step {
        const char* what;
        std::function<void()> command;
        const char* states;
    };
    const std::vector<Step> script = {
        {"start", [] {}, "on/off"},
        {"open encrypted, cancelled", [&] { openEncrypted(); }, "off/on"},
        {"open plain, cancelled", [&] { openPlain(); }, "on/off"},
        {"encrypt", [&] { encrypt(); }, "off/on"},
        {"save, cancelled", [&] { save(); }, "off/on"},
        {"save as, cancelled", [&] { saveAs(); }, "off/on"},
        {"word wrap on", [&] { wordWrap(); }, "off/on"},
        {"print, cancelled", [&] { print(); }, "off/on"},
        {"encrypt, disabled", [&] { encrypt(); }, "off/on"},
        {"decrypt", [&] { decrypt(); }, "on/off"},
        {"word wrap off", [&] { wordWrap(); }, "on/off"},
        {"open encrypted a.txt", [&] { host.fileDialogs().scriptChoice("a"); openEncrypted(); }, "off/on"},
        {"decrypt, wrapped", [&] { decrypt(); }, "on/off"},
        {"new", [&] { newText(); }, "on/off"},
        {"open encrypted, missing", [&] { host.fileDialogs().scriptChoice("none"); openEncrypted(); }, "on/off"},
        {"open plain a.txt", [&] { host.fileDialogs().scriptChoice("a"); openPlain(); }, "on/off"},
        {"encrypt, twice over", [&] { encrypt(); }, "off/on"},
        {"open plain, missing", [&] { host.fileDialogs().scriptChoice("none"); openPlain(); }, "off/on"},
        {"new", [&] { newText(); }, "on/off"},
    };
    for (const Step& step : script) {
        step.command();
        EXPECT_EQ(states(), step.states) << "after " << step.what;
        // Exactly one of the two is enabled at any time.
        EXPECT_NE(form->ToolButton10->Enabled(), form->ToolButton11->Enabled()) << "after " << step.what;
    }
    EXPECT_EQ(errors().size(), 2u);
}

TEST_F(CipherCommands, WordWrapKeepsTheTextAndTheStatesAndShowsItsCheckMark) {
    const std::string long_line(300, 'w');
    setText("short\r\n" + long_line + "\r\nend");
    encrypt();
    const std::string encrypted = text();
    EXPECT_TRUE(entryOf(1, "自动换行").image.width() == 0);
    EXPECT_TRUE(editorWindow().horizontalBar().shown);

    wordWrap();
    EXPECT_TRUE(form->Memo1->WordWrap());
    EXPECT_EQ(form->N6->ImageIndex(), 18);
    EXPECT_FALSE(entryOf(1, "自动换行").image.width() == 0);
    EXPECT_FALSE(editorWindow().horizontalBar().shown);
    EXPECT_TRUE(editorWindow().verticalBar().shown);
    EXPECT_EQ(text(), encrypted);
    EXPECT_EQ(states(), "off/on");

    // Decrypt under wrap works on the lines the user wrote, not the wrapped ones.
    decrypt();
    EXPECT_EQ(text(), "short\r\n" + long_line + "\r\nend");

    wordWrap();
    EXPECT_FALSE(form->Memo1->WordWrap());
    EXPECT_EQ(form->N6->ImageIndex(), -1);
    EXPECT_TRUE(entryOf(1, "自动换行").image.width() == 0);
    EXPECT_TRUE(editorWindow().horizontalBar().shown);
    EXPECT_EQ(text(), "short\r\n" + long_line + "\r\nend");
    EXPECT_EQ(states(), "on/off");
}

TEST_F(CipherCommands, PrintShowsTheDialogOnceAndPrintsTheTextInTheEditorsFont) {
    setText("first\r\n\xD6\xD0\xCE\xC4\r\n\r\nlast\r\n");
    form->Memo1->SetWordWrap(true);
    host.printer().setLinesPerPage(2);

    print();  // cancelled
    EXPECT_EQ(host.printer().dialogsShown(), 1u);
    EXPECT_TRUE(host.printer().printed().empty());

    host.printer().scriptAnswer(HeadlessPrinter::Answer::Print);
    print();
    EXPECT_EQ(host.printer().dialogsShown(), 2u);
    ASSERT_EQ(host.printer().printed().size(), 1u);
    const auto& job = host.printer().printed()[0];
    EXPECT_EQ(job.title, "zozuz");
    EXPECT_EQ(job.font.family, "宋体");
    EXPECT_EQ(job.font.pixelHeight, 16);
    // The lines as written, whatever the wrap, with no line for the final break.
    EXPECT_EQ(job.texts(), (std::vector<std::vector<std::string>>{{"first", "中文"}, {"", "last"}}));
    EXPECT_EQ(text(), "first\r\n\xD6\xD0\xCE\xC4\r\n\r\nlast\r\n");

    // A printer that refuses the job: its error goes to the error display.
    host.printer().scriptAnswer(HeadlessPrinter::Answer::Fail);
    print();
    EXPECT_EQ(errors(), std::vector<std::string>{"Cannot print to Headless printer."});
    EXPECT_EQ(host.printer().dialogsShown(), 3u);
}

}  // namespace
}  // namespace zozuz
