#include "fifo_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

WriterForWaitingReaders::WriterForWaitingReaders(std::string fifo)
    : fifo_(std::move(fifo)), writer_([this] { serve(); }) {}

WriterForWaitingReaders::~WriterForWaitingReaders() {
    done_ = true;
    writer_.join();
}

void WriterForWaitingReaders::serve() {
    while (!done_) {
        // Without a reader, a writer's open fails at once instead of waiting.
        const int fd = open(fifo_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string makeFifo(const std::string &path) {
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
    return path;
}
