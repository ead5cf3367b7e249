#include "tool_process.h"

#include "child_process.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace {

std::filesystem::path fromUtf8(const std::string &utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

std::string toUtf8(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::uintptr_t startTool(const std::vector<std::string> &args, const ScratchFolder &streams,
                         const std::string &input, const std::vector<std::string> &launcher) {
    writeFile(streams.file("in"), input);
    std::vector<std::string> line = launcher;
    line.push_back(ORVEX_TOOL);
    line.insert(line.end(), args.begin(), args.end());
    return startChild(line, streams.file("in"), streams.file("out"), streams.file("err"));
}

ToolResult waitFor(std::uintptr_t child, const ScratchFolder &streams) {
    ToolResult result;
    result.status = waitForChild(child);
    result.out = readFile(streams.file("out"));
    result.err = readFile(streams.file("err"));
    return result;
}

} // namespace

ScratchFolder::ScratchFolder() {
    std::random_device random;
    const auto temporary = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = temporary / ("orvex-cli-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path = toUtf8(candidate);
            return;
        }
    }
    throw std::runtime_error("no scratch folder");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(fromUtf8(path), ignored);
}

std::string readFile(const std::string &path) {
    std::ifstream file(fromUtf8(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const std::string &path, const std::string &text) {
    std::ofstream(fromUtf8(path), std::ios::binary) << text;
}

std::string virtualBench() {
    return std::string(CLI_TEST_DATA) + "/virtual_bench.json";
}

ToolProcess::ToolProcess(const std::vector<std::string> &args, const std::string &input)
    : child(startTool(args, streams, input, {})) {}

ToolProcess::~ToolProcess() {
    if (child != 0) {
        killChild(child);
    }
}

void ToolProcess::signal(int number) const {
    stopChild(child, number);
}

ToolResult ToolProcess::finish() {
    const ToolResult result = waitFor(child, streams);
    child = 0;
    return result;
}

std::optional<ToolResult> ToolProcess::finishWithin(double seconds) {
    if (!childEndsWithin(child, seconds)) {
        return std::nullopt;
    }
    return finish();
}

ToolResult runTool(const std::vector<std::string> &args, const std::string &input) {
    ScratchFolder streams;
    return waitFor(startTool(args, streams, input, {}), streams);
}

std::optional<ToolResult> runToolWithin(double seconds, const std::vector<std::string> &args,
                                        const std::string &input) {
    ToolProcess tool(args, input);
    return tool.finishWithin(seconds);
}

#ifndef _WIN32
ToolResult runToolWithFileLimit(const std::vector<std::string> &args, long fileSizeLimit) {
    ScratchFolder streams;
    // The limit is set in a shell so it binds the tool alone.
    const std::vector<std::string> shell = {"/bin/sh", "-c",
                                            "ulimit -f " + std::to_string(fileSizeLimit / 512) +
                                                " && exec \"$0\" \"$@\""};
    return waitFor(startTool(args, streams, "", shell), streams);
}
#endif
