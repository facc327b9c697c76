#include "ui/forms/TVeskAppForm.h"

#include "platform/host/Host.h"
#include "ui/forms/MakerAddresses.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/VeskAppLayout.h"

namespace zozuz {

TVeskAppForm::TVeskAppForm(TApplication& application) : TForm(application) {
    LayoutReader(*this, handlers()).Read(veskAppFormLayout());
    ActionList1 = dynamic_cast<TActionList*>(FindComponent("ActionList1"));
    ImageList1 = dynamic_cast<TImageList*>(FindComponent("ImageList1"));
    MainMenu1 = dynamic_cast<TMainMenu*>(FindComponent("MainMenu1"));
    ToolBar1 = dynamic_cast<TToolBar*>(FindComponent("ToolBar1"));
    Gauge1 = dynamic_cast<TGauge*>(FindComponent("Gauge1"));
    Memo1 = dynamic_cast<TMemo*>(FindComponent("Memo1"));
    StatusBar = dynamic_cast<TStatusBar*>(FindComponent("StatusBar"));
    layoutClientArea();
    // The editor takes the keyboard when the window is first activated.
    Memo1->SetFocus();
}

void TVeskAppForm::HandleNeeded() {
    TForm::HandleNeeded();
    layoutClientArea();
    if (Memo1) Memo1->HandleNeeded();
}

void TVeskAppForm::Resized() { layoutClientArea(); }

// The status line keeps its height along the whole bottom edge; the editor takes what is left
// between it and the toolbar. A window too small for both lets the status line run over the top.
void TVeskAppForm::layoutClientArea() {
    const int width = ClientWidth() > 0 ? ClientWidth() : 0;
    int bottom = ClientHeight();
    if (StatusBar) {
        StatusBar->SetBounds(0, bottom - StatusBar->Height(), width, StatusBar->Height());
        bottom -= StatusBar->Height();
    }
    if (!Memo1) return;
    const int height = bottom - kToolBarHeight;
    Memo1->SetBounds(0, kToolBarHeight, width, height > 0 ? height : 0);
}

LayoutReader::Handlers TVeskAppForm::handlers() {
    using Method = void (TVeskAppForm::*)(TComponent&);
    const std::pair<const char*, Method> methods[] = {
        {"FileNew1Execute", &TVeskAppForm::FileNew1Execute},
        {"FileOpen1Execute", &TVeskAppForm::FileOpen1Execute},
        {"FileSave1Execute", &TVeskAppForm::FileSave1Execute},
        {"FileSaveAs1Execute", &TVeskAppForm::FileSaveAs1Execute},
        {"FileSend1Execute", &TVeskAppForm::FileSend1Execute},
        {"FileExit1Execute", &TVeskAppForm::FileExit1Execute},
        {"HelpAbout1Execute", &TVeskAppForm::HelpAbout1Execute},
        {"N24Click", &TVeskAppForm::N24Click},
        {"N13Click", &TVeskAppForm::N13Click},
        {"N6Click", &TVeskAppForm::N6Click},
        {"N22Click", &TVeskAppForm::N22Click},
        {"N23Click", &TVeskAppForm::N23Click},
        {"ToolButton10Click", &TVeskAppForm::ToolButton10Click},
        {"ToolButton11Click", &TVeskAppForm::ToolButton11Click},
    };
    LayoutReader::Handlers bound;
    for (const auto& entry : methods) {
        const auto method = entry.second;
        bound.emplace(entry.first, TNotifyEvent([this, method](TComponent& sender) { (this->*method)(sender); }));
    }
    return bound;
}

// Waiting for the editor: New clears the document and sets Encrypt on, Decrypt off.
void TVeskAppForm::FileNew1Execute(TComponent& /*sender*/) {}

// Waiting for the open dialog and the editor.
void TVeskAppForm::FileOpen1Execute(TComponent& /*sender*/) {}
void TVeskAppForm::N24Click(TComponent& /*sender*/) {}

// Waiting for the save dialog and the editor.
void TVeskAppForm::FileSave1Execute(TComponent& /*sender*/) {}
void TVeskAppForm::FileSaveAs1Execute(TComponent& /*sender*/) {}

// Its entry and button stay disabled for the whole run, so it never runs.
void TVeskAppForm::FileSend1Execute(TComponent& /*sender*/) {}

// No question about unsaved text: the window closes and the program ends.
void TVeskAppForm::FileExit1Execute(TComponent& /*sender*/) { Close(); }

void TVeskAppForm::HelpAbout1Execute(TComponent& /*sender*/) {
    if (AboutBox) AboutBox->ShowModal();
}

// Waiting for the print dialog.
void TVeskAppForm::N13Click(TComponent& /*sender*/) {}

// Waiting for the editor's word wrap.
void TVeskAppForm::N6Click(TComponent& /*sender*/) {}

// Nothing is reported when no program takes the address.
void TVeskAppForm::N22Click(TComponent& /*sender*/) { Application().GetHost().openAddress(kHomePageAddress, Native()); }
void TVeskAppForm::N23Click(TComponent& /*sender*/) { Application().GetHost().openAddress(kMailtoAddress, Native()); }

// Waiting for the editor, whose document the cipher runs over with Gauge1 as its progress.
void TVeskAppForm::ToolButton10Click(TComponent& /*sender*/) {}
void TVeskAppForm::ToolButton11Click(TComponent& /*sender*/) {}

}  // namespace zozuz
