#include "IdleCaret.h"

#include <QApplication>
#include <QEvent>

namespace {
constexpr int kBlinkForMs = 10000;

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}
}  // namespace

IdleCaret::IdleCaret(QObject *parent) : QObject(parent), flashTime_(QApplication::cursorFlashTime())
{
    quiet_.setSingleShot(true);
    quiet_.setInterval(kBlinkForMs);
    connect(&quiet_, &QTimer::timeout, this, &IdleCaret::rest);
    quiet_.start();
    QCoreApplication::instance()->installEventFilter(this);
}

bool IdleCaret::eventFilter(QObject *, QEvent *event)
{
    if (isInput(event->type())) {
        if (resting_) {
            resting_ = false;
            QApplication::setCursorFlashTime(flashTime_);
        }
        quiet_.start();
    }
    return false;
}

void IdleCaret::rest()
{
    if (flashTime_ <= 0)
        return;
    resting_ = true;
    QApplication::setCursorFlashTime(0);  // text fields follow the change at once
}
