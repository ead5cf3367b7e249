// The scope's controls beside the screen: Run/Stop and Single, sweep mode, time base and
// rate, trigger, cursors, the digital lines, the generator and the history's bound.
#ifndef TOOLS_ORVEX_SCOPE_WINDOW_CONTROL_PANEL_H
#define TOOLS_ORVEX_SCOPE_WINDOW_CONTROL_PANEL_H

#include "core/scope_setup.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace scope {

class ChannelTable;

class ControlPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ControlPanel(QWidget *parent = nullptr);

    // Everything but what only the window knows.
    ScopeSetup setup() const;
    void showSetup(const ScopeSetup &setup);
    void showRunning(bool running);
    // The rate in all against the board's limit, and the history's bound and memory.
    void showLimits(const QString &text);

    bool cursorsShown() const;
    bool measureBetweenCursors() const;

    QPushButton *runButton() const { return run_; }
    QPushButton *singleButton() const { return single_; }

  signals:
    // A setting changed: the window takes it at once where it can and at the next Run
    // where the scan must restart.
    void changed();
    void runClicked();
    void singleClicked();
    void cursorsChanged();

  private:
    struct OutputRow {
        QCheckBox *enabled;
        QComboBox *waveform;
        QDoubleSpinBox *frequency;
        QDoubleSpinBox *amplitude;
        QDoubleSpinBox *offset;
        QLineEdit *file;
    };
    QWidget *makeAcquisition();
    QWidget *makeTrigger();
    QWidget *makeLines();
    QWidget *makeGenerator();
    void report();

    QPushButton *run_;
    QPushButton *single_;
    QComboBox *mode_;
    QComboBox *timeBase_;
    QDoubleSpinBox *rate_;
    QSpinBox *historyMillions_;
    QLabel *limits_;
    QComboBox *triggerSource_;
    QDoubleSpinBox *triggerLevel_;
    QComboBox *triggerSlope_;
    QSpinBox *preTrigger_;
    QCheckBox *cursors_;
    QComboBox *measureOver_;
    std::array<OutputRow, outputCount> outputs_;
    std::array<QCheckBox *, lineCount> lines_;
    QCheckBox *onScanClock_;
    QDoubleSpinBox *outputRate_;
    ChannelTable *channels_;
    bool showing_ = false;
};

} // namespace scope

#endif
