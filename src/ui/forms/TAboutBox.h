#pragma once

#include "app/TApplication.h"
#include "ui/toolkit/controls/TButton.h"
#include "ui/toolkit/controls/TControl.h"
#include "ui/toolkit/controls/TImage.h"
#include "ui/toolkit/controls/TLabel.h"
#include "ui/toolkit/controls/TPanel.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {

// The About box: a small fixed dialog, created hidden at start-up and shown modally as often as the
// user asks; the same window, with the same state, each time. The first showing is centred on the
// screen; after that it comes back where it was last hidden.
//
// It names the product and its version beside the program's picture, shows the rights notice and
// the makers, and offers two links, the home page and the mail address, which hand their address to
// the desktop and leave the box open. OKButton, the only control that takes the focus, closes it
// with OK, by click, Space or Enter; Esc does nothing, and the close box closes it with Cancel.
class TAboutBox : public TForm {
public:
    explicit TAboutBox(TApplication& application);

    // The box's components; they live as long as the box.
    TPanel* Panel1 = nullptr;
    TImage* ProgramIcon = nullptr;
    TLabel* ProductName = nullptr;
    TLabel* Version = nullptr;
    TLabel* Copyright = nullptr;
    TLabel* Comments = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TButton* OKButton = nullptr;

    // The two links: the home page, and a new mail to the maker.
    void Label1Click(TControl& sender);
    void Label2Click(TControl& sender);

private:
    // A component the stored layout made, by name.
    template <class T>
    T& component(const char* name) const {
        return dynamic_cast<T&>(*FindComponent(name));
    }
};

}  // namespace zozuz
