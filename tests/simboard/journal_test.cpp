// The call journal on a disk with no room says so, once, instead of staying silently
// empty.
#include "bench/journal.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

size_t occurrences(const std::string &text, const std::string &part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(JournalTest, AJournalThatCannotBeWrittenSaysSoOnce) {
    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full to stand for a full disk";
    }
    simboard::Journal journal;
    testing::internal::CaptureStderr();
    journal.open("/dev/full");
    ASSERT_TRUE(journal.enabled());
    journal.write("DAQmxStartTask(task=1) = 0\n");
    journal.write("DAQmxStopTask(task=1) = 0\n");
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(occurrences(messages, "cannot write the journal file /dev/full"), 1u) << messages;
}

} // namespace
