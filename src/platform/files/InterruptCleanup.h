#pragma once

namespace zozuz {

// Makes an interrupt (Ctrl-C), a termination request or a hang-up remove every temporary file the
// files layer has given a name and not yet put in place, and then end the process by that signal,
// as command-line tools do. The program itself does not call this: its saves are short, and a
// desktop program that is asked to end finishes what it is doing first.
void removeTemporaryFilesOnInterrupt();

}  // namespace zozuz
