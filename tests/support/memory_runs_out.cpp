// Over malloc and free, so that failures can be counted out allocation by allocation.
#include "memory_runs_out.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> armed{false};
std::atomic<long> toPass{0};
std::atomic<long> toFail{0};
std::atomic<bool> failed{false};

void *allocate(std::size_t size) {
    if (armed && toPass.fetch_sub(1) <= 0 && toFail.fetch_sub(1) > 0) {
        failed = true;
        throw std::bad_alloc();
    }
    void *memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

MemoryRunsOut::MemoryRunsOut(long nth, long failures) {
    toPass = nth - 1;
    toFail = failures;
    failed = false;
    armed = true;
}

MemoryRunsOut::~MemoryRunsOut() {
    armed = false;
}

bool MemoryRunsOut::struck() const {
    return failed;
}

void *operator new(std::size_t size) {
    return allocate(size);
}

void *operator new[](std::size_t size) {
    return allocate(size);
}

void operator delete(void *memory) noexcept {
    std::free(memory);
}

void operator delete[](void *memory) noexcept {
    std::free(memory);
}

void operator delete(void *memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void *memory, std::size_t) noexcept {
    std::free(memory);
}
