// A program that awaits Qt's pooled threads at exit ends only once they have ended, even
// one that ends slowly; a thread still ending after Qt's own clean-up would leave Qt's
// record of it behind.
#include "host/pooled_threads.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThreadPool>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace {

// Its destructor runs as the pooled thread that first touched it ends, and holds it back.
struct SlowEnd {
    ~SlowEnd() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }
};
thread_local SlowEnd slowEnd;

void endFailingUnlessAlone() {
    const auto threads = std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                       std::filesystem::directory_iterator());
    if (threads != 1) {
        _exit(3);
    }
}

// Gives a pooled thread work that makes it end slowly, then ends the program.
[[noreturn]] void endAfterSlowPoolWork() {
    std::atexit(endFailingUnlessAlone); // first registered, so the last to run
    host::awaitPooledThreadsAtExit();
    int argc = 1;
    char name[] = "pooled_threads_test";
    char *argv[] = {name, nullptr};
    {
        QCoreApplication application(argc, argv);
        QThreadPool::globalInstance()->start([] { (void)&slowEnd; });
    } // the application waits for the pool's work and lets its threads go
    std::exit(0);
}

TEST(PooledThreadsTest, AProgramEndsOnlyOnceQtsPooledThreadsHaveEnded) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(endAfterSlowPoolWork(), testing::ExitedWithCode(0), "");
}

} // namespace
