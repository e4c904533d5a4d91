#include "Pause.h"

#include <QThread>

void ThreadPause::sleep(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}
