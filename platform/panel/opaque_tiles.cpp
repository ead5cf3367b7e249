#include "opaque_tiles.h"

#include <algorithm>

namespace panel {

OpaqueTiles::OpaqueTiles(const QImage &image)
    : image_(image), columns_((image.width() + kTile - 1) / kTile),
      rows_((image.height() + kTile - 1) / kTile),
      states_(static_cast<std::size_t>(columns_) * rows_, State::Stale) {}

QRect OpaqueTiles::tilesOf(const QRect &area) const {
    const QRect inside = area.intersected(image_.rect());
    if (inside.isEmpty()) {
        return {};
    }
    return QRect(QPoint(inside.left() / kTile, inside.top() / kTile),
                 QPoint(inside.right() / kTile, inside.bottom() / kTile));
}

bool OpaqueTiles::covered(const QRect &area) {
    const QRect tiles = tilesOf(area);
    for (int row = tiles.top(); row <= tiles.bottom(); ++row) {
        for (int column = tiles.left(); column <= tiles.right(); ++column) {
            if (!tileOpaque(column, row)) {
                return false;
            }
        }
    }
    return true;
}

void OpaqueTiles::painted(const QRect &area) {
    const QRect tiles = tilesOf(area);
    for (int row = tiles.top(); row <= tiles.bottom(); ++row) {
        for (int column = tiles.left(); column <= tiles.right(); ++column) {
            State &state = states_[static_cast<std::size_t>(row) * columns_ + column];
            if (state == State::Clear) {
                state = State::Stale;
            }
        }
    }
}

bool OpaqueTiles::tileOpaque(int column, int row) {
    State &state = states_[static_cast<std::size_t>(row) * columns_ + column];
    if (state == State::Stale) {
        const int left = column * kTile;
        const int right = std::min(left + kTile, image_.width());
        const int bottom = std::min((row + 1) * kTile, image_.height());
        bool opaque = true;
        for (int y = row * kTile; y < bottom && opaque; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image_.constScanLine(y));
            for (int x = left; x < right; ++x) {
                if (qAlpha(line[x]) != 255) {
                    opaque = false;
                    break;
                }
            }
        }
        state = opaque ? State::Opaque : State::Clear;
    }
    return state == State::Opaque;
}

} // namespace panel
