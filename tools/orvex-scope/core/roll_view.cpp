#include "roll_view.h"

namespace scope {

void RollView::follow() {
    zoomedSpan_.reset();
    heldStart_.reset();
}

void RollView::moved(double start, double span, long long total) {
    const bool zoomed = span != shownSpan_;
    shownSpan_ = span;
    if (zoomed) {
        zoomedSpan_ = span;
        // Zoomed while following: the newest stay at the right, wherever the zoom was aimed.
        if (following()) {
            return;
        }
    }
    if (start + span >= double(total)) {
        heldStart_.reset();
    } else {
        heldStart_ = start;
    }
}

Frame RollView::place(Frame newest) {
    if (heldStart_) {
        newest.start = *heldStart_;
    }
    shownSpan_ = newest.span;
    return newest;
}

} // namespace scope
