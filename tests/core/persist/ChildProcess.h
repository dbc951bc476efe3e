// Runs a piece of a test in a forked child with a time limit, for what may block for ever (a named pipe)
// or end the process (a file-size limit): the test sees how the child ended instead of hanging or dying.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace tolvex::testing {

struct ChildEnd {
    bool exited = false;  // false: ended by a signal (SIGALRM when it ran out of time)
    int status = -1;      // the exit status, or the signal
    std::string text;     // what the child's body wrote into its `text`
};

// `body(text)` runs in the child and returns its exit status; `text` comes back to the parent.
template <class Body>
ChildEnd runInChild(Body body, unsigned seconds = 20) {
    int channel[2];
    if (::pipe(channel) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        ::alarm(seconds);
        std::string text;
        const int status = body(text);
        if (::write(channel[1], text.data(), text.size()) < 0) ::_exit(125);
        ::_exit(status);
    }
    ::close(channel[1]);
    ChildEnd end;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        end.text.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return end;
    end.exited = WIFEXITED(status);
    end.status = end.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return end;
}

}  // namespace tolvex::testing
