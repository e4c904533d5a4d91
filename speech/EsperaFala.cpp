#include "EsperaFala.h"

#include "SpeechEngine.h"

#include <QEventLoop>
#include <QPointer>

void espera_fala(SpeechEngine& engine)
{
    QPointer<SpeechEngine> guard(&engine);
    // A handler run during the wait may start new speech after the silence signal has fired,
    // so the state is read again each time the loop wakes, just as a polling wait would.
    while (guard && engine.speaking_state() == 1) {
        QEventLoop loop;
        QObject::connect(&engine, &SpeechEngine::silenced, &loop, &QEventLoop::quit);
        QObject::connect(&engine, &QObject::destroyed, &loop, &QEventLoop::quit);
        if (engine.speaking_state() != 1)
            break;
        loop.exec();
    }
}
