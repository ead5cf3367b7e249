#include "tool_process.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

ScratchFolder::ScratchFolder() {
    std::string pattern = std::filesystem::temp_directory_path() / "orvex-cli-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no scratch folder");
    }
    path = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::filesystem::remove_all(path);
}

std::string readFile(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string virtualBench() {
    return std::string(CLI_TEST_DATA) + "/virtual_bench.json";
}

namespace {

pid_t spawnTool(const std::vector<std::string> &args, const ScratchFolder &streams,
                const std::string &input, long fileSizeLimit) {
    writeFile(streams.file("in"), input);
    std::vector<std::string> line;
    if (fileSizeLimit > 0) {
        // The limit is set in a shell so it binds the tool alone.
        line = {"/bin/sh", "-c",
                "ulimit -f " + std::to_string(fileSizeLimit / 512) + " && exec \"$0\" \"$@\"",
                ORVEX_TOOL};
    } else {
        line = {ORVEX_TOOL};
    }
    line.insert(line.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (auto &arg : line) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, streams.file("in").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, streams.file("out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, streams.file("err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start the tool");
    }
    return pid;
}

ToolResult waitFor(pid_t pid, const ScratchFolder &streams) {
    int status = 0;
    waitpid(pid, &status, 0);
    ToolResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(streams.file("out"));
    result.err = readFile(streams.file("err"));
    return result;
}

} // namespace

ToolProcess::ToolProcess(const std::vector<std::string> &args, const std::string &input)
    : pid(spawnTool(args, streams, input, 0)) {}

ToolProcess::~ToolProcess() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

void ToolProcess::signal(int number) const {
    kill(pid, number);
}

ToolResult ToolProcess::finish() {
    const ToolResult result = waitFor(pid, streams);
    pid = -1;
    return result;
}

ToolResult runTool(const std::vector<std::string> &args, const std::string &input) {
    ScratchFolder streams;
    return waitFor(spawnTool(args, streams, input, 0), streams);
}

ToolResult runToolWithFileLimit(const std::vector<std::string> &args, long fileSizeLimit) {
    ScratchFolder streams;
    return waitFor(spawnTool(args, streams, "", fileSizeLimit), streams);
}
