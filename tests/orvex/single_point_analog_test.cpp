// One voltage in or out over the channel's cached task.
#include "recorded_driver_fixture.h"

using ::testing::ElementsAre;

namespace {

using SinglePointAnalogTest = RecordedDriverTest;

TEST_F(SinglePointAnalogTest, TaskIsCreatedOnceAndReused) {
    double volts = 0;
    orvex_analogIn(6, &volts);
    orvex_analogOut(0, 1.0);
    rd_reset();
    orvex_analogIn(6, &volts);
    orvex_analogOut(0, 2.0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxReadAnalogF64(analog6I, 1, 1, 0, 1, null, null)",
                                     "DAQmxWriteAnalogF64(analog0o, 1, 1, 1, 0, [2], null, null)"));
}

TEST_F(SinglePointAnalogTest, ValuesPassUnchangedBothWays) {
    const double measured = -12.75;
    rd_queueAnalogRead(&measured, 1, 1);
    double volts = 0;
    EXPECT_EQ(orvex_analogIn(4, &volts), 0);
    EXPECT_EQ(volts, -12.75);
    rd_scriptStatus("DAQmxWriteAnalogF64", 1, -200077);
    EXPECT_EQ(orvex_analogOut(1, 42.5), -200077);
    EXPECT_EQ(calls()[5], "DAQmxWriteAnalogF64(analog1o, 1, 1, 1, 0, [42.5], null, null)");
    EXPECT_EQ(errorText(), "recording driver: status -200077");
}

TEST_F(SinglePointAnalogTest, FailedChannelCreationIsReturned) {
    rd_scriptStatus("DAQmxCreateAIVoltageChan", 1, -200170);
    double volts = 0;
    EXPECT_EQ(orvex_analogIn(7, &volts), -200170);
    EXPECT_EQ(orvex_GetLastError(), -200170);
    EXPECT_EQ(calls().size(), 4u); // create, channel, release, error text: no read
}

} // namespace
