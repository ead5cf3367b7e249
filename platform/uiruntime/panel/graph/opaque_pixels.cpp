#include "opaque_pixels.h"

namespace panel {

OpaquePixels::OpaquePixels(QSize size)
    : width_(size.width()), height_(size.height()),
      rowBytes_(static_cast<std::size_t>((size.width() + 7) / 8) + sizeof(std::uint64_t)),
      bytes_(rowBytes_ * static_cast<std::size_t>(std::max(size.height(), 0)), 0) {}

} // namespace panel
