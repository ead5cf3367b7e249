// No exception leaves the board through its C functions: a call that runs out of memory at
// any of its allocations fails with -209024, and the board goes on working.
#include "board_fixture.h"
#include "driver/call_failure.h"
#include "support/memory_runs_out.h"

#include <optional>
#include <stdexcept>
#include <utility>

namespace {

constexpr int32 outOfMemory = -209024;

// Runs `call` with memory running out at its first allocation, then at its second, and so
// on until it gets all it needs: each time once with only that allocation failing and once
// with memory gone for the rest of the call, the failure's own details included.  Hands
// each result of a call that ran out to `ranOut`; returns the result of the call that did
// not, and how many allocations it makes.
template <class Call, class RanOut> auto throughEveryAllocation(Call &&call, RanOut &&ranOut) {
    for (long nth = 1;; ++nth) {
        for (long failures : {1L, MemoryRunsOut::forGood}) {
            std::optional<decltype(call())> result;
            bool struck = false;
            {
                MemoryRunsOut memory(nth, failures);
                result = call();
                struck = memory.struck();
            }
            if (!struck) {
                return std::pair(*result, nth - 1);
            }
            ranOut(*result);
        }
    }
}

// The status of a driver or control call once it has the memory it needs.
template <class Call> int32 statusThroughEveryAllocation(const char *entryPoint, Call &&call) {
    SCOPED_TRACE(entryPoint);
    auto [status, allocations] =
        throughEveryAllocation(call, [](int32 ranOut) { EXPECT_EQ(ranOut, outOfMemory); });
    EXPECT_GT(allocations, 0) << "nothing to run out of";
    EXPECT_NE(
        errorText(outOfMemory).find(std::string(entryPoint) + " was abandoned: out of memory"),
        std::string::npos)
        << errorText(outOfMemory);
    return status;
}

TEST_F(SimBoardTest, ACallThatRunsOutOfMemoryFailsWithItsStatusAndTheBoardGoesOn) {
    const std::string longName(100, 'n');
    TaskHandle input = nullptr;
    ASSERT_EQ(statusThroughEveryAllocation(
                  "DAQmxCreateTask", [&] { return DAQmxCreateTask(longName.c_str(), &input); }),
              0)
        << "no half-made task holds the name";
    EXPECT_EQ(statusThroughEveryAllocation("DAQmxCreateAIVoltageChan",
                                           [&] { return addInput(input, "PXI1Slot2/ai99"); }),
              -209002);
    ASSERT_EQ(addInput(input, "PXI1Slot2/ai0"), 0);
    ASSERT_EQ(DAQmxStartTask(input), 0);
    EXPECT_EQ(statusThroughEveryAllocation("DAQmxStartTask", [&] { return DAQmxStartTask(input); }),
              -209019);

    ScopedTask output;
    ASSERT_EQ(addClockedOutput(output, "PXI1Slot2/ao1", 1000.0, 1000), 0);
    const std::vector<double> block(1000, 1.5);
    EXPECT_EQ(statusThroughEveryAllocation("DAQmxWriteAnalogF64",
                                           [&] { return writeBlock(output, block); }),
              0);

    char text[512];
    EXPECT_EQ(
        statusThroughEveryAllocation(
            "DAQmxGetErrorString", [&] { return DAQmxGetErrorString(-200284, text, sizeof text); }),
        0);
    EXPECT_EQ(
        statusThroughEveryAllocation(
            "simboard_applyBench",
            [] { return simboard_applyBench(R"({"analogInputs": {"PXI1Slot2/ai5": 1.25}})"); }),
        0);

    char status[8192]; // the whole account, whatever the stand's state
    auto [size, allocations] = throughEveryAllocation(
        [&] {
            status[0] = 'x';
            return simboard_status(status, sizeof status);
        },
        [&](uint32_t ranOut) {
            EXPECT_EQ(ranOut, 0u) << "no size: no text";
            EXPECT_STREQ(status, "");
        });
    EXPECT_GT(allocations, 0);
    EXPECT_EQ(size, std::string(status).size() + 1);

    double volts = 0.0;
    ScopedTask single;
    ASSERT_EQ(DAQmxClearTask(input), 0);
    ASSERT_EQ(addInput(single, "PXI1Slot2/ai5"), 0);
    ASSERT_EQ(readOne(single, volts), 0);
    EXPECT_EQ(volts, 1.25) << "the bench text applied once it could be read";
}

TEST_F(SimBoardTest, AnyOtherFailureEndsTheCallWithAStatusOfItsOwnThatSaysWhatHappened) {
    constexpr int32 unexpected = -209025;
    try {
        throw std::runtime_error("the lock is broken");
    } catch (...) {
        EXPECT_EQ(simboard::failedCall("DAQmxStopTask"), unexpected);
    }
    EXPECT_NE(errorText(unexpected).find("DAQmxStopTask was abandoned: the lock is broken."),
              std::string::npos)
        << errorText(unexpected);
}

} // namespace
