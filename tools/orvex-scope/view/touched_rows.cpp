#include "touched_rows.h"

#include <cstring>
#include <type_traits>

namespace scope {

void TouchedRows::reset(const QImage &background) {
    width_ = background.width();
    height_ = background.height();
    strips_.resize((static_cast<std::size_t>(width_) + stripWidth - 1) / stripWidth);
    touchNothing();
}

void TouchedRows::restore(QImage &image, const QImage &background) {
    if (all_) {
        std::memcpy(image.bits(), background.constBits(),
                    static_cast<std::size_t>(image.sizeInBytes()));
        touchNothing();
        return;
    }
    const auto stride = static_cast<std::ptrdiff_t>(image.bytesPerLine() / sizeof(QRgb));
    auto *const pixels = reinterpret_cast<QRgb *>(image.bits());
    const auto *const original = reinterpret_cast<const QRgb *>(background.constBits());
    const auto width = static_cast<std::size_t>(width_);
    // A whole strip's row is a copy of a size known here, made in place rather than by a call.
    const auto putBack = [&](std::size_t from, int top, int bottom, auto pixelsOfRow) {
        for (int y = top; y <= bottom; ++y) {
            const std::ptrdiff_t at = y * stride + std::ptrdiff_t(from);
            std::memcpy(pixels + at, original + at, pixelsOfRow * sizeof(QRgb));
        }
    };
    for (std::size_t strip = 0; strip < strips_.size(); ++strip) {
        const std::size_t from = strip * stripWidth;
        const Rows rows = strips_[strip];
        if (from + stripWidth <= width) {
            putBack(from, rows.top, rows.bottom, std::integral_constant<std::size_t, stripWidth>());
        } else {
            putBack(from, rows.top, rows.bottom, width - from);
        }
    }
    touchNothing();
}

void TouchedRows::touchNothing() {
    std::fill(strips_.begin(), strips_.end(), Rows{height_, -1});
    all_ = false;
}

} // namespace scope
