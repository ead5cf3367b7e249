// Where a window that remembers its place and size opens: on a screen and no larger than
// it, whatever the settings say.  They may have been written on other screens, or be
// damaged: a window the size of the largest widget Qt allows takes gigabytes of memory,
// and one placed off every screen can be neither seen nor moved.
#ifndef ZELBRIN_LOGIC_WINDOW_PLACEMENT_H
#define ZELBRIN_LOGIC_WINDOW_PLACEMENT_H

#include <vector>

namespace zelbrin {

// A rectangle in screen pixels.
struct ScreenArea {
    int left;
    int top;
    int width;
    int height;
};

// The wanted place on the screen that it overlaps most (the first screen when it overlaps
// none), its size cut to that screen's and at least one pixel, and moved only as far as
// it must to lie on that screen.  Without screens, the wanted place as it is.
ScreenArea placeOnScreens(const ScreenArea &wanted, const std::vector<ScreenArea> &screens);

} // namespace zelbrin

#endif
