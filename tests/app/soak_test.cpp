#include "app_harness.h"

#include "window/panel_frame.h"
#include "window/startup.h"
#include <orvex/simboard_control.h>

#include <QCoreApplication>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace zelbrin {
namespace {

// Resident memory of this process in bytes.
long residentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

bool underAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
    return __has_feature(address_sanitizer);
#else
    return false;
#endif
}

TEST(Soak, TwentyThousandTicksInPointsModeKeepMemoryFlatAndLeaveNoTask) {
    constexpr int ticks = 20000;
    constexpr int settleTick = 1000;
    constexpr long allowedGrowth = 1 << 20;
    resetStand();
    ASSERT_EQ(simboard_releaseJoystick(), 0); // the stick moves along its path
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv()));

    long settled = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        user::tickSampling();
        user::tickRefresh();
        simboard_advanceTime(0.05);
        if (tick % 100 == 0) {
            QCoreApplication::processEvents(); // repaint as the running program would
        }
        if (tick == settleTick) {
            settled = residentBytes();
        }
    }
    const long grown = residentBytes() - settled;
    RecordProperty("residentGrowthBytes", std::to_string(grown));
    closeDown();

    EXPECT_THAT(liveTasks(), ::testing::IsEmpty());
    if (underAddressSanitizer()) {
        GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine; resident memory "
                        "grew by "
                     << grown << " bytes";
    }
    EXPECT_LE(grown, allowedGrowth) << "resident memory grew by " << grown << " bytes";
}

} // namespace
} // namespace zelbrin
