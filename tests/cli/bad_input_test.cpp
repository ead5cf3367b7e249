// Bad input ends with one message, a hint and status 2, before anything is done; a
// failing script line stops the script with its line number.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using testing::AllOf;
using testing::HasSubstr;

namespace {

// "Try 'orvex ai acquire --help'.": the command's words only, in lower case.
bool isHint(const std::string &line) {
    const std::string start = "Try 'orvex", end = " --help'.";
    return line.size() >= start.size() + end.size() && line.starts_with(start) &&
           line.ends_with(end) &&
           std::all_of(line.begin() + static_cast<long>(start.size()),
                       line.end() - static_cast<long>(end.size()),
                       [](char c) { return c == ' ' || (c >= 'a' && c <= 'z'); });
}

// One message line, then the hint.  Checked without a regular expression: GoogleTest's
// own on Windows knows no bracket expressions.
void expectUsageError(const std::vector<std::string> &args, const std::string &message) {
    std::vector<std::string> line = {"--bench", virtualBench()};
    line.insert(line.end(), args.begin(), args.end());
    const ToolResult result = runTool(line);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.out, "") << message;
    const auto lineEnd = result.err.find('\n');
    ASSERT_NE(lineEnd, std::string::npos) << result.err;
    EXPECT_TRUE(result.err.starts_with("orvex: ")) << result.err;
    EXPECT_TRUE(result.err.ends_with("\n")) << result.err;
    EXPECT_TRUE(isHint(result.err.substr(lineEnd + 1, result.err.size() - lineEnd - 2)))
        << result.err;
    EXPECT_THAT(result.err, HasSubstr(message));
}

TEST(BadInput, UnknownCommands) {
    expectUsageError({"frobnicate"}, "unknown command 'frobnicate'");
    expectUsageError({"port", "poke", "1"}, "unknown command 'poke'");
    expectUsageError({}, "");
    expectUsageError({"ai", "read", "1", "2"}, "not expected");
    expectUsageError({"--colour", "info"}, "--colour");
}

// Help is asked for only once every word before it is known.
TEST(BadInput, UnknownWordsBeforeHelp) {
    expectUsageError({"frobnicate", "--help"}, "unknown command 'frobnicate'");
    expectUsageError({"port", "poke", "--help"}, "unknown command 'poke'");
    expectUsageError({"frobnicate", "--help-all"}, "unknown command 'frobnicate'");
    expectUsageError({"ai", "read", "0", "1", "--help"}, "argument '1' is not expected");
}

TEST(BadInput, ChannelsOutOfRange) {
    expectUsageError({"ai", "read", "8"}, "channel '8' is not ai0 to ai7");
    expectUsageError({"ai", "acquire", "ai-1", "--rate", "10", "--samples", "1"}, "channel 'ai-1'");
    expectUsageError({"ao", "write", "ao2", "1"}, "channel 'ao2' is not ao0 to ao1");
    expectUsageError({"ao", "generate", "2", "--rate", "10", "--sine", "1,1"}, "channel '2'");
    expectUsageError({"port", "read", "3"}, "port '3' is not from 0 to 2");
    expectUsageError({"line", "get", "1.8"}, "line '8' is not from 0 to 7");
    expectUsageError({"line", "get", "14"}, "is not PORT.LINE");
}

TEST(BadInput, RatesThatAreNotPositiveNumbers) {
    for (const char *rate : {"0", "-100", "fast", "1e999", "nan", ""}) {
        expectUsageError({"ai", "acquire", "0", "--rate", rate, "--samples", "10"}, "rate");
    }
    expectUsageError({"ao", "generate", "0", "--rate", "-1", "--sine", "1,1"}, "rate '-1'");
}

