#include "platform/files/InterruptCleanup.h"

#include <windows.h>

#include "platform/files/win32/PendingTemporaries.h"

namespace zozuz {

namespace {

// Ctrl+C, Ctrl+Break and closing the console window: the pending files are marked for removal and
// the system's own handling then ends the process, which closes them.
BOOL WINAPI removeAndEnd(DWORD) {
    PendingTemporaries::removeAll();
    return FALSE;
}

}  // namespace

void removeTemporaryFilesOnInterrupt() { SetConsoleCtrlHandler(removeAndEnd, TRUE); }

}  // namespace zozuz
