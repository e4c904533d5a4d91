#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Runs `check` in a child process as an ordinary user, for whom a read-only folder is read-only
// even when the tests run as root; true when it returned true there.
inline bool asUnprivileged(const std::function<bool()>& check)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
