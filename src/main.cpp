// zozuz, the desktop program: the program's windows on the Qt host.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/VersionRecord.h"
#include "platform/qt/QtHost.h"
#include "ui/forms/VeskMain.h"

int main(int argc, char** argv) {
    // The version is answered before the desktop is touched, so that it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const std::string line = zozuz::VersionRecord::line("zozuz");
        const bool written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size();
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
    // The host owns the desktop connection; it outlives the application object that runZozuz
    // makes, and every window of it.
    zozuz::QtHost host(argc, argv);
    return zozuz::runZozuz(host);
}
