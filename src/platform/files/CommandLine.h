#pragma once

#include <string>
#include <vector>

namespace zozuz {

// The arguments the program was started with, after its own name, as UTF-8 like every file name in
// the program. On Windows they are read from the system's wide command line, so that a file name
// in any script survives; elsewhere they are `argv` as it is.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Makes standard input and output carry bytes unchanged (Windows would otherwise turn line breaks
// into CR LF and stop reading at a Ctrl+Z byte). Nothing to do elsewhere.
void useBinaryStandardStreams();

// Whether a descriptor is a terminal (a console window on Windows).
bool isTerminal(int fd);

}  // namespace zozuz
