// The board that processes on one machine share: reservations across processes, what one
// process drives seen by another, a holder that is killed, and many processes at once.
// Each test has a state file of its own, so tests may run side by side.
#include "child_process.h"
#include "simboard/board_fixture.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::string oneLine(std::string text) {
    for (char &c : text) {
        c = c == '\n' ? ' ' : c;
    }
    return text;
}

// The status of a start, then the text of its status, as two lines to the test.
void reportStart(ChildProcess &self, TaskHandle task) {
    int32 status = DAQmxStartTask(task);
    self.tell(std::to_string(status));
    self.tell(oneLine(errorText(status)));
}

// "status volts" of one on-demand read.
void reportAnalogInput(ChildProcess &self, const char *channel) {
    ScopedTask task;
    addInput(task, channel);
    double volts = -100.0;
    int32 status = readOne(task, volts);
    std::ostringstream line;
    line.precision(17);
    line << status << ' ' << volts;
    self.tell(line.str());
}

double voltsOf(const std::string &report) {
    std::istringstream line(report);
    int status = 1;
    double volts = -100.0;
    line >> status >> volts;
    EXPECT_EQ(status, 0) << report;
    return volts;
}

class SharedBoardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = std::string(P_tmpdir) + "/orvex-shared-board-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        setenv("ORVEX_SIM_STATE", statePath().c_str(), 1);
        unsetenv("ORVEX_SIM_BENCH");
        unsetenv("ORVEX_SIM_JOURNAL");
    }
    void TearDown() override {
        unsetenv("ORVEX_SIM_BENCH");
        for (const std::string &file : files_) {
            std::remove(file.c_str());
        }
        std::remove(statePath().c_str());
        rmdir(directory_.c_str());
    }
    std::string statePath() const { return directory_ + "/board.state"; }
    std::string fileWith(const std::string &name, const std::string &text) {
        std::string path = directory_ + "/" + name;
        std::ofstream(path) << text;
        files_.push_back(path);
        return path;
    }

  private:
    std::string directory_;
    std::vector<std::string> files_;
};

TEST_F(SharedBoardTest, PortLinesHeldByOneProcessAreRefusedToAnotherUntilItLetsGo) {
    ChildProcess holder([](ChildProcess &self) {
        {
            ScopedTask task("holder");
            DAQmxCreateDOChan(task, "PXI1Slot2/port0", "", DAQmx_Val_ChanForAllLines);
            DAQmxStartTask(task);
            writeByte(task, 0xA5);
            self.tell("held");
            self.hear();
        }
        self.tell("released");
    });
    ChildProcess other([](ChildProcess &self) {
        self.hear();
        ScopedTask input("reader");
        DAQmxCreateDIChan(input, "PXI1Slot2/port0/line0:3", "", DAQmx_Val_ChanForAllLines);
        reportStart(self, input);
        ScopedTask output("writer");
        DAQmxCreateDOChan(output, "PXI1Slot2/port0/line7", "", DAQmx_Val_ChanForAllLines);
        self.tell(std::to_string(writeByte(output, 0x00)));
        self.hear();
        ScopedTask viewer("viewer");
        DAQmxCreateDOChan(viewer, "PXI1Slot2/port0", "", DAQmx_Val_ChanForAllLines);
        uInt8 levels = 0;
        int32 status = readByte(viewer, levels);
        self.tell(std::to_string(status) + " " + std::to_string(levels));
    });

    ASSERT_EQ(holder.hear(), "held");
    other.tell("go");
    EXPECT_EQ(other.hear(), "-50103");
    std::string text = other.hear();
    EXPECT_NE(text.find("\"holder\" of process " + std::to_string(holder.pid())), std::string::npos)
        << text;
    EXPECT_EQ(other.hear(), "-50103") << "an auto-started write is refused too";

    holder.tell("release");
    ASSERT_EQ(holder.hear(), "released");
    other.tell("look");
    EXPECT_EQ(other.hear(), "0 165") << "the lines keep the levels the holder left";
}

