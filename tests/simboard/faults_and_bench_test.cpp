// Fault injection, bench fragments and the status texts.
#include "bench/bench_file.h"
#include "board_fixture.h"

#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

constexpr int32 benchInvalid = -209022;

TEST_F(SimBoardTest, AFaultOnTheNthCallHitsThatCallOnly) {
    ASSERT_EQ(simboard_applyBench(
                  R"({"faults": [{"entryPoint": "DAQmxStartTask", "call": 2, "status": -50103}]})"),
              0);
    ScopedTask task;
    ASSERT_EQ(DAQmxCreateDIChan(task, "PXI1Slot2/port0", "r", 1), 0);
    EXPECT_EQ(DAQmxStartTask(task), 0);
    EXPECT_EQ(DAQmxStartTask(task), -50103);
    ASSERT_EQ(DAQmxStopTask(task), 0);
    EXPECT_EQ(DAQmxStartTask(task), 0);
    EXPECT_NE(errorText(-50103).find("DAQmxStartTask"), std::string::npos);
}

TEST_F(SimBoardTest, AFaultOnEveryCallReplacesTheCallWithoutEffect) {
    ASSERT_EQ(simboard_applyBench(
                  R"({"faults": [{"entryPoint": "DAQmxCreateTask", "every": true,
                                  "status": -201234}]})"),
              0);
    TaskHandle task = nullptr;
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(DAQmxCreateTask("faulted", &task), -201234);
        EXPECT_EQ(task, nullptr);
    }
    EXPECT_NE(errorText(-201234).find("no description"), std::string::npos);
    ASSERT_EQ(simboard_reset(), 0);
    ASSERT_EQ(DAQmxCreateTask("faulted", &task), 0) << "the name was never taken";
    EXPECT_EQ(DAQmxClearTask(task), 0);
}

TEST_F(SimBoardTest, AWarningFaultLetsTheCallWorkAndReturnsTheWarning) {
    ASSERT_EQ(simboard_applyBench(
                  R"({"faults": [{"entryPoint": "DAQmxWriteAnalogF64", "call": 1,
                                  "status": 200015}]})"),
              0);
    ScopedTask output;
    ScopedTask input;
    ASSERT_EQ(addOutput(output, "PXI1Slot2/ao0"), 0);
    ASSERT_EQ(addInput(input, "PXI1Slot2/ai0"), 0);
    EXPECT_EQ(writeOne(output, 2.5), 200015);
    double value = 0.0;
    ASSERT_EQ(readOne(input, value), 0);
    EXPECT_DOUBLE_EQ(value, 2.5);
}

TEST_F(SimBoardTest, ABenchFragmentWithAnyFaultChangesNothing) {
    ScopedTask input;
    ASSERT_EQ(addInput(input, "PXI1Slot2/ai9"), 0);
    const char *broken[] = {
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0}, "virtualTim": true})",
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0}, "switches": {"S5": "pressed"}})",
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0, "PXI1Slot2/ao0": 1.0}})",
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0}, "faults": [{"entryPoint": "DAQmxFoo",
            "call": 1, "status": -1}]})",
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0}, "faults": [{"entryPoint": "DAQmxStartTask",
            "call": 1, "every": true, "status": -1}]})",
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0}, "joystick": {"hold": {"x": 1}}})",
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0}, "inputLines": {"PXI1Slot2/port1": 2}})",
        R"({"analogInputs": {"PXI1Slot2/ai9": 3.0},)",
        "[]",
    };
    for (const char *fragment : broken) {
        EXPECT_EQ(simboard_applyBench(fragment), benchInvalid) << fragment;
        double value = 0.0;
        ASSERT_EQ(readOne(input, value), 0);
        EXPECT_EQ(value, 0.0) << fragment;
    }
    ASSERT_EQ(simboard_applyBench(broken[0]), benchInvalid);
    EXPECT_NE(errorText(benchInvalid).find("virtualTim"), std::string::npos);
}

