// The recording library's C face as a C caller meets it: every key of the JSON
// description reaches the file, a fault in the description is named, and each call's
// status tells a refusal (nothing written, the recording goes on) from a failure (the
// recording is over).
#include "recording_reader.h"
#include "temporary_directory.h"

#include <recording/orvex_recording.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

namespace {

constexpr std::size_t errorSize = 256;

struct Opened {
    int status = 0;
    orvex_Recording *recording = nullptr;
    std::string error;
};

Opened open(const std::string &json) {
    Opened opened;
    std::array<char, errorSize> error{};
    opened.status = orvex_recordingOpen(json.c_str(), &opened.recording, error.data(), errorSize);
    opened.error = error.data();
    return opened;
}

std::string twoChannels(const TemporaryDirectory &scratch, const std::string &more = {}) {
    return R"({"channels": [{"name": "ai0"}, {"name": "ai1", "range": 0.5}], "interval": 0.01,
               "directory": ")" +
           scratch.path() + "\"" + more + "}";
}

TEST(RecordingCFace, EveryKeyOfTheDescriptionReachesTheFile) {
    const TemporaryDirectory scratch;
    const Opened opened = open(R"({
        "channels": [{"name": "ai3", "range": 2, "terminal": "DIFF", "units": "V",
                      "scale": 0.001, "offset": 0.25, "calibration": {"volts_at_zero": 2.5}}],
        "interval": 0.002, "format": "int16",
        "start": {"epoch": 1714564800.25, "source": "from count", "uncertainty": 0.001},
        "rotation": {"seconds": 0, "bytes": 4000}, "directory": ")" +
                               scratch.path() + R"(", "pattern": "c-%n.h5",
        "flush_seconds": 0.25,
        "provenance": {"board": "PXI1Slot4", "slot": 4, "driver": "sim", "program": "c test",
                       "program_version": "1", "library_version": "2", "host": "h",
                       "notes": "n"},
        "texts": {"operator": "ada"}, "numbers": {"gain": 3}})");
    ASSERT_EQ(opened.status, 0) << opened.error;
    const std::array<std::int16_t, 4> codes{-1000, 0, 1000, 2000};
    EXPECT_EQ(orvex_recordingAppendI16(opened.recording, codes.data(), 4), 0);
    EXPECT_EQ(orvex_recordingEvent(opened.recording, ORVEX_EVENT_GAP, 2, 0, 7, "lost"), 0);
    EXPECT_EQ(orvex_recordingClose(opened.recording), 0);
    EXPECT_EQ(orvex_recordingSamples(opened.recording), 4);
    const std::string file = orvex_recordingFile(opened.recording, 0);
    EXPECT_EQ(orvex_recordingFile(opened.recording, 1), nullptr);
    orvex_recordingFree(opened.recording);

    EXPECT_EQ(std::filesystem::path(file).filename(), "c-0000.h5");
    const ReadRecording read = readRecording(file);
    ASSERT_EQ(read.rows, 4);
    EXPECT_DOUBLE_EQ(read.at(0, 0), -1000 * 0.001 + 0.25);
    EXPECT_DOUBLE_EQ(read.at(3, 0), 2000 * 0.001 + 0.25);
    EXPECT_EQ(read.channels[0].texts.at("terminal"), "DIFF");
    EXPECT_EQ(read.channels[0].numbers.at("range"), 2.0);
    EXPECT_EQ(read.calibrations[0].at("volts_at_zero"), 2.5);
    EXPECT_EQ(read.root.texts.at("start_time"), "2024-05-01T12:00:00.250000Z");
    EXPECT_EQ(read.root.texts.at("start_time_source"), "from count");
    EXPECT_EQ(read.root.numbers.at("sample_interval"), 0.002);
    EXPECT_EQ(read.root.numbers.at("rotation_bytes"), 4000);
    EXPECT_EQ(read.root.numbers.at("slot"), 4);
    EXPECT_EQ(read.root.texts.at("program"), "c test");
    EXPECT_EQ(read.root.texts.at("operator"), "ada");
    EXPECT_EQ(read.root.numbers.at("gain"), 3.0);
    ASSERT_EQ(read.events.size(), 3U);
    EXPECT_EQ(read.events[1].kind, "gap");
    EXPECT_EQ(read.events[1].duration, 7);
    EXPECT_EQ(read.events[1].text, "lost");
}

