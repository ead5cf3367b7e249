// Every refusal of the scan calls: status -1, a message that says what is wrong, no driver
// call, and the stored set-up left as it was.
#include "recorded_driver_fixture.h"

#include <functional>
#include <limits>
#include <string>

using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

using ScanChecksTest = RecordedDriverTest;

struct Refusal {
    const char *what;
    std::function<int()> call;
    const char *message;
};

TEST_F(ScanChecksTest, BadSetUpsAreRefusedWithTheirReasonAndChangeNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double wave[] = {0.0, 11.0};
    const Refusal refusals[] = {
        {"unknown channel", [] { return orvex_scanChannels("ai0,ai16", 10, ORVEX_RSE); },
         R"(unknown channel "ai16" (the inputs are ai0 to ai15))"},
        {"not an input", [] { return orvex_scanChannels("ao0", 10, ORVEX_RSE); },
         R"(unknown channel "ao0")"},
        {"empty list", [] { return orvex_scanChannels(" ", 10, ORVEX_RSE); }, "no channel given"},
        {"null list", [] { return orvex_scanChannels(nullptr, 10, ORVEX_RSE); },
         "no channel given"},
        {"trailing text", [] { return orvex_scanChannels("ai1x", 10, ORVEX_RSE); },
         R"(unknown channel "ai1x")"},
        {"another slot", [] { return orvex_scanChannels("PXI1Slot3/ai0", 10, ORVEX_RSE); },
         "is not on the board in slot 2"},
        {"twice", [] { return orvex_scanChannels("ai0:3,ai2", 10, ORVEX_RSE); },
         "ai2 is listed twice"},
        {"more than all", [] { return orvex_scanChannels("ai0:15,ai15:0", 10, ORVEX_RSE); },
         "more than 16 channels"},
        {"differential above ai7", [] { return orvex_scanChannels("ai8", 10, ORVEX_DIFF); },
         "ai8 cannot be differential"},
        {"partner on its own", [] { return orvex_scanChannels("ai9,ai1", 10, ORVEX_DIFF); },
         "ai9 cannot be differential"},
        {"partner in the list",
         [] {
             orvex_scanChannels("ai1,ai9", 10, ORVEX_RSE);
             return orvex_scanChannelSetup("ai1", 10, ORVEX_DIFF);
         },
         "ai9 is the differential partner of ai1 and cannot be used on its own"},
        {"range above 10 V", [] { return orvex_scanChannels("ai0", 10.5, ORVEX_RSE); },
         "0 < range && range <= 10"},
        {"range 0", [] { return orvex_scanChannels("ai0", 0, ORVEX_RSE); }, "range"},
        {"range NaN", [nan] { return orvex_scanChannels("ai0", nan, ORVEX_RSE); }, "range"},
        {"terminal", [] { return orvex_scanChannels("ai0", 1, 7); }, "terminal"},
        {"set-up of a channel not listed",
         [] { return orvex_scanChannelSetup("ai5", 1, ORVEX_RSE); },
         "not in the scan's channel list"},
        {"rate 0", [] { return orvex_scanClock(0.0); }, "rate > 0"},
        {"rate NaN", [nan] { return orvex_scanClock(nan); }, "rate > 0"},
        {"rate infinite", [] { return orvex_scanClock(std::numeric_limits<double>::infinity()); },
         "rate > 0"},
        {"trigger source", [] { return orvex_scanTrigger("ai16", 0, ORVEX_RISING); },
         "an analog input ai0 to ai15 or a line PFI0 to PFI15"},
        {"trigger line", [] { return orvex_scanTrigger("PFI16", 0, ORVEX_RISING); }, "PFI15"},
        {"trigger level", [] { return orvex_scanTrigger("ai0", 10.5, ORVEX_RISING); }, "level"},
        {"trigger slope", [] { return orvex_scanTrigger("ai0", 1, 2); }, "slope"},
        {"output channel", [wave] { return orvex_scanOutput("ao2", wave, 1, 1, 0); },
         "ao0, ao1 or ao0:1"},
        {"output volts", [wave] { return orvex_scanOutput("ao0", wave, 2, 1, 0); }, "data[i]"},
        {"output size", [wave] { return orvex_scanOutput("ao0", wave, 0, 1, 0); },
         "samplesPerChannel > 0"},
        {"output rate", [wave] { return orvex_scanOutput("ao0", wave, 1, 0, 0); }, "rate > 0"},
        {"start without channels", [] { return orvex_scanStart(0); }, "no channel list was set"},
        {"read without a scan",
         [] {
             double data[1];
             return orvex_scanReadEx(data, 1, ORVEX_BY_SCAN, nullptr, 1);
         },
         "no scan runs"},
        {"info", [] { return orvex_scanInfo(nullptr); }, "info != NULL"},
        {"channel of an empty list",
         [] {
             orvex_ScanChannel channel;
             return orvex_scanChannel(0, &channel);
         },
         "not in the scan's channel list"},
    };
    for (const Refusal &refusal : refusals) {
        SetUp();
        EXPECT_EQ(refusal.call(), -1) << refusal.what;
        EXPECT_EQ(orvex_GetLastError(), -1) << refusal.what;
        EXPECT_THAT(errorText(), HasSubstr("ASSERT ERORR: orvex, line ")) << refusal.what;
        EXPECT_THAT(errorText(), HasSubstr(refusal.message)) << refusal.what;
        EXPECT_THAT(calls(), IsEmpty()) << refusal.what;
    }
}

