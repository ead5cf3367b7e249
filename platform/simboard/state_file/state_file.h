// The shared board's state file, opened without trusting what is found at its path: in a
// directory others may write to (/tmp), another user may have put a file, a FIFO or a
// link there first, and may hold a lock on it.  Nothing is locked or mapped before the
// file is known to be a regular file of this user that no one else may write, and the
// lock that makes its set-up one process's at a time is waited for a few seconds at most.
#ifndef PLATFORM_SIMBOARD_STATE_FILE_H
#define PLATFORM_SIMBOARD_STATE_FILE_H

#include <string>
#include <utility>

namespace simboard {

class StateFile {
  public:
    // Opens the file at `path` (made, empty, when there is none), checks it and locks it
    // for its set-up.  On failure `why` says why, or is empty when the file was replaced
    // meanwhile and is to be opened again.
    StateFile(const std::string &path, std::string &why);
    StateFile(const StateFile &) = delete;
    StateFile &operator=(const StateFile &) = delete;
    ~StateFile();

    bool opened() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // The descriptor, kept open by the caller; the set-up lock ends.
    int release();

  private:
    std::string check(const std::string &path);
    bool replacedMeanwhile(const std::string &path) const;

    int fd_ = -1;
};

} // namespace simboard

#endif