TEST(RecordingCFace, AFaultInTheDescriptionIsNamedAndNothingIsWritten) {
    const TemporaryDirectory scratch;
    const std::array<std::pair<std::string, std::string>, 6> faults{{
        {R"({"channels": [{"name": "ai0"}], "intervall": 0.1})", "intervall: unknown key"},
        {R"({"channels": [{"name": "ai0"}]})", "interval: missing"},
        {R"({"channels": [{"name": "ai0"}, {"range": 1}], "interval": 0.1})",
         "channels[1].name: missing"},
        {twoChannels(scratch, R"(, "rotation": {"bytes": -1})"),
         "rotation.bytes: a whole number of 0 or more is needed"},
        {twoChannels(scratch, R"(, "format": "f32")"), "format:"},
        {R"({"channels": )", "recording configuration: [json.exception.parse_error"},
    }};
    for (const auto &[json, named] : faults) {
        const Opened opened = open(json);
        EXPECT_EQ(opened.status, ORVEX_RECORDING_REFUSED) << json;
        EXPECT_EQ(opened.recording, nullptr);
        EXPECT_NE(opened.error.find(named), std::string::npos) << opened.error;
    }
    EXPECT_TRUE(scratch.files().empty());
}

TEST(RecordingCFace, ARefusalLeavesTheRecordingGoingAndAFailureEndsIt) {
    const TemporaryDirectory scratch;
    const std::string folder = scratch.path() + "/runs";
    std::filesystem::create_directory(folder);
    const Opened opened = open(R"({"channels": [{"name": "ai0"}], "interval": 0.01,
                                   "rotation": {"seconds": 1}, "directory": ")" +
                               folder + "\"}");
    ASSERT_EQ(opened.status, 0) << opened.error;
    orvex_Recording *recording = opened.recording;
    const std::array<double, 100> volts{};
    EXPECT_EQ(orvex_recordingAppendF32(recording, nullptr, 1), ORVEX_RECORDING_REFUSED);
    EXPECT_EQ(orvex_recordingAppendF64(recording, volts.data(), 1), ORVEX_RECORDING_REFUSED);
    EXPECT_NE(std::string(orvex_recordingError(recording)).find("another format"),
              std::string::npos);
    EXPECT_EQ(orvex_recordingEvent(recording, 7, -1, 0, 0, nullptr), ORVEX_RECORDING_REFUSED);

    const std::array<float, 100> second{};
    EXPECT_EQ(orvex_recordingAppendF32(recording, second.data(), 100), 0);
    EXPECT_STREQ(orvex_recordingError(recording), "");
    std::filesystem::remove_all(folder);
    EXPECT_EQ(orvex_recordingAppendF32(recording, second.data(), 1), ORVEX_RECORDING_FAILED);
    EXPECT_NE(std::string(orvex_recordingError(recording)).find("No such file or directory"),
              std::string::npos);
    EXPECT_EQ(orvex_recordingFlush(recording), ORVEX_RECORDING_FAILED);
    EXPECT_EQ(orvex_recordingClose(recording), ORVEX_RECORDING_FAILED);
    orvex_recordingFree(recording);
}

TEST(RecordingCFace, AFileThatCannotBeMadeIsAFailureWithItsName) {
    const Opened opened = open(R"({"channels": [{"name": "ai0"}], "interval": 0.01,
                                   "directory": "/nonexistent/folder"})");
    EXPECT_EQ(opened.status, ORVEX_RECORDING_FAILED);
    EXPECT_EQ(opened.recording, nullptr);
    EXPECT_NE(opened.error.find("cannot make /nonexistent/folder/run-"), std::string::npos)
        << opened.error;
    orvex_recordingFree(nullptr);
}

} // namespace
