#include "child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::chrono::steady_clock::time_point after(double seconds) {
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(
               std::chrono::duration<double>(seconds));
}

} // namespace

ChildProcess::ChildProcess(const std::function<void(ChildProcess &)> &body) {
    int toChild[2];
    int toParent[2];
    if (pipe(toChild) != 0 || pipe(toParent) != 0) {
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        close(toChild[1]);
        close(toParent[0]);
        readFd_ = toChild[0];
        writeFd_ = toParent[1];
        body(*this);
        // No exit handlers: they belong to the test process it was copied from.
        _exit(0);
    }
    close(toChild[0]);
    close(toParent[1]);
    readFd_ = toParent[0];
    writeFd_ = toChild[1];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        killHard();
    }
    close(readFd_);
    close(writeFd_);
}

void ChildProcess::tell(const std::string &line) {
    std::string text = line + "\n";
    ssize_t ignored = write(writeFd_, text.data(), text.size());
    (void)ignored;
}

std::string ChildProcess::hear(double timeoutSeconds) {
    auto deadline = after(timeoutSeconds);
    while (pending_.find('\n') == std::string::npos) {
        pollfd wait{readFd_, POLLIN, 0};
        if (poll(&wait, 1, millisecondsLeft(deadline)) <= 0) {
            return "(timeout)";
        }
        char buffer[256];
        ssize_t got = read(readFd_, buffer, sizeof buffer);
        if (got <= 0) {
            return "(ended)";
        }
        pending_.append(buffer, static_cast<size_t>(got));
    }
    size_t end = pending_.find('\n');
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

void ChildProcess::killHard() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

int ChildProcess::waitForExit(double timeoutSeconds) {
    auto deadline = after(timeoutSeconds);
    while (pid_ > 0) {
        int status = 0;
        pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (millisecondsLeft(deadline) == 0) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}
