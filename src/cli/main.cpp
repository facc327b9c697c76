#include <csignal>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "platform/files/CommandLine.h"
#include "platform/files/InterruptCleanup.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that closes the pipe early ends the run by the pipe's signal, quietly, as filters
    // end (`zozuz-cli encrypt big - | head`), also when the caller left the signal ignored. Nothing
    // of the program's is left behind: output to a named file goes through a temporary file, which
    // no pipe can close.
    std::signal(SIGPIPE, SIG_DFL);
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
