#pragma once
// Runs a piece of a test in a child process, so that a regression that would block (an open that
// waits on a FIFO forever) fails the test instead of hanging the suite.

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// The child's exit status of `call` (100 + the signal when a signal ended it); -1 when the child
// had not ended after `seconds`, and it is killed then.
inline int KRN_RunWithin(int seconds, const std::function<int()>& call)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(call());
    for (int waited = 0; waited < seconds * 100; ++waited)
    {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return -1;
}
