// A state file of the shared board for one test, in a directory of its own, and a way to
// reach into the file as another program (or damage) would.
#ifndef TESTS_SIMBOARD_SHARED_STATE_FILE_FIXTURE_H
#define TESTS_SIMBOARD_SHARED_STATE_FILE_FIXTURE_H

#include "state_file/shared_file.h"
#include "store/board_store.h"
#include "test_directory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <memory>
#include <string>

class StateFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(directory_.made()); }

    std::unique_ptr<simboard::BoardStore> open(std::string *why = nullptr) {
        std::string reason;
        std::unique_ptr<simboard::BoardStore> store = simboard::openSharedStore(path_, reason);
        if (why != nullptr) {
            *why = reason;
        }
        return store;
    }

    // The file as every process maps it; null when it cannot be mapped.
    simboard::SharedFile *mapFile() {
        int fd = ::open(path_.c_str(), O_RDWR);
        if (fd < 0) {
            return nullptr;
        }
        void *memory =
            mmap(nullptr, sizeof(simboard::SharedFile), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        return memory == MAP_FAILED ? nullptr : static_cast<simboard::SharedFile *>(memory);
    }
    static void unmap(simboard::SharedFile *file) { munmap(file, sizeof(simboard::SharedFile)); }

    TestDirectory directory_;
    const std::string path_ = directory_.file("board.state");
};

#endif
