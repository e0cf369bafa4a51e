#pragma once
// Work run in a child process, as a second run of the program would be: the
// child may be killed in the middle, as a crash or a power cut would end it.

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace kal::test {

// Runs `work` in a child process and returns its wait status; the child
// exits with what `work` returns (3 when it raised).
inline int InChild(const std::function<int()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        int code = 3;
        try {
            code = work();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

// True when the child ended by SIGKILL (a crash or a power cut, as a test
// plays it), as a wait status tells.
inline bool KilledBySigkill(int status)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// True when the child ran its work to the end and returned 0.
inline bool EndedWell(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace kal::test
