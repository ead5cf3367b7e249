// The error state and the shared ending: codes, texts, and every argument check.
#include "recorded_driver_fixture.h"

#include <functional>
#include <string>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using ErrorStateTest = RecordedDriverTest;

TEST_F(ErrorStateTest, StartsWithCodeZeroAndEmptyText) {
    EXPECT_EQ(orvex_GetLastError(), 0);
    EXPECT_EQ(errorText(), "");
}

TEST_F(ErrorStateTest, SetLastErrorReturnsThePreviousCodeAndKeepsTheText) {
    orvex_portOut(3, 0);
    const std::string failure = errorText();
    EXPECT_EQ(orvex_SetLastError(5), -1);
    EXPECT_EQ(orvex_SetLastError(7), 5);
    EXPECT_EQ(orvex_GetLastError(), 7);
    EXPECT_EQ(errorText(), failure);
}

TEST_F(ErrorStateTest, DriverFailureIsPassedThroughWithTheDriversText) {
    orvex_portMask(0, 255);
    rd_reset();
    rd_scriptStatus("DAQmxWriteDigitalU8", 1, -200088);
    EXPECT_EQ(orvex_portOut(0, 3), -200088);
    EXPECT_EQ(orvex_GetLastError(), -200088);
    EXPECT_EQ(errorText(), "recording driver: status -200088");
    EXPECT_EQ(calls().back(), "DAQmxGetErrorString(-200088, 1024)");
}

TEST_F(ErrorStateTest, TextAlwaysBelongsToTheStatusWhenTheDriverGivesNone) {
    orvex_portOut(3, 0); // an older, unrelated text
    rd_scriptStatus("DAQmxCreateTask", 1, -200220);
    rd_scriptStatus("DAQmxGetErrorString", 1, -200104);
    double volts = 0;
    EXPECT_EQ(orvex_analogIn(0, &volts), -200220);
    EXPECT_EQ(errorText(), "orvex: the board driver failed with status -200220 and gave no "
                           "description of it (its error text call returned -200104)");
}

TEST_F(ErrorStateTest, ADescriptionTheDriverWroteIsKeptWhenItsTextCallFails) {
    orvex_portMask(0, 255);
    rd_reset();
    rd_scriptStatus("DAQmxWriteDigitalU8", 1, -200088);
    rd_queueDescription("the task is not valid");
    rd_scriptStatus("DAQmxGetErrorString", 1, -200228);
    EXPECT_EQ(orvex_portOut(0, 3), -200088);
    EXPECT_EQ(errorText(), "the task is not valid");
}

TEST_F(ErrorStateTest, DriverStatusesEqualToLibraryCodesGetTheDriversTextAndSaySo) {
    orvex_portOut(3, 0);
    rd_scriptStatus("DAQmxReadAnalogF64", 1, -1);
    double volts = 0;
    EXPECT_EQ(orvex_analogIn(0, &volts), -1);
    EXPECT_EQ(errorText(), "orvex: the board driver itself failed with status -1 (not a "
                           "library check): recording driver: status -1");

    rd_scriptStatus("DAQmxReadAnalogF64", 2, ORVEX_STATUS_NO_PROGRESS);
    double block[4];
    EXPECT_EQ(orvex_analogRead(0, block, 4, nullptr), ORVEX_STATUS_NO_PROGRESS);
    EXPECT_EQ(errorText(), "orvex: the board driver itself failed with status -2 (not a "
                           "library check): recording driver: status -2");
}

TEST_F(ErrorStateTest, SuccessAfterFailureSetsTheCodeAndKeepsTheFailuresText) {
    orvex_analogIn(8, nullptr);
    const std::string failure = errorText();
    double volts = 0;
    EXPECT_EQ(orvex_analogIn(0, &volts), 0);
    EXPECT_EQ(orvex_GetLastError(), 0);
    EXPECT_EQ(errorText(), failure);
}

TEST_F(ErrorStateTest, WarningIsReturnedAndRecordedWithoutTouchingTheText) {
    orvex_portOut(7, 0);
    const std::string failure = errorText();
    rd_scriptStatus("DAQmxReadAnalogF64", 1, 200010);
    double volts = 0;
    EXPECT_EQ(orvex_analogIn(1, &volts), 200010);
    EXPECT_EQ(orvex_GetLastError(), 200010);
    EXPECT_EQ(errorText(), failure);
}

