// orvex-sim and the command-line tool as processes, on a shared board the test sets up:
// usage errors, a board out of reach, and a board another process keeps locked, which
// neither tool may wait for without end.
#include "child_process.h"
#include "store/board_store.h"
#include "test_directory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

struct ToolRun {
    int status = -1; // exit status, 128 + signal, or -1 when it had to be killed
    double seconds = 0.0;
    std::string output; // standard output and error
};

// Runs a tool with ORVEX_SIM_STATE set to `state`; `whileRunning` gets its process id.
ToolRun run(std::vector<std::string> arguments, const std::string &state,
            const std::function<void(pid_t)> &whileRunning = {}) {
    int output[2];
    if (pipe(output) != 0) {
        return {};
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(output[1], 1);
        dup2(output[1], 2);
        close(output[0]);
        setenv("ORVEX_SIM_STATE", state.c_str(), 1);
        setenv("ORVEX_DRIVER", SIMBOARD_LIBRARY, 1);
        unsetenv("ORVEX_SIM_BENCH");
        std::vector<char *> argv;
        for (std::string &argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);
    if (whileRunning) {
        whileRunning(pid);
    }
    ToolRun result;
    fcntl(output[0], F_SETFL, O_NONBLOCK);
    const auto deadline = start + std::chrono::seconds(30);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            close(output[0]);
            result.output = "(killed after 30 s)";
            return result;
        }
        char buffer[512];
        for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;) {
            result.output.append(buffer, static_cast<size_t>(got));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    char buffer[512];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;) {
        result.output.append(buffer, static_cast<size_t>(got));
    }
    close(output[0]);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

class OrvexSimTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(directory_.made()); }

    TestDirectory directory_;
    const std::string state_ = directory_.file("board.state");
};

TEST_F(OrvexSimTest, UsageErrorsExitWithTwoAndSayWhatIsExpected) {
    ToolRun oneVoltage = run({ORVEX_SIM_TOOL, "stand", "joystick", "1"}, state_);
    EXPECT_EQ(oneVoltage.status, 2) << oneVoltage.output;
    EXPECT_NE(oneVoltage.output.find("X and Y volts, or free"), std::string::npos)
        << oneVoltage.output;
    EXPECT_EQ(oneVoltage.output.find("range"), std::string::npos) << oneVoltage.output;

    for (const std::vector<std::string> &wrong : {
             std::vector<std::string>{ORVEX_SIM_TOOL, "stand", "joystick", "1", "east"},
             {ORVEX_SIM_TOOL, "stand", "line", "port1/line4", "7"},
             {ORVEX_SIM_TOOL, "stand", "input", "ai5", "high"},
             {ORVEX_SIM_TOOL, "stand"},
             {ORVEX_SIM_TOOL, "status", "--verbose"},
         }) {
        ToolRun refused = run(wrong, state_);
        EXPECT_EQ(refused.status, 2) << wrong.back() << ": " << refused.output;
    }
    EXPECT_EQ(run({ORVEX_SIM_TOOL, "--help"}, state_).status, 0);
    EXPECT_EQ(run({ORVEX_SIM_TOOL, "stand", "joystick", "1", "4.2"}, state_).status, 0);
}

TEST_F(OrvexSimTest, ABoardItCannotReachIsAFailureNotAPrivateSuccess) {
    const std::string missing = directory_.file("missing/board.state");
    const std::string othersMayWrite = directory_.fileWith("shared.state", "");
    chmod(othersMayWrite.c_str(), 0666);
    for (const std::string &state : {missing, othersMayWrite}) {
        for (const std::vector<std::string> &command :
             {std::vector<std::string>{ORVEX_SIM_TOOL, "status"},
              {ORVEX_SIM_TOOL, "stand", "press", "S1"}}) {
            ToolRun unreached = run(command, state);
            EXPECT_EQ(unreached.status, 1) << state << ": " << unreached.output;
            EXPECT_NE(unreached.output.find("cannot be reached"), std::string::npos)
                << unreached.output;
        }
    }
}

// A process that took the board's lock and was stopped there.
class StoppedHolder {
  public:
    explicit StoppedHolder(const std::string &state)
        : process_([state](ChildProcess &self) {
              std::string why;
              std::unique_ptr<simboard::BoardStore> store = simboard::openSharedStore(state, why);
              (void)store->lock();
              self.tell("locked");
              raise(SIGSTOP);
              pause();
          }) {
        locked_ = process_.hear() == "locked";
    }
    bool locked() const { return locked_; }
    pid_t pid() const { return process_.pid(); }

  private:
    ChildProcess process_;
    bool locked_ = false;
};

TEST_F(OrvexSimTest, ABoardAStoppedProcessHoldsIsRefusedWithinSecondsNamingIt) {
    StoppedHolder holder(state_);
    ASSERT_TRUE(holder.locked());
    const std::string named = "held by process " + std::to_string(holder.pid()) + " (stopped)";

    ToolRun status = run({ORVEX_SIM_TOOL, "status"}, state_);
    EXPECT_EQ(status.status, 1) << status.output;
    EXPECT_LT(status.seconds, 10.0);
    EXPECT_NE(status.output.find(named), std::string::npos) << status.output;

    ToolRun press = run({ORVEX_SIM_TOOL, "stand", "press", "S1"}, state_);
    EXPECT_EQ(press.status, 1) << press.output;
    EXPECT_NE(press.output.find(named), std::string::npos) << press.output;
}

#ifdef ORVEX_TOOL
TEST_F(OrvexSimTest, TheCommandLineToolWaitingForAStoppedHolderAnswersCtrlC) {
    StoppedHolder holder(state_);
    ASSERT_TRUE(holder.locked());
    ToolRun read = run({ORVEX_TOOL, "port", "read", "0"}, state_, [](pid_t tool) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        kill(tool, SIGINT);
    });
    EXPECT_NE(read.status, 0) << read.output;
    EXPECT_NE(read.status, -1) << "it still waited after 30 s";
    EXPECT_LT(read.seconds, 10.0) << read.output;
}
#endif

} // namespace
