// The shared board on POSIX systems: the state in a file every process maps, guarded by a
// process-shared robust mutex (shared_lock.h).  The file carries a header that tells a
// stale or damaged file from a good one, and its lock and tables are checked as well;
// such a file is replaced, never trusted.
#include "board_store.h"
#include "dead_process_sweep.h"
#include "names/status_codes.h"
#include "stand/noise.h"
#include "state_check.h"
#include "state_file/mapping_guard.h"
#include "state_file/process_lookup.h"
#include "state_file/shared_file.h"
#include "state_file/shared_lock.h"
#include "state_file/state_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace simboard {
namespace {

uint64_t headerChecksum(const SharedFile &file) {
    uint64_t sum = mixBits(file.magic);
    sum = mixBits(sum ^ file.version);
    sum = mixBits(sum ^ file.size);
    return mixBits(sum ^ static_cast<uint64_t>(file.originNanoseconds));
}

int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// What is wrong with the file, or empty when it can be used.
std::string problemWith(const SharedFile &file, off_t fileSize) {
    if (fileSize != static_cast<off_t>(sizeof(SharedFile))) {
        return "has " + std::to_string(fileSize) + " bytes, not " +
               std::to_string(sizeof(SharedFile));
    }
    if (file.magic != sharedFileMagic) {
        return "is no board state file";
    }
    if (file.version != sharedFileVersion || file.size != sizeof(SharedFile)) {
        return "is of another version (" + std::to_string(file.version) + ")";
    }
    if (file.checksum != headerChecksum(file)) {
        return "fails its checksum";
    }
    if (file.originNanoseconds > steadyNanoseconds()) {
        return "dates from before the machine started";
    }
    if (std::string damage = lockDamage(file.mutex); !damage.empty()) {
        return damage;
    }
    return stateDamage(file.state);
}

void initialise(SharedFile &file) {
    resetBoardState(file.state, std::random_device{}());
    initialiseSharedLock(file.mutex);
    file.magic = sharedFileMagic;
    file.version = sharedFileVersion;
    file.size = sizeof(SharedFile);
    file.originNanoseconds = steadyNanoseconds();
    file.changes = 0;
    // Last: a file whose set-up was cut short fails the check and is built again.
    file.checksum = headerChecksum(file);
}

class SharedStore final : public BoardStore {
  public:
    SharedStore(std::string path, int fd, SharedFile *file, const std::atomic<bool> *lost)
        : path_(std::move(path)), fd_(fd), file_(file), lost_(lost), self_(currentProcess()) {
        state_ = &file_->state;
    }
    ~SharedStore() override {
        unguardMapping(file_);
        munmap(file_, sizeof(SharedFile));
        close(fd_);
    }

    bool shared() const override { return true; }

    Outcome acquire(std::chrono::milliseconds patience) override {
        if (lostNow()) {
            return lostBoard();
        }
        bool ownerDied = false;
        Outcome outcome = takeSharedLock(file_->mutex, patience, path_, stuckHolder_, ownerDied);
        if (outcome.failed()) {
            return outcome;
        }
        holder_.store(pthread_self(), std::memory_order_relaxed);
        countTaken();
        if (lost_ != nullptr && lost_->load()) {
            unlock(); // it was cut short while the lock was being taken
            return lostBoard();
        }
        if (membership_.load() == Membership::Waiting) {
            reap();
            if (!enrol()) {
                unlock();
                return refuse(status::resourceReserved, tableFull());
            }
        }
        // A holder that died in the middle of a call leaves what it held; one in another's
        // way is dropped at once when its process has gone; the rest are looked for now and
        // then, also when a read without the lock found the sweep due.
        if (ownerDied || sweepWanted_.load(std::memory_order_relaxed) || sweepDue()) {
            reap();
        }
        return {};
    }
    void unlock() override {
        if (heldHere()) {
            changeCount().store(changeCount().load(std::memory_order_relaxed) + 1,
                                std::memory_order_release);
            holder_.store(pthread_t{}, std::memory_order_relaxed);
            pthread_mutex_unlock(&file_->mutex);
        }
    }

    ProcessId self() const override { return self_; }

    bool alive(const ProcessId &process) const override { return processAlive(process); }

    bool join() override {
        if (!heldHere()) {
            membership_ = Membership::Waiting; // enrols with its next call
            return false;
        }
        reap();
        bool alone = true;
        for (const ProcessId &process : state_->processes) {
            alone = alone && (process.pid == 0 || process == self_);
        }
        if (!enrol()) {
            std::fprintf(stderr, "simulated board: %s\n", tableFull().c_str());
            membership_ = Membership::Waiting;
            return false;
        }
        return alone;
    }

    std::optional<std::chrono::steady_clock::time_point> origin() const override {
        return std::chrono::steady_clock::time_point(
            std::chrono::nanoseconds(file_->originNanoseconds));
    }

    std::string location() const override { return path_; }

  protected:
    std::optional<uint64_t> changesBeforeRead() override {
        if (lostNow() || membership_.load(std::memory_order_relaxed) != Membership::Member) {
            return std::nullopt; // the lock gives the refusal
        }
        if (sweepDue()) {
            sweepWanted_.store(true, std::memory_order_relaxed);
            return std::nullopt;
        }
        const uint64_t changes = changeCount().load(std::memory_order_acquire);
        if (changes % 2 != 0) {
            return std::nullopt; // held: perhaps by a process that stopped in its call
        }
        return changes;
    }
    bool unchangedSince(uint64_t changes) override {
        std::atomic_thread_fence(std::memory_order_acquire);
        return changeCount().load(std::memory_order_relaxed) == changes && !lostNow();
    }

  private:
    static constexpr std::chrono::milliseconds reapInterval{500};

