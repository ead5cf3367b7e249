#include "opaque_tiles.h"

#include <bit>

OpaqueTiles::OpaqueTiles(const QImage &image, int tileShift)
    : pixels_(image.constBits()), bytesPerLine_(image.bytesPerLine()), shift_(tileShift),
      width_(image.width()), height_(image.height()),
      words_((image.width() + (64 << tileShift) - 1) / (64 << tileShift)) {
    const int tile = 1 << tileShift;
    const auto rows = static_cast<std::size_t>((image.height() + tile - 1) / tile);
    opaque_.assign(rows * words_, 0);
    // Nothing is known of the picture yet: every tile is scanned when first asked about.
    stale_.assign(rows * words_, ~std::uint64_t{0});
}

bool OpaqueTiles::rescan(std::uint64_t missing, int row, int word) {
    const std::size_t at = static_cast<std::size_t>(row) * words_ + word;
    if ((missing & ~stale_[at]) != 0)
        return false;
    for (std::uint64_t left = missing; left != 0; left &= left - 1) {
        const std::uint64_t bit = left & -left;
        stale_[at] &= ~bit;
        if (!tilePixelsOpaque(word * 64 + std::countr_zero(left), row))
            return false;
        opaque_[at] |= bit;
    }
    return true;
}

bool OpaqueTiles::tilePixelsOpaque(int column, int row) const {
    const int left = column << shift_;
    const int right = std::min((column + 1) << shift_, width_);
    const int bottom = std::min((row + 1) << shift_, height_);
    for (int y = row << shift_; y < bottom; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels_ + y * bytesPerLine_);
        for (int x = left; x < right; ++x)
            if (qAlpha(line[x]) != 255)
                return false;
    }
    return true;
}
