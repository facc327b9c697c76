// zozuz, the desktop program: the program's windows on the Qt host.
#include "base/VersionRecord.h"
#include "platform/qt/QtHost.h"
#include "ui/forms/VeskMain.h"

int main(int argc, char** argv) {
    // The version is answered before the desktop is touched, so that it works without a display.
    if (const auto status = zozuz::VersionRecord::answer(argc, argv, "zozuz")) return *status;
    // The host owns the desktop connection; it outlives the application object that runZozuz
    // makes, and every window of it.
    zozuz::QtHost host(argc, argv);
    return zozuz::runZozuz(host);
}
