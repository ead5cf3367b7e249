// What a process's bench file set on the shared board ends with that process: the stand
// returns to its defaults, or to what was set from outside (orvex-sim, a control call),
// which lasts until a reset; the status says what differs from the defaults and who set
// it, and lists only the processes that live.
#include "child_process.h"
#include "simboard/board_fixture.h"
#include "test_directory.h"

#include <cstdlib>
#include <sstream>

namespace {

std::string oneLine(std::string text) {
    for (char &c : text) {
        c = c == '\n' ? '|' : c;
    }
    return text;
}

std::string boardStatus() {
    std::string text(8192, '\0');
    text.resize(simboard_status(text.data(), static_cast<uint32_t>(text.size())) - 1);
    return text;
}

// "status volts" of one on-demand read.
std::string readInput(const char *channel) {
    ScopedTask task;
    addInput(task, channel);
    double volts = -100.0;
    const int32 status = readOne(task, volts);
    std::ostringstream line;
    line << status << ' ' << volts;
    return line.str();
}

class BenchLifetimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(directory_.made());
        setenv("ORVEX_SIM_STATE", directory_.file("board.state").c_str(), 1);
        unsetenv("ORVEX_SIM_BENCH");
        unsetenv("ORVEX_SIM_JOURNAL");
    }
    void TearDown() override { unsetenv("ORVEX_SIM_BENCH"); }

    TestDirectory directory_;
};

TEST_F(BenchLifetimeTest, WhatABenchFileSetEndsWithItsProcessAndWhatOutsideSetStays) {
    setenv("ORVEX_SIM_BENCH",
           directory_
               .fileWith("bench.json", R"({"analogInputs": {"PXI1Slot2/ai5": 1.25},
                   "switches": {"S1": "pressed"}, "joystick": {"hold": {"x": 1, "y": 4}},
                   "faults": [{"entryPoint": "DAQmxDisableStartTrig", "every": true,
                               "status": -200088}]})")
               .c_str(),
           1);
    ChildProcess first([](ChildProcess &self) {
        self.tell(readInput("PXI1Slot2/ai5"));
        self.hear();
    });
    ASSERT_EQ(first.hear(), "0 1.25") << "the first process's bench file sets the board up";
    unsetenv("ORVEX_SIM_BENCH");

    ChildProcess outside([](ChildProcess &self) {
        self.tell(std::to_string(simboard_setAnalogInput(6, 2.5)));
        self.tell(oneLine(boardStatus()));
    });
    ASSERT_EQ(outside.hear(), "0");
    const std::string during = outside.hear();
    const std::string byFirst =
        "(by the bench file of process " + std::to_string(first.pid()) + ")";
    for (const std::string &setting : {"ai5 set to 1.2500 V " + byFirst, "S1 pressed " + byFirst,
                                       "joystick held at x 1.000 V, y 4.000 V " + byFirst,
                                       std::string("ai6 set to 2.5000 V (set from outside")}) {
        EXPECT_NE(during.find(setting), std::string::npos) << setting << " in " << during;
    }
    ASSERT_EQ(outside.waitForExit(10.0), 0);
    first.tell("end");
    ASSERT_EQ(first.waitForExit(10.0), 0);

    ChildProcess later([](ChildProcess &self) {
        self.tell(readInput("PXI1Slot2/ai5"));
        self.tell(readInput("PXI1Slot2/ai6"));
        ScopedTask task;
        addInput(task, "PXI1Slot2/ai7");
        self.tell(std::to_string(DAQmxDisableStartTrig(task)));
        self.tell(oneLine(boardStatus()));
    });
    EXPECT_EQ(later.hear(), "0 0") << "the bench file's input went with its process";
    EXPECT_EQ(later.hear(), "0 2.5") << "what was set from outside stays";
    EXPECT_EQ(later.hear(), "0") << "the bench file's fault went with its process";
    const std::string after = later.hear();
    EXPECT_EQ(after.find("S1 pressed"), std::string::npos) << after;
    EXPECT_EQ(after.find("joystick held"), std::string::npos) << after;
    EXPECT_NE(after.find("processes: " + std::to_string(later.pid()) + " (this one)|"),
              std::string::npos)
        << "only the living are listed: " << after;
}

} // namespace
