// orvex.dll as a Windows lab program meets it: no vendor driver installed, then the
// simulated board named by a path that the machine's code page cannot spell, with its
// bench file and journal beside it.  A loaded driver stays loaded, so one test runs the
// whole sequence in this order.
#include "host/host_text.h"
#include "support/test_environment.h"
#include <orvex.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char *notLoadedText = "Unable to load NI-DAQmx dynamic link library NICAIU.DLL.\n\n"
                                      "Ensure that NI-DAQmx is installed on your machine.\n";

std::wstring programFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program(path, length);
    return program.substr(0, program.find_last_of(L'\\'));
}

void writeFile(const std::wstring &path, const std::string &text) {
    std::FILE *file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

std::string readFile(const std::wstring &path) {
    std::string text;
    if (std::FILE *file = _wfopen(path.c_str(), L"rb")) {
        char chunk[4096];
        for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
            text.append(chunk, got);
        }
        std::fclose(file);
    }
    return text;
}

TEST(WindowsDriverPath, NoVendorDriverThenTheSimulatedBoardByANonAsciiPath) {
    setEnvironment("ORVEX_DRIVER", "");
    EXPECT_EQ(orvex_analogOut(0, 2.5), -200397) << "no nicaiu.dll on this machine";
    EXPECT_EQ(orvex_GetLastError(), -200397);
    EXPECT_STREQ(orvex_GetLastErrorBuffer(), notLoadedText);

    const std::wstring folder = programFolder() + L"\\Стенд 6251 – ü";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring board = folder + L"\\orvex_simboard.dll";
    ASSERT_TRUE(CopyFileW(host::wideFromUtf8(SIMULATED_BOARD).c_str(), board.c_str(), FALSE));
    const std::wstring journal = folder + L"\\журнал.log";
    DeleteFileW(journal.c_str());
    const std::wstring bench = folder + L"\\стенд.json";
    writeFile(bench, R"({"analogInputs": {"PXI1Slot2/ai5": 1.25}})");
    setEnvironment("ORVEX_DRIVER", host::utf8FromWide(board));
    setEnvironment("ORVEX_SIM_JOURNAL", host::utf8FromWide(journal));
    setEnvironment("ORVEX_SIM_BENCH", host::utf8FromWide(bench));

    ASSERT_EQ(orvex_ni6251Slot(2), 0);
    ASSERT_EQ(orvex_analogOut(0, 2.5), 0) << orvex_GetLastErrorBuffer();
    double volts = 0.0;
    ASSERT_EQ(orvex_analogIn(0, &volts), 0) << orvex_GetLastErrorBuffer();
    EXPECT_NEAR(volts, 2.5, 0.010) << "ao0 is wired to ai0";
    ASSERT_EQ(orvex_analogIn(5, &volts), 0) << orvex_GetLastErrorBuffer();
    EXPECT_EQ(volts, 1.25) << "from the bench file";
    EXPECT_EQ(orvex_ni6251Close(), 0);

    EXPECT_NE(readFile(journal).find("DAQmxCreateAOVoltageChan("), std::string::npos);
}

// Redirected to a file or a pipe the error output carries the UTF-8 bytes unchanged; a
// console gets the same text through WriteConsoleW.
TEST(WindowsErrorPrint, KeepsTheCheckMessageInUtf8) {
    EXPECT_EQ(orvex_portOut(3, 0), -1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(orvex_PrintLastError(), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error = -1, ASSERT ERORR: orvex, line 292: 0 <= port && port < PORT_SIZE: "
              "Порт вне диапазона\n");
}

} // namespace
