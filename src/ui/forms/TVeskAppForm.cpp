#include "ui/forms/TVeskAppForm.h"

namespace zozuz {

TVeskAppForm::TVeskAppForm(TApplication& application) : TForm(application) {
    BeginLoading();
    SetName("VeskAppForm");
    SetCaption("zozuz");
    // Placed where it was designed, not centred.
    SetBounds(193, 135, 570, 385);
    SetColor(clBtnFace);
    SetFont(Font{"仿宋_GB2312", 13, Font::Charset::GB2312, 0x000000, false});
    Memo1 = new TMemo(this);
    Memo1->SetName("Memo1");
    Memo1->SetParent(this);
    Memo1->SetParentFont(false);
    Memo1->SetFont(Font{"宋体", 16, Font::Charset::GB2312, 0x000000, false});
    EndLoading();
    // The editor takes the keyboard when the window is first activated.
    Memo1->SetFocus();
}

void TVeskAppForm::HandleNeeded() {
    TForm::HandleNeeded();
    layoutMemo();
    Memo1->HandleNeeded();
}

void TVeskAppForm::Resized() { layoutMemo(); }

void TVeskAppForm::layoutMemo() {
    if (!Memo1) return;
    const int height = ClientHeight() - kToolBarHeight - kStatusBarHeight;
    Memo1->SetBounds(0, kToolBarHeight, ClientWidth() > 0 ? ClientWidth() : 0, height > 0 ? height : 0);
}

}  // namespace zozuz
