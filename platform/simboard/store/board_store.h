// Where the board's state lives.  A private board keeps it in the process, guarded by the
// board's own lock; a shared board keeps it in memory every process on the machine maps,
// guarded by a lock of its own that each call takes inside the board's lock.
#ifndef PLATFORM_SIMBOARD_STORE_BOARD_STORE_H
#define PLATFORM_SIMBOARD_STORE_BOARD_STORE_H

#include "board_state.h"
#include "names/outcome.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace simboard {

class BoardStore {
  public:
    virtual ~BoardStore() = default;

    BoardState &state() { return *state_; }
    virtual bool shared() const = 0;
    // How long a call waits for a shared board that another process holds, and how long
    // a call that only explains a refusal waits.
    static constexpr std::chrono::milliseconds lockPatience{3000};
    static constexpr std::chrono::milliseconds glancePatience{200};
    // The least a call with a timeout waits: a board busy for a moment is not refused.
    static constexpr std::chrono::milliseconds shortestPatience{10};

    // Exclusive use of the state across processes, waited for at most `patience`; a
    // refusal, naming what stands in the way, when it cannot be had, and then the state
    // must be left alone.  A private store needs no lock.
    virtual Outcome acquire(std::chrono::milliseconds /*patience*/) { return {}; }
    Outcome lock() { return acquire(lockPatience); }
    // Lets go of the lock if this thread holds it.
    virtual void unlock() {}
    virtual ProcessId self() const { return {}; }
    virtual bool alive(const ProcessId &) const { return true; }
    // Registers this process with the board (the lock held); true when no other process
    // uses it, so that this one's bench file may set the board up.  A process the board
    // has no room for is refused it, with a message, until another one ends.
    virtual bool join() { return true; }
    // Board time 0 on the steady clock, when the board's time is common to processes.
    virtual std::optional<std::chrono::steady_clock::time_point> origin() const {
        return std::nullopt;
    }
    // The file that holds a shared board's state; empty for a private board.
    virtual std::string location() const { return {}; }

    // Copies from the state without the store's lock (the board's own lock held): `copy`
    // reads the state through unlockedCopy only, and may be run more than once.  True when
    // what it copied is whole and was current; false when the call is to take the lock
    // instead: another call held the board or kept changing it, or the lock has work of its
    // own to do (the sweep of ended processes, a refusal to give).
    template <class Copy> bool readWithoutLock(Copy &&copy) {
        constexpr int attempts = 4;
        for (int attempt = 0; attempt < attempts; ++attempt) {
            const std::optional<uint64_t> changes = changesBeforeRead();
            if (!changes) {
                return false;
            }
            copy();
            if (unchangedSince(*changes)) {
                return true;
            }
        }
        return false;
    }

  protected:
    // The count of the state's changes when no call holds the board and a read may go
    // without the lock; a private store's state is guarded by the board's lock alone.
    virtual std::optional<uint64_t> changesBeforeRead() { return 0; }
    virtual bool unchangedSince(uint64_t /*changes*/) { return true; }

    BoardState *state_ = nullptr;
};

// How long a call with a timeout of `seconds` waits for the shared board: its timeout,
// but at least a short look, and lockPatience where the timeout is endless.
std::chrono::milliseconds lockPatienceFor(double seconds);

// A fresh state: nothing driven, the stand at its defaults with this noise seed.
void resetBoardState(BoardState &state, uint64_t seed);
// Moves the end of the used holdings back over the free ones before it.
void trimHoldings(BoardState &state);

std::unique_ptr<BoardStore> openPrivateStore(uint64_t seed);

// The board every process on the machine shares, from the state file of `path` (created,
// or rebuilt when stale or corrupt, with a message on the error output).  Null, with the
// reason in `why`, where the platform has no shared board or the file cannot be used.
std::unique_ptr<BoardStore> openSharedStore(const std::string &path, std::string &why);
// The shared board's file: `named` when it is not empty, otherwise the board's file in the
// user's runtime directory; empty where the platform has no shared board.
std::string sharedStatePath(const std::string &named, const std::string &runtimeDirectory);

// Holds the store's lock for a scope, unless it is refused.
class StoreAccess {
  public:
    explicit StoreAccess(BoardStore &store,
                         std::chrono::milliseconds patience = BoardStore::lockPatience)
        : store_(store), refusal_(store.acquire(patience)) {}
    StoreAccess(const StoreAccess &) = delete;
    StoreAccess &operator=(const StoreAccess &) = delete;
    ~StoreAccess() { store_.unlock(); }

    // Failed when the lock could not be had: the state must then be left alone.
    const Outcome &refusal() const { return refusal_; }

  private:
    BoardStore &store_;
    Outcome refusal_;
};

} // namespace simboard

#endif
