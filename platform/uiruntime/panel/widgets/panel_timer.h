// Timer control of a panel: raises a tick every `interval` seconds while `running`.
//
// It lives in the panel file like any control (so Designer can place it and keep its ID),
// but it never shows at run time.  Ticks come from a QTimer on the user-interface thread.
#ifndef PLATFORM_UIRUNTIME_PANEL_WIDGETS_PANEL_TIMER_H
#define PLATFORM_UIRUNTIME_PANEL_WIDGETS_PANEL_TIMER_H

#include <QTimer>
#include <QWidget>

namespace panel {

class PanelTimer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double interval READ interval WRITE setInterval)
    Q_PROPERTY(bool running READ isRunning WRITE setRunning)

  public:
    explicit PanelTimer(QWidget *parent = nullptr);

    double interval() const { return seconds_; }
    // False (interval unchanged) unless seconds is a positive finite number; a zero or
    // negative interval would make the event loop spin on ticks.
    bool setInterval(double seconds);
    bool isRunning() const { return timer_.isActive(); }
    void setRunning(bool running);

  signals:
    void tick();

  private:
    QTimer timer_;
    double seconds_ = 1.0;
};

} // namespace panel

#endif
