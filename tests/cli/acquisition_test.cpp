// Clocked acquisition to a file, in virtual time: formats, a generated wave measured back,
// the trigger, and a file that cannot take all the data.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

using testing::AllOf;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

struct Csv {
    std::vector<std::string> header;
    std::vector<double> volts;
    bool numbered = true; // the first column counts 0, 1, 2, ...
};

Csv parseCsv(const std::string &text, char separator = ',') {
    Csv csv;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && line.starts_with("#")) {
        csv.header.push_back(line);
    }
    EXPECT_EQ(line, std::string("sample") + separator + "volts");
    while (std::getline(lines, line)) {
        const auto at = line.find(separator);
        if (at == std::string::npos || std::stoull(line.substr(0, at)) != csv.volts.size()) {
            csv.numbered = false;
        }
        csv.volts.push_back(std::stod(line.substr(at + 1)));
    }
    return csv;
}

template <typename Number> std::vector<double> parseBinary(const std::string &bytes) {
    EXPECT_EQ(bytes.size() % sizeof(Number), 0u);
    std::vector<double> volts(bytes.size() / sizeof(Number));
    for (std::size_t k = 0; k < volts.size(); ++k) {
        Number value;
        std::memcpy(&value, bytes.data() + k * sizeof(Number), sizeof(Number));
        volts[k] = value;
    }
    return volts;
}

// Frequency from the first and last rising zero crossings, interpolated between samples.
double frequency(const std::vector<double> &volts, double rate) {
    std::vector<double> crossings;
    for (std::size_t k = 1; k < volts.size(); ++k) {
        if (volts[k - 1] < 0.0 && volts[k] >= 0.0) {
            crossings.push_back(static_cast<double>(k - 1) +
                                -volts[k - 1] / (volts[k] - volts[k - 1]));
        }
    }
    if (crossings.size() < 2) {
        return 0.0;
    }
    return static_cast<double>(crossings.size() - 1) * rate /
           (crossings.back() - crossings.front());
}

std::string sineScript(double frequency, const std::string &output) {
    // ao0 is wired to ai0.
    return "# a 2 V sine on ao0, measured back on ai0\n"
           "ao generate ao0 --rate 10000 --sine " +
           std::to_string(frequency) +
           ",2\n"
           "ai acquire ai0 --rate 10000 --samples 5000 --output " +
           output + "\n";
}

TEST(Acquisition, AScriptMeasuresTheSineItGenerates) {
    // 50 Hz is 200 samples a period; 30 Hz needs three periods for a whole block.
    for (const double generated : {50.0, 30.0}) {
        ScratchFolder folder;
        const ToolResult result = runTool({"--bench", virtualBench(), "run", "-"},
                                          sineScript(generated, folder.file("ai0.csv")));
        ASSERT_EQ(result.status, 0) << result.err;
        const Csv csv = parseCsv(readFile(folder.file("ai0.csv")));
        ASSERT_EQ(csv.volts.size(), 5000u);
        EXPECT_TRUE(csv.numbered);
        EXPECT_NEAR(frequency(csv.volts, 10000.0), generated, generated / 100.0);
        const auto [low, high] = std::minmax_element(csv.volts.begin(), csv.volts.end());
        EXPECT_NEAR((*high - *low) / 2.0, 2.0, 0.02);
        EXPECT_THAT(csv.header,
                    testing::IsSupersetOf({"# channel: ai0 (PXI1Slot2/ai0)", "# rate: 10000 S/s",
                                           "# units: V", "# slot: 2"}));
        EXPECT_THAT(csv.header, testing::Contains(AllOf(StartsWith("# driver: "),
                                                        HasSubstr(SIMULATED_BOARD_NAME))));
        EXPECT_THAT(csv.header, testing::Contains(StartsWith("# start: 20")));
    }
}

TEST(Acquisition, EveryFormatHoldsTheSameSamples) {
    // A virtual-time run with a fixed seed repeats exactly, so each format gets its own.
    ScratchFolder folder;
    for (const char *format : {"csv", "tsv", "f64", "f32"}) {
        std::string script = "ao generate 0 --rate 10000 --sine 50,2\n"
                             "ai acquire 0 --rate 10000 --samples 1000 --format " +
                             std::string(format) + " -o " + folder.file(format);
        if (format[0] == 'f') {
            script += std::string(" --header ") + folder.file(format) + ".txt";
        }
        const ToolResult result = runTool({"--bench", virtualBench(), "run", "-"}, script);
        ASSERT_EQ(result.status, 0) << result.err;
    }

    const std::vector<double> csv = parseCsv(readFile(folder.file("csv"))).volts;
    ASSERT_EQ(csv.size(), 1000u);
    EXPECT_EQ(parseCsv(readFile(folder.file("tsv")), '\t').volts, csv);
    const std::vector<double> f64 = parseBinary<double>(readFile(folder.file("f64")));
    const std::vector<double> f32 = parseBinary<float>(readFile(folder.file("f32")));
    ASSERT_EQ(f64.size(), 1000u);
    ASSERT_EQ(f32.size(), 1000u);
    for (std::size_t k = 0; k < csv.size(); ++k) {
        EXPECT_NEAR(f64[k], csv[k], 0.6e-6) << k;
        EXPECT_NEAR(f32[k], csv[k], 1e-6) << k;
    }
    EXPECT_THAT(readFile(folder.file("f64.txt")),
                AllOf(HasSubstr("channel: ai0"), HasSubstr("rate: 10000 S/s"),
                      HasSubstr("format: f64"), HasSubstr("samples: 1000\n")));
    EXPECT_THAT(readFile(folder.file("f32.txt")), HasSubstr("format: f32"));
}

