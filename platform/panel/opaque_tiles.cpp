#include "opaque_tiles.h"

namespace panel {

OpaqueTiles::OpaqueTiles(QSize size, int tileShift)
    : shift_(tileShift), width_(size.width()), height_(size.height()),
      words_((size.width() + (64 << tileShift) - 1) / (64 << tileShift)),
      opaque_(static_cast<std::size_t>((size.height() + (1 << tileShift) - 1) >> tileShift) *
                  words_,
              0) {}

} // namespace panel
