#include "window_placement.h"

#include <algorithm>

namespace zelbrin {

namespace {

// In long long: the ends of a damaged place lie outside the range of int.
long long overlap(long long start, long long length, long long screenStart,
                  long long screenLength) {
    return std::min(start + length, screenStart + screenLength) - std::max(start, screenStart);
}

// No larger than the screen's span: the product of two spans fits a long long.
long long sharedArea(const ScreenArea &wanted, const ScreenArea &screen) {
    const long long across = overlap(wanted.left, wanted.width, screen.left, screen.width);
    const long long down = overlap(wanted.top, wanted.height, screen.top, screen.height);
    return across > 0 && down > 0 ? across * down : 0;
}

// The length cut to the screen's span, and the start moved onto the screen as far as the
// whole length needs.
void fitSpan(int &start, int &length, int screenStart, int screenLength) {
    length = std::max(1, std::min(length, screenLength));
    const long long lastStart = static_cast<long long>(screenStart) + screenLength - length;
    start =
        static_cast<int>(std::max<long long>(screenStart, std::min<long long>(start, lastStart)));
}

} // namespace

ScreenArea placeOnScreens(const ScreenArea &wanted, const std::vector<ScreenArea> &screens) {
    if (screens.empty()) {
        return wanted;
    }
    const auto screen = std::max_element(screens.begin(), screens.end(),
                                         [&wanted](const ScreenArea &a, const ScreenArea &b) {
                                             return sharedArea(wanted, a) < sharedArea(wanted, b);
                                         });
    ScreenArea placed = wanted;
    fitSpan(placed.left, placed.width, screen->left, screen->width);
    fitSpan(placed.top, placed.height, screen->top, screen->height);
    return placed;
}

} // namespace zelbrin
