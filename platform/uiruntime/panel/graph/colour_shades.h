// A colour premultiplied by every alpha, for the few colours a trace is drawn in.
//
// Painting under adds to a pixel what its colour gives between the pixel's old alpha and
// its new one; with the colour's shades at hand that is two loads instead of six products
// for every pixel painted.  A trace goes back and forth between a few colours, so the
// last few asked for are kept.
#ifndef PLATFORM_UIRUNTIME_PANEL_GRAPH_COLOUR_SHADES_H
#define PLATFORM_UIRUNTIME_PANEL_GRAPH_COLOUR_SHADES_H

#include <QRgb>
#include <array>
#include <cstddef>

namespace panel {

class ColourShades {
  public:
    using Shades = std::array<QRgb, 256>;

    ColourShades() {
        for (Kept &kept : kept_) {
            kept.rgb = noColour;
        }
    }

    // shades[alpha]: the colour 0xRRGGBB premultiplied by alpha, each channel rounded to
    // nearest, with that alpha.  Valid until the next call.
    const Shades &of(QRgb rgb) {
        rgb &= 0xFFFFFF;
        // Every slot is compared, without a branch: a trace that takes turns between
        // colours would have a branch for each slot guessed wrong about as often as right.
        std::size_t found = keptColours;
        for (std::size_t i = keptColours; i-- > 0;) {
            found = kept_[i].rgb == rgb ? i : found;
        }
        return found < keptColours ? kept_[found].shades : make(rgb);
    }

  private:
    static constexpr std::size_t keptColours = 4;
    static constexpr QRgb noColour = 0xFFFFFFFF; // no 0xRRGGBB is this: an empty slot
    struct Kept {
        QRgb rgb;
        Shades shades;
    };
    const Shades &make(QRgb rgb);

    std::array<Kept, keptColours> kept_; // shades filled in as each slot is taken
    std::size_t next_ = 0;               // the slot to take next
};

} // namespace panel

#endif
