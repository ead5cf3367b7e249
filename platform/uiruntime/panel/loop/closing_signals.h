// The signals that ask a program to end (SIGTERM, SIGINT, SIGHUP) end it as its window's
// close control would, while its event loop runs: each becomes the close event of every
// shown panel, delivered to the panel's callback on the user-interface thread, so the
// program's own way of closing runs (it quits the loop, then releases what it holds).
// Without a shown panel that has a callback, the signal does what it did before.  A
// signal ignored when the loop starts (nohup's SIGHUP) stays ignored.
#ifndef PLATFORM_UIRUNTIME_PANEL_LOOP_CLOSING_SIGNALS_H
#define PLATFORM_UIRUNTIME_PANEL_LOOP_CLOSING_SIGNALS_H

#include <memory>

namespace panel {

// The signals close panels from its construction to its destruction, after which they
// act as they did before.  One exists at a time, for the outermost running loop.
class ClosingSignalScope {
  public:
    ClosingSignalScope();
    ~ClosingSignalScope();
    ClosingSignalScope(const ClosingSignalScope &) = delete;
    ClosingSignalScope &operator=(const ClosingSignalScope &) = delete;

  private:
    struct Taken; // the platform's: what was taken over, to give back
    std::unique_ptr<Taken> taken_;
};

} // namespace panel

#endif
