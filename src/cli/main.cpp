#include <csignal>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/CliApp.h"
#include "platform/files/InterruptCleanup.h"

int main(int argc, char** argv) {
    // A closed pipe on the output is reported as a write error instead of ending the process silently.
    std::signal(SIGPIPE, SIG_IGN);
    // An interrupted run leaves no temporary file behind and ends by its signal.
    zozuz::removeTemporaryFilesOnInterrupt();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    zozuz::CliApp app({STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO, ::isatty(STDERR_FILENO) == 1});
    try {
        return app.run(arguments);
    } catch (...) {
        // Only writing the usage or an error message itself can fail here; nothing more can be said.
        return zozuz::CliApp::kFailure;
    }
}
