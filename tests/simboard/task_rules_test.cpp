// Task names and handles, reservations of lines and timing engines, and auto-start.
#include "board_fixture.h"

namespace {

constexpr int32 reserved = -50103;
constexpr int32 invalidTask = -200088;
constexpr int32 duplicateName = -209012;
constexpr int32 notRunning = -209018;

TEST_F(SimBoardTest, TaskNamesAreUniqueAmongLiveTasksOnly) {
    TaskHandle first = nullptr;
    TaskHandle second = nullptr;
    ASSERT_EQ(DAQmxCreateTask("port1W5", &first), 0);
    EXPECT_EQ(DAQmxCreateTask("PORT1w5", &second), duplicateName);
    EXPECT_EQ(second, nullptr);
    ASSERT_EQ(DAQmxClearTask(first), 0);
    ASSERT_EQ(DAQmxCreateTask("port1W5", &second), 0);
    EXPECT_EQ(DAQmxClearTask(second), 0);
}

TEST_F(SimBoardTest, TheLiveTasksAreListedOldestFirstUntilCleared) {
    EXPECT_EQ(simboard_liveTasks(nullptr, 0), 0u) << "a fresh board has no tasks";
    ScopedTask first("port0R0");
    const std::string longName(300, 'x');
    ScopedTask second(longName.c_str());
    TaskHandle cleared = nullptr;
    ASSERT_EQ(DAQmxCreateTask("cleared", &cleared), 0);
    ASSERT_EQ(DAQmxClearTask(cleared), 0);
    ASSERT_EQ(DAQmxCreateDIChan(first, "PXI1Slot2/port0", "r", 1), 0);
    ASSERT_EQ(DAQmxStartTask(first), 0);

    SimboardTask listed[3] = {};
    ASSERT_EQ(simboard_liveTasks(listed, 1), 2u) << "the count, whatever the room";
    EXPECT_EQ(listed[1].handle, 0u) << "nothing past the room given";
    ASSERT_EQ(simboard_liveTasks(listed, 3), 2u);
    EXPECT_EQ(listed[0].handle, reinterpret_cast<uintptr_t>(first.get()));
    EXPECT_STREQ(listed[0].name, "port0R0");
    EXPECT_EQ(listed[0].running, 1);
    EXPECT_EQ(listed[1].handle, reinterpret_cast<uintptr_t>(second.get()));
    EXPECT_EQ(listed[1].name, longName.substr(0, sizeof listed[1].name - 1));
    EXPECT_EQ(listed[1].running, 0);
}

TEST_F(SimBoardTest, UnnamedTasksNeverClash) {
    ScopedTask a;
    ScopedTask b;
    EXPECT_NE(a.get(), b.get());
}

TEST_F(SimBoardTest, ClearedNullAndMadeUpHandlesAreRefused) {
    TaskHandle task = nullptr;
    ASSERT_EQ(DAQmxCreateTask("gone", &task), 0);
    ASSERT_EQ(DAQmxClearTask(task), 0);
    for (TaskHandle handle : {task, static_cast<TaskHandle>(nullptr),
                              reinterpret_cast<TaskHandle>(uintptr_t{0xDEADBEEF})}) {
        EXPECT_EQ(DAQmxStartTask(handle), invalidTask);
        EXPECT_EQ(DAQmxStopTask(handle), invalidTask);
        EXPECT_EQ(DAQmxClearTask(handle), invalidTask);
        EXPECT_EQ(writeOne(handle, 1.0), invalidTask);
    }
}

// What the board refuses at each stage of a task's life, with a text that names the task.
TEST_F(SimBoardTest, EachStageOfATasksLifeRefusesWhatTheBoardRefuses) {
    constexpr int32 running = -209019;
    ScopedTask acquirer("acquirer");
    ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai0", 1000.0, 100), 0);
    ASSERT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer, "PXI1Slot2/ai1", 10280, 0.0), 0);
    ASSERT_EQ(DAQmxDisableStartTrig(acquirer), 0);
    ASSERT_EQ(DAQmxStartTask(acquirer), 0);

    EXPECT_EQ(DAQmxStartTask(acquirer), running);
    EXPECT_NE(errorText(running).find("Task \"acquirer\" is already running"), std::string::npos)
        << errorText(running);
    EXPECT_EQ(clockAt(acquirer, 500.0, 100), running);
    EXPECT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer, "PXI1Slot2/ai1", 10280, 0.0), running);
    EXPECT_EQ(DAQmxDisableStartTrig(acquirer), running) << "no trigger to remove changes nothing";
    SimboardTask listed{};
    ASSERT_EQ(simboard_liveTasks(&listed, 1), 1u);
    EXPECT_EQ(listed.running, 1) << "a refused start leaves the task running";

    ASSERT_EQ(DAQmxStopTask(acquirer), 0);
    EXPECT_EQ(DAQmxStopTask(acquirer), 0) << "stopping a stopped task is no error";
    EXPECT_EQ(DAQmxStartTask(acquirer), 0) << "a stopped task starts again";

    ScopedTask output;
    ASSERT_EQ(addOutput(output, "PXI1Slot2/ao1"), 0);
    ASSERT_EQ(DAQmxStartTask(output), 0);
    EXPECT_EQ(DAQmxStartTask(output), running) << "on-demand tasks as well";
    ASSERT_EQ(DAQmxClearTask(acquirer), 0) << "a running task may be cleared";
    ASSERT_EQ(DAQmxClearTask(output), 0);
    for (TaskHandle gone : {acquirer.get(), output.get()}) {
        EXPECT_EQ(DAQmxStartTask(gone), invalidTask);
        EXPECT_EQ(writeOne(gone, 1.0), invalidTask);
        EXPECT_EQ(clockAt(gone, 500.0, 100), invalidTask);
        EXPECT_EQ(DAQmxClearTask(gone), invalidTask);
    }
}

