// Each command's output and exit status on the simulated board, in virtual time.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::AllOf;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

ToolResult onBench(std::vector<std::string> args, const std::string &input = "") {
    args.insert(args.begin(), {"--bench", virtualBench()});
    return runTool(args, input);
}

TEST(Commands, InfoNamesVersionDriverAndSlot) {
    const ToolResult result = runTool({"--slot", "2", "info"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, AllOf(StartsWith("orvex "), HasSubstr("library: 0."),
                                  HasSubstr(SIMULATED_BOARD_NAME),
                                  HasSubstr("driver status: loaded"), HasSubstr("slot: 2")));
}

TEST(Commands, InfoSaysWhyTheDriverCannotLoad) {
    const ToolResult result = runTool({"--driver", "/nonexistent/libnidaqmx.so", "info"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.out, AllOf(HasSubstr("/nonexistent/libnidaqmx.so"),
                                  HasSubstr("Error = -20039"), HasSubstr("slot: 2")));
}

TEST(Commands, PortsAndLinesReadTheStandAndDriveOutputs) {
    // Line 0 held high, switch S2 (line 5) pressed, the other switches released.
    EXPECT_EQ(onBench({"port", "read", "1"}).out, "0xD1 11010001\n");
    EXPECT_EQ(onBench({"line", "get", "1.5"}).out, "0\n");
    EXPECT_EQ(onBench({"line", "get", "1.4"}).out, "1\n");

    const ToolResult script = onBench({"run", "-"}, "port write 0 0xA5\n"
                                                    "port read 0\n"
                                                    "port write 0 0b11\n"
                                                    "port read 0\n"
                                                    "port mask 2 15   # lines 0 to 3 drive\n"
                                                    "port write 2 5\n"
                                                    "port read 2\n"
                                                    "line set 2.1 1\n"
                                                    "line get 2.1\n"
                                                    "line set 2.0 0\n"
                                                    "port read 2\n");
    EXPECT_EQ(script.status, 0) << script.err;
    EXPECT_EQ(script.out, "0xA5 10100101\n"
                          "0x03 00000011\n"
                          "0x05 00000101\n"
                          "1\n"
                          "0x06 00000110\n");
}

TEST(Commands, SinglePointAnalogInVolts) {
    EXPECT_EQ(onBench({"ai", "read", "ai5"}).out, "1.250000\n");
    const ToolResult repeated = onBench({"ai", "read", "5", "--count", "3", "--interval", "0"});
    EXPECT_EQ(repeated.status, 0) << repeated.err;
    EXPECT_EQ(repeated.out, "1.250000\n1.250000\n1.250000\n");
    // ao0 is wired to ai0; -1.25 V is one of the converter's codes at ±10 V.
    const ToolResult wired = onBench({"run", "-"}, "ao write ao0 -1.25\nai read ai0\n");
    EXPECT_EQ(wired.status, 0) << wired.err;
    EXPECT_EQ(wired.out, "-1.250000\n");
}

TEST(Commands, GenerationRunsForItsDurationAndStops) {
    const ToolResult result =
        onBench({"ao", "generate", "1", "--rate", "1000", "--square", "10,1", "--duration", "0.1"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
}

TEST(Commands, AStoppedGenerationCannotBeStoppedAgain) {
    const ToolResult result = onBench({"run", "-"}, "ao generate 0 --rate 1000 --sine 10,1\n"
                                                    "ao stop 0\n"
                                                    "ao stop 0\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, AllOf(HasSubstr("Error = -1, "), HasSubstr(":3: this line failed")));
}

// The generation a script leaves running is stopped when the tool ends; a stop the board
// refuses is a failure of the run, not a quiet success.
TEST(Commands, AGenerationThatCannotBeStoppedAtTheEndFailsTheRun) {
    const std::string bench = std::string(CLI_TEST_DATA) + "/stop_fault_bench.json";
    const ToolResult result =
        runTool({"--bench", bench, "run", "-"}, "ao generate 0 --rate 1000 --sine 10,1\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("Error = -200088, "));
}

TEST(Commands, ADriverFaultPrintsItsErrorLineAndFails) {
    const std::string bench = std::string(CLI_TEST_DATA) + "/read_fault_bench.json";
    const ToolResult result =
        runTool({"--bench", bench, "ai", "acquire", "0", "--rate", "1000", "--samples", "5000"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("Error = -200279, "));
    // The samples fetched before the fault are all there.
    EXPECT_THAT(result.out, HasSubstr("\n100,"));
}

// Names beyond ASCII reach the tool whole, from its command line and from a script, and
// name its files and the simulated board's (on Windows through the wide command line and
// the UTF-16 file and environment interfaces, not the code page).
TEST(Commands, FileNamesBeyondAscii) {
    ScratchFolder folder;
    const std::string bench = folder.file("стенд – ü.json");
    const std::string journal = folder.file("журнал ü.log");
    const std::string script = folder.file("скрипт.txt");
    const std::string samples = folder.file("данные_ü.csv");
    writeFile(bench, readFile(virtualBench()));
    writeFile(script, "ai acquire 5 --rate 1000 --samples 3 -o " + samples + "\n");
    const ToolResult result = runTool({"--bench", bench, "--journal", journal, "run", script});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(readFile(samples), HasSubstr("sample,volts\n0,1.250000\n1,1.250000\n2,1.250000\n"));
    EXPECT_THAT(readFile(journal), HasSubstr("DAQmxCreateAIVoltageChan("));
}

TEST(Commands, HelpOfEveryCommandIsComplete) {
    const std::vector<std::vector<std::string>> commands = {{},
                                                            {"info"},
                                                            {"port", "read"},
                                                            {"port", "write"},
                                                            {"port", "mask"},
                                                            {"line", "get"},
                                                            {"line", "set"},
                                                            {"ai", "read"},
                                                            {"ai", "acquire"},
                                                            {"ao", "write"},
                                                            {"ao", "generate"},
                                                            {"ao", "stop"},
                                                            {"run"}};
    for (auto args : commands) {
        args.push_back("--help");
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.status, 0) << args.front();
        EXPECT_THAT(result.out, HasSubstr("Usage:")) << args.front();
    }
    EXPECT_THAT(runTool({"ai", "acquire", "--help"}).out,
                AllOf(HasSubstr("--rate"), HasSubstr("--samples"), HasSubstr("--duration"),
                      HasSubstr("--trigger"), HasSubstr("--level"), HasSubstr("--timeout"),
                      HasSubstr("--format"), HasSubstr("--output"), HasSubstr("--header")));
    EXPECT_THAT(runTool({"--help"}).out,
                AllOf(HasSubstr("--driver"), HasSubstr("--slot"), HasSubstr("--bench"),
                      HasSubstr("--journal"), HasSubstr("--quiet"), HasSubstr("--version"),
                      HasSubstr("Exit status")));
    const ToolResult version = runTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_THAT(version.out, StartsWith("orvex "));
}

} // namespace
