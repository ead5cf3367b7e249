#include "board_store.h"

#include <algorithm>
#include <cmath>

namespace simboard {
namespace {

class PrivateStore final : public BoardStore {
  public:
    explicit PrivateStore(uint64_t seed) {
        state_ = &local_;
        resetBoardState(local_, seed);
    }
    bool shared() const override { return false; }

  private:
    BoardState local_;
};

} // namespace

std::chrono::milliseconds lockPatienceFor(double seconds) {
    if (!(seconds >= 0.0) || std::isinf(seconds)) {
        return BoardStore::lockPatience;
    }
    // Kept within what the count of milliseconds can hold; a wait that long is no wait
    // anyone makes.
    constexpr double longest = 1e12;
    const auto milliseconds =
        std::chrono::milliseconds(static_cast<int64_t>(std::min(seconds * 1000.0, longest)));
    return std::max(milliseconds, BoardStore::shortestPatience);
}

void resetBoardState(BoardState &state, uint64_t seed) {
    state = BoardState{};
    state.stand.current.seed = seed;
    state.stand.outside.seed = seed;
}

void trimHoldings(BoardState &state) {
    size_t end = std::min<size_t>(state.holdingsEnd, BoardState::maxHoldings);
    while (end > 0 && !state.holdings[end - 1].used) {
        --end;
    }
    state.holdingsEnd = static_cast<uint32_t>(end);
}

std::unique_ptr<BoardStore> openPrivateStore(uint64_t seed) {
    return std::make_unique<PrivateStore>(seed);
}

} // namespace simboard
