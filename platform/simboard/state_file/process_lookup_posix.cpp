#include "process_lookup.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>

namespace simboard {
namespace {

struct ProcessStat {
    char state = 0;
    uint64_t startTime = 0;
};

// Fields 3 (state) and 22 (start time) of /proc/<pid>/stat, where there is one.
std::optional<ProcessStat> readProcessStat(int32_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!file || !std::getline(file, text)) {
        return std::nullopt;
    }
    // The command name in parentheses may hold spaces and parentheses itself.
    size_t end = text.rfind(')');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(text.substr(end + 1));
    ProcessStat stat;
    std::string skipped;
    fields >> stat.state;
    for (int field = 4; field < 22; ++field) {
        fields >> skipped;
    }
    fields >> stat.startTime;
    return fields.fail() ? std::nullopt : std::optional(stat);
}

// The thread group of a thread, from /proc/<tid>/status; 0 when there is none.
int32_t processOfThread(int32_t threadId) {
    std::ifstream file("/proc/" + std::to_string(threadId) + "/status");
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("Tgid:", 0) == 0) {
            return static_cast<int32_t>(std::stol(line.substr(5)));
        }
    }
    return 0;
}

} // namespace

ProcessId currentProcess() {
    ProcessId id{static_cast<int32_t>(getpid()), 0};
    if (std::optional<ProcessStat> stat = readProcessStat(id.pid)) {
        id.startTime = stat->startTime;
    }
    return id;
}

bool processAlive(const ProcessId &process) {
    if (process.pid <= 0) {
        return false;
    }
    if (std::optional<ProcessStat> stat = readProcessStat(process.pid)) {
        return stat->state != 'Z' && stat->state != 'X' &&
               (process.startTime == 0 || stat->startTime == process.startTime);
    }
    // Without /proc, the process table itself answers.
    return kill(process.pid, 0) == 0 || errno == EPERM;
}

std::string describeProcessOfThread(int32_t threadId) {
    const int32_t pid = threadId > 0 ? processOfThread(threadId) : 0;
    if (pid <= 0) {
        return "another process";
    }
    std::optional<ProcessStat> stat = readProcessStat(pid);
    return "process " + std::to_string(pid) +
           (stat && (stat->state == 'T' || stat->state == 't') ? " (stopped)" : "");
}

} // namespace simboard
