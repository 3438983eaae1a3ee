#include "HintFollower.h"

#include <QCoreApplication>
#include <QEvent>

HintFollower::HintFollower(std::function<void()> update, QObject *parent) : QObject(parent), update_(std::move(update))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool HintFollower::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::Leave) && watched->isWidgetType() && !pending_) {
        pending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                pending_ = false;
                update_();
            },
            Qt::QueuedConnection);
    }
    return false;
}