TEST_F(ErrorStateTest, PrintLastErrorPrintsCodeAndTextAndReturnsTheCode) {
    orvex_portOut(3, 0);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(orvex_PrintLastError(), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error = -1, ASSERT ERORR: orvex, line 292: 0 <= port && port < PORT_SIZE: "
              "Порт вне диапазона\n");
    EXPECT_EQ(orvex_GetLastError(), -1);
}

// Every argument check: the call is refused with -1 and its exact message, and the
// driver is not called.
struct FailedCheck {
    const char *name;
    std::function<int()> call;
    const char *message;
};

void PrintTo(const FailedCheck &check, std::ostream *out) {
    *out << check.name;
}

class ArgumentCheckTest : public RecordedDriverTest,
                          public ::testing::WithParamInterface<FailedCheck> {};

TEST_P(ArgumentCheckTest, RefusesWithItsMessageAndNoDriverCall) {
    EXPECT_EQ(GetParam().call(), -1);
    EXPECT_EQ(orvex_GetLastError(), -1);
    EXPECT_EQ(errorText(), GetParam().message);
    EXPECT_THAT(calls(), IsEmpty());
}

double samples[4];
int count;
double volts;
unsigned char portState;

const std::string tooLong(256, 'x');
const std::string longestAccepted(255, 'x');

INSTANTIATE_TEST_SUITE_P(
    EveryCheck, ArgumentCheckTest,
    ::testing::Values(
        FailedCheck{"portMaskPort3", [] { return orvex_portMask(3, 0); },
                    "ASSERT ERORR: orvex, line 250: 0 <= portN && portN < PORT_SIZE: "
                    "Порт вне диапазона"},
        FailedCheck{"portMaskPortMinus1", [] { return orvex_portMask(-1, 0); },
                    "ASSERT ERORR: orvex, line 250: 0 <= portN && portN < PORT_SIZE: "
                    "Порт вне диапазона"},
        FailedCheck{"portOutPort", [] { return orvex_portOut(3, 1); },
                    "ASSERT ERORR: orvex, line 292: 0 <= port && port < PORT_SIZE: "
                    "Порт вне диапазона"},
        FailedCheck{"portInPort", [] { return orvex_portIn(-1, &portState); },
                    "ASSERT ERORR: orvex, line 305: 0 <= port && port < PORT_SIZE: "
                    "Порт вне диапазона"},
        FailedCheck{"portInPortBeforeData", [] { return orvex_portIn(3, nullptr); },
                    "ASSERT ERORR: orvex, line 305: 0 <= port && port < PORT_SIZE: "
                    "Порт вне диапазона"},
        FailedCheck{"portInData", [] { return orvex_portIn(0, nullptr); },
                    "ASSERT ERORR: orvex, line 306: data != NULL: NULL ptr"},
        FailedCheck{"analogOutIndex2", [] { return orvex_analogOut(2, 0.0); },
                    "ASSERT ERORR: orvex, line 385: 0 <= idx && idx < ANALOG_SIZEo: "
                    "вне диапазона"},
        FailedCheck{"analogOutIndexMinus1", [] { return orvex_analogOut(-1, 0.0); },
                    "ASSERT ERORR: orvex, line 385: 0 <= idx && idx < ANALOG_SIZEo: "
                    "вне диапазона"},
        FailedCheck{"analogInIndex", [] { return orvex_analogIn(8, &volts); },
                    "ASSERT ERORR: orvex, line 395: 0 <= idx && idx < ANALOG_SIZEi: "
                    "вне диапазона"},
        FailedCheck{"analogInValue", [] { return orvex_analogIn(0, nullptr); },
                    "ASSERT ERORR: orvex, line 396: val != NULL"},
        FailedCheck{"analogReadIndex", [] { return orvex_analogRead(8, samples, 4, &count); },
                    "ASSERT ERORR: orvex, line 430: 0 <= idx && idx < ANALOG_SIZEi: "
                    "вне диапазона"},
        FailedCheck{"analogReadArray", [] { return orvex_analogRead(0, nullptr, 4, &count); },
                    "ASSERT ERORR: orvex, line 431: warray != NULL"},
        FailedCheck{"analogReadSizeZero",
                    [] { return orvex_analogReadEx(0, samples, 0, &count, 1.0); },
                    "ASSERT ERORR: orvex, line 432: size > 0"},
        FailedCheck{"analogReadSizeNegative",
                    [] { return orvex_analogReadEx(0, samples, -3, &count, 1.0); },
                    "ASSERT ERORR: orvex, line 432: size > 0"},
        FailedCheck{"analogFetchIndex",
                    [] { return orvex_analogFetchEx(-1, samples, 4, &count, 1.0); },
                    "ASSERT ERORR: orvex, line 469: 0 <= idx && idx < ANALOG_SIZEi: "
                    "вне диапазона"},
        FailedCheck{"analogFetchArray",
                    [] { return orvex_analogFetchEx(0, nullptr, 4, &count, 1.0); },
                    "ASSERT ERORR: orvex, line 470: warray != NULL"},
        FailedCheck{"analogFetchSize",
                    [] { return orvex_analogFetchEx(0, samples, 0, &count, 1.0); },
                    "ASSERT ERORR: orvex, line 471: size > 0"},
        FailedCheck{"analogInStopIndex", [] { return orvex_analogInStop(8); },
                    "ASSERT ERORR: orvex, line 518: 0 <= idx && idx < ANALOG_SIZEi: "
                    "вне дипазона"},
        FailedCheck{"analogInStopNothingFetched", [] { return orvex_analogInStop(0); },
                    "ASSERT ERORR: orvex, line 519: anlgClock.maskFetch == (1<<idx)"},
        FailedCheck{"analogWriteIndex", [] { return orvex_analogWrite(2, samples, 4); },
                    "ASSERT ERORR: orvex, line 558: 0 <= idx && idx < ANALOG_SIZEo: "
                    "вне диапазона"},
        FailedCheck{"analogWriteArray", [] { return orvex_analogWrite(0, nullptr, 4); },
                    "ASSERT ERORR: orvex, line 559: warray != NULL"},
        FailedCheck{"analogWriteSize", [] { return orvex_analogWriteEx(1, samples, 0, 1.0); },
                    "ASSERT ERORR: orvex, line 560: size > 0"},
        FailedCheck{"analogOutStopIndex", [] { return orvex_analogOutStop(2); },
                    "ASSERT ERORR: orvex, line 604: 0 <= idx && idx < ANALOG_SIZEo: "
                    "вне диапазона"},
        FailedCheck{"analogOutStopNothingMarked", [] { return orvex_analogOutStop(0); },
                    "ASSERT ERORR: orvex, line 605: dacOpt.maskFetch == (1<<idx)"},
        FailedCheck{"analogInClkSource", [] { return orvex_analogInClk(tooLong.c_str(), 10.0); },
                    "ASSERT ERORR: orvex, line 412: strlen(source) < sizeof(anlgClock.clkSource)"},
        FailedCheck{"analogInTriggerSource",
                    [] { return orvex_analogInTrigger(tooLong.c_str(), 1.0); },
                    "ASSERT ERORR: orvex, line 421: strlen(source) < "
                    "sizeof(anlgClock.trigSource)"},
        FailedCheck{"analogOutClkSource", [] { return orvex_analogOutClk(tooLong.c_str(), 10.0); },
                    "ASSERT ERORR: orvex, line 541: strlen(source) < sizeof(dacOpt.clkSource)"},
        FailedCheck{"analogOutTriggerSource",
                    [] { return orvex_analogOutTrigger(tooLong.c_str(), 1.0); },
                    "ASSERT ERORR: orvex, line 550: strlen(source) < sizeof(dacOpt.trigSource)"}),
    [](const ::testing::TestParamInfo<FailedCheck> &info) { return std::string(info.param.name); });

