// Ctrl-C and SIGTERM in real time: the tool ends cleanly, its file is whole and exact, and
// the journal shows every task it created stopped and released.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

using testing::HasSubstr;

namespace {

// Tasks created and not cleared, by the journal's handle numbers.
std::map<std::string, std::string> tasksLeft(const std::string &journal) {
    std::map<std::string, std::string> left;
    const std::regex created(R"re(^DAQmxCreateTask\(taskName="([^"]*)", taskHandle=(\d+)\) = 0)re");
    const std::regex cleared(R"(^DAQmxClearTask\(task=(\d+)\) = 0)");
    std::istringstream lines(journal);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, created)) {
            left[match[2]] = match[1];
        } else if (std::regex_search(line, match, cleared)) {
            left.erase(match[1]);
        }
    }
    return left;
}

TEST(RealTime, CtrlCLeavesAWholeExactFileAndNoTask) {
    ScratchFolder folder;
    ToolProcess tool({"--journal", folder.file("journal"), "ai", "acquire", "2", "--rate", "10000",
                      "--duration", "60", "-o", folder.file("ai2.csv")});
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    tool.signal(SIGINT);
    const ToolResult result = tool.finish();
    EXPECT_EQ(result.status, 0) << result.err;

    std::istringstream lines(readFile(folder.file("ai2.csv")));
    std::string line;
    std::size_t samples = 0;
    while (std::getline(lines, line)) {
        if (line.starts_with("#") || line == "sample,volts") {
            continue;
        }
        ASSERT_TRUE(line.starts_with(std::to_string(samples) + ",")) << line;
        ++samples;
    }
    EXPECT_GT(samples, 1000u);
    EXPECT_LT(samples, 600000u);
    EXPECT_THAT(result.err, HasSubstr("stopped after " + std::to_string(samples) + " samples"));
    const std::string journal = readFile(folder.file("journal"));
    EXPECT_THAT(journal, HasSubstr("DAQmxStopTask"));
    EXPECT_TRUE(tasksLeft(journal).empty());
}

TEST(RealTime, SigtermEndsAGenerationAndReleasesItsTask) {
    ScratchFolder folder;
    ToolProcess tool({"--journal", folder.file("journal"), "ao", "generate", "0", "--rate", "1000",
                      "--sine", "10,1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    tool.signal(SIGTERM);
    EXPECT_EQ(tool.finish().status, 0);
    const std::string journal = readFile(folder.file("journal"));
    EXPECT_THAT(journal, HasSubstr("DAQmxWriteAnalogF64"));
    EXPECT_THAT(journal, HasSubstr("DAQmxStopTask"));
    EXPECT_TRUE(tasksLeft(journal).empty());
}

} // namespace
