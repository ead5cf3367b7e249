#include "touched_rows.h"

#include <cstring>
#include <string_view>
#include <type_traits>
#include <unordered_map>

namespace scope {

void TouchedRows::reset(const QImage &background) {
    width_ = background.width();
    height_ = background.height();
    // A grid's background is a few rows over and over: put back from the first of each kind, a
    // few rows that stay in the cache, rather than from a second image as large as the first.
    const auto bytes = static_cast<std::size_t>(width_) * sizeof(QRgb);
    const auto rowAt = [&](int y) {
        return std::string_view(reinterpret_cast<const char *>(background.constScanLine(y)), bytes);
    };
    std::unordered_map<std::string_view, int> firstOfKind;
    sameRow_.resize(static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        sameRow_[y] = firstOfKind.try_emplace(rowAt(y), y).first->second;
    }
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
            std::memcpy(pixels + y * stride + std::ptrdiff_t(from),
                        original + sameRow_[y] * stride + std::ptrdiff_t(from),
                        pixelsOfRow * sizeof(QRgb));
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
