#pragma once

#include "app/TApplication.h"
#include "ui/toolkit/TForm.h"

namespace zozuz {

// The main window: the program's whole working surface. It is created first and so becomes the
// application's main window; closing it ends the program without a question. For now it is the
// bare window; its editor, menus, toolbar, status line and gauge are added as components it owns.
class TVeskAppForm : public TForm {
public:
    explicit TVeskAppForm(TApplication& application);
};

}  // namespace zozuz
