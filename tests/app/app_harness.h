// Runs the application's own code against the panel runtime and the simulated board
// (virtual time, the stand of stand.json) and works its window as a user would.
#ifndef TESTS_APP_APP_HARNESS_H
#define TESTS_APP_APP_HARNESS_H

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace panel {
class XYGraph;
struct GraphPrimitive;
} // namespace panel

// The simulated board's call journal, one line per driver call; by default the one this
// process keeps (ORVEX_SIM_JOURNAL).
class DriverJournal {
  public:
    DriverJournal();
    explicit DriverJournal(std::string path) : path_(std::move(path)) {}

    std::vector<std::string> lines() const;
    // How many tasks were created and not cleared, for a process that has ended; the
    // board itself tells of the tasks of this one (liveTasks()).
    int tasksLeftOpen() const;
    // The values written to the task of this name, in order.
    std::vector<int> digitalWrites(const std::string &taskName) const;

  private:
    std::string path_;
};

// Names of this process's tasks that are created and not yet cleared.
std::set<std::string> liveTasks();

// The window opened on a freshly reset stand, its two timers held so that only the
// test's own ticks arrive; closed and the board released afterwards.
class AppOnStand : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};

// The argument vector the tests start the application with.
char **testArgv();
// Empties the user's settings (in the tests' own folder), as on a first start.
void forgetRememberedSettings();
// Puts the stand back to stand.json: switches up, joystick held at the centre, no faults.
void resetStand();
// Arms one fault of the simulated board: the n-th next call of entryPoint fails.
void failNthCall(const char *entryPoint, int n, int status);

// Runs the whole program with these arguments (after the program's name) on a reset
// stand, its timers running, and calls close once it has run for the given time; returns
// its exit status.
int runProgramUntil(const std::vector<std::string> &arguments, int milliseconds, void (*close)());
// Closes the window as its close control does.
void closeTheWindow();

// The user's side of the window, on the panel that start-up loaded.
namespace user {
void tickRefresh();
void tickSampling();
void click(int control);
void choose(int selector, int item);
void enter(int field, double value);
void setSwitch(int control, bool on);
int intValue(int control);
double doubleValue(int control);
const panel::XYGraph &graph();
std::vector<panel::GraphPrimitive> plotted();
// The text of a text message of the window (the board indicator, the message line).
std::string text(int control);
// The next file choosers answer with this path; empty: the user cancels.
void willChooseFile(const std::string &path);
} // namespace user

// A folder of its own for one test's files, removed with everything in it afterwards.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    std::string path(const std::string &name) const { return folder_ + "/" + name; }

  private:
    std::string folder_;
};

// Everything written to the error output while it lives; lines() splits it.
class CapturedErrors {
  public:
    CapturedErrors();
    ~CapturedErrors();
    std::string text();
    // The "Error = ..." lines among them.
    std::vector<std::string> errorLines();

  private:
    bool taken_ = false;
    std::string text_;
};

#endif
