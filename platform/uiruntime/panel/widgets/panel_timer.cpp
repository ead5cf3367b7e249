#include "panel_timer.h"

#include <climits>
#include <cmath>

namespace panel {

namespace {

// QTimer counts whole milliseconds in an int; a positive interval never becomes 0 ms (which
// would tick on every pass of the event loop) and very long ones wait as long as QTimer can.
int toMilliseconds(double seconds) {
    const double ms = std::round(seconds * 1000.0);
    if (ms < 1.0) {
        return 1;
    }
    if (ms > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(ms);
}

} // namespace

PanelTimer::PanelTimer(QWidget *parent) : QWidget(parent) {
    setVisible(false);
    timer_.setInterval(toMilliseconds(seconds_));
    connect(&timer_, &QTimer::timeout, this, &PanelTimer::tick);
}

bool PanelTimer::setInterval(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0.0) {
        return false;
    }
    seconds_ = seconds;
    timer_.setInterval(toMilliseconds(seconds));
    return true;
}

void PanelTimer::setRunning(bool running) {
    if (running) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

} // namespace panel
