#include "window_anchors.h"

#include <QEvent>
#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace panel {

namespace {

constexpr char growsProperty[] = "growsWithWindow";

struct Growing {
    QPointer<QWidget> widget;
    int rightGap;
    int bottomGap;
};

class KeepGaps : public QObject {
  public:
    KeepGaps(std::vector<Growing> growing, QWidget *window)
        : QObject(window), growing_(std::move(growing)) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Resize) {
            const QSize size = static_cast<QWidget *>(watched)->size();
            for (const Growing &g : growing_) {
                if (!g.widget) {
                    continue;
                }
                const QPoint at = g.widget->pos();
                g.widget->resize(size.width() - g.rightGap - at.x(),
                                 size.height() - g.bottomGap - at.y());
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::vector<Growing> growing_;
};

} // namespace

void anchorGrowingControls(QWidget *window) {
    std::vector<Growing> growing;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (!child->property(growsProperty).toBool()) {
            continue;
        }
        const QRect place = child->geometry();
        growing.push_back(
            {child, window->width() - place.right() - 1, window->height() - place.bottom() - 1});
    }
    window->setMinimumSize(window->minimumSize().expandedTo(window->size()));
    if (!growing.empty()) {
        window->installEventFilter(new KeepGaps(std::move(growing), window));
    }
}

} // namespace panel
