#include <csignal>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "platform/files/CommandLine.h"
#include "platform/files/InterruptCleanup.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A closed pipe on the output is reported as a write error instead of ending the process silently.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // An interrupted run leaves no temporary file behind and ends by its signal.
    zozuz::removeTemporaryFilesOnInterrupt();
    // The bytes go through unchanged, also on systems whose standard streams are text by default.
    zozuz::useBinaryStandardStreams();
    const std::vector<std::string> arguments = zozuz::commandLineArguments(argc, argv);
    zozuz::CliApp app({0, 1, 2, zozuz::isTerminal(2)});
    try {
        return app.run(arguments);
    } catch (...) {
        // Only writing the usage or an error message itself can fail here; nothing more can be said.
        return zozuz::CliApp::kFailure;
    }
}
