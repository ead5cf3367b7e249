#include "touched_rows.h"

#include <cstring>

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
    for (std::size_t strip = 0; strip < strips_.size(); ++strip) {
        const std::size_t from = strip * stripWidth;
        const std::size_t bytes = (std::min(width, from + stripWidth) - from) * sizeof(QRgb);
        for (int y = strips_[strip].top; y <= strips_[strip].bottom; ++y) {
            const std::ptrdiff_t at = y * stride + std::ptrdiff_t(from);
            std::memcpy(pixels + at, original + at, bytes);
        }
    }
    touchNothing();
}

void TouchedRows::touchNothing() {
    std::fill(strips_.begin(), strips_.end(), Rows{height_, -1});
    all_ = false;
}

} // namespace scope
