// The test program's own operator new and delete, over malloc and free, so that an
// allocation failure can be switched on.
#include "failing_allocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> failing{false};

void *allocate(std::size_t size) {
    void *memory = failing ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

FailingAllocations::FailingAllocations() {
    failing = true;
}

FailingAllocations::~FailingAllocations() {
    failing = false;
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

void operator delete(void *memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}

void operator delete[](void *memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}