TEST_F(SimBoardTest, ARunningTaskHoldsItsLinesAgainstOverlappingTasksOnly) {
    ScopedTask holder;
    ScopedTask overlapping;
    ScopedTask beside;
    ASSERT_EQ(DAQmxCreateDIChan(holder, "PXI1Slot2/port1/line0:3", "r", 1), 0);
    ASSERT_EQ(DAQmxCreateDOChan(overlapping, "PXI1Slot2/port1/line3:4", "w", 1), 0);
    ASSERT_EQ(DAQmxCreateDOChan(beside, "PXI1Slot2/port1/line4:7", "w", 1), 0);
    ASSERT_EQ(DAQmxStartTask(holder), 0);

    EXPECT_EQ(DAQmxStartTask(overlapping), reserved);
    EXPECT_NE(errorText(reserved).find("\"" + std::string("_unnamedTask")), std::string::npos);
    EXPECT_EQ(writeByte(overlapping, 0xFF), reserved) << "auto-start reserves like a start";
    EXPECT_EQ(DAQmxStartTask(beside), 0);

    ASSERT_EQ(DAQmxStopTask(holder), 0);
    EXPECT_EQ(writeByte(overlapping, 0xFF), reserved) << "line 4 is still held";
    ASSERT_EQ(DAQmxStopTask(beside), 0);
    EXPECT_EQ(writeByte(overlapping, 0xFF), 0);
}

TEST_F(SimBoardTest, OneClockedInputRunsAndOtherInputReadsAreRefusedMeanwhile) {
    ScopedTask clocked;
    ScopedTask otherClocked;
    ScopedTask single;
    ASSERT_EQ(addClockedInput(clocked, "PXI1Slot2/ai0", 1000.0, 1000), 0);
    ASSERT_EQ(addClockedInput(otherClocked, "PXI1Slot2/ai1", 1000.0, 1000), 0);
    ASSERT_EQ(addInput(single, "PXI1Slot2/ai2"), 0);

    std::vector<double> block(10);
    ASSERT_EQ(readBlock(clocked, block), 0); // auto-started, keeps running
    double value = 0.0;
    EXPECT_EQ(readOne(single, value), reserved);
    EXPECT_EQ(DAQmxStartTask(otherClocked), reserved);

    ASSERT_EQ(DAQmxStopTask(clocked), 0);
    EXPECT_EQ(readOne(single, value), 0);
    EXPECT_EQ(DAQmxStartTask(otherClocked), 0);
}

