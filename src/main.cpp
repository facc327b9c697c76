// zozuz, the desktop program: the program's windows on the desktop's host, Qt on Linux and the
// system's own windows on Windows.
#include "base/VersionRecord.h"
#ifdef _WIN32
#include "hosts/win32/Win32Host.h"
#else
#include "hosts/qt/QtHost.h"
#endif
#include "ui/forms/VeskMain.h"

int main(int argc, char** argv) {
    // The version is answered before the desktop is touched, so that it works without a display.
    if (const auto status = zozuz::VersionRecord::answer(argc, argv, "zozuz")) return *status;
    // The host owns the desktop connection; it outlives the application object that runZozuz
    // makes, and every window of it.
#ifdef _WIN32
    zozuz::Win32Host host;
#else
    zozuz::QtHost host(argc, argv);
#endif
    return zozuz::runZozuz(host);
}
