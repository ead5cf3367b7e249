#include "board_store.h"

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

void resetBoardState(BoardState &state, uint64_t seed) {
    state = BoardState{};
    state.stand.current.seed = seed;
    state.stand.outside.seed = seed;
}

std::unique_ptr<BoardStore> openPrivateStore(uint64_t seed) {
    return std::make_unique<PrivateStore>(seed);
}

} // namespace simboard