TEST_F(SimBoardTest, OneClockedGenerationRunsAndItsChannelIsHeld) {
    ScopedTask ao0;
    ScopedTask ao1;
    ScopedTask ao0Single;
    ScopedTask ao1Single;
    ASSERT_EQ(addClockedOutput(ao0, "PXI1Slot2/ao0", 1000.0, 4), 0);
    ASSERT_EQ(addClockedOutput(ao1, "PXI1Slot2/ao1", 1000.0, 4), 0);
    ASSERT_EQ(addOutput(ao0Single, "PXI1Slot2/ao0"), 0);
    ASSERT_EQ(addOutput(ao1Single, "PXI1Slot2/ao1"), 0);

    ASSERT_EQ(writeBlock(ao0, {1.0, 2.0, 3.0, 4.0}), 0);
    EXPECT_EQ(writeBlock(ao1, {1.0, 2.0}), reserved);
    EXPECT_EQ(writeOne(ao0Single, 1.0), reserved);
    EXPECT_EQ(writeOne(ao1Single, 1.0), 0) << "the other output's converter is free";

    ASSERT_EQ(DAQmxStopTask(ao0), 0);
    EXPECT_EQ(DAQmxStartTask(ao1), 0);
}

TEST_F(SimBoardTest, AutoStartReturnsOnDemandTasksToStoppedButKeepsClockedOnesRunning) {
    ScopedTask writer;
    ScopedTask reader;
    ASSERT_EQ(DAQmxCreateDOChan(writer, "PXI1Slot2/port0/line0", "w", 1), 0);
    ASSERT_EQ(DAQmxCreateDIChan(reader, "PXI1Slot2/port0", "r", 1), 0);
    ASSERT_EQ(writeByte(writer, 1), 0);
    EXPECT_EQ(DAQmxStartTask(reader), 0) << "the write's auto-start left its task stopped";
    ASSERT_EQ(DAQmxStopTask(reader), 0);

    ScopedTask clocked;
    ScopedTask other;
    ASSERT_EQ(addInput(clocked, "PXI1Slot2/ai4"), 0);
    ASSERT_EQ(addInput(other, "PXI1Slot2/ai5"), 0);
    double value = 0.0;
    ASSERT_EQ(readOne(clocked, value), 0);
    EXPECT_EQ(readOne(other, value), 0) << "an on-demand read frees the converter again";
    ASSERT_EQ(clockAt(clocked, 1000.0, 100), 0);
    ASSERT_EQ(readOne(clocked, value), 0);
    EXPECT_EQ(readOne(other, value), reserved) << "a continuous clock keeps the task running";
}

TEST_F(SimBoardTest, AWriteWithoutAutoStartNeedsARunningTask) {
    ScopedTask digital;
    ScopedTask analog;
    ASSERT_EQ(DAQmxCreateDOChan(digital, "PXI1Slot2/port0", "w", 1), 0);
    ASSERT_EQ(addOutput(analog, "PXI1Slot2/ao1"), 0);
    EXPECT_EQ(writeByte(digital, 3, 0), notRunning);
    double level = 2.0;
    EXPECT_EQ(DAQmxWriteAnalogF64(analog, 1, 0, 1.0, 0, &level, nullptr, nullptr), notRunning);
    ASSERT_EQ(DAQmxStartTask(digital), 0);
    EXPECT_EQ(writeByte(digital, 3, 0), 0);
}

TEST_F(SimBoardTest, OperationsOnEmptyOrMismatchedTasksAreRefused) {
    constexpr int32 noChannel = -209013;
    constexpr int32 wrongType = -209014;
    constexpr int32 noTiming = -209017;
    ScopedTask empty;
    ScopedTask digitalIn;
    ScopedTask analogIn;
    ASSERT_EQ(DAQmxCreateDIChan(digitalIn, "PXI1Slot2/port0", "r", 1), 0);
    ASSERT_EQ(addInput(analogIn, "PXI1Slot2/ai0"), 0);
    EXPECT_EQ(DAQmxStartTask(empty), noChannel);
    EXPECT_EQ(clockAt(empty, 1000.0, 10), noChannel);
    EXPECT_EQ(writeByte(digitalIn, 1), wrongType);
    EXPECT_EQ(writeOne(analogIn, 1.0), wrongType);
    uInt8 byte = 0;
    EXPECT_EQ(readByte(analogIn, byte), wrongType);
    EXPECT_EQ(clockAt(digitalIn, 1000.0, 10), noTiming);
    EXPECT_EQ(DAQmxCreateDIChan(digitalIn, "PXI1Slot2/port0", "r", 1), -209016);
    EXPECT_EQ(DAQmxCreateDIChan(empty, "PXI1Slot2/port0", "r", 0), -209015) << "one channel "
                                                                               "per line";
}

} // namespace