TEST_F(SharedBoardTest, AnOutputSetInOneProcessIsReadOnItsWiredInputInAnother) {
    ChildProcess setter([](ChildProcess &self) {
        ScopedTask task;
        addOutput(task, "PXI1Slot2/ao0");
        self.tell(std::to_string(writeOne(task, 3.3)));
        self.hear();
    });
    ASSERT_EQ(setter.hear(), "0");
    ChildProcess reader([](ChildProcess &self) { reportAnalogInput(self, "PXI1Slot2/ai0"); });
    EXPECT_NEAR(voltsOf(reader.hear()), 3.3, 0.01);

    // Virtual time or "private" gives a process a board of its own, which the shared one
    // does not reach.
    for (const char *bench : {R"({"virtualTime": true})", R"({"private": true})"}) {
        setenv("ORVEX_SIM_BENCH", fileWith("bench.json", bench).c_str(), 1);
        ChildProcess loner([](ChildProcess &self) { reportAnalogInput(self, "PXI1Slot2/ai0"); });
        EXPECT_EQ(voltsOf(loner.hear()), 0.0) << bench;
    }
    setter.tell("done");
}

TEST_F(SharedBoardTest, TheConverterOfAKilledHolderIsFreeForTheNextAcquisition) {
    ChildProcess holder([](ChildProcess &self) {
        ScopedTask task("acquirer");
        addInput(task, "PXI1Slot2/ai4");
        clockAt(task, 1000.0, 100000);
        self.tell(std::to_string(DAQmxStartTask(task)));
        pause();
    });
    ASSERT_EQ(holder.hear(), "0");
    ChildProcess second([](ChildProcess &self) {
        ScopedTask task("second");
        addInput(task, "PXI1Slot2/ai5");
        clockAt(task, 1000.0, 1000);
        reportStart(self, task);
        self.hear();
        std::vector<double> block(10);
        self.tell(std::to_string(readBlock(task, block, 2.0)));
    });

    EXPECT_EQ(second.hear(), "-50103");
    std::string text = second.hear();
    EXPECT_NE(text.find("converter"), std::string::npos) << text;
    EXPECT_NE(text.find("process " + std::to_string(holder.pid())), std::string::npos) << text;
    holder.killHard();
    second.tell("again");
    EXPECT_EQ(second.hear(), "0");
}

TEST_F(SharedBoardTest, AReadWaitingForSamplesLetsOtherThreadsAndProcessesAtTheBoard) {
    ChildProcess reader([](ChildProcess &self) {
        ScopedTask task("waiter");
        addInput(task, "PXI1Slot2/ai4");
        clockAt(task, 1000.0, 100000);
        std::vector<double> block(60000);
        std::future<int32> read =
            std::async(std::launch::async, [&] { return readBlock(task, block, 60.0); });
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the read waits by now
        self.tell("waiting");
        self.hear();
        self.tell(std::to_string(simboard_pressSwitch(2, 1))); // another thread, meanwhile
        self.hear();
        DAQmxStopTask(task);
        self.tell(std::to_string(read.get()));
    });
    ASSERT_EQ(reader.hear(), "waiting");
    ChildProcess writer([](ChildProcess &self) {
        ScopedTask lines;
        DAQmxCreateDOChan(lines, "PXI1Slot2/port2/line5", "", DAQmx_Val_ChanForAllLines);
        self.tell(std::to_string(writeByte(lines, 0x20)));
    });
    EXPECT_EQ(writer.hear(2.0), "0") << "another process gets the board while the read waits";
    reader.tell("press");
    EXPECT_EQ(reader.hear(2.0), "0") << "and so does another thread of the reading process";
    reader.tell("stop");
    EXPECT_EQ(reader.hear(), "-209021") << "the stop ends the waiting read";
}

