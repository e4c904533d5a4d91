// Speaks a sentence a few times, with pauses long enough for a server to suspend an idle sink,
// and prints when each call was made and each word event was raised, on CLOCK_MONOTONIC, for
// bench/word_lag.py to set against a recording of what was heard.
//   call <ns>
//   word <ns> <position ms>

#include "EspeakEngine.h"
#include "EsperaFala.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <ctime>

namespace {

long long monotonicNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 4;
    const unsigned long pauseMs = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 3500;
    EspeakEngine engine;
    engine.select_voice(1);
    engine.set_speed(175);
    QObject::connect(&engine, &SpeechEngine::word_event, &engine, [](int, int positionMs, int) {
        std::printf("word %lld %d\n", monotonicNs(), positionMs);
        std::fflush(stdout);
    });
    for (int i = 0; i < rounds; ++i) {
        QThread::msleep(pauseMs);
        std::printf("call %lld\n", monotonicNs());
        std::fflush(stdout);
        engine.speak_text(QString::fromUtf8("Eu sou o Oráculo que tudo vê."));
        espera_fala(engine);
    }
    return 0;
}
