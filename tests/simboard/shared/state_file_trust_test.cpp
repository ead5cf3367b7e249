// What is found at the state file's path is not trusted: a file of another user, a FIFO
// or a file others may write gives no shared board, and is refused before anything waits
// for a lock on it; a file whose lock or tables are damaged is rebuilt, as one with a bad
// header is.  Tries that could hang or abort run in processes of their own.
#include "child_process.h"
#include "state_file_fixture.h"
#include "store/dead_process_sweep.h"

#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

using namespace simboard;

std::string oneLine(std::string text) {
    for (char &c : text) {
        c = c == '\n' ? ' ' : c;
    }
    return text;
}

// What a process of its own makes of the file: "shared", or why it got none; then the
// messages it wrote.
struct Attempt {
    std::string outcome;
    std::string messages;
};

Attempt attemptToOpen(const std::function<std::unique_ptr<BoardStore>(std::string &)> &open) {
    ChildProcess child([&](ChildProcess &self) {
        testing::internal::CaptureStderr();
        std::string why;
        std::unique_ptr<BoardStore> store = open(why);
        if (store != nullptr) {
            StoreAccess access(*store);
            why = access.refusal().failed() ? access.refusal().detail : "shared";
        }
        std::string messages = testing::internal::GetCapturedStderr();
        self.tell(oneLine(why));
        self.tell(oneLine(messages));
    });
    Attempt attempt;
    attempt.outcome = child.hear(30.0);
    attempt.messages = child.hear();
    return attempt;
}

// A user of its own for one test, removed afterwards.
class OtherUser {
  public:
    OtherUser() : name_("orvexsim" + std::to_string(getpid())) {
        std::string add =
            "useradd --system --no-create-home --shell /bin/false " + name_ + " >/dev/null 2>&1";
        if (geteuid() != 0 || std::system(add.c_str()) != 0) {
            return;
        }
        if (const passwd *entry = getpwnam(name_.c_str())) {
            uid_ = entry->pw_uid;
            gid_ = entry->pw_gid;
        }
    }
    ~OtherUser() {
        if (uid_ != 0) {
            std::system(("userdel " + name_ + " >/dev/null 2>&1").c_str());
        }
    }
    bool made() const { return uid_ != 0; }
    bool take(int fd) const { return fchown(fd, uid_, gid_) == 0; }
    // In a process of the test's own that is to act as this user.
    bool become() const {
        return setgroups(0, nullptr) == 0 && setgid(gid_) == 0 && setuid(uid_) == 0;
    }

  private:
    std::string name_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

TEST_F(StateFileTest, AnotherUsersFileIsRefusedWithoutWaitingForItsLock) {
    OtherUser other;
    if (!other.made()) {
        GTEST_SKIP() << "this test needs to run as root to make a user of its own";
    }
    chmod(directory_.path().c_str(), 01777); // as /tmp
    ChildProcess squatter([&](ChildProcess &self) {
        // Made before becoming the other user and handed over, so that the test does not
        // depend on that user being able to reach the test's directory.
        umask(0);
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd < 0 || !other.take(fd) || !other.become()) {
            self.tell(std::string("cannot make the other user's file: ") + std::strerror(errno));
            return;
        }
        self.tell(flock(fd, LOCK_EX) == 0 ? "holding" : std::strerror(errno));
        pause();
    });
    ASSERT_EQ(squatter.hear(), "holding");

    Attempt attempt = attemptToOpen([this](std::string &why) { return open(&why); });
    EXPECT_NE(attempt.outcome.find("belongs to another user"), std::string::npos)
        << attempt.outcome;
}

TEST_F(StateFileTest, AFifoOrAFileOthersMayWriteIsRefused) {
    ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    Attempt fifo = attemptToOpen([this](std::string &why) { return open(&why); });
    EXPECT_NE(fifo.outcome.find("is not a regular file"), std::string::npos) << fifo.outcome;
    std::remove(path_.c_str());

    ASSERT_NE(open(), nullptr);
    ASSERT_EQ(chmod(path_.c_str(), 0622), 0);
    Attempt writable = attemptToOpen([this](std::string &why) { return open(&why); });
    EXPECT_NE(writable.outcome.find("may be written by other users"), std::string::npos)
        << writable.outcome;
}

TEST_F(StateFileTest, DamageToTheLockOrTheTablesGetsTheFileRebuilt) {
    const std::pair<const char *, std::function<void(SharedFile &)>> damages[] = {
        {"garbage in the lock",
         [](SharedFile &file) { std::memset(&file.mutex, 0xA5, sizeof file.mutex); }},
        {"a process number below 0", [](SharedFile &file) { file.state.processes[3].pid = -1; }},
        {"a holding of process 0",
         [](SharedFile &file) {
             file.state.holdings[5].used = true;
             file.state.holdings[5].owner = {};
         }},
        {"a holding past the end of the used ones",
         [](SharedFile &file) {
             file.state.holdings[7].used = true;
             file.state.holdings[7].owner = {1, 1};
         }},
        {"an end past the table",
         [](SharedFile &file) { file.state.holdingsEnd = BoardState::maxHoldings + 1; }},
    };
    for (const auto &[damage, apply] : damages) {
        std::remove(path_.c_str());
        {
            std::unique_ptr<BoardStore> store = open();
            ASSERT_NE(store, nullptr);
            StoreAccess access(*store);
            store->state().latch[2] = 0x3C;
        }
        SharedFile *file = mapFile();
        ASSERT_NE(file, nullptr);
        apply(*file);
        unmap(file);

        Attempt attempt = attemptToOpen([this](std::string &why) { return open(&why); });
        EXPECT_EQ(attempt.outcome, "shared") << damage;
        EXPECT_NE(attempt.messages.find("rebuilt"), std::string::npos)
            << damage << ": " << attempt.messages;
        std::unique_ptr<BoardStore> rebuilt = open();
        ASSERT_NE(rebuilt, nullptr);
        StoreAccess access(*rebuilt);
        EXPECT_EQ(rebuilt->state().latch[2], 0) << damage << ": a fresh board";
    }
}

TEST_F(StateFileTest, AProcessNumberOfZeroOrBelowIsNeverAliveAndIsSweptAway) {
    std::unique_ptr<BoardStore> store = open();
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(store->alive(store->self()));
    EXPECT_FALSE(store->alive({-1, 0})) << "kill(-1, 0) reaches every process";
    EXPECT_FALSE(store->alive({0, 0}));

    StoreAccess access(*store);
    BoardState &state = store->state();
    for (Holding &holding : state.holdings) {
        holding.used = true;
        holding.owner = {-1, 0};
    }
    state.processes[0] = {-1, 0};
    reapDeadProcesses(state, *store);
    for (const Holding &holding : state.holdings) {
        EXPECT_FALSE(holding.used);
    }
    EXPECT_EQ(state.processes[0].pid, 0);
}

} // namespace