TEST_F(ScanChecksTest, ARefusedListKeepsTheOneBefore) {
    ASSERT_EQ(orvex_scanChannels("ai2:3", 0.4, ORVEX_DIFF), 0) << errorText();
    EXPECT_EQ(orvex_scanChannels("ai2,ai10", 1, ORVEX_DIFF), -1);
    EXPECT_EQ(orvex_scanChannelSetup("ai3", 20, ORVEX_RSE), -1);
    orvex_ScanChannel channel;
    ASSERT_EQ(orvex_scanChannel(1, &channel), 0);
    EXPECT_STREQ(channel.name, "ai3");
    EXPECT_EQ(channel.input, 3);
    EXPECT_DOUBLE_EQ(channel.range, 0.5); // widened to the board's range that holds 0.4 V
    EXPECT_EQ(channel.terminal, ORVEX_DIFF);
    EXPECT_EQ(orvex_scanChannel(2, &channel), -1);
}

TEST_F(ScanChecksTest, ListsAreReadAsTheBoardsUsersWriteThem) {
    const std::pair<const char *, std::vector<int>> lists[] = {
        {"ai0:3,ai8", {0, 1, 2, 3, 8}},
        {"AI3:1", {3, 2, 1}},
        {" /PXI1Slot2/ai5 , PXI1Slot2/ai7:ai6", {5, 7, 6}},
        {"ai15", {15}},
    };
    for (const auto &[text, inputs] : lists) {
        ASSERT_EQ(orvex_scanChannels(text, 10, ORVEX_RSE), 0) << text << ": " << errorText();
        std::vector<int> got;
        orvex_ScanChannel channel;
        for (int k = 0; orvex_scanChannel(k, &channel) == 0; ++k) {
            got.push_back(channel.input);
        }
        EXPECT_EQ(got, inputs) << text;
    }
}

TEST_F(ScanChecksTest, TheSetUpCannotChangeUnderARunningScan) {
    orvex_scanChannels("ai0", 10, ORVEX_RSE);
    ASSERT_EQ(orvex_scanStart(0), 0) << errorText();
    const double wave[] = {0.0};
    for (int status :
         {orvex_scanChannels("ai1", 10, ORVEX_RSE), orvex_scanChannelSetup("ai0", 1, ORVEX_RSE),
          orvex_scanClock(10.0), orvex_scanTrigger(nullptr, 0, ORVEX_RISING),
          orvex_scanOutput("ao0", wave, 1, 1, 0), orvex_scanStart(0)}) {
        EXPECT_EQ(status, -1);
    }
    EXPECT_EQ(orvex_scanStop(), 0);
    EXPECT_EQ(orvex_scanClock(10.0), 0);
}

} // namespace