TEST(BadInput, MalformedValues) {
    expectUsageError({"port", "write", "0", "0x1G"}, "value '0x1G'");
    expectUsageError({"port", "write", "0", "256"}, "value '256'");
    expectUsageError({"port", "mask", "0", "-1"}, "");
    expectUsageError({"line", "set", "0.1", "2"}, "level '2' is not 0 or 1");
    expectUsageError({"ao", "write", "0", "1.5V"}, "voltage '1.5V' is not a number");
    expectUsageError({"ai", "read", "0", "--count", "0"}, "count '0'");
    expectUsageError({"ai", "acquire", "0", "--rate", "10", "--samples", "1.5"}, "samples '1.5'");
    expectUsageError({"ai", "acquire", "0", "--rate", "10"}, "give --samples or --duration");
    expectUsageError({"ai", "acquire", "0", "--rate", "10", "--samples", "5", "--duration", "1"},
                     "excludes");
    expectUsageError({"ai", "acquire", "0", "--rate", "10", "--samples", "5", "--format", "wav"},
                     "wav");
    expectUsageError({"ai", "acquire", "0", "--rate", "10", "--samples", "5", "--level", "high"},
                     "level 'high'");
    expectUsageError({"ao", "generate", "0", "--rate", "1000", "--sine", "50"}, "FREQ,AMPL");
    expectUsageError({"ao", "generate", "0", "--rate", "1000", "--sine", "50,11"}, "outside");
    expectUsageError({"ao", "generate", "0", "--rate", "1000", "--sine", "600,1"}, "half the rate");
    expectUsageError({"ao", "generate", "0", "--rate", "1000"}, "give one of");
    expectUsageError({"ao", "generate", "0", "--rate", "1000", "--file", "/nonexistent"},
                     "cannot read wave file");
}

TEST(BadInput, NegativeTimes) {
    expectUsageError({"ai", "read", "0", "--interval", "-1"}, "interval '-1'");
    expectUsageError({"ai", "acquire", "0", "--rate", "10", "--samples", "5", "--timeout", "-1"},
                     "timeout '-1'");
}

// A value of any size is echoed in its first 60 characters; the parser's own messages,
// which list every word left over, are cut as well.
TEST(BadInput, MessagesEchoOnlyTheStartOfAHugeValue) {
    const std::string huge(100000, 'v');
    const std::string echo = "'" + huge.substr(0, 60) + "\xE2\x80\xA6'";
    const std::vector<std::pair<std::string, std::string>> lines = {
        {"ao write 0 " + huge, "voltage " + echo + " is not a number"},
        {"port write 0 " + huge, "value " + echo},
        {"ao generate 0 --rate 1000 --sine " + huge, "wave " + echo},
        {"ai acquire 0 --rate 10 --samples 5 --format " + huge, "--format: " + huge.substr(0, 40)},
        {"ai read " + huge, "channel " + echo},
        {huge, "unknown command " + echo},
        {"ai read 0 " + huge, "not expected: " + huge.substr(0, 40)},
    };
    for (const auto &[line, message] : lines) {
        const ToolResult result = runTool({"--bench", virtualBench(), "run", "-"}, line + "\n");
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_THAT(result.err, HasSubstr(message));
        EXPECT_LT(result.err.size(), 300u) << result.err.substr(0, 300);
    }
}

TEST(BadInput, AnOutputThatCannotBeWrittenIsNotCreated) {
    ScratchFolder folder;
    const std::string missing = folder.file("no/such/folder.csv");
    expectUsageError({"ai", "acquire", "0", "--rate", "10", "--samples", "5", "-o", missing},
                     "cannot write " + missing);
    expectUsageError({"ai", "acquire", "0", "--rate", "10", "--samples", "5", "--format", "f64",
                      "-o", folder.file("ok.f64"), "--header", missing},
                     "cannot write " + missing);
    expectUsageError({"run", missing}, "cannot read script");
    EXPECT_FALSE(std::filesystem::exists(folder.file("ok.f64")) &&
                 std::filesystem::file_size(folder.file("ok.f64")) > 0);
}

TEST(Scripts, AFailingLineStopsTheScriptWithItsNumber) {
    const std::string script = "port read 1\n"
                               "\n"
                               "  # a comment\n"
                               "ai read 9\n"
                               "ai read 5\n";
    const ToolResult stopped = runTool({"--bench", virtualBench(), "run", "-"}, script);
    EXPECT_EQ(stopped.status, 2);
    EXPECT_EQ(stopped.out, "0xD1 11010001\n");
    EXPECT_THAT(stopped.err,
                AllOf(HasSubstr("channel '9'"), HasSubstr("standard input:4: this line failed")));

    const ToolResult kept =
        runTool({"--bench", virtualBench(), "run", "-", "--keep-going"}, script);
    EXPECT_EQ(kept.status, 2);
    EXPECT_EQ(kept.out, "0xD1 11010001\n1.250000\n");
}

TEST(Scripts, ABoardFailureInAScriptFileGivesStatusOne) {
    ScratchFolder folder;
    writeFile(folder.file("script"), "ao write 0 1\nao write 1 12\nao write 0 2\n");
    const ToolResult result = runTool({"--bench", virtualBench(), "run", folder.file("script")});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, AllOf(HasSubstr("Error = -"), HasSubstr("script:2: this line failed")));
}

} // namespace