    std::atomic_ref<uint64_t> changeCount() { return std::atomic_ref<uint64_t>(file_->changes); }
    // Taking the lock makes the count odd, letting go even again; a holder that died left
    // it odd, and the next taker steps on to the next odd one.  The fence keeps the count
    // ahead of the changes the call makes.
    void countTaken() {
        const uint64_t changes = changeCount().load(std::memory_order_relaxed);
        changeCount().store((changes + 1) | 1u, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
    }
    bool lostNow() const { return lost_ != nullptr && lost_->load(std::memory_order_relaxed); }
    // Whether this call is to look for ended processes: the clock is read every 64th call
    // only, so that a call costs next to nothing more.
    bool sweepDue() {
        const uint64_t call = calls_.load(std::memory_order_relaxed) + 1;
        calls_.store(call, std::memory_order_relaxed);
        return call % 64 == 0 &&
               std::chrono::steady_clock::now() >= nextReap_.load(std::memory_order_relaxed);
    }

    // A process not in the process table would be invisible to the others: one that
    // starts later could take itself for the first and set the board up under it.
    enum class Membership { Unasked, Member, Waiting };

    bool heldHere() const {
        return pthread_equal(holder_.load(std::memory_order_relaxed), pthread_self()) != 0;
    }

    bool enrol() {
        ProcessId *freeEntry = nullptr;
        for (ProcessId &process : state_->processes) {
            if (process == self_) {
                membership_ = Membership::Member;
                return true;
            }
            if (process.pid == 0 && freeEntry == nullptr) {
                freeEntry = &process;
            }
        }
        if (freeEntry == nullptr) {
            return false;
        }
        *freeEntry = self_;
        membership_ = Membership::Member;
        return true;
    }

    std::string tableFull() const {
        return "The shared board (" + path_ + ") serves " +
               std::to_string(BoardState::maxProcesses) +
               " processes at most, and as many use it: this process is refused it until one "
               "of them ends.";
    }

    Outcome lostBoard() {
        const std::string why = "The shared board's state file " + path_ +
                                " was cut short by another program while this process used "
                                "it; restart the program to get a rebuilt board.";
        if (!lostReported_.exchange(true)) {
            std::fprintf(stderr, "simulated board: %s\n", why.c_str());
        }
        return refuse(status::resourceReserved, why);
    }

    void reap() {
        reapDeadProcesses(*state_, *this);
        sweepWanted_.store(false, std::memory_order_relaxed);
        nextReap_.store(std::chrono::steady_clock::now() + reapInterval, std::memory_order_relaxed);
    }

    std::string path_;
    int fd_;
    SharedFile *file_;
    const std::atomic<bool> *lost_;
    ProcessId self_;
    // The thread of this process that holds the lock, if one does.
    std::atomic<pthread_t> holder_{};
    std::atomic<bool> lostReported_{false};
    StuckHolder stuckHolder_;
    std::atomic<Membership> membership_{Membership::Unasked};
    // This process's own, also looked at by reads without the store's lock.
    std::atomic<uint64_t> calls_{0};
    std::atomic<std::chrono::steady_clock::time_point> nextReap_{};
    std::atomic<bool> sweepWanted_{false};
};

// One attempt; null with `why` empty asks for another (the file was replaced meanwhile).
std::unique_ptr<BoardStore> attach(const std::string &path, std::string &why) {
    StateFile stateFile(path, why);
    if (!stateFile.opened()) {
        return nullptr;
    }
    struct stat opened {};
    if (fstat(stateFile.fd(), &opened) != 0) {
        why = "cannot examine " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    const bool fresh = opened.st_size == 0;
    // The room is taken before the file is written through its mapping: a file system
    // without it would end the process with SIGBUS at the first touch.
    if (fresh) {
        if (int error = posix_fallocate(stateFile.fd(), 0, sizeof(SharedFile)); error != 0) {
            why = "cannot make room for " + path + ": " + std::strerror(error);
            unlink(path.c_str());
            return nullptr;
        }
    }
    const size_t mapped = fresh ? sizeof(SharedFile) : static_cast<size_t>(opened.st_size);
    void *memory = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_SHARED, stateFile.fd(), 0);
    if (memory == MAP_FAILED) {
        why = "cannot map " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    const std::atomic<bool> *lost = guardMapping(memory, mapped, stateFile.fd());
    auto *file = static_cast<SharedFile *>(memory);
    std::string problem = fresh ? std::string() : problemWith(*file, opened.st_size);
    if (problem.empty() && lost != nullptr && lost->load()) {
        problem = "was cut short while it was read";
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "simulated board: the shared state file %s %s; rebuilt it\n",
                     path.c_str(), problem.c_str());
        unguardMapping(memory);
        munmap(memory, mapped);
        // Processes still using the old file keep it; every new one gets the new file.
        unlink(path.c_str());
        return nullptr;
    }
    if (fresh) {
        initialise(*file);
    }
    const int fd = stateFile.release();
    return std::make_unique<SharedStore>(path, fd, file, lost);
}

} // namespace

std::unique_ptr<BoardStore> openSharedStore(const std::string &path, std::string &why) {
    constexpr int attempts = 8;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        why.clear();
        if (auto store = attach(path, why)) {
            return store;
        }
        if (!why.empty()) {
            return nullptr;
        }
    }
    why = path + " keeps being replaced";
    return nullptr;
}

std::string sharedStatePath(const std::string &named, const std::string &runtimeDirectory) {
    if (!named.empty()) {
        return named;
    }
    if (!runtimeDirectory.empty()) {
        return runtimeDirectory + "/orvex-simboard.state";
    }
    return "/tmp/orvex-simboard-" + std::to_string(getuid()) + ".state";
}

} // namespace simboard
