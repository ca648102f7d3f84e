#include "storefiles.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace storefiles {

ChildEnd runInChild(const std::function<int()>& body, int timeoutMs) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body()); // no test framework or static destructors in the child
    ChildEnd end;
    if (pid < 0)
        return end;
    int status = 0;
    for (int waited = 0;; waited += 10) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            break;
        if (waited >= timeoutMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            end.timedOut = true;
            return end;
        }
        usleep(10 * 1000);
    }
    if (WIFEXITED(status))
        end.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        end.signal = WTERMSIG(status);
    return end;
}

} // namespace storefiles
