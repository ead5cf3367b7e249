// A build without HDF5 refuses an HDF5 recording, saying what to do instead.
#include "app/app_harness.h"

#include "window/panel_frame.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zelbrin {
namespace {

using Hdf5Refused = AppOnStand;

TEST_F(Hdf5Refused, AnH5FileIsRefusedWithAMessageAndRecordStaysOff) {
    const ScratchFolder folder;
    const std::string file = folder.path("run.h5");
    user::willChooseFile(file);
    user::click(PANEL_RECORD);
    EXPECT_EQ(user::intValue(PANEL_RECORD), 0);
    EXPECT_EQ(user::text(PANEL_MESSAGE),
              "Cannot record to " + file +
                  ": this Zelbrin was built without HDF5; record to a .csv file instead.");
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
} // namespace zelbrin
