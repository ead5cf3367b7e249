// The error print and debugger stop that the library and the application report with.
#include "uiruntime/diagnostics.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string sunk;

TEST(ErrorPrintf, PrintsToStandardErrorAndToTheSink) {
    SetErrorPrintSink([](const char *text) { sunk = text; });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ErrorPrintf("Error = %i, %s\n", -1, "text"), 17);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error = -1, text\n");
    EXPECT_EQ(sunk, "Error = -1, text\n");
    SetErrorPrintSink(nullptr);
    ::testing::internal::CaptureStderr();
    ErrorPrintf("%s", "later");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "later");
    EXPECT_EQ(sunk, "Error = -1, text\n");
}

TEST(Breakpoint, ReturnsWithoutADebugger) {
    Breakpoint();
    SUCCEED();
}

} // namespace
