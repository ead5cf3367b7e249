// The shared board's state file: built when missing, rebuilt with a message when stale or
// damaged, and never left locked by a process that dies holding it.  The threaded test is
// the one the ThreadSanitizer build runs.
#include "board/reservations.h"
#include "child_process.h"
#include "store/board_store.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace simboard;

class SharedStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = std::string(P_tmpdir) + "/orvex-shared-store-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        path_ = directory_ + "/board.state";
    }
    void TearDown() override {
        std::remove(path_.c_str());
        rmdir(directory_.c_str());
    }
    std::unique_ptr<BoardStore> open() {
        std::string why;
        std::unique_ptr<BoardStore> store = openSharedStore(path_, why);
        EXPECT_NE(store, nullptr) << why;
        return store;
    }

    std::string directory_;
    std::string path_;
};

Task digitalTask(uint64_t id, const char *name, uint8_t lines) {
    Task task;
    task.id = id;
    task.name = name;
    PhysicalChannel physical;
    physical.port = 0;
    physical.lineMask = lines;
    task.channels.push_back(TaskChannel{physical, Direction::Output});
    return task;
}

TEST_F(SharedStoreTest, AStaleOrDamagedFileIsRebuiltWithAMessage) {
    {
        auto store = open();
        StoreAccess access(*store);
        store->state().latch[1] = 0x5A;
    }
    {
        auto again = open();
        StoreAccess access(*again);
        EXPECT_EQ(again->state().latch[1], 0x5A) << "a good file is used as it is";
    }
    size_t goodSize = 0;
    {
        std::ifstream good(path_, std::ios::binary | std::ios::ate);
        goodSize = static_cast<size_t>(good.tellg());
    }
    for (const std::string &damaged : {std::string("not a board"), std::string(goodSize, '\0')}) {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << damaged;
        testing::internal::CaptureStderr();
        auto rebuilt = open();
        std::string message = testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(path_), std::string::npos) << message;
        EXPECT_NE(message.find("rebuilt"), std::string::npos) << message;
        StoreAccess access(*rebuilt);
        EXPECT_EQ(rebuilt->state().latch[1], 0);
    }
}

TEST_F(SharedStoreTest, AProcessKilledWhileHoldingTheLockLeavesTheBoardUsableAndFree) {
    ChildProcess holder([this](ChildProcess &self) {
        auto store = open();
        store->lock();
        store->join();
        size_t slot = 0;
        Reservations(*store).reserve(digitalTask(1, "doomed", 0x0F), slot);
        self.tell("locked");
        pause();
    });
    ASSERT_EQ(holder.hear(), "locked");
    holder.killHard();

    auto store = open();
    StoreAccess access(*store);
    Reservations reservations(*store);
    size_t slot = 0;
    EXPECT_FALSE(reservations.reserve(digitalTask(2, "next", 0x01), slot).failed());
    for (const ProcessId &process : store->state().processes) {
        EXPECT_EQ(process.pid, 0) << "the dead process is forgotten";
    }
}

TEST_F(SharedStoreTest, ReservationsOfLiveProcessesHoldAndNameTheirHolder) {
    ChildProcess holder([this](ChildProcess &self) {
        auto store = open();
        {
            StoreAccess access(*store);
            store->join();
            size_t slot = 0;
            Reservations(*store).reserve(digitalTask(1, "kept", 0xF0), slot);
        }
        self.tell("held");
        pause();
    });
    ASSERT_EQ(holder.hear(), "held");
    auto store = open();
    StoreAccess access(*store);
    Reservations reservations(*store);
    size_t slot = 0;
    EXPECT_FALSE(reservations.reserve(digitalTask(2, "beside", 0x0F), slot).failed());
    Outcome refused = reservations.reserve(digitalTask(3, "over", 0x10), slot);
    EXPECT_EQ(refused.status, -50103);
    EXPECT_NE(refused.detail.find("\"kept\" of process " + std::to_string(holder.pid())),
              std::string::npos)
        << refused.detail;
}

// A start looks only as far as the last running task: one let go of before others leaves a
// gap that the next start fills, and the tasks after it still hold.
TEST_F(SharedStoreTest, ReservationsLetGoOfOutOfOrderKeepTheRestHeld) {
    auto store = open();
    StoreAccess access(*store);
    Reservations reservations(*store);
    size_t first = 0, second = 0, third = 0, refill = 0;
    ASSERT_FALSE(reservations.reserve(digitalTask(1, "first", 0x01), first).failed());
    ASSERT_FALSE(reservations.reserve(digitalTask(2, "second", 0x02), second).failed());
    ASSERT_FALSE(reservations.reserve(digitalTask(3, "third", 0x04), third).failed());
    reservations.release(1, first);
    reservations.release(2, second);
    Outcome refused = reservations.reserve(digitalTask(4, "over", 0x04), refill);
    EXPECT_EQ(refused.status, -50103);
    EXPECT_NE(refused.detail.find("\"third\""), std::string::npos) << refused.detail;
    ASSERT_FALSE(reservations.reserve(digitalTask(5, "refill", 0x03), refill).failed());
    EXPECT_EQ(refill, first) << "the first free entry is taken";

    reservations.release(3, third);
    reservations.release(5, refill);
    EXPECT_EQ(store->state().holdingsEnd, 0u) << "nothing runs";
    // A release given a wrong entry still finds its task.
    ASSERT_FALSE(reservations.reserve(digitalTask(6, "moved", 0x01), first).failed());
    reservations.release(6, BoardState::maxHoldings - 1);
    EXPECT_FALSE(reservations.reserve(digitalTask(7, "after", 0x01), refill).failed());
}

TEST_F(SharedStoreTest, ThreadsChangingTheStateTogetherLoseNoUpdate) {
    auto store = open();
    constexpr int threads = 4;
    constexpr int rounds = 20000;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&store, t] {
            for (int i = 0; i < rounds; ++i) {
                StoreAccess access(*store);
                BoardState &state = store->state();
                state.outputLevel[0] += 1.0;
                state.latch[t % portCount] ^= 0xFF;
            }
        });
    }
    for (std::thread &worker : workers) {
        worker.join();
    }
    StoreAccess access(*store);
    EXPECT_EQ(store->state().outputLevel[0], threads * rounds);
}

} // namespace