TEST_F(SimBoardTest, BenchFragmentsSetLinesInputsSwitchesAndTheJoystick) {
    ASSERT_EQ(simboard_applyBench(R"({
        "inputLines": {"PXI1Slot2/port0/line2:3": 1, "PXI1Slot2/port2/line0": true},
        "analogInputs": {"PXI1Slot2/ai8": -2.5},
        "switches": {"S1": "released", "S2": "pressed", "S3": "released", "S4": "released"},
        "joystick": {"hold": {"x": 1.0, "y": 4.0}, "noise": 0}
    })"),
              0);
    ScopedTask port0;
    ScopedTask switches;
    ScopedTask ai8;
    ScopedTask ai2;
    ASSERT_EQ(DAQmxCreateDIChan(port0, "PXI1Slot2/port0", "r", 1), 0);
    ASSERT_EQ(DAQmxCreateDIChan(switches, "PXI1Slot2/port1/line4:7", "r", 1), 0);
    ASSERT_EQ(addInput(ai8, "PXI1Slot2/ai8"), 0);
    ASSERT_EQ(addInput(ai2, "PXI1Slot2/ai2"), 0);
    uInt8 byte = 0;
    ASSERT_EQ(readByte(port0, byte), 0);
    EXPECT_EQ(byte, 0x0C);
    ASSERT_EQ(readByte(switches, byte), 0);
    EXPECT_EQ(byte, 0xD0);
    double value = 0.0;
    ASSERT_EQ(readOne(ai8, value), 0);
    EXPECT_EQ(value, -2.5);
    ASSERT_EQ(readOne(ai2, value), 0);
    EXPECT_NEAR(value, 1.0, tenVoltStep / 2.0)
        << "powered through the input line, held, without noise";

    ASSERT_EQ(simboard_applyBench(R"({"analogInputs": {"PXI1Slot2/ai8": null}})"), 0);
    ASSERT_EQ(readOne(ai8, value), 0);
    EXPECT_EQ(value, 0.0);
}

TEST_F(SimBoardTest, EveryStatusTextSaysWhatToDoAndFitsTheBuffer) {
    for (int32 code :
         {-50103,  -200088, -200279, -200284, -209001, -209002, -209003, -209004, -209005, -209006,
          -209007, -209008, -209009, -209010, -209011, -209012, -209013, -209014, -209015, -209016,
          -209017, -209018, -209019, -209020, -209021, -209022, -209023, -209024, -209025}) {
        std::string text = errorText(code);
        EXPECT_GT(text.size(), 40u) << code;
        EXPECT_EQ(text.find("no description"), std::string::npos) << code;
    }
    int32 needed = DAQmxGetErrorString(-200284, nullptr, 0);
    EXPECT_EQ(needed, static_cast<int32>(errorText(-200284).size() + 1));
    char small[8];
    EXPECT_EQ(DAQmxGetErrorString(-200284, small, sizeof small), 0);
    EXPECT_EQ(std::string(small), errorText(-200284).substr(0, 7));
}

TEST_F(SimBoardTest, ControlCallsRefuseArgumentsOutsideTheStand) {
    constexpr int32 bad = -209023;
    EXPECT_EQ(simboard_pressSwitch(0, 1), bad);
    EXPECT_EQ(simboard_setInputLine(3, 0, 1), bad);
    EXPECT_EQ(simboard_setInputLine(0, 8, 1), bad);
    EXPECT_EQ(simboard_setInputLine(0, 0, 2), bad);
    EXPECT_EQ(simboard_setAnalogInput(16, 1.0), bad);
    EXPECT_EQ(simboard_releaseAnalogInput(-1), bad);
    EXPECT_EQ(simboard_holdJoystick(std::nan(""), 1.0), bad);
    EXPECT_EQ(simboard_advanceTime(-1.0), bad);
    EXPECT_EQ(simboard_applyBench(nullptr), bad);
}

TEST(BenchFileTest, ABenchFileThatAsksForItOrCannotBeUsedGetsABoardOfTheProcesssOwn) {
    EXPECT_FALSE(simboard::wantsPrivateBoard(simboard::BenchFile{})) << "no bench file";
    EXPECT_TRUE(
        simboard::wantsPrivateBoard(simboard::readBenchFile(BENCH_FILES "/private_board.json")));
    const simboard::BenchFile virtualTime = simboard::readBenchFile(BENCH_FILES "/test_bench.json");
    EXPECT_FALSE(virtualTime.failure.failed()) << virtualTime.failure.detail;
    EXPECT_EQ(virtualTime.settings.seed, 11u);
    EXPECT_TRUE(simboard::wantsPrivateBoard(virtualTime));

    const simboard::BenchFile broken = simboard::readBenchFile(BENCH_FILES "/broken_bench.json");
    EXPECT_EQ(broken.failure.status, benchInvalid);
    EXPECT_NE(broken.failure.detail.find("broken_bench.json: \"joystick.hold.y\""),
              std::string::npos)
        << broken.failure.detail;
    EXPECT_TRUE(simboard::wantsPrivateBoard(broken));
    EXPECT_TRUE(simboard::readBenchFile(BENCH_FILES "/none.json").failure.failed());
}

