#include "platform/files/CommandLine.h"

#include <unistd.h>

namespace zozuz {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

void useBinaryStandardStreams() {}

bool isTerminal(int fd) { return ::isatty(fd) == 1; }

}  // namespace zozuz
