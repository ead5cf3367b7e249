#include "opaque_tiles.h"

OpaqueTiles::OpaqueTiles(const QImage &image, int tileShift)
    : shift_(tileShift), width_(image.width()), height_(image.height()),
      words_((image.width() + (64 << tileShift) - 1) / (64 << tileShift)) {
    const int tile = 1 << tileShift;
    const int rows = (image.height() + tile - 1) / tile;
    opaque_.assign(static_cast<std::size_t>(rows) * words_, 0);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column << tileShift < width_; ++column)
            if (pixelsOpaque(image, QRect(column << tileShift, row << tileShift, tile, tile)))
                turnedOpaque(column << tileShift, row << tileShift);
}

bool OpaqueTiles::pixelsOpaque(const QImage &image, QRect tile) {
    tile &= image.rect();
    for (int y = tile.top(); y <= tile.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = tile.left(); x <= tile.right(); ++x)
            if (qAlpha(line[x]) != 255)
                return false;
    }
    return true;
}
