#include "control_events.h"

#include "panel_registry.h"
#include "widgets/panel_timer.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>

namespace panel {

namespace {

class CloseToPanelEvent : public QObject {
  public:
    CloseToPanelEvent(int panel, QObject *parent) : QObject(parent), panel_(panel) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::Close) {
            return QObject::eventFilter(watched, event);
        }
        event->ignore();
        dispatchPanelEvent(panel_, EVENT_CLOSE);
        return true;
    }

  private:
    int panel_;
};

// A typed number outside the field's range is not committed: the field goes back to its
// value when the entry ends.  Told before that happens, the program can say so.
class RefusedEntryEvent : public QObject {
  public:
    RefusedEntryEvent(int panel, int control, QDoubleSpinBox *field)
        : QObject(field), panel_(panel), control_(control), field_(field) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (endsEntry(event) && !field_->hasAcceptableInput()) {
            dispatchControlEvent(panel_, control_, EVENT_ENTRY_REFUSED);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    static bool endsEntry(QEvent *event) {
        if (event->type() == QEvent::FocusOut) {
            return true;
        }
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }

    int panel_;
    int control_;
    QDoubleSpinBox *field_;
};

} // namespace

void connectControlEvents(int panel, int control, QWidget *widget, ControlKind kind) {
    const auto commit = [panel, control] { dispatchControlEvent(panel, control, EVENT_COMMIT); };
    switch (kind) {
    case ControlKind::Selector:
        // activated, unlike currentIndexChanged, comes from the user alone.
        QObject::connect(static_cast<QComboBox *>(widget), &QComboBox::activated, widget, commit);
        break;
    case ControlKind::NumericField: {
        // Without keyboard tracking a typed number is reported once, when it is committed
        // (Return or leaving the field); the step buttons and arrow keys commit at once.
        auto *field = static_cast<QDoubleSpinBox *>(widget);
        field->setKeyboardTracking(false);
        QObject::connect(field, &QDoubleSpinBox::valueChanged, widget, commit);
        field->installEventFilter(new RefusedEntryEvent(panel, control, field));
        break;
    }
    case ControlKind::Switch:
    case ControlKind::CommandButton:
        // clicked, unlike toggled, comes from the user alone.
        QObject::connect(static_cast<QAbstractButton *>(widget), &QAbstractButton::clicked, widget,
                         commit);
        break;
    case ControlKind::Timer:
        QObject::connect(
            static_cast<PanelTimer *>(widget), &PanelTimer::tick, widget,
            [panel, control] { dispatchControlEvent(panel, control, EVENT_TIMER_TICK); });
        break;
    case ControlKind::NumericIndicator:
    case ControlKind::Graph:
    case ControlKind::Led:
    case ControlKind::TextMessage:
        break;
    }
}

void connectPanelClose(int panel, QWidget *window) {
    window->installEventFilter(new CloseToPanelEvent(panel, window));
}

} // namespace panel
