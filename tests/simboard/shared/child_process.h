// A process the test starts: it runs a function with the board and talks with the test
// over two pipes, a line at a time.  The test process itself never loads the board, so
// that each child gets a board of its own choosing.
#ifndef TESTS_SIMBOARD_SHARED_CHILD_PROCESS_H
#define TESTS_SIMBOARD_SHARED_CHILD_PROCESS_H

#include <sys/types.h>

#include <functional>
#include <string>

class ChildProcess {
  public:
    // The child runs `body`, then ends with status 0.
    explicit ChildProcess(const std::function<void(ChildProcess &)> &body);
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    // Kills a child that still runs, and waits for it.
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // To the other side, which `hear`s it.
    void tell(const std::string &line);
    // The next line from the other side; "(timeout)" or "(ended)" if none comes.
    std::string hear(double timeoutSeconds = 20.0);
    // The test's side: SIGKILL, then reaps the child.
    void killHard();
    // The exit status once it ends within the time, or -1.
    int waitForExit(double timeoutSeconds);

  private:
    pid_t pid_ = -1;
    int readFd_ = -1;
    int writeFd_ = -1;
    std::string pending_;
};

#endif
