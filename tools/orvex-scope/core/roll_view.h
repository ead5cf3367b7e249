// Where the screen is in roll mode while the scan runs and the user zooms or scrolls: a zoom
// keeps the newest samples at the right at the new span; a scroll back holds the screen on
// its stretch while the scan goes on behind it, until the user scrolls to the newest again.
#ifndef TOOLS_ORVEX_SCOPE_CORE_ROLL_VIEW_H
#define TOOLS_ORVEX_SCOPE_CORE_ROLL_VIEW_H

#include "frame_picker.h"

#include <optional>

namespace scope {

class RollView {
  public:
    // The newest samples at the time base's span again.
    void follow();
    // The user moved the screen to [start, start + span) of a history of total samples.
    void moved(double start, double span, long long total);

    bool following() const { return !heldStart_; }
    // The span to show: the user's zoom, or the time base's.
    double span(double timeBaseSpan) const { return zoomedSpan_.value_or(timeBaseSpan); }
    // newest: the newest samples at span(); the frame to show instead.
    Frame place(Frame newest);

  private:
    std::optional<double> zoomedSpan_;
    std::optional<double> heldStart_;
    double shownSpan_ = 0.0;
};

} // namespace scope

#endif
