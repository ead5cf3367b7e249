// Driver calls while another process keeps the shared board (stopped in a call, or in a
// debugger): a call with a timeout waits for the board as long as its timeout, at least a
// short look, the others a few seconds; a read waiting for samples that cannot have the
// board back ends with the refusal, as it does when the state file is cut short meanwhile.
#include "child_process.h"
#include "simboard/board_fixture.h"
#include "state_file/shared_file.h"
#include "test_directory.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::string oneLine(std::string text) {
    for (char &c : text) {
        c = c == '\n' ? ' ' : c;
    }
    return text;
}

// Tells "status seconds" of one call, then the text of its status.
void reportTimedCall(ChildProcess &self, const std::function<int32()> &call) {
    const auto start = std::chrono::steady_clock::now();
    const int32 status = call();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    self.tell(std::to_string(status) + " " + std::to_string(took.count()));
    self.tell(oneLine(errorText(status)));
}

struct TimedCall {
    int32 status = 1;
    double seconds = -1.0;
    std::string text;
};

TimedCall hearTimedCall(ChildProcess &caller) {
    TimedCall call;
    std::istringstream(caller.hear(30.0)) >> call.status >> call.seconds;
    call.text = caller.hear();
    return call;
}

// A process that takes the board's lock, as a call does, and is stopped holding it.
class StoppedHolder {
  public:
    explicit StoppedHolder(const std::string &state)
        : process_([state](ChildProcess &self) {
              const int fd = open(state.c_str(), O_RDWR);
              void *memory = fd < 0 ? MAP_FAILED
                                    : mmap(nullptr, sizeof(simboard::SharedFile),
                                           PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
              if (memory == MAP_FAILED) {
                  self.tell("cannot map " + state);
                  return;
              }
              const int taken =
                  pthread_mutex_lock(&static_cast<simboard::SharedFile *>(memory)->mutex);
              self.tell(taken == 0 || taken == EOWNERDEAD ? "locked" : "not locked");
              raise(SIGSTOP);
              pause();
          }) {
        locked_ = process_.hear() == "locked";
    }
    bool locked() const { return locked_; }
    std::string named() const { return "process " + std::to_string(process_.pid()) + " (stopped)"; }

  private:
    ChildProcess process_;
    bool locked_ = false;
};

class StoppedHolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(directory_.made());
        setenv("ORVEX_SIM_STATE", statePath().c_str(), 1);
        unsetenv("ORVEX_SIM_BENCH");
        unsetenv("ORVEX_SIM_JOURNAL");
    }
    std::string statePath() const { return directory_.file("board.state"); }

    TestDirectory directory_;
};

// A child that makes its task while the board is free, then makes the calls the test asks
// for when it says "go", one timed call each.
ChildProcess callerOf(const char *channel, bool output,
                      const std::vector<std::function<int32(TaskHandle)>> &calls) {
    return ChildProcess([=](ChildProcess &self) {
        ScopedTask task;
        const bool analog = std::string(channel).find("/ai") != std::string::npos ||
                            std::string(channel).find("/ao") != std::string::npos;
        if (analog) {
            output ? addOutput(task, channel) : addInput(task, channel);
        } else if (output) {
            DAQmxCreateDOChan(task, channel, "", DAQmx_Val_ChanForAllLines);
        } else {
            DAQmxCreateDIChan(task, channel, "", DAQmx_Val_ChanForAllLines);
        }
        self.tell("ready");
        self.hear(60.0);
        for (const auto &call : calls) {
            reportTimedCall(self, [&] { return call(task); });
        }
    });
}

