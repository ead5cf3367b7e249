// Each test gets the test panel freshly loaded and shown, and discarded afterwards.
#ifndef TESTS_PANEL_PANEL_FIXTURE_H
#define TESTS_PANEL_PANEL_FIXTURE_H

#include "recorded_events.h"
#include "uiruntime/userint.h"

#include <gtest/gtest.h>

// IDs and resource ID of test_panel.ui.
enum {
    TEST_PANEL = 7,
    SELECTOR = 2,
    STOPPED_TIMER = 3,
    FIELD = 4,
    INDICATOR = 5,
    SWITCH = 6,
    BUTTON = 7,
    RUNNING_TIMER = 8,
    GRAPH = 12,
    HIGHEST_FILE_ID = 12,
};

class PanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetEventLog();
        panel = LoadPanel(0, testFile("test_panel.ui").c_str(), TEST_PANEL);
        ASSERT_GT(panel, 0);
        ASSERT_EQ(DisplayPanel(panel), 0);
    }
    void TearDown() override {
        DiscardPanel(panel);
        resetEventLog();
    }
    int panel = 0;
};

#endif
