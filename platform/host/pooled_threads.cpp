#include "host/pooled_threads.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

namespace host {
namespace {

// The name Qt gives the threads of its pools, as Linux lists them.  Where the system lists
// no threads there, nothing is awaited.
constexpr const char *pooledThreadName = "Thread (pooled)";

bool pooledThreadLeft() {
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name == pooledThreadName) {
            return true;
        }
    }
    return false;
}

void awaitPooledThreads() {
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 1s;
    while (pooledThreadLeft() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
}

} // namespace

void awaitPooledThreadsAtExit() {
    static const bool registered = std::atexit(awaitPooledThreads) == 0;
    (void)registered;
}

} // namespace host