TEST_F(StoppedHolderTest, ACallWaitsForAStoppedHolderAsLongAsItsTimeoutThenGlances) {
    ChildProcess patient =
        callerOf("PXI1Slot2/port0", true,
                 {[](TaskHandle task) {
                      uInt8 value = 0x55;
                      return DAQmxWriteDigitalU8(task, 1, 1, 5.0, 0, &value, nullptr, nullptr);
                  },
                  [](TaskHandle task) {
                      uInt8 value = 0;
                      return DAQmxReadDigitalU8(task, 1, 5.0, 0, &value, 1, nullptr, nullptr);
                  }});
    ChildProcess hasty =
        callerOf("PXI1Slot2/ai3", false, {[](TaskHandle task) {
                     double volts = 0.0;
                     return DAQmxReadAnalogF64(task, 1, 0.0, 0, &volts, 1, nullptr, nullptr);
                 }});
    ChildProcess endless =
        callerOf("PXI1Slot2/ao1", true, {[](TaskHandle task) {
                     double volts = 1.0;
                     return DAQmxWriteAnalogF64(task, 1, 1, -1.0, 0, &volts, nullptr, nullptr);
                 }});
    for (ChildProcess *caller : {&patient, &hasty, &endless}) {
        ASSERT_EQ(caller->hear(), "ready");
    }
    StoppedHolder holder(statePath());
    ASSERT_TRUE(holder.locked());
    for (ChildProcess *caller : {&patient, &hasty, &endless}) {
        caller->tell("go");
    }

    const TimedCall waited = hearTimedCall(patient);
    EXPECT_EQ(waited.status, -50103) << waited.text;
    EXPECT_GE(waited.seconds, 4.5) << "a timeout of 5 s waits longer than the 3 s default";
    EXPECT_NE(waited.text.find(holder.named()), std::string::npos) << waited.text;
    const TimedCall glanced = hearTimedCall(patient);
    EXPECT_EQ(glanced.status, -50103) << glanced.text;
    EXPECT_LT(glanced.seconds, 2.5) << "a later call only glances at the holder it waited for";

    const TimedCall looked = hearTimedCall(hasty);
    EXPECT_EQ(looked.status, -50103) << looked.text;
    EXPECT_GE(looked.seconds, 0.009) << "a timeout of 0 still looks for a moment";
    EXPECT_LT(looked.seconds, 2.5) << "but not for the 3 s default";
    EXPECT_NE(looked.text.find(holder.named()), std::string::npos) << looked.text;

    const TimedCall defaulted = hearTimedCall(endless);
    EXPECT_EQ(defaulted.status, -50103) << defaulted.text;
    EXPECT_GE(defaulted.seconds, 2.0) << "an endless timeout waits the default";
    EXPECT_LT(defaulted.seconds, 15.0);
}

// A clocked read on ai4 that waits for far more samples than come within `timeout`, in a
// thread of its own; the child says "waiting" once the read sleeps, then reports it.
ChildProcess waitingReader(double timeout) {
    return ChildProcess([timeout](ChildProcess &self) {
        ScopedTask task;
        addClockedInput(task, "PXI1Slot2/ai4", 1000.0, 100000);
        std::vector<double> block(60000);
        std::future<void> read = std::async(std::launch::async, [&] {
            reportTimedCall(self, [&] { return readBlock(task, block, timeout); });
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the read sleeps by now
        self.tell("waiting");
        read.get();
    });
}

TEST_F(StoppedHolderTest, AReadWaitingForSamplesEndsWithTheRefusalWhenAStoppedHolderKeepsTheBoard) {
    ChildProcess reader = waitingReader(3.0);
    ASSERT_EQ(reader.hear(), "waiting");
    StoppedHolder holder(statePath());
    ASSERT_TRUE(holder.locked());

    const TimedCall read = hearTimedCall(reader);
    EXPECT_EQ(read.status, -50103) << read.text;
    EXPECT_LT(read.seconds, 15.0);
    EXPECT_NE(read.text.find(holder.named()), std::string::npos) << read.text;
    EXPECT_EQ(reader.waitForExit(20.0), 0) << "the read's frame lets go of no lock it lacks";
}

TEST_F(StoppedHolderTest, AReadWaitingForSamplesEndsWithTheRefusalWhenTheFileIsCutShort) {
    ChildProcess reader = waitingReader(3.0);
    ASSERT_EQ(reader.hear(), "waiting");
    ASSERT_EQ(truncate(statePath().c_str(), 0), 0);

    const TimedCall read = hearTimedCall(reader);
    EXPECT_EQ(read.status, -50103) << read.text;
    EXPECT_NE(read.text.find("cut short"), std::string::npos) << read.text;
    EXPECT_EQ(reader.waitForExit(20.0), 0) << "no SIGBUS";
}

} // namespace