TEST_F(SharedBoardTest, TheFirstProcessSetsTheBoardUpAndOneThatJoinsFindsItAsItIs) {
    auto switchLevels = [](ChildProcess &self) {
        ScopedTask task;
        DAQmxCreateDIChan(task, "PXI1Slot2/port1/line4:5", "", DAQmx_Val_ChanForAllLines);
        uInt8 levels = 0;
        int32 status = readByte(task, levels);
        self.tell(std::to_string(status) + " " + std::to_string(levels));
        self.hear();
    };
    setenv("ORVEX_SIM_BENCH",
           fileWith("first.json", R"({"switches": {"S1": "pressed", "S2": "released"}})").c_str(),
           1);
    ChildProcess first(switchLevels);
    EXPECT_EQ(first.hear(), "0 32") << "S1 down (line 4 low), S2 up";

    std::string errors = fileWith("joining.err", "");
    setenv("ORVEX_SIM_BENCH",
           fileWith("joining.json", R"({"switches": {"S1": "released"}})").c_str(), 1);
    ChildProcess joining([&](ChildProcess &self) {
        std::freopen(errors.c_str(), "w", stderr);
        std::setvbuf(stderr, nullptr, _IONBF, 0);
        switchLevels(self);
    });
    EXPECT_EQ(joining.hear(), "0 32") << "the joining process's bench file is not applied";
    std::ifstream note(errors);
    std::string text((std::istreambuf_iterator<char>(note)), {});
    EXPECT_NE(text.find("joined the shared board in use"), std::string::npos) << text;
    first.tell("end");
    joining.tell("end");
}

// The stand's levels on the eight lines of port 0, set by one control call: lines 0 to 3 at
// one level, 4 to 7 at the other.
const char *const lowHalfHigh = R"({"inputLines": {"PXI1Slot2/port0/line0:3": 1,
                                                    "PXI1Slot2/port0/line4:7": 0}})";
const char *const highHalfHigh = R"({"inputLines": {"PXI1Slot2/port0/line0:3": 0,
                                                     "PXI1Slot2/port0/line4:7": 1}})";

// Reads of a running task go without the board's lock, from a copy of what they read: one
// process turns all eight lines over at once, again and again, while another reads them,
// which must never see a mix of the two patterns; and a change that has been made is seen
// by the next read.
TEST_F(SharedBoardTest, AReadOfARunningTaskSeesWholeChangesAndTheLatestOne) {
    ChildProcess setter([](ChildProcess &self) {
        int32 status = simboard_applyBench(lowHalfHigh);
        self.tell(std::to_string(status));
        for (std::string order = self.hear(); order != "end"; order = self.hear()) {
            if (order == "turn") {
                long turns = 0;
                for (; status == 0 && self.hear(0.0) != "stop"; ++turns) {
                    status = simboard_applyBench((turns & 1) != 0 ? lowHalfHigh : highHalfHigh);
                }
                self.tell(std::to_string(status) + " " + std::to_string(turns));
            } else {
                self.tell(std::to_string(
                    simboard_applyBench(order == "low" ? lowHalfHigh : highHalfHigh)));
            }
        }
    });
    ASSERT_EQ(setter.hear(), "0");
    ChildProcess reader([](ChildProcess &self) {
        ScopedTask task;
        DAQmxCreateDIChan(task, "PXI1Slot2/port0", "", DAQmx_Val_ChanForAllLines);
        DAQmxStartTask(task);
        for (std::string order = self.hear(); order != "end"; order = self.hear()) {
            // A watch lasts 1.5 s and at least 1000 reads, so that a slow machine (or a
            // sanitizer) still reads often enough while the setter turns; 20 s at most.
            const auto start = std::chrono::steady_clock::now();
            const auto until = start + std::chrono::milliseconds(order == "watch" ? 1500 : 0);
            const auto cap = start + std::chrono::seconds(20);
            const long fewestReads = order == "watch" ? 1000 : 0;
            std::string seen = "0x0f 0xf0";
            long reads = 0;
            do {
                uInt8 levels = 0;
                const int32 status = readByte(task, levels);
                ++reads;
                if (status != 0 || (levels != 0x0F && levels != 0xF0)) {
                    seen = "status " + std::to_string(status) + " levels " + std::to_string(levels);
                    break;
                }
                if (order != "watch") {
                    seen = levels == 0x0F ? "0x0f" : "0xf0";
                }
            } while ((std::chrono::steady_clock::now() < until || reads < fewestReads) &&
                     std::chrono::steady_clock::now() < cap);
            self.tell(seen + " " + std::to_string(reads));
        }
    });

    setter.tell("turn");
    reader.tell("watch");
    const std::string watch = reader.hear(30.0);
    std::istringstream watched(watch);
    setter.tell("stop");
    std::istringstream turned(setter.hear(10.0));
    std::string first, second;
    long reads = 0, turns = 0;
    int32 status = 1;
    watched >> first >> second >> reads;
    turned >> status >> turns;
    EXPECT_EQ(first + " " + second, "0x0f 0xf0") << "a read saw a half-made change: " << watch;
    EXPECT_EQ(status, 0);
    EXPECT_GT(turns, 100) << "the reads kept the setter from the board";
    EXPECT_GE(reads, 1000);

    for (const char *level : {"high", "low", "high", "high", "low"}) {
        setter.tell(level);
        ASSERT_EQ(setter.hear(), "0");
        reader.tell("look");
        std::string seen;
        std::istringstream(reader.hear()) >> seen;
        EXPECT_EQ(seen, std::string(level) == "low" ? "0x0f" : "0xf0") << "after " << level;
    }
    setter.tell("end");
    reader.tell("end");
}

