#pragma once
// Work run in a child process, as a second run of the program would be: the
// child may be killed in the middle, as a crash or a power cut would end it.

#include <QByteArray>
#include <QString>

#include <csignal>
#include <functional>
#include <grp.h>
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

// Runs `work` in a child process as a user without the rights of the
// files' owner (as root, the child gives them up for nobody's) and returns
// the text the work gave; a text beginning "#skip" when the rights cannot be
// given up. The text must fit in a pipe: the child ends before it is read.
inline QString InChildAsNobody(const std::function<QString()>& work)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return QStringLiteral("#skip no pipe");
    InChild([&] {
        ::close(pipeFds[0]);
        const bool rightsGivenUp =
            ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
        const QByteArray text = rightsGivenUp ? work().toUtf8() : QByteArrayLiteral("#skip root cannot give up its rights");
        return ::write(pipeFds[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1;
    });
    ::close(pipeFds[1]);
    QByteArray text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, int(n));
    ::close(pipeFds[0]);
    return QString::fromUtf8(text);
}

} // namespace kal::test