// Each text is refused whole, with a message that names what is wrong in it.
TEST(BenchFileTest, ATextIsRefusedWithWhatIsWrongNamed) {
    using namespace std::string_view_literals;
    struct Case {
        std::string_view text;
        const char *named;
    };
    const std::string deep = "{\"faults\": " + std::string(40, '[') + std::string(40, ']') + "}";
    for (const Case &c : {
             Case{R"({"faults": [{"entryPoint": "DAQmxStartTask", "call": 1}]})",
                  "\"faults[].status\": missing"},
             Case{R"({"faults": [{"entryPoint": "DAQmxStartTask", "every": true, "status": 0}]})",
                  "\"faults[].status\""},
             Case{"{\"seed\": 1}\0{\"seed\": 2}"sv, "NUL byte at offset 11"},
             Case{"{\"seed\": 1}\0"sv, "NUL byte at offset 11"},
             Case{R"({"seed": 1} {"seed": 2})", "JSON"},
             Case{deep, "JSON: nested deeper than 32 levels"},
         }) {
        simboard::BenchSettings settings;
        const simboard::Outcome outcome = simboard::parseBenchText(c.text, settings);
        EXPECT_EQ(outcome.status, benchInvalid) << c.text;
        EXPECT_NE(outcome.detail.find(c.named), std::string::npos) << outcome.detail;
        EXPECT_FALSE(settings.seed.has_value()) << "nothing of a refused text is taken";
    }
}

TEST(BenchFileTest, AFileWithANulAndGarbageAfterItsObjectIsRefused) {
    const std::string path = ::testing::TempDir() + "nul_bench.json";
    std::FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    const char text[] = "{\"seed\": 1}\n\0garbage";
    std::fwrite(text, 1, sizeof text - 1, file);
    std::fclose(file);
    const simboard::BenchFile bench = simboard::readBenchFile(path.c_str());
    std::remove(path.c_str());
    EXPECT_EQ(bench.failure.status, benchInvalid);
    EXPECT_NE(bench.failure.detail.find("nul_bench.json: "), std::string::npos);
    EXPECT_NE(bench.failure.detail.find("NUL byte at offset 12"), std::string::npos)
        << bench.failure.detail;
}

// What no bench file can be: each would hang the board's loading (a FIFO with no writer)
// or fill the memory (a device without end, a huge file).
TEST(BenchFileTest, AFileThatIsNotRegularOrIsHugeIsRefusedWithTheReason) {
    const std::string huge = ::testing::TempDir() + "huge_bench.json";
    {
        std::FILE *file = std::fopen(huge.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        const std::string spaces(64 * 1024, ' ');
        std::fputs("{\"seed\": 1}", file);
        for (int block = 0; block < 17; ++block) {
            std::fputs(spaces.c_str(), file);
        }
        std::fclose(file);
    }
    struct Case {
        std::string path;
        std::string named;
    };
    std::vector<Case> cases{{huge, "larger than 1 MiB"}, {::testing::TempDir(), "it is a folder"}};
#ifndef _WIN32
    const std::string fifo = ::testing::TempDir() + "fifo_bench.json";
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back({fifo, "not a regular file"});
    cases.push_back({"/dev/zero", "not a regular file"});
#endif
    for (const Case &c : cases) {
        const simboard::BenchFile bench = simboard::readBenchFile(c.path.c_str());
        EXPECT_EQ(bench.failure.status, benchInvalid) << c.path;
        EXPECT_NE(bench.failure.detail.find(c.path + ": "), std::string::npos)
            << bench.failure.detail;
        EXPECT_NE(bench.failure.detail.find(c.named), std::string::npos) << bench.failure.detail;
        EXPECT_TRUE(simboard::wantsPrivateBoard(bench));
    }
    std::remove(huge.c_str());
#ifndef _WIN32
    std::remove(fifo.c_str());
#endif
}

TEST(BoardFromConfiguration, ABenchFileThatCannotBeUsedFailsEveryDriverCallButNoControlCall) {
    simboard::BoardConfig config;
    config.bench = simboard::readBenchFile(BENCH_FILES "/broken_bench.json");
    BoardUnderTest board(config);
    TaskHandle task = nullptr;
    EXPECT_EQ(DAQmxCreateTask("", &task), benchInvalid);
    EXPECT_NE(errorText(benchInvalid).find("broken_bench.json"), std::string::npos);
    EXPECT_EQ(simboard_pressSwitch(1, 1), 0);
    EXPECT_EQ(simboard_liveTasks(nullptr, 0), 0u);
}

} // namespace
