#include "platform/files/CommandLine.h"

#include <fcntl.h>
#include <io.h>

#include <windows.h>
#include <shellapi.h>

#include "platform/files/win32/WidePath.h"

namespace zozuz {

std::vector<std::string> commandLineArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(narrowPath(wide[i]));
    LocalFree(wide);
    return arguments;
}

void useBinaryStandardStreams() {
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
    _setmode(2, _O_BINARY);
}

bool isTerminal(int fd) { return _isatty(fd) != 0; }

}  // namespace zozuz
