// The board as programs meet it: loaded by the driver layer through ORVEX_DRIVER, set up
// by the bench file in ORVEX_SIM_BENCH, journalling to ORVEX_SIM_JOURNAL, and controlled
// through the library the layer loaded.
#include "daqmx/daqmx.h"
#include <orvex/simboard_control.h>

#include <gtest/gtest.h>

#ifdef _WIN32
#include "host/host_text.h"
#include <process.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool benchIs(const char *fileName) {
    const char *bench = std::getenv("ORVEX_SIM_BENCH");
    return bench != nullptr && std::string(bench).find(fileName) != std::string::npos;
}

class LoadedBoard : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!benchIs("test_bench.json")) {
            GTEST_SKIP() << "runs with tests/simboard/test_bench.json";
        }
    }
};

// The library of that path if the process has loaded it already; it is never loaded here.
class LoadedLibrary {
  public:
#ifdef _WIN32
    explicit LoadedLibrary(const char *path)
        : module_(GetModuleHandleW(host::wideFromUtf8(path).c_str())) {}
    bool loaded() const {
        return module_ != nullptr;
    }
    void *find(const char *name) const {
        return reinterpret_cast<void *>(GetProcAddress(module_, name));
    }

  private:
    HMODULE module_;
#else
    explicit LoadedLibrary(const char *path) : library_(dlopen(path, RTLD_NOW | RTLD_NOLOAD)) {}
    ~LoadedLibrary() {
        if (library_ != nullptr) {
            dlclose(library_);
        }
    }
    LoadedLibrary(const LoadedLibrary &) = delete;
    LoadedLibrary &operator=(const LoadedLibrary &) = delete;
    bool loaded() const {
        return library_ != nullptr;
    }
    void *find(const char *name) const {
        return dlsym(library_, name);
    }

  private:
    void *library_;
#endif
};

double readVolts(const char *channel) {
    TaskHandle task = nullptr;
    double value = -100.0;
    EXPECT_EQ(DAQmxCreateTask("", &task), 0);
    EXPECT_EQ(DAQmxCreateAIVoltageChan(task, channel, "", DAQmx_Val_RSE, -10.0, 10.0,
                                       DAQmx_Val_Volts, ""),
              0);
    EXPECT_EQ(DAQmxReadAnalogF64(task, 1, 1.0, 0, &value, 1, nullptr, nullptr), 0);
    EXPECT_EQ(DAQmxClearTask(task), 0);
    return value;
}

TEST_F(LoadedBoard, TheBenchFileSetsUpTheStandTimeAndFaults) {
    EXPECT_EQ(readVolts("PXI1Slot2/ai8"), 1.5);
    TaskHandle task = nullptr;
    ASSERT_EQ(DAQmxCreateTask("", &task), 0);
    ASSERT_EQ(DAQmxCreateDIChan(task, "PXI1Slot2/port1/line4:7", "r", 1), 0);
    uInt8 switches = 0;
    ASSERT_EQ(DAQmxReadDigitalU8(task, 1, 1.0, 0, &switches, 1, nullptr, nullptr), 0);
    EXPECT_EQ(switches, 0xE0);
    EXPECT_EQ(DAQmxDisableStartTrig(task), -209099);
    EXPECT_EQ(DAQmxClearTask(task), 0);
}

TEST_F(LoadedBoard, ControlWorksOnTheLibraryTheDriverLayerLoaded) {
    readVolts("PXI1Slot2/ai9"); // makes the layer load the board
    const LoadedLibrary board(std::getenv("ORVEX_DRIVER"));
    ASSERT_TRUE(board.loaded()) << "the layer has loaded the board already";
    auto setAnalogInput =
        reinterpret_cast<decltype(&simboard_setAnalogInput)>(board.find("simboard_setAnalogInput"));
    ASSERT_NE(setAnalogInput, nullptr);
    EXPECT_EQ(setAnalogInput(9, -4.25), 0);
    EXPECT_EQ(readVolts("PXI1Slot2/ai9"), -4.25);
}

