// No wait for the shared board's lock is endless: a holder that stopped is named in a
// refusal after a few seconds, and a lock left naming a thread that no longer exists is
// handed on.  Each try runs in a process of its own, so that a wait without end fails
// the test instead of hanging it.
#include "child_process.h"
#include "state_file_fixture.h"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <sstream>

namespace {

using namespace simboard;

struct LockTry {
    int32_t status = 1;
    double seconds = -1.0;
    std::string detail;
};

// One try for the lock by a process of its own, with how long it took.
LockTry tryTheLock(const std::function<std::unique_ptr<BoardStore>()> &open) {
    ChildProcess taker([&](ChildProcess &self) {
        std::unique_ptr<BoardStore> store = open();
        const auto start = std::chrono::steady_clock::now();
        StoreAccess access(*store);
        const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
        self.tell(std::to_string(access.refusal().status) + " " + std::to_string(waited.count()));
        self.tell(access.refusal().detail);
    });
    LockTry result;
    std::istringstream(taker.hear(30.0)) >> result.status >> result.seconds;
    result.detail = taker.hear();
    return result;
}

TEST_F(StateFileTest, AHolderThatStoppedIsNamedInARefusalWithinSeconds) {
    ChildProcess holder([this](ChildProcess &self) {
        std::unique_ptr<BoardStore> store = open();
        (void)store->lock();
        self.tell("locked");
        raise(SIGSTOP);
        pause();
    });
    ASSERT_EQ(holder.hear(), "locked");

    LockTry refused = tryTheLock([this] { return open(); });
    EXPECT_EQ(refused.status, -50103);
    EXPECT_GE(refused.seconds, 2.0);
    EXPECT_LT(refused.seconds, 10.0);
    EXPECT_NE(refused.detail.find("process " + std::to_string(holder.pid()) + " (stopped)"),
              std::string::npos)
        << refused.detail;

    holder.killHard();
    EXPECT_EQ(tryTheLock([this] { return open(); }).status, 0)
        << "the lock of a holder killed while stopped is free again";
}

#if defined(__GLIBC__)
TEST_F(StateFileTest, ALockNamingAThreadThatNoLongerExistsIsHandedOn) {
    ASSERT_NE(open(), nullptr);
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    SharedFile *file = mapFile();
    ASSERT_NE(file, nullptr);
    file->mutex.__data.__lock = gone; // as a holder whose end the kernel never saw would
    unmap(file);

    LockTry taken = tryTheLock([this] { return open(); });
    EXPECT_EQ(taken.status, 0) << taken.detail;
    EXPECT_LT(taken.seconds, 2.0);
}
#endif

} // namespace
