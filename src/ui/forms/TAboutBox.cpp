#include "ui/forms/TAboutBox.h"

namespace zozuz {

TAboutBox::TAboutBox(TApplication& application) : TForm(application) {
    BeginLoading();
    SetName("AboutBox");
    SetCaption("关于zozuz");
    SetBorderStyle(WindowFrame::Dialog);
    SetClientSize(298, 209);
    SetColor(clBtnFace);
    SetFont(Font{"宋体", 13, Font::Charset::GB2312, 0x000000, false});
    SetPosition(TPosition::poScreenCenter);
    EndLoading();
}

}  // namespace zozuz
