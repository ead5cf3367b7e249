// A program that opens a FIFO waits there until a writer comes.  WriterForWaitingReaders
// comes whenever a reader waits on its FIFO, and gives nothing: a window that opens the
// FIFO reads an empty file, so that a test of it fails instead of hanging.
#ifndef TESTS_APP_FILES_FIFO_WRITER_H
#define TESTS_APP_FILES_FIFO_WRITER_H

#include <atomic>
#include <string>
#include <thread>

class WriterForWaitingReaders {
  public:
    explicit WriterForWaitingReaders(std::string fifo);
    ~WriterForWaitingReaders();
    WriterForWaitingReaders(const WriterForWaitingReaders &) = delete;
    WriterForWaitingReaders &operator=(const WriterForWaitingReaders &) = delete;

  private:
    void serve();

    std::string fifo_;
    std::atomic<bool> done_ = false;
    std::thread writer_;
};

// A new FIFO at path, with the test failing when it cannot be made.
std::string makeFifo(const std::string &path);

#endif
