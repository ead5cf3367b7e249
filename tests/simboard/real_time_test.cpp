// In real time a waiting read lets other threads at the board: a test can change the
// stand, or a program stop the task, while the read waits.
#include "board_fixture.h"

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

class RealTimeTest : public SimBoardTest {
  protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        ASSERT_EQ(simboard_applyBench(R"({"virtualTime": false})"), 0);
        ASSERT_EQ(addClockedInput(acquirer_, "PXI1Slot2/ai4", 1000.0, 1000), 0);
    }
    // Returns once the read waits: its auto-start makes the task run, and the read lets
    // go of the board only to wait.
    std::future<int32> readInBackground(std::vector<double> &block, double timeout = 5.0) {
        std::future<int32> read = std::async(std::launch::async, [this, &block, timeout] {
            return readBlock(acquirer_, block, timeout);
        });
        const auto giveUp = std::chrono::steady_clock::now() + 10s;
        SimboardTask task{};
        while ((simboard_liveTasks(&task, 1) != 1 || task.running == 0) &&
               read.wait_for(1ms) == std::future_status::timeout &&
               std::chrono::steady_clock::now() < giveUp) {
        }
        EXPECT_EQ(task.running, 1) << "the read never began";
        return read;
    }
    ScopedTask acquirer_;
};

TEST_F(RealTimeTest, AStandChangeFromAnotherThreadFiresTheTriggerAReadWaitsFor) {
    ASSERT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer_, "PXI1Slot2/ai5", 10280, 1.0), 0);
    std::vector<double> block(10);
    auto start = std::chrono::steady_clock::now();
    std::future<int32> read = readInBackground(block);
    std::this_thread::sleep_for(50ms);
    ASSERT_EQ(read.wait_for(0s), std::future_status::timeout) << "no trigger yet";
    ASSERT_EQ(simboard_setAnalogInput(5, 2.0), 0);
    EXPECT_EQ(read.get(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

// Left to itself the read would sleep 20 s before it looked again, far past the time
// allowed here; how fast the stop reaches it is shown by bench/simboard's stop_read_bench.
TEST_F(RealTimeTest, StoppingTheTaskEndsAWaitingRead) {
    ASSERT_EQ(clockAt(acquirer_, 10.0, 1000), 0);
    std::vector<double> block(1000);
    std::future<int32> read = readInBackground(block, 20.0);
    ASSERT_EQ(DAQmxStopTask(acquirer_), 0);
    ASSERT_EQ(read.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(read.get(), -209021);
}

} // namespace
