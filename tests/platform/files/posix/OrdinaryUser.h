#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zozuz {

// The user id and group id that the tests take when they give up the administrator's rights.
inline constexpr uid_t kOrdinaryUser = 65534;

// Runs `check` in a child process that has given up the administrator's rights (when it had them),
// and returns 0 when the check held, 1 when it did not, 2 when the rights could not be given up, 3
// when the child did not end normally (an uncaught error, for instance).
template <typename Check>
int asOrdinaryUser(Check check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(kOrdinaryUser, kOrdinaryUser, kOrdinaryUser) != 0 ||
                                 ::setresuid(kOrdinaryUser, kOrdinaryUser, kOrdinaryUser) != 0))
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 3;
    return WEXITSTATUS(status);
}

}  // namespace zozuz
