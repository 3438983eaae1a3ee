#include "Pause.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "TestSeam.h"

namespace maintenance {

void pause(int milliseconds)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QElapsedTimer timer;
    timer.start();
    const qint64 wanted = seam::pauseLength(milliseconds);
    while (timer.elapsed() < wanted) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(10);
    }
}

}  // namespace maintenance
