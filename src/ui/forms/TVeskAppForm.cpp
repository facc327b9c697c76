#include "ui/forms/TVeskAppForm.h"

#include "ui/forms/VeskAppLayout.h"

namespace zozuz {

TVeskAppForm::TVeskAppForm(TApplication& application) : TForm(application) {
    LayoutReader(*this, handlers()).Read(veskAppFormLayout());
    ActionList1 = dynamic_cast<TActionList*>(FindComponent("ActionList1"));
    ImageList1 = dynamic_cast<TImageList*>(FindComponent("ImageList1"));
    MainMenu1 = dynamic_cast<TMainMenu*>(FindComponent("MainMenu1"));
    ToolBar1 = dynamic_cast<TToolBar*>(FindComponent("ToolBar1"));
    ToolButton10 = dynamic_cast<TToolButton*>(FindComponent("ToolButton10"));
    ToolButton11 = dynamic_cast<TToolButton*>(FindComponent("ToolButton11"));
    OpenDialog = dynamic_cast<TOpenDialog*>(FindComponent("OpenDialog"));
    SaveDialog = dynamic_cast<TSaveDialog*>(FindComponent("SaveDialog"));
    PrintDialog1 = dynamic_cast<TPrintDialog*>(FindComponent("PrintDialog1"));
    N6 = dynamic_cast<TMenuItem*>(FindComponent("N6"));
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

// The toolbar keeps its height along the whole top edge and the status line along the bottom one;
// the editor takes what is left between them. A window too small for both lets the status line
// run over the top.
void TVeskAppForm::layoutClientArea() {
    const int width = ClientWidth() > 0 ? ClientWidth() : 0;
    if (ToolBar1) ToolBar1->SetBounds(0, 0, width, ToolBar1->Height());
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

}  // namespace zozuz
