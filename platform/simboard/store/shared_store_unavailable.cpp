// Platforms without the shared board: every process gets a board of its own.
#include "board_store.h"

namespace simboard {

std::unique_ptr<BoardStore> openSharedStore(const std::string &, std::string &why) {
    why = "the shared board needs POSIX shared memory";
    return nullptr;
}

std::string sharedStatePath(const std::string &, const std::string &) {
    return {};
}

} // namespace simboard
