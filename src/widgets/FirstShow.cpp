#include "widgets/FirstShow.h"

#include <QEvent>
#include <QWidget>

namespace firstshow {
namespace {

// A widget is told it is shown before its window is drawn. (Qt polishes every widget soon after it is created,
// shown or not: polishing is too early.)
class FitOnShow : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            static_cast<QWidget*>(watched)->adjustSize();
        }
        return false;
    }
};

} // namespace

void fitText(QWidget* widget)
{
    widget->installEventFilter(new FitOnShow(widget));
}

} // namespace firstshow
