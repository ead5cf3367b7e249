// On/off indicator that the program creates at run time, with an optional label beside it.
#ifndef PLATFORM_UIRUNTIME_PANEL_WIDGETS_LED_INDICATOR_H
#define PLATFORM_UIRUNTIME_PANEL_WIDGETS_LED_INDICATOR_H

#include <QWidget>

namespace panel {

class LedIndicator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool on READ isOn WRITE setOn)
    Q_PROPERTY(QString label READ label WRITE setLabel)

  public:
    explicit LedIndicator(QWidget *parent = nullptr);

    bool isOn() const { return on_; }
    void setOn(bool on);
    // Neither lit nor dark: the line's state is not known.  setOn ends it.
    bool isUnknown() const { return unknown_; }
    void setUnknown(bool unknown);
    QString label() const { return label_; }
    void setLabel(const QString &label);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    static constexpr int lampSize = 18;
    static constexpr int labelGap = 6;
    bool on_ = false;
    bool unknown_ = false;
    QString label_;
};

} // namespace panel

#endif
