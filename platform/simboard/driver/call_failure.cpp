#include "call_failure.h"
#include "entry_point_board.h"
#include "names/status_codes.h"

#include <exception>
#include <new>
#include <string>

namespace simboard {

int32_t failedCall(const char *entryPoint) noexcept {
    int32_t code = status::unexpectedFailure;
    const char *what = "an exception of unknown type";
    try {
        throw;
    } catch (const std::bad_alloc &) {
        code = status::outOfMemory;
        what = "out of memory";
    } catch (const std::exception &error) {
        what = error.what();
    } catch (...) {
    }
    try {
        Board &board = entryPointBoard();
        Lock lock = board.lock();
        board.remember(refuse(code, std::string(entryPoint) + " was abandoned: " + what + "."));
    } catch (...) {
        // Without memory even for the details, the code's own text has to do.
    }
    return code;
}

} // namespace simboard
