// The scope's tests run on the offscreen platform, on the simulated board in virtual time
// with the stand of stand.json, with the user's settings in a folder of this process's own.
// The shared-board tests instead share a board in real time, kept in that folder, with the
// programs they start.
#include "host/pooled_threads.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    host::awaitPooledThreadsAtExit();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string settings = std::string(P_tmpdir) + "/orvex_scope_test.XXXXXX";
    if (!mkdtemp(settings.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
#ifdef SCOPE_TEST_SHARED_BOARD
    unsetenv("ORVEX_SIM_BENCH");
    setenv("ORVEX_SIM_STATE", (settings + "/board.state").c_str(), 1);
#else
    setenv("ORVEX_SIM_BENCH", SCOPE_TEST_STAND, 0);
#endif
    int status = 0;
    {
        QApplication application(argc, argv);
        status = RUN_ALL_TESTS();
    }
    std::filesystem::remove_all(settings);
    return status;
}
