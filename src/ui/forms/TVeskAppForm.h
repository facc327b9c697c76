#pragma once

#include "app/TApplication.h"
#include "ui/toolkit/LayoutReader.h"
#include "ui/toolkit/TActionList.h"
#include "ui/toolkit/TForm.h"
#include "ui/toolkit/TGauge.h"
#include "ui/toolkit/TImageList.h"
#include "ui/toolkit/TMainMenu.h"
#include "ui/toolkit/TMemo.h"
#include "ui/toolkit/TStatusBar.h"
#include "ui/toolkit/TToolBar.h"

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

    // The commands. Those that need the editor or a dialog do nothing until the window has them.
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
    LayoutReader::Handlers handlers();
};

}  // namespace zozuz
