// The state file's room is taken before the file is written through its mapping, and a
// file cut short under running processes turns their calls into refusals: neither a full
// file system nor a truncated file ends a process with SIGBUS.  The processes at risk are
// processes of the test's own.
#include "child_process.h"
#include "state_file_fixture.h"

#include <sched.h>
#include <sys/mount.h>

#include <fstream>
#include <vector>

namespace {

using namespace simboard;

// Fills the file system under `directory` until it is full.
void fill(const std::string &directory) {
    std::ofstream filler(directory + "/filler", std::ios::binary);
    const std::vector<char> block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) &&
           filler.flush()) {
    }
}

TEST_F(StateFileTest, AFullFileSystemGivesNoSharedBoardAndNoBusError) {
    ChildProcess child([this](ChildProcess &self) {
        // A small file system of the child's own, gone with it.
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", directory_.path().c_str(), "tmpfs", 0, "size=64k") != 0) {
            self.tell("skip");
            return;
        }
        fill(directory_.path());
        std::string why;
        std::unique_ptr<BoardStore> store = open(&why);
        self.tell(store == nullptr ? why : "shared");
    });
    const std::string outcome = child.hear(30.0);
    if (outcome == "skip") {
        GTEST_SKIP() << "this test needs to mount a file system of its own";
    }
    EXPECT_NE(outcome.find("cannot make room"), std::string::npos) << outcome;
    EXPECT_EQ(child.waitForExit(10.0), 0);
}

TEST_F(StateFileTest, AFileCutShortUnderRunningProcessesTurnsTheirCallsIntoRefusals) {
    // One process touches the board's tables at the file's end, the other only its lock
    // at the start; a file cut in half loses the first its board, not the second.
    auto user = [this](bool touchesTables) {
        return [this, touchesTables](ChildProcess &self) {
            std::unique_ptr<BoardStore> store = open();
            for (std::string line = "go"; line == "go"; line = self.hear()) {
                StoreAccess access(*store);
                if (!access.refusal().failed() && touchesTables) {
                    store->state().processes.back() = store->self();
                }
                self.tell(access.refusal().failed() ? access.refusal().detail : "used");
            }
        };
    };
    ChildProcess tables(user(true));
    ChildProcess lockOnly(user(false));
    ASSERT_EQ(tables.hear(), "used");
    ASSERT_EQ(lockOnly.hear(), "used");

    ASSERT_EQ(truncate(path_.c_str(), sizeof(SharedFile) / 2), 0);
    tables.tell("go"); // touches the lost pages, then lets go of the lock
    EXPECT_EQ(tables.hear(), "used") << "the call that finds the pages gone still ends";
    lockOnly.tell("go");
    EXPECT_EQ(lockOnly.hear(), "used") << "the lock was let go of";
    tables.tell("go");
    EXPECT_NE(tables.hear().find("cut short"), std::string::npos);

    ASSERT_EQ(truncate(path_.c_str(), 0), 0);
    lockOnly.tell("go");
    EXPECT_NE(lockOnly.hear().find("cut short"), std::string::npos);
    for (ChildProcess *child : {&tables, &lockOnly}) {
        child->tell("end");
        EXPECT_EQ(child->waitForExit(10.0), 0) << "no SIGBUS";
    }
}

} // namespace
