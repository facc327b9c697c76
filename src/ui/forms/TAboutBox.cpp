#include "ui/forms/TAboutBox.h"

#include "platform/host/Host.h"
#include "ui/forms/AboutBoxLayout.h"
#include "ui/forms/MakerAddresses.h"
#include "ui/toolkit/windows/LayoutReader.h"

namespace zozuz {

TAboutBox::TAboutBox(TApplication& application) : TForm(application) {
    const auto bind = [this](void (TAboutBox::*method)(TControl&)) {
        return TNotifyEvent([this, method](TComponent& sender) { (this->*method)(static_cast<TControl&>(sender)); });
    };
    LayoutReader(*this, {{"Label1Click", bind(&TAboutBox::Label1Click)}, {"Label2Click", bind(&TAboutBox::Label2Click)}})
        .Read(aboutBoxLayout());
    Panel1 = &component<TPanel>("Panel1");
    ProgramIcon = &component<TImage>("ProgramIcon");
    ProductName = &component<TLabel>("ProductName");
    Version = &component<TLabel>("Version");
    Copyright = &component<TLabel>("Copyright");
    Comments = &component<TLabel>("Comments");
    Label1 = &component<TLabel>("Label1");
    Label2 = &component<TLabel>("Label2");
    OKButton = &component<TButton>("OKButton");

    // The focus waits on the button for the box's first activation.
    OKButton->SetFocus();
}

void TAboutBox::Label1Click(TControl& /*sender*/) {
    // Nothing is reported when no program takes the address: the box simply stays open.
    Application().GetHost().openAddress(kHomePageAddress, Native());
}

void TAboutBox::Label2Click(TControl& /*sender*/) { Application().GetHost().openAddress(kMailtoAddress, Native()); }

}  // namespace zozuz
