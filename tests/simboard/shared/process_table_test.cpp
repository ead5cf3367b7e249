// A process the shared board's process table has no room for is refused the board, with
// a message, until one of the others ends: invisible to the others, it could be taken for
// no one, and a process started after it would set the board up under it.
#include "child_process.h"
#include "state_file_fixture.h"

#include <memory>
#include <vector>

namespace {

using namespace simboard;

TEST_F(StateFileTest, AProcessBeyondTheTableIsRefusedUntilAnotherEnds) {
    std::vector<std::unique_ptr<ChildProcess>> members;
    for (size_t i = 0; i < BoardState::maxProcesses; ++i) {
        members.push_back(std::make_unique<ChildProcess>([this](ChildProcess &self) {
            std::unique_ptr<BoardStore> store = open();
            {
                StoreAccess access(*store);
                store->join();
            }
            self.tell("joined");
            self.hear();
        }));
        ASSERT_EQ(members.back()->hear(), "joined");
    }

    ChildProcess newcomer([this](ChildProcess &self) {
        std::unique_ptr<BoardStore> store = open();
        testing::internal::CaptureStderr();
        bool alone = true;
        {
            StoreAccess access(*store);
            alone = store->join();
        }
        std::string message = testing::internal::GetCapturedStderr();
        self.tell(alone ? "alone" : "not alone");
        self.tell(message.substr(0, message.find('\n')));
        for (std::string line = self.hear(); line == "again"; line = self.hear()) {
            StoreAccess access(*store);
            self.tell(access.refusal().failed() ? access.refusal().detail : "member");
        }
    });
    EXPECT_EQ(newcomer.hear(), "not alone");
    EXPECT_NE(newcomer.hear().find("64 processes at most"), std::string::npos);
    newcomer.tell("again");
    EXPECT_NE(newcomer.hear().find("64 processes at most"), std::string::npos)
        << "its calls are refused while the table is full";

    members.back()->killHard();
    newcomer.tell("again");
    EXPECT_EQ(newcomer.hear(), "member") << "the room of a process that ended is taken";
    newcomer.tell("end");
}

} // namespace
