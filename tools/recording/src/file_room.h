// Room on disk taken before HDF5 writes into it.  HDF5 records a file's new end before it
// writes the data up to it, so a write that fails on a full disk leaves a file that
// claims more than it holds, which no reader opens, and HDF5 1.10 may then crash at exit
// closing it.  Taking the room first turns a full disk into a refusal before HDF5 starts.
#ifndef TOOLS_RECORDING_SRC_FILE_ROOM_H
#define TOOLS_RECORDING_SRC_FILE_ROOM_H

#include <cstdint>
#include <string>

namespace recording {

class FileRoom {
  public:
    // Room beyond what is asked for: HDF5's own data of a flush, and of the close.
    static constexpr std::uint64_t margin = 512 * 1024;

    // `descriptor` is the open file's, `path` names it in a refusal.
    FileRoom(int descriptor, std::string path) : descriptor_(descriptor), path_(std::move(path)) {}

    // Makes the file at least `bytes` + margin long, in steps, or throws RecordingError
    // with the system's reason.
    void reserve(std::uint64_t bytes);

  private:
    int descriptor_;
    std::string path_;
    std::uint64_t reserved_ = 0;
};

} // namespace recording

#endif
