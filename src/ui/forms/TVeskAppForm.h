#pragma once

#include "app/TApplication.h"
#include "document/LineCipher.h"
#include "ui/toolkit/commands/TActionList.h"
#include "ui/toolkit/components/TImageList.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TMemo.h"
#include "ui/toolkit/controls/TStatusBar.h"
#include "ui/toolkit/controls/TToolBar.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/dialogs/TOpenDialog.h"
#include "ui/toolkit/dialogs/TPrintDialog.h"
#include "ui/toolkit/dialogs/TSaveDialog.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"
#include "ui/toolkit/windows/LayoutReader.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {

class TAboutBox;

// The main window: the program's whole working surface. It is created first and so becomes the
// application's main window; closing it ends the program without a question. Its components come
// from its stored layout; its commands are the handlers below, bound to them by name.
class TVeskAppForm : public TForm {
public:
    // The toolbar's height; the editor fills the window between the toolbar and the status line.
    static constexpr int kToolBarHeight = 30;

    explicit TVeskAppForm(TApplication& application);

    // The window's components; they live as long as the window.
    // The editor, which holds the document.
    TMemo* Memo1 = nullptr;
    TActionList* ActionList1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TGauge* Gauge1 = nullptr;
    // The status line, docked along the bottom; it shows the hints.
    TStatusBar* StatusBar = nullptr;
    // The About box the About command shows; set once both windows exist.
    TAboutBox* AboutBox = nullptr;

    // Encrypt and Decrypt: exactly one of the two is enabled at any time.
    TToolButton* ToolButton10 = nullptr;
    TToolButton* ToolButton11 = nullptr;
    // The dialogs of the file and print commands.
    TOpenDialog* OpenDialog = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    TPrintDialog* PrintDialog1 = nullptr;
    // The Word wrap entry, which shows a check mark while word wrap is on.
    TMenuItem* N6 = nullptr;

    // The commands. Errors from loading, saving and printing are not caught here: they end the
    // command and go to the application's error display.
    void FileNew1Execute(TComponent& sender);
    void FileOpen1Execute(TComponent& sender);
    void FileSave1Execute(TComponent& sender);
    void FileSaveAs1Execute(TComponent& sender);
    void FileSend1Execute(TComponent& sender);
    void FileExit1Execute(TComponent& sender);
    void HelpAbout1Execute(TComponent& sender);
    void N24Click(TComponent& sender);
    void N13Click(TComponent& sender);
    void N6Click(TComponent& sender);
    void N22Click(TComponent& sender);
    void N23Click(TComponent& sender);
    void ToolButton10Click(TComponent& sender);
    void ToolButton11Click(TComponent& sender);

    void HandleNeeded() override;

protected:
    void Resized() override;

private:
    // Docks the status line along the bottom and lets the editor fill the space above it.
    void layoutClientArea();
    // Shows the open dialog and loads the chosen file, then sets Encrypt and Decrypt for the kind of
    // text the command opens, also when the dialog was cancelled.
    void openFile(bool encrypted);
    void runCipher(CipherDirection direction);
    // Encrypt on and Decrypt off for a plain text, the reverse for an encrypted one.
    void setCipherStates(bool plain);
    LayoutReader::Handlers handlers();
};

}  // namespace zozuz
