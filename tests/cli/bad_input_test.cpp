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

// A scan's channel list, ranges, terminals, rate and trigger are checked before the
// board is touched.
std::vector<std::string> scan(const std::string &channels, std::vector<std::string> options = {}) {
    std::vector<std::string> line = {"ai",   "acquire",   channels, "--rate",
                                     "1000", "--samples", "10"};
    line.insert(line.end(), options.begin(), options.end());
    return line;
}

TEST(BadInput, ScanChannelLists) {
    expectUsageError(scan("ai0,ai16"), "channel 'ai16' is not ai0 to ai15");
    expectUsageError(scan("ai14:ai17"), "channel 'ai17' is not ai0 to ai15");
    expectUsageError(scan("ai0:3,ai2"), "ai2 is in the channel list twice");
    expectUsageError(scan("ai0,,ai1"), "has an empty entry");
    expectUsageError(scan("ai0,ai8", {"--terminal", "ai0=diff"}),
                     "ai8 is the differential partner of ai0, so it cannot be in the list too");
    expectUsageError(scan("ai8:9", {"--terminal", "diff"}),
                     "ai8 cannot be differential: the pairs are ai0 to ai7");
    expectUsageError(scan("ai0,ai1", {"--terminal", "ai0=floating"}),
                     "terminal 'floating' is not rse, nrse or diff");
    expectUsageError(scan("ai0,ai1", {"--range", "ai5=1"}),
                     "--range 'ai5=1': ai5 is not in the channel list");
    expectUsageError(scan("ai0,ai1", {"--range", "ai1=1", "--range", "ai1=2"}),
                     "--range for ai1 is given twice");
}

TEST(BadInput, ScanRanges) {
    for (const char *range : {"10.5", "0", "-1", "ai1=20", "ai1=0"}) {
        expectUsageError(scan("ai0,ai1", {"--range", range}), "is not above 0 V and at most 10 V");
    }
    expectUsageError(scan("ai0,ai1", {"--range", "small"}), "range 'small' is not a number");
}

TEST(BadInput, ScanRatesBeyondTheBoard) {
    for (const char *rate : {"0", "-5"}) {
        expectUsageError({"ai", "acquire", "ai0:3", "--rate", rate, "--samples", "10"},
                         std::string("rate '") + rate + "'");
    }
    expectUsageError({"ai", "acquire", "ai0:15", "--rate", "62501", "--samples", "10"},
                     "16 channels at 62501 S/s are 1.00002 MS/s in all, above the board's "
                     "1.00 MS/s in all");
    expectUsageError({"ai", "acquire", "ai9", "--rate", "1250001", "--samples", "10"},
                     "above the board's 1.25 MS/s for a scan of one channel");
}

TEST(BadInput, ScanTriggers) {
    expectUsageError(scan("ai0,ai1", {"--trigger", "PFI16"}),
                     "channel 'PFI16' is not PFI0 to PFI15");
    expectUsageError(scan("ai0,ai1", {"--trigger", "ai0", "--slope", "up"}),
                     "slope 'up' is not rising or falling");
}

// What the library refuses in a scan's set-up is the user's input too.
TEST(BadInput, ALevelTheLibraryRefusesIsAUsageError) {
    const ToolResult result =
        runTool({"--bench", virtualBench(), "ai", "acquire", "ai0,ai1", "--rate", "1000",
                 "--samples", "10", "--trigger", "ai0", "--level", "11"});
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_THAT(result.err, HasSubstr("Try 'orvex ai acquire --help'."));
}

TEST(BadInput, InStepGenerations) {
    expectUsageError({"ao", "generate", "0", "--sine", "100,1", "--in-step", "--share-clock"},
                     "--in-step arms a generation for the next 'ai acquire' of a run script");
    expectUsageError({"ao", "generate", "0", "--rate", "1000", "--sine", "100,1", "--share-clock"},
                     "--share-clock goes with --in-step");
    expectUsageError({"ao", "generate", "0", "--sine", "100,1"}, "give --rate");
    const std::vector<std::pair<std::string, std::string>> lines = {
        {"ao generate 0 --sine 100,1 --in-step --share-clock --rate 1000", "leave out --rate"},
        {"ao generate 0 --sine 100,1 --in-step", "give --rate, or --share-clock"},
        {"ao generate 0 --sine 100,1 --in-step --share-clock --duration 1", "leave out --duration"},
        {"ao generate 0 --rate 1000 --sine 100,11 --in-step", "outside"},
        {"ao generate 0 --sine 100,1 --in-step --share-clock\n"
         "ao generate 0 --sine 50,1 --in-step --share-clock",
         "ao0 is armed in step already"},
        {"ao generate 0 --sine 100,1 --in-step --share-clock\n"
         "ao generate 1 --rate 1000 --sine 50,1 --in-step\n"
         "ai acquire ai0 --rate 1000 --samples 10",
         "give both --share-clock, or both the same --rate"},
        {"ao generate 0 --sine 600,1 --in-step --share-clock\n"
         "ai acquire ai0 --rate 1000 --samples 10",
         "half the rate"},
    };
    for (const auto &[script, message] : lines) {
        const ToolResult result = runTool({"--bench", virtualBench(), "run", "-"}, script + "\n");
        EXPECT_EQ(result.status, 2) << script;
        EXPECT_THAT(result.err, HasSubstr(message)) << script;
    }
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
