// The sweep of ended processes, on a store whose processes live or end as the test says,
// so that it runs without starting and killing processes.
#include "store/dead_process_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

using namespace simboard;

class ScriptedStore final : public BoardStore {
  public:
    ScriptedStore() {
        state_ = &local_;
        resetBoardState(local_, 1);
    }
    bool shared() const override { return true; }
    ProcessId self() const override { return me; }
    bool alive(const ProcessId &process) const override { return !ended.contains(process.pid); }

    ProcessId me{100, 7};
    std::set<int32_t> ended;

  private:
    BoardState local_;
};

void hold(BoardState &state, size_t slot, ProcessId owner, uint64_t taskId) {
    Holding &holding = state.holdings[slot];
    holding.used = true;
    holding.owner = owner;
    holding.taskId = taskId;
}

std::vector<int32_t> registered(const BoardState &state) {
    std::vector<int32_t> pids;
    for (const ProcessId &process : state.processes) {
        if (process.pid != 0) {
            pids.push_back(process.pid);
        }
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

std::vector<uint64_t> heldTasks(const BoardState &state) {
    std::vector<uint64_t> tasks;
    for (const Holding &holding : state.holdings) {
        if (holding.used) {
            tasks.push_back(holding.taskId);
        }
    }
    std::sort(tasks.begin(), tasks.end());
    return tasks;
}

TEST(DeadProcessSweepTest, EndedProcessesGoWithWhatTheirTasksHeldAndTheLivingStay) {
    ScriptedStore store;
    BoardState &state = store.state();
    const ProcessId living{200, 1};
    const ProcessId ended{300, 1};
    const ProcessId endedUnregistered{400, 1};
    state.processes[0] = store.me;
    state.processes[3] = living;
    state.processes[5] = ended;
    hold(state, 0, store.me, 1);
    hold(state, 2, ended, 2);
    hold(state, 3, living, 3);
    hold(state, 7, ended, 4);
    hold(state, 9, endedUnregistered, 5);
    store.ended = {300, 400};

    reapDeadProcesses(state, store);

    EXPECT_EQ(registered(state), (std::vector<int32_t>{100, 200}));
    EXPECT_EQ(heldTasks(state), (std::vector<uint64_t>{1, 3}))
        << "a holder is dropped also when its process never registered";
}

TEST(DeadProcessSweepTest, OnlyAnotherProcessThatHasEndedIsDropped) {
    ScriptedStore store;
    BoardState &state = store.state();
    const ProcessId other{200, 1};
    state.processes[0] = store.me;
    state.processes[1] = other;
    hold(state, 0, store.me, 1);
    hold(state, 1, other, 2);

    EXPECT_FALSE(dropIfEnded(state, store, other)) << "it still runs";
    store.ended = {store.me.pid, other.pid};
    EXPECT_FALSE(dropIfEnded(state, store, store.me)) << "the caller is never dropped";
    EXPECT_TRUE(dropIfEnded(state, store, other));
    EXPECT_EQ(registered(state), (std::vector<int32_t>{100}));
    EXPECT_EQ(heldTasks(state), (std::vector<uint64_t>{1}));
}

} // namespace
