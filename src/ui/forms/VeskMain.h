#pragma once

#include "platform/host/Host.h"

namespace zozuz {

// The program's start code on a given host: initialise, create the main window and then the About
// box, run the event loop until the main window closes, and shut down. Returns the process exit
// code: 0 after a normal end, 1 after an error the program could not carry on from.
int runZozuz(Host& host);

}  // namespace zozuz
