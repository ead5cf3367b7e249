// The end-to-end tests run on the offscreen platform with the screens of screens.json (two
// side by side, each larger than the window, whose windows have no frames, so that the
// place a window is given is the place it reports), with the stand of stand.json, and
// keep the simulated board's call journal in a file of their own process, which the
// tests read back.  ORVEX_DRIVER names the driver the program under test loads.  The
// user's settings go to a folder of this process (never the real user's, and never one
// that a test run in parallel shares).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A death test runs its statement in a fresh copy of this program, so that it can
    // start without the application object or the board driver the others have loaded.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZELBRIN_TEST_SCREENS, 0);
    setenv("ORVEX_SIM_BENCH", ZELBRIN_TEST_STAND, 0);
    const std::string journal =
        std::string(P_tmpdir) + "/zelbrin_app_test." + std::to_string(getpid()) + ".journal";
    setenv("ORVEX_SIM_JOURNAL", journal.c_str(), 1);
    std::string settings = std::string(P_tmpdir) + "/zelbrin_app_test.XXXXXX";
    if (!mkdtemp(settings.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
    const int status = RUN_ALL_TESTS();
    std::remove(journal.c_str());
    std::filesystem::remove_all(settings);
    return status;
}
