// The remote answer's costs, on loopback, with the oracle's real stage on screen. Prints
// key=value lines; scripts/bench turns them into its table. Needs a display (Xvfb will do).
//   bench_remote   send to "armed", and the stage's frame timing while 100 requests arrive
// The phone is played by a thread with plain blocking sockets, so it never waits on the stage's
// event loop it measures.

#include "EspeakEngine.h"
#include "EsperaFala.h"
#include "BenchForm1.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Random.h"
#include "RemoteServer.h"
#include "WavSoundPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFrameMs = 16;

void report(const char* key, double value)
{
    std::printf("%s=%.3f\n", key, value);
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * double(v.size())))];
}

// One HTTP/1.1 exchange on a fresh loopback connection; the status code, or 0 on failure.
int httpRequest(quint16 port, const std::string& request)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int status = 0;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0
        && ::send(fd, request.data(), request.size(), 0) == ssize_t(request.size())) {
        // The connection stays open (HTTP/1.1): the reply ends where its Content-Length says.
        std::string reply;
        char buffer[4096];
        ssize_t got;
        size_t end = std::string::npos;
        while (reply.size() < end && (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
            reply.append(buffer, size_t(got));
            const size_t headers = reply.find("\r\n\r\n");
            const size_t length = reply.find("Content-Length: ");
            if (headers != std::string::npos && length != std::string::npos && length < headers)
                end = headers + 4 + size_t(std::atol(reply.c_str() + length + 16));
        }
        if (reply.size() > 12)
            status = std::atoi(reply.c_str() + 9);
    }
    ::close(fd);
    return status;
}

std::string get(const std::string& path)
{
    return "GET " + path + " HTTP/1.1\r\nHost: bench\r\n\r\n";
}

std::string post(const std::string& path, const std::string& body)
{
    return "POST " + path
        + " HTTP/1.1\r\nHost: bench\r\nContent-Type: text/plain; charset=utf-8\r\n"
        + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Intervals between the ticks of a frame-rate timer on the stage's thread, while `work` runs
// on the phone's thread.
template <typename Work> std::vector<double> frameIntervals(Work work)
{
    std::vector<double> intervals;
    QElapsedTimer clock;
    QTimer frame;
    frame.setTimerType(Qt::PreciseTimer);
    frame.setInterval(kFrameMs);
    qint64 last = -1;
    QObject::connect(&frame, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            intervals.push_back(double(now - last) / 1e6);
        last = now;
    });
    std::atomic<bool> done { false };
    clock.start();
    frame.start();
    std::thread phone([&] {
        work();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    phone.join();
    return intervals;
}

}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    WavSoundPlayer sound;
    ThreadPause pause;
    SystemRandom random;
    Module1 module;
    BenchForm1 form(module,
        Platform { sound, pause, random, QStringLiteral(QUORVEL_APP_DIR),
            qEnvironmentVariable("BENCH_SETTINGS"),
            [] { return std::unique_ptr<SpeechEngine>(std::make_unique<EspeakEngine>()); },
            [] { std::_Exit(0); } });
    form.Form_Load();
    form.show();
    espera_fala(form.tts1());

    RemoteServer server(module.idioma);
    if (!server.start(0)) {
        std::fprintf(stderr, "bench_remote: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    QObject::connect(
        &server.exchange(), &RemoteExchange::answerArmed, &form, &Form1::armHiddenAnswer);
    const QUrl address(server.address());
    const quint16 port = quint16(address.port());
    const std::string token = QUrlQuery(address).queryItemValue(QStringLiteral("t")).toStdString();

    // Send to "armed": spaced out below the rate limit, as a performer would send.
    std::vector<double> armed;
    frameIntervals([&] {
        for (int i = 0; i < 30; ++i) {
            const auto start = std::chrono::steady_clock::now();
            if (httpRequest(port, post("/answer?t=" + token, "sim, amanhã")) == 200)
                armed.push_back(std::chrono::duration<double, std::milli>(
                    std::chrono::steady_clock::now() - start)
                                    .count());
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
    });
    report("armed_median_ms", percentile(armed, 0.5));
    report("armed_max_ms", percentile(armed, 1.0));
    report("armed_count", double(armed.size()));

    const std::vector<double> quiet
        = frameIntervals([] { std::this_thread::sleep_for(std::chrono::seconds(2)); });
    int limited = 0;
    double floodMs = 0;
    const std::vector<double> busy = frameIntervals([&] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 100; ++i)
            limited += httpRequest(port, get("/status?t=" + token)) == 429;
        floodMs
            = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                  .count();
        // The burst is over in milliseconds: the frames around it are watched for two seconds.
        std::this_thread::sleep_until(start + std::chrono::seconds(2));
    });
    report("quiet_frame_p50_ms", percentile(quiet, 0.5));
    report("quiet_frame_p99_ms", percentile(quiet, 0.99));
    report("quiet_frame_max_ms", percentile(quiet, 1.0));
    report("flood_frame_p50_ms", percentile(busy, 0.5));
    report("flood_frame_p99_ms", percentile(busy, 0.99));
    report("flood_frame_max_ms", percentile(busy, 1.0));
    report("flood_ms", floodMs);
    report("flood_limited", limited);
    std::fflush(stdout);
    std::_Exit(0);
}
