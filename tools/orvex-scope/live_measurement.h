// A run of the scope measured for the live-rate check (--measure): from the scan's start,
// for a set time, the frames the screen drew and the processor time the whole process
// took; then the scan stops, the counts go to the standard output and the window closes.
// Each frame is a paint of the screen, so frames the window skipped are not counted.
#ifndef TOOLS_ORVEX_SCOPE_LIVE_MEASUREMENT_H
#define TOOLS_ORVEX_SCOPE_LIVE_MEASUREMENT_H

#include <QElapsedTimer>
#include <QObject>
#include <ctime>

namespace scope {

class ScopeWindow;

class LiveMeasurement : public QObject {
  public:
    // Starts the scan and the clocks.
    LiveMeasurement(ScopeWindow &window, double seconds);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void finish();

    ScopeWindow &window_;
    long long frames_ = 0;
    QElapsedTimer wall_;
    std::clock_t processorAtStart_;
};

} // namespace scope

#endif
