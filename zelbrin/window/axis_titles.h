// The graph's axis titles say what each axis shows: which input is X and which is Y (they
// follow the swap switch), in volts for the raw point and from -1 to +1 for the
// calibrated one (they follow the two point switches).
#ifndef ZELBRIN_WINDOW_AXIS_TITLES_H
#define ZELBRIN_WINDOW_AXIS_TITLES_H

#include <string>

namespace zelbrin {

std::string axisTitle(char axis, bool swapped, bool raw, bool calibrated);
void showAxisTitles(int panel);

} // namespace zelbrin

// Attached by code to the swap and the two point switches, whose flips change the titles.
extern "C" int axisTitlesCB(int panel, int control, int event, void *callbackData, int eventData1,
                            int eventData2);

#endif