TEST_F(ErrorStateTest, RefusedCallsChangeNothing) {
    orvex_portMask(1, 5);
    orvex_portOut(1, 9);
    const auto before = masksOf(1);
    orvex_portMask(3, 7);
    orvex_portOut(3, 1);
    orvex_analogInClk(tooLong.c_str(), 5.0);
    orvex_analogOutTrigger(tooLong.c_str(), 2.0);
    EXPECT_EQ(masksOf(1), before);
    EXPECT_EQ(orvex::cache.portValue[1], 9);
    EXPECT_EQ(orvex::cache.portValue[2], -1);
    EXPECT_STREQ(orvex::anlgClock.clkSource, "OnboardClock");
    EXPECT_EQ(orvex::anlgClock.clkRate, 1000.0);
    EXPECT_STREQ(orvex::dacOpt.trigSource, "");
    EXPECT_EQ(orvex::dacOpt.trigLevel, 0.0);
}

TEST_F(ErrorStateTest, SourcesOfUpTo255CharactersAreStoredWhole) {
    EXPECT_EQ(orvex_analogInTrigger(longestAccepted.c_str(), 1.0), 0);
    EXPECT_EQ(orvex_GetLastError(), 0);
    EXPECT_EQ(std::string(orvex::anlgClock.trigSource), longestAccepted);
}

} // namespace
