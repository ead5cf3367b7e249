#include "child_process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

extern char **environ;

std::uintptr_t startChild(const std::vector<std::string> &commandLine, const std::string &input,
                          const std::string &output, const std::string &error) {
    std::vector<std::string> line = commandLine;
    std::vector<char *> argv;
    for (auto &arg : line) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, error.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + commandLine.front());
    }
    return static_cast<std::uintptr_t>(pid);
}

int waitForChild(std::uintptr_t child) {
    int status = 0;
    waitpid(static_cast<pid_t>(child), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool childEndsWithin(std::uintptr_t child, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        siginfo_t info{};
        // WNOWAIT keeps the ended child for waitForChild().
        if (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid != 0) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void stopChild(std::uintptr_t child, int signal) {
    kill(static_cast<pid_t>(child), signal);
}

void killChild(std::uintptr_t child) {
    kill(static_cast<pid_t>(child), SIGKILL);
    waitpid(static_cast<pid_t>(child), nullptr, 0);
}
