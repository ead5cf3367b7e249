#include "colour_shades.h"

namespace panel {

namespace {

int premultiplied(int channel, int alpha) {
    return (channel * alpha + 127) / 255;
}

} // namespace

const ColourShades::Shades &ColourShades::make(QRgb rgb) {
    Kept &kept = kept_[next_];
    next_ = (next_ + 1) % keptColours;
    kept.rgb = rgb;
    for (int alpha = 0; alpha < 256; ++alpha) {
        kept.shades[alpha] =
            qRgba(premultiplied(qRed(rgb), alpha), premultiplied(qGreen(rgb), alpha),
                  premultiplied(qBlue(rgb), alpha), alpha);
    }
    return kept.shades;
}

} // namespace panel
