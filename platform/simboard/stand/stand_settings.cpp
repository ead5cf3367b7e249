#include "stand_settings.h"

namespace simboard {

void StandLayers::reset() {
    for (StandSettings *layer : {&current, &outside}) {
        const uint64_t seed = layer->seed;
        *layer = StandSettings{};
        layer->seed = seed;
    }
    // The seeds stay, and so does who set them.
    const SetBy currentSeed = currentSetBy[standSetting::seed];
    const SetBy outsideSeed = outsideSetBy[standSetting::seed];
    currentSetBy = {};
    outsideSetBy = {};
    currentSetBy[standSetting::seed] = currentSeed;
    outsideSetBy[standSetting::seed] = outsideSeed;
}

} // namespace simboard
