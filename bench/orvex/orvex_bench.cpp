// Cost of the calls a lab window makes many times a second, over the recording test
// driver with recording off (a driver that answers at once), so what is measured is the
// library and its driver layer.
//
// Counters per call:
//   allocations  heap allocations (operator new and malloc in this process); 0 once
//                the tasks exist, since names are built in fixed buffers on the stack
//                and only task creation formats anything.
//   mutex_locks  pthread_mutex_lock calls; 0, since the driver layer takes its lock
//                only while it loads the driver and the library itself takes none.
//
//     build-orvex/bench/orvex/orvex_bench
#include "recording_driver/recording_driver.h"
#include <orvex.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <pthread.h>

namespace {

std::atomic<long> allocations{0};
std::atomic<long> mutexLocks{0};

} // namespace

// Counting replacements of the process's allocation and lock entry points; operator
// new allocates through malloc, so it is counted too.
extern "C" void *__libc_malloc(std::size_t size);
extern "C" void *__libc_calloc(std::size_t count, std::size_t size);
extern "C" void *__libc_realloc(void *memory, std::size_t size);

extern "C" void *malloc(std::size_t size) {
    ++allocations;
    return __libc_malloc(size);
}

extern "C" void *calloc(std::size_t count, std::size_t size) {
    ++allocations;
    return __libc_calloc(count, size);
}

extern "C" void *realloc(void *memory, std::size_t size) {
    ++allocations;
    return __libc_realloc(memory, size);
}

extern "C" int pthread_mutex_lock(pthread_mutex_t *mutex) {
    using Lock = int (*)(pthread_mutex_t *);
    static const Lock realLock = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    ++mutexLocks;
    return realLock(mutex);
}

namespace {

// Times the call.  Allocations and locks are counted over calls made before the timed
// loop, so the framework's own bookkeeping is not counted.
template <typename Call> void measure(benchmark::State &state, Call &&call) {
    rd_setRecording(0);
    constexpr int countedCalls = 10000;
    const long allocationsBefore = allocations;
    const long locksBefore = mutexLocks;
    for (int i = 0; i < countedCalls; ++i) {
        benchmark::DoNotOptimize(call());
    }
    state.counters["allocations"] = double(allocations - allocationsBefore) / countedCalls;
    state.counters["mutex_locks"] = double(mutexLocks - locksBefore) / countedCalls;
    for (auto _ : state) {
        benchmark::DoNotOptimize(call());
    }
}

void portIn(benchmark::State &state) {
    orvex_portMask(0, 0x0F);
    unsigned char value = 0;
    measure(state, [&] { return orvex_portIn(0, &value); });
}
BENCHMARK(portIn);

void portOut(benchmark::State &state) {
    orvex_portMask(1, 0xFF);
    unsigned char value = 0;
    measure(state, [&] { return orvex_portOut(1, value++); });
}
BENCHMARK(portOut);

void portMaskBetweenTwoCachedMasks(benchmark::State &state) {
    orvex_portMask(2, 0x0F);
    orvex_portMask(2, 0xF0);
    orvex_portOut(2, 0x55);
    bool low = true;
    measure(state, [&] { return orvex_portMask(2, (low = !low) ? 0x0F : 0xF0); });
}
BENCHMARK(portMaskBetweenTwoCachedMasks);

void analogIn(benchmark::State &state) {
    double volts = 0;
    orvex_analogIn(2, &volts);
    measure(state, [&] { return orvex_analogIn(2, &volts); });
}
BENCHMARK(analogIn);

} // namespace

int main(int argc, char **argv) {
    // The figures are the library's own cost over a driver that answers at once; another
    // driver named in the environment would be measured instead without saying so.
    setenv("ORVEX_DRIVER", RECORDING_DRIVER, 1);
    orvex_driverLoad();
    benchmark::AddCustomContext("driver", orvex_driverLibrary());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    orvex_ni6251Close();
    return 0;
}