TEST_F(LoadedBoard, EveryCallIsJournalledWithItsArgumentsAndStatus) {
    std::string name = "journal" + std::to_string(getpid());
    TaskHandle task = nullptr;
    ASSERT_EQ(DAQmxCreateTask(name.c_str(), &task), 0);
    EXPECT_EQ(DAQmxCreateDOChan(task, "PXI1Slot2/port3", "w", 1), -209003);
    ASSERT_EQ(DAQmxClearTask(task), 0);

    std::ifstream file(std::getenv("ORVEX_SIM_JOURNAL"));
    std::stringstream journal;
    journal << file.rdbuf();
    std::string handle = std::to_string(reinterpret_cast<uintptr_t>(task));
    EXPECT_NE(journal.str().find("DAQmxCreateTask(taskName=\"" + name + "\", taskHandle=" + handle +
                                 ") = 0\n"),
              std::string::npos);
    EXPECT_NE(journal.str().find("DAQmxCreateDOChan(task=" + handle +
                                 ", lines=\"PXI1Slot2/port3\", name=\"w\", lineGrouping=1) = "
                                 "-209003\n"),
              std::string::npos);
}

// The scan's calls, the properties with the value they gave.
TEST_F(LoadedBoard, TheScanCallsAreJournalledWithWhatTheyGave) {
    TaskHandle task = nullptr;
    ASSERT_EQ(DAQmxCreateTask("", &task), 0);
    ASSERT_EQ(DAQmxCreateAIVoltageChan(task, "PXI1Slot2/ai0:1", "", DAQmx_Val_Diff, -1.0, 1.0,
                                       DAQmx_Val_Volts, ""),
              0);
    ASSERT_EQ(DAQmxCfgSampClkTiming(task, "", 500.0, DAQmx_Val_Rising, DAQmx_Val_FiniteSamps, 8),
              0);
    ASSERT_EQ(DAQmxCfgDigEdgeStartTrig(task, "/PXI1Slot2/PFI4", DAQmx_Val_Falling), 0);
    float64 rate = 0.0;
    ASSERT_EQ(DAQmxGetSampClkRate(task, &rate), 0);
    ASSERT_EQ(DAQmxGetAIConvRate(task, &rate), 0);
    uInt64 acquired = 0;
    ASSERT_EQ(DAQmxGetReadTotalSampPerChanAcquired(task, &acquired), 0);
    ASSERT_EQ(DAQmxClearTask(task), 0);

    std::ifstream file(std::getenv("ORVEX_SIM_JOURNAL"));
    std::stringstream read;
    read << file.rdbuf();
    const std::string journal = read.str();
    const std::string handle = "task=" + std::to_string(reinterpret_cast<uintptr_t>(task));
    for (const std::string &line :
         {"DAQmxCreateAIVoltageChan(" + handle +
              ", physicalChannel=\"PXI1Slot2/ai0:1\", name=\"\", terminalConfig=10106,",
          "DAQmxCfgDigEdgeStartTrig(" + handle +
              ", triggerSource=\"/PXI1Slot2/PFI4\", triggerEdge=10171) = 0\n",
          "DAQmxGetSampClkRate(" + handle + ", data=500) = 0\n",
          "DAQmxGetAIConvRate(" + handle + ", data=1000000) = 0\n",
          "DAQmxGetReadTotalSampPerChanAcquired(" + handle + ", data=0) = 0\n"}) {
        EXPECT_NE(journal.find(line), std::string::npos) << line << "\n" << journal;
    }
}

TEST(BrokenBenchFile, MakesEveryDriverCallFailWithAnExplanation) {
    if (!benchIs("broken_bench.json")) {
        GTEST_SKIP() << "runs with tests/simboard/broken_bench.json";
    }
    TaskHandle task = nullptr;
    int32 status = DAQmxCreateTask("any", &task);
    EXPECT_EQ(status, -209022);
    char text[1024];
    ASSERT_EQ(DAQmxGetErrorString(status, text, sizeof text), 0);
    EXPECT_NE(std::string(text).find("joystick.hold.y"), std::string::npos) << text;
    EXPECT_NE(std::string(text).find("broken_bench.json"), std::string::npos) << text;
}

} // namespace