// Each process owns one line of port 0 and one analog input, and all of them share the
// two outputs, whose every value is a multiple of 2^-15 V: a value read back half written
// would break the pattern.
void hammer(ChildProcess &self, int index, std::chrono::seconds duration) {
    const std::string line = "PXI1Slot2/port0/line" + std::to_string(index);
    const std::string own = "PXI1Slot2/ai" + std::to_string(8 + index);
    const int output = index % 2;
    ScopedTask lines;
    DAQmxCreateDOChan(lines, line.c_str(), "", DAQmx_Val_ChanForAllLines);
    ScopedTask ownInput;
    addInput(ownInput, own.c_str());
    ScopedTask wiredInput;
    addInput(wiredInput, output == 0 ? "PXI1Slot2/ai0" : "PXI1Slot2/ai1");
    ScopedTask analogOut;
    addOutput(analogOut, output == 0 ? "PXI1Slot2/ao0" : "PXI1Slot2/ao1");
    std::string failure = DAQmxStartTask(lines) == 0 ? "" : "start of " + line;
    self.hear();

    auto deadline = std::chrono::steady_clock::now() + duration;
    long rounds = 0;
    for (; failure.empty() && std::chrono::steady_clock::now() < deadline; ++rounds) {
        uInt8 level = (rounds & 1) != 0 ? static_cast<uInt8>(1u << index) : 0;
        uInt8 back = 0xFF;
        if (writeByte(lines, level) != 0 || readByte(lines, back) != 0 || back != level) {
            failure = "line read back " + std::to_string(back) + " for " + std::to_string(level);
        }
        // Voltages the converter reads exactly, so that a torn one shows.
        double set = static_cast<double>(index * 4096 + rounds % 1000) * tenVoltStep;
        double got = -100.0;
        if (simboard_setAnalogInput(8 + index, set) != 0 || readOne(ownInput, got) != 0 ||
            got != set) {
            failure = own + " read " + std::to_string(got) + " for " + std::to_string(set);
        }
        double volts = static_cast<double>(index * 409 + rounds % 409) * tenVoltStep;
        if (writeOne(analogOut, volts) != 0 || readOne(wiredInput, got) != 0 ||
            got / tenVoltStep != std::floor(got / tenVoltStep) || got < 0.0 || got >= 1.0) {
            failure = "wired input read " + std::to_string(got);
        }
    }
    self.tell(std::to_string(rounds) + " " + (failure.empty() ? "ok" : failure));
}

TEST_F(SharedBoardTest, EightProcessesAtOnceSeeNoTornValueAndNoDeadlock) {
    constexpr int processes = 8;
    constexpr auto duration = std::chrono::seconds(10);
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (int index = 0; index < processes; ++index) {
        children.push_back(std::make_unique<ChildProcess>(
            [index, duration](ChildProcess &self) { hammer(self, index, duration); }));
    }
    for (auto &child : children) {
        child->tell("go");
    }
    for (int index = 0; index < processes; ++index) {
        std::istringstream report(children[index]->hear(duration.count() + 20.0));
        long rounds = 0;
        std::string verdict;
        report >> rounds;
        std::getline(report >> std::ws, verdict);
        EXPECT_EQ(verdict, "ok") << "process " << index;
        EXPECT_GT(rounds, 100) << "process " << index << " hardly got the board";
        EXPECT_EQ(children[index]->waitForExit(10.0), 0) << "process " << index;
    }
}

} // namespace
