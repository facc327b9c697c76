// The main window's commands. None of them catches an error: a file that cannot be loaded or saved,
// or a printer that refuses its job, ends the command where it stands and goes to the application's
// error display.
#include <string>

#include "base/MessageFormat.h"
#include "document/LineCipher.h"
#include "document/TextFile.h"
#include "platform/files/FileExists.h"
#include "platform/host/Host.h"
#include "platform/host/MessageBox.h"
#include "ui/forms/DocumentPrintJob.h"
#include "ui/forms/MakerAddresses.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

namespace zozuz {

namespace {

// The check mark beside the Word wrap entry while word wrap is on.
constexpr int kCheckMarkImage = 18;

// While the cipher runs, the editor's window steps aside: its redraw is off, and the gauge, which
// lies beneath it on the main window's own surface, shows the run's progress in the editor's place.
// The end of the run's update shows the editor's window again and repaints it over the gauge; this
// scope makes sure of both on every way out and gives the keyboard back to the editor.
class EditorStepsAside {
public:
    explicit EditorStepsAside(TMemo& memo) : memo_(memo) {
        memo_.SetWindowShown(false);
    }
    ~EditorStepsAside() {
        if (!memo_.Pane()) return;
        memo_.SetWindowShown(true);
        if (memo_.Focused()) memo_.Pane()->window().setFocus();
    }
    EditorStepsAside(const EditorStepsAside&) = delete;
    EditorStepsAside& operator=(const EditorStepsAside&) = delete;

private:
    TMemo& memo_;
};

}  // namespace

void TVeskAppForm::setCipherStates(bool plain) {
    ToolButton10->SetEnabled(plain);
    ToolButton11->SetEnabled(!plain);
}

void TVeskAppForm::FileNew1Execute(TComponent& /*sender*/) {
    Memo1->Lines().clear();
    setCipherStates(true);
}

void TVeskAppForm::openFile(bool encrypted) {
    if (OpenDialog->Execute()) {
        // An encrypted file comes in byte for byte, so that Decrypt restores exactly what Encrypt
        // saved; a plain file has its line breaks made CR LF and ends at a zero byte.
        if (encrypted)
            TextFile().loadEncrypted(Memo1->Lines(), OpenDialog->FileName());
        else
            TextFile().load(Memo1->Lines(), OpenDialog->FileName());
        Memo1->SetFocus();
        Memo1->SetReadOnly(OpenDialog->Options().Contains(TOpenOption::ofReadOnly));
    }
    setCipherStates(!encrypted);
}

void TVeskAppForm::FileOpen1Execute(TComponent& /*sender*/) { openFile(false); }
void TVeskAppForm::N24Click(TComponent& /*sender*/) { openFile(true); }

// The program keeps no file name of its own: the dialog shows every time, offering the name last
// chosen in it, and an existing file of the chosen name is replaced without a question.
void TVeskAppForm::FileSave1Execute(TComponent& /*sender*/) {
    if (!SaveDialog->Execute()) return;
    TextFile().save(Memo1->Lines(), SaveDialog->FileName());
}

void TVeskAppForm::FileSaveAs1Execute(TComponent& /*sender*/) {
    if (!SaveDialog->Execute()) return;
    const std::string& path = SaveDialog->FileName();
    if (fileExists(path)) {
        MessageBoxRequest confirm;
        confirm.owner = Native();
        confirm.caption = "Confirm";
        confirm.text = formatMessage("OK to overwrite %s", {path});
        confirm.icon = MessageBoxIcon::Question;
        confirm.buttons = MessageBoxButtons::YesNoCancel;
        if (Application().ShowMessageBox(confirm) != MessageBoxResult::Yes) return;
    }
    TextFile().save(Memo1->Lines(), path);
}

// Its entry and button stay disabled for the whole run, so it never runs.
void TVeskAppForm::FileSend1Execute(TComponent& /*sender*/) {}

// No question about unsaved text: the window closes and the program ends.
void TVeskAppForm::FileExit1Execute(TComponent& /*sender*/) { Close(); }

void TVeskAppForm::HelpAbout1Execute(TComponent& /*sender*/) {
    if (AboutBox) AboutBox->ShowModal();
}

// The print dialog shows once; a confirmed dialog prints the document's text in the editor's font,
// page after page, and a cancelled one prints nothing.
void TVeskAppForm::N13Click(TComponent& /*sender*/) {
    PrintDialog1->Execute(documentPrintJob(*Memo1, Caption()));
}

// The text and the Encrypt and Decrypt states stay as they are. Without wrap the editor shows both
// scroll bars; with it, only the vertical one.
void TVeskAppForm::N6Click(TComponent& /*sender*/) {
    const bool wrap = !Memo1->WordWrap();
    Memo1->SetWordWrap(wrap);
    N6->SetImageIndex(wrap ? kCheckMarkImage : -1);
}

// Nothing is reported when no program takes the address.
void TVeskAppForm::N22Click(TComponent& /*sender*/) { Application().GetHost().openAddress(kHomePageAddress, Native()); }
void TVeskAppForm::N23Click(TComponent& /*sender*/) { Application().GetHost().openAddress(kMailtoAddress, Native()); }

void TVeskAppForm::runCipher(CipherDirection direction) {
    {
        EditorStepsAside aside(*Memo1);
        LineCipher(direction).run(Memo1->Lines(), [this](int value) { Gauge1->SetProgress(value); });
    }
    // Only a finished run turns the commands over; a failed one leaves them as they were.
    setCipherStates(direction == CipherDirection::Decrypt);
}

void TVeskAppForm::ToolButton10Click(TComponent& /*sender*/) { runCipher(CipherDirection::Encrypt); }
void TVeskAppForm::ToolButton11Click(TComponent& /*sender*/) { runCipher(CipherDirection::Decrypt); }

}  // namespace zozuz
