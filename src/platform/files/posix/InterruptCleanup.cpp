#include "platform/files/InterruptCleanup.h"

#include <csignal>
#include <initializer_list>

#include "platform/files/posix/PendingTemporaries.h"

namespace zozuz {

namespace {

// Removes the files and ends the process by the same signal, now with the system's own action, so
// that whoever started it sees the signal (exit status 128 + n in a shell).
extern "C" void removeAndDie(int signal) {
    PendingTemporaries::unlinkAll();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

}  // namespace

void removeTemporaryFilesOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = removeAndDie;
    ::sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaddset(&action.sa_mask, signal);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        // A signal the starter chose to ignore (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace zozuz