// Standard output carries the raw formats byte for byte (on Windows a text-mode stream
// would turn each 0x0A byte into 0x0D 0x0A).
TEST(Acquisition, RawSamplesOnStandardOutputAreTheFileBytes) {
    ScratchFolder folder;
    const std::string script = "ao generate 0 --rate 10000 --sine 50,2\n"
                               "ai acquire 0 --rate 10000 --samples 1000 --format f64";
    const ToolResult piped = runTool({"--bench", virtualBench(), "run", "-"}, script);
    const ToolResult filed =
        runTool({"--bench", virtualBench(), "run", "-"}, script + " -o " + folder.file("f64"));
    ASSERT_EQ(piped.status, 0) << piped.err;
    ASSERT_EQ(filed.status, 0) << filed.err;
    const std::string bytes = readFile(folder.file("f64"));
    ASSERT_EQ(bytes.size(), 8000u);
    ASSERT_NE(bytes.find('\n'), std::string::npos) << "a sample byte 0x0A is what is tested";
    EXPECT_TRUE(piped.out == bytes);
}

TEST(Acquisition, ATriggeredAcquisitionStartsAtTheCrossing) {
    for (const double level : {1.0, -0.5}) {
        const ToolResult result =
            runTool({"--bench", virtualBench(), "run", "-"},
                    "ao generate 0 --rate 10000 --sine 50,2\n"
                    "ai acquire 0 --rate 10000 --samples 100 --trigger ai0 --level " +
                        std::to_string(level) + "\n");
        ASSERT_EQ(result.status, 0) << result.err;
        const Csv csv = parseCsv(result.out);
        ASSERT_EQ(csv.volts.size(), 100u);
        // Rising through the level: the first sample at or just above it (one sample step
        // of a 2 V, 50 Hz sine at 10 kHz is at most 63 mV), the next higher.
        EXPECT_GE(csv.volts[0], level - 1e-6);
        EXPECT_LT(csv.volts[0], level + 0.063);
        EXPECT_GT(csv.volts[1], csv.volts[0]);
        EXPECT_THAT(csv.header, testing::Contains(HasSubstr("trigger: PXI1Slot2/ai0")));
    }
}

TEST(Acquisition, ATriggerThatNeverComesTimesOut) {
    const ToolResult result =
        runTool({"--bench", virtualBench(), "ai", "acquire", "0", "--rate", "1000", "--samples",
                 "10", "--trigger", "ai5", "--level", "5", "--timeout", "0.5"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("Error = -200284, "));
}

// The tool waits for the trigger in short steps, to see Ctrl-C; the message is about the
// wait the user asked for.
TEST(Acquisition, ATriggerTimeoutNamesTheTimeoutGiven) {
    const ToolResult result =
        runTool({"--bench", virtualBench(), "ai", "acquire", "0", "--rate", "1000", "--samples",
                 "10", "--trigger", "ai5", "--level", "5", "--timeout", "0.3"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("orvex: no trigger within 0.3 s (--timeout)"));
}

#ifndef _WIN32 // no file size limit for one process there
TEST(Acquisition, AFullFileKeepsEveryWholeSampleAndSaysHowMany) {
    for (const char *format : {"csv", "f64"}) {
        ScratchFolder folder;
        const std::string path = folder.file("data");
        const ToolResult result =
            runToolWithFileLimit({"--bench", virtualBench(), "ai", "acquire", "5", "--rate",
                                  "100000", "--samples", "1000000", "--format", format, "-o", path},
                                 64 * 1024);
        EXPECT_EQ(result.status, 1);
        const std::string data = readFile(path);
        EXPECT_LE(data.size(), 64u * 1024u);
        std::size_t samples = 0;
        if (format[0] == 'c') {
            ASSERT_EQ(data.back(), '\n');
            const Csv csv = parseCsv(data);
            EXPECT_TRUE(csv.numbered);
            samples = csv.volts.size();
        } else {
            const std::vector<double> volts = parseBinary<double>(data);
            EXPECT_TRUE(
                std::all_of(volts.begin(), volts.end(), [](double v) { return v == 1.25; }));
            samples = volts.size();
        }
        EXPECT_GT(samples, 1000u);
        EXPECT_THAT(result.err, AllOf(HasSubstr("cannot write " + path),
                                      HasSubstr(std::to_string(samples) + " samples reached")));
    }
}

// The description of raw samples says how many reached the file, also when it filled up.
TEST(Acquisition, AFullFileIsStillDescribed) {
    ScratchFolder folder;
    const ToolResult result = runToolWithFileLimit(
        {"--bench", virtualBench(), "ai", "acquire", "5", "--rate", "100000", "--samples",
         "1000000", "--format", "f64", "-o", folder.file("data"), "--header", folder.file("txt")},
        64 * 1024);
    EXPECT_EQ(result.status, 1);
    const std::size_t samples = readFile(folder.file("data")).size() / sizeof(double);
    EXPECT_GT(samples, 1000u);
    EXPECT_THAT(readFile(folder.file("txt")),
                AllOf(HasSubstr("channel: ai5"), HasSubstr("format: f64"),
                      HasSubstr("samples: " + std::to_string(samples) + "\n")));
}

#endif
} // namespace
