#include "Pause.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace maintenance {

namespace {
double scale = 1.0;
}

void setPauseScale(double s)
{
    scale = s;
}

void pause(int milliseconds)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QElapsedTimer timer;
    timer.start();
    const qint64 wanted = qint64(milliseconds * scale);
    while (timer.elapsed() < wanted) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(10);
    }
}

}  // namespace maintenance
