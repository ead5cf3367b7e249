#include "colour_shades.h"

namespace panel {

namespace {

int premultiplied(int channel, int alpha) {
    return (channel * alpha + 127) / 255;
}

} // namespace

const ColourShades::Shades &ColourShades::of(QRgb rgb) {
    rgb &= 0xFFFFFF;
    if (!kept_) {
        kept_ = std::make_unique<std::array<Kept, kKept>>();
        for (Kept &kept : *kept_) {
            kept.rgb = kNoColour;
        }
    }
    // Every slot is compared, without a branch: a trace that takes turns between colours
    // would have a branch for each slot guessed wrong about as often as right.
    std::size_t found = kKept;
    for (std::size_t i = kKept; i-- > 0;) {
        found = (*kept_)[i].rgb == rgb ? i : found;
    }
    if (found < kKept) {
        return (*kept_)[found].shades;
    }
    Kept &kept = (*kept_)[next_];
    next_ = (next_ + 1) % kKept;
    kept.rgb = rgb;
    for (int alpha = 0; alpha < 256; ++alpha) {
        kept.shades[alpha] = qRgba(premultiplied(qRed(rgb), alpha), premultiplied(qGreen(rgb), alpha),
                                   premultiplied(qBlue(rgb), alpha), alpha);
    }
    return kept.shades;
}

} // namespace panel
