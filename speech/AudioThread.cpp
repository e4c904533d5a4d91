#include "AudioThread.h"

#include <QCoreApplication>
#include <QThread>

namespace {

QThread* s_thread = nullptr;

void stopAudioThread()
{
    s_thread->quit();
    s_thread->wait();
}

} // namespace

QThread* audioThread()
{
    // The thread object is deliberately leaked: destroying a QThread at static destruction time
    // races with objects that still live in it.
    static QThread* thread = [] {
        s_thread = new QThread;
        s_thread->setObjectName(QStringLiteral("audio"));
        s_thread->start(QThread::TimeCriticalPriority);
        qAddPostRoutine(stopAudioThread);
        return s_thread;
    }();
    return thread;
}
