#include "mapping_guard.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace simboard {
namespace {

// Plain atomics only: the handler reads them.
struct GuardedMapping {
    std::atomic<uintptr_t> base{0};
    std::atomic<size_t> size{0};
    std::atomic<int> fd{-1};
    std::atomic<bool> lost{false};
};

std::array<GuardedMapping, 16> guarded;
struct sigaction previousHandler {};
uintptr_t pageSize = 4096;

GuardedMapping *find(uintptr_t address) {
    for (GuardedMapping &mapping : guarded) {
        const uintptr_t base = mapping.base.load();
        if (base != 0 && address >= base && address < base + mapping.size.load()) {
            return &mapping;
        }
    }
    return nullptr;
}

// The pages from the one touched, or from the file's end if that comes first, to the end
// of the mapping become the process's own.
bool replaceLostPages(GuardedMapping &mapping, uintptr_t address) {
    const uintptr_t base = mapping.base.load();
    const uintptr_t end = base + mapping.size.load();
    uintptr_t from = address & ~(pageSize - 1);
    struct stat file {};
    if (fstat(mapping.fd.load(), &file) == 0 && file.st_size >= 0) {
        const uintptr_t fileEnd =
            base + ((static_cast<uintptr_t>(file.st_size) + pageSize - 1) & ~(pageSize - 1));
        from = fileEnd < from ? fileEnd : from;
    }
    from = from < base ? base : from;
    void *replaced = mmap(reinterpret_cast<void *>(from), end - from, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    return replaced != MAP_FAILED;
}

extern "C" void onBusError(int signal, siginfo_t *info, void *context) {
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    if (info->si_code > 0) {
        if (GuardedMapping *mapping = find(address);
            mapping != nullptr && replaceLostPages(*mapping, address)) {
            mapping->lost.store(true);
            return;
        }
    }
    if ((previousHandler.sa_flags & SA_SIGINFO) != 0) {
        previousHandler.sa_sigaction(signal, info, context);
    } else if (previousHandler.sa_handler != SIG_DFL && previousHandler.sa_handler != SIG_IGN) {
        previousHandler.sa_handler(signal);
    } else {
        // As without this handler: the fault comes again, or the signal is raised again.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigaction(SIGBUS, &fallback, nullptr);
        if (info->si_code <= 0) {
            raise(SIGBUS);
        }
    }
}

void installHandler() {
    pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    struct sigaction handler {};
    handler.sa_sigaction = onBusError;
    handler.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
    sigemptyset(&handler.sa_mask);
    sigaction(SIGBUS, &handler, &previousHandler);
}

} // namespace

const std::atomic<bool> *guardMapping(void *base, size_t size, int fd) {
    static std::once_flag installed;
    std::call_once(installed, installHandler);
    static std::mutex slots;
    std::lock_guard<std::mutex> hold(slots);
    for (GuardedMapping &mapping : guarded) {
        if (mapping.base.load() == 0) {
            mapping.lost.store(false);
            mapping.size.store(size);
            mapping.fd.store(fd);
            mapping.base.store(reinterpret_cast<uintptr_t>(base));
            return &mapping.lost;
        }
    }
    return nullptr;
}

void unguardMapping(const void *base) {
    if (GuardedMapping *mapping = find(reinterpret_cast<uintptr_t>(base))) {
        mapping->base.store(0);
    }
}

} // namespace simboard
