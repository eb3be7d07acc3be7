// Running a piece of a test in a child process, which may stop at any point (a run killed in the
// middle of its work).
#pragma once

#include <functional>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace talmer::test {

// Runs the function in a child process and returns its exit status (-1 when it did not exit).
inline int DansUnFils(const std::function<int()> &f)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(f());
    int etat = 0;
    if (pid < 0 || waitpid(pid, &etat, 0) != pid || !WIFEXITED(etat))
        return -1;
    return WEXITSTATUS(etat);
}

} // namespace talmer::test
