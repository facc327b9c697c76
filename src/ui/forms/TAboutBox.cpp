#include "ui/forms/TAboutBox.h"

#include <string>

#include "app/ProgramPictures.h"
#include "platform/gfx/Font.h"
#include "platform/host/Host.h"
#include "ui/forms/MakerAddresses.h"
#include "ui/toolkit/TColor.h"
#include "ui/toolkit/TCursor.h"

namespace zozuz {

namespace {

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kBlack = 0x000000;

const Font kWindowFont{"宋体", 13, Font::Charset::GB2312, kBlack, false};
const Font kLargeBlue{"宋体", 16, Font::Charset::GB2312, kBlue, false};
const Font kSmallBlue{"宋体", 13, Font::Charset::GB2312, kBlue, false};
const Font kButtonFont{"宋体", 16, Font::Charset::GB2312, kBlack, false};

}  // namespace

TAboutBox::TAboutBox(TApplication& application) : TForm(application) {
    BeginLoading();
    SetName("AboutBox");
    SetCaption("关于zozuz");
    SetBorderStyle(WindowFrame::Dialog);
    SetClientSize(298, 209);
    SetColor(clBtnFace);
    SetFont(kWindowFont);
    SetPosition(TPosition::poScreenCenter);

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(8, 8, 281, 161);
    Panel1->SetBevelOuter(TBevelCut::bvLowered);
    Panel1->SetBevelInner(TBevelCut::bvNone);
    Panel1->SetBevelWidth(1);
    Panel1->SetTabOrder(0);

    ProgramIcon = new TImage(this);
    ProgramIcon->SetName("ProgramIcon");
    ProgramIcon->SetParent(Panel1);
    ProgramIcon->SetBounds(8, 8, 64, 64);
    ProgramIcon->SetPicture(aboutPicture());

    ProductName = addLabel("ProductName", 96, 8, "青禾zozuz", kLargeBlue);
    Version = addLabel("Version", 96, 32, "Version1.0", kLargeBlue);
    Copyright = addLabel("Copyright", 16, 80, "Copyright (C) 2026 青禾", kSmallBlue);
    Comments = addLabel("Comments", 16, 104, "青禾 zozuz 开发组", kSmallBlue);
    Comments->SetBounds(16, 104, 185, 13);
    Comments->SetWordWrap(true);
    Label1 = addLabel("Label1", 16, 120, "", kSmallBlue);
    Label1->SetCaption("主页：   " + std::string(kHomePageAddress));
    Label1->SetCursor(TCursor::crHandPoint);
    Label1->OnClick = [this](TLabel& sender) { Label1Click(sender); };
    Label2 = addLabel("Label2", 16, 136, "", kSmallBlue);
    Label2->SetCaption("email： " + std::string(kMailAddress));
    Label2->SetCursor(TCursor::crHandPoint);
    Label2->OnClick = [this](TLabel& sender) { Label2Click(sender); };

    OKButton = new TButton(this);
    OKButton->SetName("OKButton");
    OKButton->SetParent(this);
    OKButton->SetBounds(118, 178, 65, 26);
    OKButton->SetCaption("确定");
    OKButton->SetDefault(true);
    OKButton->SetModalResult(mrOk);
    OKButton->SetFont(kButtonFont);
    OKButton->SetTabOrder(1);
    EndLoading();

    // The focus waits on the button for the box's first activation.
    OKButton->SetFocus();
}

TLabel* TAboutBox::addLabel(const char* name, int left, int top, const char* caption, const Font& font) {
    auto* label = new TLabel(this);
    label->SetName(name);
    label->SetParent(Panel1);
    label->SetBounds(left, top, label->Width(), label->Height());
    label->SetFont(font);
    label->SetCaption(caption);
    return label;
}

void TAboutBox::Label1Click(TControl& /*sender*/) {
    // Nothing is reported when no program takes the address: the box simply stays open.
    Application().GetHost().openAddress(kHomePageAddress, Native());
}

void TAboutBox::Label2Click(TControl& /*sender*/) { Application().GetHost().openAddress(kMailtoAddress, Native()); }

}  // namespace zozuz
