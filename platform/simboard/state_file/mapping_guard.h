// A shared mapping of a file that another program may cut short.  A touch of a page
// beyond the file's new end raises SIGBUS, which would end the process.  For a guarded
// mapping the handler puts zero-filled memory of the process's own in place of the pages
// beyond the end instead, so that the touch completes, and marks the mapping lost: its
// owner then refuses to use it.  A SIGBUS elsewhere goes on to the handler that was there
// before, or ends the process as it would have.
#ifndef PLATFORM_SIMBOARD_STATE_FILE_MAPPING_GUARD_H
#define PLATFORM_SIMBOARD_STATE_FILE_MAPPING_GUARD_H

#include <atomic>
#include <cstddef>

namespace simboard {

// Guards `size` bytes at `base`, a shared mapping of the open file `fd`; the mark that it
// was lost, or null when the process guards as many mappings as it can already.
const std::atomic<bool> *guardMapping(void *base, size_t size, int fd);
// Before the mapping goes.
void unguardMapping(const void *base);

} // namespace simboard

#endif
