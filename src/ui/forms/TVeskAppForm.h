#pragma once

#include "app/TApplication.h"
#include "ui/toolkit/TForm.h"
#include "ui/toolkit/TMemo.h"

namespace zozuz {

// The main window: the program's whole working surface. It is created first and so becomes the
// application's main window; closing it ends the program without a question. For now it holds its
// editor; its menus, toolbar, status line and gauge are added as components it owns.
class TVeskAppForm : public TForm {
public:
    // The toolbar's and the status line's heights, between which the editor fills the window.
    static constexpr int kToolBarHeight = 30;
    static constexpr int kStatusBarHeight = 19;

    explicit TVeskAppForm(TApplication& application);

    // The editor, which holds the document; owned by the window.
    TMemo* Memo1 = nullptr;

    void HandleNeeded() override;

protected:
    void Resized() override;

private:
    void layoutMemo();
};

}  // namespace zozuz
