// A board operation's status together with the details of a refusal, which the board
// appends to the status text for the caller that asks for it.
#ifndef PLATFORM_SIMBOARD_NAMES_OUTCOME_H
#define PLATFORM_SIMBOARD_NAMES_OUTCOME_H

#include <cstdint>
#include <string>

namespace simboard {

struct Outcome {
    int32_t status = 0;
    std::string detail;

    bool failed() const { return status < 0; }
};

inline Outcome refuse(int32_t status, std::string detail) {
    return {status, std::move(detail)};
}

} // namespace simboard

#endif
