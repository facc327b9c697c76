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
    EndLoading();
}

}  // namespace zozuz
