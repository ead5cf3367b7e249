// The driver layer loads the library that ORVEX_DRIVER names on the first call and
// keeps it once every entry point was found.  A loaded driver stays loaded, so the
// whole sequence runs in this one test, in this order.
#include "daqmx/daqmx.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr const char *notLoadedText = "Unable to load NI-DAQmx dynamic link library NICAIU.DLL.\n\n"
                                      "Ensure that NI-DAQmx is installed on your machine.\n";
constexpr const char *entryPointMissingText =
    "Unable to find function in NI-DAQmx dynamic link library (DLL) NICAIU.DLL.\n\n"
    "The DLL exists on your computer, but the version is incorrect. Install the correct "
    "version of the DLL on your machine.\n";

// The text the layer gives for a status, from a buffer of the given size.
std::string errorString(int32 status, uInt32 size = 1024) {
    std::array<char, 1025> text;
    text.fill('#');
    DAQmxGetErrorString(status, text.data(), size);
    EXPECT_EQ(text[size], '#') << "wrote past " << size;
    return text.data();
}

TEST(DriverLoader, FailsWhileNoCompleteDriverCanBeLoadedThenRecovers) {
    TaskHandle task = nullptr;
    setEnvironment("ORVEX_DRIVER", "/nonexistent/libno_such_driver.so");
    EXPECT_EQ(DAQmxCreateTask("t", &task), DAQMX_ERROR_LIBRARY_NOT_LOADED);
    EXPECT_EQ(DAQmxStopTask(task), DAQMX_ERROR_LIBRARY_NOT_LOADED);
    EXPECT_EQ(errorString(DAQMX_ERROR_LIBRARY_NOT_LOADED), notLoadedText);

    setEnvironment("ORVEX_DRIVER", INCOMPLETE_DRIVER);
    EXPECT_EQ(DAQmxCreateTask("t", &task), DAQMX_ERROR_ENTRY_POINT_MISSING);
    EXPECT_EQ(errorString(DAQMX_ERROR_ENTRY_POINT_MISSING), entryPointMissingText);
    EXPECT_EQ(task, nullptr);

    setEnvironment("ORVEX_DRIVER", COMPLETE_DRIVER);
    EXPECT_EQ(DAQmxCreateTask("t", &task), 0);
    EXPECT_NE(task, nullptr);
    EXPECT_EQ(DAQmxDisableStartTrig(task), 0);
    EXPECT_EQ(errorString(-200088), "recording driver: status -200088");

    setEnvironment("ORVEX_DRIVER", "/nonexistent/libno_such_driver.so");
    EXPECT_EQ(DAQmxStartTask(task), 0) << "a loaded driver stays loaded";
}

TEST(DriverLoader, LoadingTextsAreCutToTheBuffer) {
    EXPECT_EQ(errorString(DAQMX_ERROR_LIBRARY_NOT_LOADED, 7), "Unable");
    EXPECT_EQ(errorString(DAQMX_ERROR_ENTRY_POINT_MISSING, 1), "");
    char untouched = '#';
    EXPECT_EQ(DAQmxGetErrorString(DAQMX_ERROR_ENTRY_POINT_MISSING, &untouched, 0), 0);
    EXPECT_EQ(untouched, '#');
}

} // namespace
