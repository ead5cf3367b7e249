// The shared board on POSIX systems: the state in a file every process maps, guarded by a
// process-shared robust mutex, so that a process killed while it holds the lock leaves the
// board usable.  The file carries a header that tells a stale or damaged file from a good
// one; such a file is replaced, never trusted.
#include "board_store.h"
#include "dead_process_sweep.h"
#include "stand/noise.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <utility>

namespace simboard {
namespace {

constexpr uint64_t fileMagic = 0x314D495358565230ull; // "0RVXSIM1"
constexpr uint32_t fileVersion = 1;

struct SharedFile {
    uint64_t magic;
    uint32_t version;
    uint32_t size;
    int64_t originNanoseconds; // board time 0 on the steady clock
    uint64_t checksum;
    pthread_mutex_t mutex;
    BoardState state;
};

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

// Fields 3 (state) and 22 (start time) of /proc/<pid>/stat; false where there is none.
bool readProcessStat(int32_t pid, char &state, uint64_t &startTime) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!file || !std::getline(file, text)) {
        return false;
    }
    // The command name in parentheses may hold spaces and parentheses itself.
    size_t end = text.rfind(')');
    if (end == std::string::npos) {
        return false;
    }
    std::istringstream fields(text.substr(end + 1));
    std::string skipped;
    fields >> state;
    for (int field = 4; field < 22; ++field) {
        fields >> skipped;
    }
    fields >> startTime;
    return !fields.fail();
}

ProcessId currentProcess() {
    ProcessId id{static_cast<int32_t>(getpid()), 0};
    char state = 0;
    readProcessStat(id.pid, state, id.startTime);
    return id;
}

// What is wrong with the file, or empty when it can be used.
std::string problemWith(const SharedFile &file, off_t fileSize) {
    if (fileSize != static_cast<off_t>(sizeof(SharedFile))) {
        return "has " + std::to_string(fileSize) + " bytes, not " +
               std::to_string(sizeof(SharedFile));
    }
    if (file.magic != fileMagic) {
        return "is no board state file";
    }
    if (file.version != fileVersion || file.size != sizeof(SharedFile)) {
        return "is of another version (" + std::to_string(file.version) + ")";
    }
    if (file.checksum != headerChecksum(file)) {
        return "fails its checksum";
    }
    if (file.originNanoseconds > steadyNanoseconds()) {
        return "dates from before the machine started";
    }
    return {};
}

void initialise(SharedFile &file) {
    resetBoardState(file.state, std::random_device{}());
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(&file.mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    file.magic = fileMagic;
    file.version = fileVersion;
    file.size = sizeof(SharedFile);
    file.originNanoseconds = steadyNanoseconds();
    // Last: a file whose set-up was cut short fails the check and is built again.
    file.checksum = headerChecksum(file);
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

class SharedStore final : public BoardStore {
  public:
    SharedStore(std::string path, int fd, SharedFile *file)
        : path_(std::move(path)), fd_(fd), file_(file), self_(currentProcess()) {
        state_ = &file_->state;
    }
    ~SharedStore() override {
        munmap(file_, sizeof(SharedFile));
        close(fd_);
    }

    bool shared() const override { return true; }

    void lock() override {
        int result = pthread_mutex_lock(&file_->mutex);
        if (result == EOWNERDEAD) {
            // Its owner died in the middle of a call: whatever it held is free again.
            pthread_mutex_consistent(&file_->mutex);
            reap();
        } else if (result != 0) {
            std::fprintf(stderr, "simulated board: the lock of %s cannot be taken (%s)\n",
                         path_.c_str(), std::strerror(result));
            std::abort();
        }
        // A holder in another's way is dropped at once when its process has gone; the
        // rest are looked for now and then: the clock is read every 64th call only, so
        // that a call costs next to nothing more.
        if ((++calls_ % 64) == 0 && std::chrono::steady_clock::now() >= nextReap_) {
            reap();
        }
    }
    void unlock() override { pthread_mutex_unlock(&file_->mutex); }

    ProcessId self() const override { return self_; }

    bool alive(const ProcessId &process) const override {
        char state = 0;
        uint64_t startTime = 0;
        if (readProcessStat(process.pid, state, startTime)) {
            return state != 'Z' && state != 'X' &&
                   (process.startTime == 0 || startTime == process.startTime);
        }
        // Without /proc, the process table itself answers.
        return kill(process.pid, 0) == 0 || errno == EPERM;
    }

    bool join() override {
        reap();
        bool alone = true;
        ProcessId *freeEntry = nullptr;
        for (ProcessId &process : state_->processes) {
            if (process.pid == 0) {
                freeEntry = freeEntry != nullptr ? freeEntry : &process;
            } else if (process == self_) {
                return alone;
            } else {
                alone = false;
            }
        }
        if (freeEntry != nullptr) {
            *freeEntry = self_;
        }
        return alone;
    }

    std::optional<std::chrono::steady_clock::time_point> origin() const override {
        return std::chrono::steady_clock::time_point(
            std::chrono::nanoseconds(file_->originNanoseconds));
    }

    std::string location() const override { return path_; }

  private:
    static constexpr std::chrono::milliseconds reapInterval{500};

    void reap() {
        reapDeadProcesses(*state_, *this);
        nextReap_ = std::chrono::steady_clock::now() + reapInterval;
    }

    std::string path_;
    int fd_;
    SharedFile *file_;
    ProcessId self_;
    // This process's own: the store's lock guards them.
    uint64_t calls_ = 0;
    std::chrono::steady_clock::time_point nextReap_{};
};

std::string systemError(const std::string &what, const std::string &path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// One attempt; false with `why` empty asks for another (the file was replaced meanwhile).
std::unique_ptr<BoardStore> attach(const std::string &path, std::string &why) {
    FileDescriptor fd(open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        why = systemError("cannot open", path);
        return nullptr;
    }
    // Set-up and checks of the file are one process's at a time; the calls on the board
    // take the mutex inside it.
    if (flock(fd.get(), LOCK_EX) != 0) {
        why = systemError("cannot lock", path);
        return nullptr;
    }
    struct stat opened {};
    struct stat named {};
    if (fstat(fd.get(), &opened) != 0) {
        why = systemError("cannot examine", path);
        return nullptr;
    }
    if (stat(path.c_str(), &named) != 0 || named.st_ino != opened.st_ino ||
        named.st_dev != opened.st_dev) {
        return nullptr; // replaced by a process that rebuilt it: open the new one
    }
    if (opened.st_uid != getuid()) {
        why = path + " belongs to another user";
        return nullptr;
    }
    bool fresh = opened.st_size == 0;
    if (fresh && ftruncate(fd.get(), sizeof(SharedFile)) != 0) {
        why = systemError("cannot size", path);
        return nullptr;
    }
    size_t mapped = fresh ? sizeof(SharedFile) : static_cast<size_t>(opened.st_size);
    void *memory = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_SHARED, fd.get(), 0);
    if (memory == MAP_FAILED) {
        why = systemError("cannot map", path);
        return nullptr;
    }
    auto *file = static_cast<SharedFile *>(memory);
    if (fresh) {
        initialise(*file);
    } else if (std::string problem = problemWith(*file, opened.st_size); !problem.empty()) {
        std::fprintf(stderr, "simulated board: the shared state file %s %s; rebuilt it\n",
                     path.c_str(), problem.c_str());
        munmap(memory, mapped);
        // Processes still using the old file keep it; every new one gets the new file.
        unlink(path.c_str());
        return nullptr;
    }
    flock(fd.get(), LOCK_UN);
    return std::make_unique<SharedStore>(path, fd.release(), file);
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
