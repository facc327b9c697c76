#include "app/AppWindow.h"

#include "app/TApplication.h"

namespace zozuz {

AppWindow::AppWindow(TApplication& application) : application_(application) {
    application_.registerWindow(this);
}

AppWindow::~AppWindow() { application_.unregisterWindow(this); }

void AppWindow::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        application_.HandleException(this);
    }
}

}  // namespace zozuz
