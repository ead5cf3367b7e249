#include "support/panel_test_access.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS(); // listing needs no window system
    }
    if (!panel_test::startRuntime(argc, argv)) {
        return 1;
    }
    return RUN_ALL_TESTS();
}
