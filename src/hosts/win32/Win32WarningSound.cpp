#include "hosts/win32/Win32WarningSound.h"

#include <windows.h>

namespace zozuz {

// A system without sound stays silent; the call's result says nothing the user could act on.
void Win32WarningSound::play() { MessageBeep(MB_OK); }

}  // namespace zozuz
