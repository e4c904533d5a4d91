// Speech timings, side by side with the espeak-ng command line as reference. Run it with an
// audio server (a PulseAudio null sink will do) to measure the device path; with
// QUORVEL_AUDIO=virtual it measures against the virtual clock.

#include "EspeakEngine.h"
#include "EsperaFala.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

const QString sentence = QStringLiteral("Eu sou o Oráculo que tudo vê e tudo sabe.");

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double mean(const std::vector<double>& values)
{
    return values.empty()
        ? 0
        : std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

double cliTimeToFirstByteMs()
{
    QProcess cli;
    QElapsedTimer clock;
    clock.start();
    cli.start(QStringLiteral("espeak-ng"),
        { QStringLiteral("--stdout"), QStringLiteral("-v"), QStringLiteral("pt-br"), sentence });
    if (!cli.waitForReadyRead(5000))
        return -1;
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    cli.waitForFinished();
    return ms;
}

double threadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void waitSilent(EspeakEngine& engine)
{
    espera_fala(engine);
}

struct StartTimes {
    std::vector<double> returnMs;
    std::vector<double> firstSampleMs;
};

StartTimes measureStarts(EspeakEngine& engine, int rounds)
{
    StartTimes times;
    for (int i = 0; i < rounds; ++i) {
        const qint64 before = engine.stream().soundWrittenFrames();
        QElapsedTimer clock;
        clock.start();
        engine.speak_text(sentence);
        times.returnMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        while (engine.stream().soundWrittenFrames() == before && clock.elapsed() < 5000)
            ;
        times.firstSampleMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        waitSilent(engine);
    }
    return times;
}

// On a virtual-clock engine of its own, dropped afterwards, so its minutes of speech are not
// played.
double synthesisSpeed()
{
    EspeakEngine engine(AudioStream::Clock::Virtual);
    engine.set_speed(175);
    QString text;
    while (text.size() < 3000)
        text += sentence + QLatin1Char(' ');
    const qint64 before = engine.stream().queuedFrames();
    QElapsedTimer clock;
    clock.start();
    engine.speak_text(text);
    qint64 last = before;
    qint64 lastChangeNs = 0;
    while (clock.nsecsElapsed() - lastChangeNs < 200'000'000) {
        const qint64 now = engine.stream().queuedFrames();
        if (now != last) {
            last = now;
            lastChangeNs = clock.nsecsElapsed();
        }
    }
    const double audioSeconds = double(last - before) / engine.stream().sampleRate();
    return audioSeconds / (double(lastChangeNs) / 1e9);
}

struct WordLags {
    std::vector<double> lagMs;
    int early = 0;
};

WordLags measureWordLags(EspeakEngine& engine)
{
    WordLags lags;
    QObject::connect(&engine, &SpeechEngine::word_event, &engine, [&](int, int positionMs, int) {
        const double playedMs
            = double(engine.stream().playedFrames()) * 1000 / engine.stream().sampleRate();
        const double lag = playedMs - positionMs;
        lags.lagMs.push_back(lag);
        if (lag < 0)
            ++lags.early;
    });
    for (int i = 0; i < 3; ++i) {
        engine.speak_text(sentence);
        waitSilent(engine);
    }
    QObject::disconnect(&engine, &SpeechEngine::word_event, &engine, nullptr);
    return lags;
}

double uiCpuPercentDuringWait(EspeakEngine& engine, double* waitedSeconds)
{
    engine.set_speed(175);
    engine.speak_text(sentence + QLatin1Char(' ') + sentence + QLatin1Char(' ') + sentence
        + QLatin1Char(' ') + sentence);
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = threadCpuMs();
    espera_fala(engine);
    const double cpu = threadCpuMs() - cpuBefore;
    *waitedSeconds = double(clock.elapsed()) / 1000;
    return 100 * cpu / double(clock.elapsed());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    EspeakEngine engine;
    if (engine.voice_count() == 0) {
        std::printf("espeak-ng data not installed: nothing to measure\n");
        return 1;
    }
    engine.select_voice(1);
    engine.set_speed(175);
    QThread::msleep(300); // let the warm-up finish, as it does while the program starts

    std::vector<double> cli;
    for (int i = 0; i < 7; ++i)
        cli.push_back(cliTimeToFirstByteMs());
    const StartTimes starts = measureStarts(engine, 7);
    const double speed = synthesisSpeed();
    const WordLags lags = measureWordLags(engine);
    double waited = 0;
    const double cpu = uiCpuPercentDuringWait(engine, &waited);

    const double lagMax
        = lags.lagMs.empty() ? 0 : *std::max_element(lags.lagMs.begin(), lags.lagMs.end());
    std::printf("audio clock: %s\n", engine.stream().isVirtual() ? "virtual" : "device");
    std::printf("espeak-ng --stdout, time to first byte (median of 7):  %8.3f ms\n", median(cli));
    std::printf(
        "speak_text return time (median / max of 7):           %8.3f / %.3f ms  (goal < 1 ms)\n",
        median(starts.returnMs), *std::max_element(starts.returnMs.begin(), starts.returnMs.end()));
    std::printf("speak_text to first sample to device (median of 7):   %8.3f ms  (goal <= %.3f ms, "
                "1.5x the CLI)\n",
        median(starts.firstSampleMs), 1.5 * median(cli));
    std::printf("synthesis speed:                                      %8.0f x real time\n", speed);
    std::printf("word event lag after playback (mean / max of %zu):    %8.1f / %.1f ms, %d early  "
                "(goal mean < 30 ms, none early)\n",
        lags.lagMs.size(), mean(lags.lagMs), lagMax, lags.early);
    std::printf("UI thread CPU while espera_fala waited %.1f s:         %8.2f %%  (goal < 2 %%)\n",
        waited, cpu);
    return 0;
}
