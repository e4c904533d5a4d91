// The remote answer's costs, on loopback, with the oracle's real stage on screen. Prints
// key=value lines; scripts/bench turns them into its table. Needs a display (Xvfb will do).
//   bench_remote   send to "armed", and the stage's frame timing while 100 requests arrive;
//                  a key pressed at the laptop to the text on the page's push channel (200 keys),
//                  with the stage's frame timing meanwhile; the phone's answer received by the
//                  waiting oracle to its first word played, less the staged pause; /status and
//                  the push channel's first message while the stage pauses on purpose (at start
//                  and before the answer)
// The phone is played by a thread with plain blocking sockets, so it never waits on the stage's
// event loop it measures.

#include "EspeakEngine.h"
#include "EsperaFala.h"
#include "Form1.h"
#include "Form1Remote.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Random.h"
#include "RemoteServer.h"
#include "WavSoundPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFrameMs = 16;
constexpr int kKeys = 200;
constexpr int kKeyMs = 30;

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

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
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

std::string post(const std::string& path, const std::string& body)
{
    return "POST " + path
        + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: text/plain; charset=utf-8\r\n"
        + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

int connectLoopback(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The page's side of the push channel on a plain blocking socket: every message with the time
// it arrived. Pings are answered, as a browser does.
class PushListener {
public:
    struct Heard {
        Clock::time_point at;
        QString shown;
        QString state;
    };

    bool open(quint16 port, const std::string& token)
    {
        m_fd = connectLoopback(port);
        const std::string handshake = "GET /push?t=" + token
            + " HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
        if (m_fd < 0 || ::send(m_fd, handshake.data(), handshake.size(), 0) <= 0)
            return false;
        std::string reply;
        char c;
        while (reply.find("\r\n\r\n") == std::string::npos && ::recv(m_fd, &c, 1, 0) == 1)
            reply += c;
        timeval tick { 0, 100000 };
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
        return reply.rfind("HTTP/1.1 101", 0) == 0;
    }

    void run(const std::atomic<bool>& stop)
    {
        while (!stop) {
            unsigned char head[2];
            if (!readAll(head, 2, stop))
                return;
            quint64 length = head[1] & 0x7f;
            if (length >= 126) {
                unsigned char extended[8];
                const int bytes = length == 126 ? 2 : 8;
                if (!readAll(extended, bytes, stop))
                    return;
                length = 0;
                for (int i = 0; i < bytes; ++i)
                    length = (length << 8) | extended[i];
            }
            QByteArray payload(qsizetype(length), '\0');
            if (!readAll(reinterpret_cast<unsigned char*>(payload.data()), length, stop))
                return;
            const int opcode = head[0] & 0x0f;
            if (opcode == 0x9)
                pong(payload);
            if (opcode != 0x1)
                continue;
            const QJsonObject message = QJsonDocument::fromJson(payload).object();
            std::lock_guard guard(m_lock);
            m_heard.push_back({ Clock::now(), message.value(QStringLiteral("shown")).toString(),
                message.value(QStringLiteral("state")).toString() });
        }
    }

    // The channel's first message, as the page hears it when it opens.
    bool first()
    {
        unsigned char head[2];
        const std::atomic<bool> stop { false };
        return readAll(head, 2, stop) && (head[0] & 0x0f) == 0x1;
    }

    std::vector<Heard> heard()
    {
        std::lock_guard guard(m_lock);
        return m_heard;
    }

    ~PushListener()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    bool readAll(unsigned char* into, quint64 size, const std::atomic<bool>& stop)
    {
        quint64 got = 0;
        while (got < size) {
            const ssize_t n = ::recv(m_fd, into + got, size - got, 0);
            if (n > 0)
                got += quint64(n);
            else if (n == 0 || stop || (errno != EAGAIN && errno != EWOULDBLOCK))
                return false;
        }
        return true;
    }

    // A client's frames are masked; a zero mask leaves the payload as it is.
    void pong(const QByteArray& payload)
    {
        std::string frame { char(0x8a), char(0x80 | payload.size()), 0, 0, 0, 0 };
        frame.append(payload.constData(), size_t(payload.size()));
        ::send(m_fd, frame.data(), frame.size(), 0);
    }

    int m_fd = -1;
    std::mutex m_lock;
    std::vector<Heard> m_heard;
};

// The phone asking, on its own thread, while the stage's thread does `work`: /status and a push
// channel's first message in turn, each timed to its reply (429 too: the server answered). Spaced
// to stay near the rate limit.
struct PausedReplies {
    std::vector<double> status;
    std::vector<double> push;
};

template <typename Work>
PausedReplies repliesWhile(quint16 port, const std::string& token, Work work)
{
    PausedReplies replies;
    std::atomic<bool> done { false };
    std::thread phone([&] {
        for (int i = 0; !done; ++i) {
            const Clock::time_point start = Clock::now();
            if (i % 2 == 0) {
                if (httpRequest(port, get("/status?t=" + token)) != 0)
                    replies.status.push_back(msBetween(start, Clock::now()));
            } else {
                // A refusal (429) is an answer too; a handshake taken, its first message.
                PushListener page;
                if (!page.open(port, token) || page.first())
                    replies.push.push_back(msBetween(start, Clock::now()));
            }
            std::this_thread::sleep_until(start + std::chrono::milliseconds(130));
        }
    });
    work();
    done = true;
    phone.join();
    return replies;
}

void reportPaused(const char* during, const PausedReplies& replies)
{
    const std::string key = std::string("during_") + during;
    report((key + "_status_p99_ms").c_str(), percentile(replies.status, 0.99));
    report((key + "_status_count").c_str(), double(replies.status.size()));
    report((key + "_push_p99_ms").c_str(), percentile(replies.push, 0.99));
    report((key + "_push_count").c_str(), double(replies.push.size()));
}

// The laptop's keyboard, as the petition box receives it: press, then release.
void pressKey(QWidget* box, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &release);
}

void typeKey(QWidget* box, int index)
{
    static const QString question = QStringLiteral("vai chover amanha ");
    if (index % 10 == 9) {
        pressKey(box, Qt::Key_Backspace, QString(QChar(8)));
        return;
    }
    const QChar ch = question[index % question.size()];
    pressKey(box, ch == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_A + (ch.unicode() - 'a'), ch);
}

// A pause that also remembers the longest it was asked for since `reset`.
class RecordingPause final : public Pause {
public:
    void sleep(int ms) override
    {
        m_longest = std::max(m_longest, ms);
        m_pause.sleep(ms);
    }
    void reset() { m_longest = 0; }
    int longest() const { return m_longest; }

private:
    ThreadPause m_pause;
    int m_longest = 0;
};

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
    RecordingPause pause;
    SystemRandom random;
    SettingsValues module;
    Form1 form(module,
        Platform { sound, pause, random, QStringLiteral(QUORVEL_APP_DIR),
            qEnvironmentVariable("BENCH_SETTINGS"),
            [] { return std::unique_ptr<SpeechEngine>(std::make_unique<EspeakEngine>()); },
            [] { std::_Exit(0); } });
    auto* box = form.findChild<PetitionBox*>(QStringLiteral("Text1"));
    RemoteServer server(module.idioma);
    if (!server.start(0)) {
        std::fprintf(stderr, "bench_remote: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    const QUrl address(server.address());
    const quint16 port = quint16(address.port());
    const std::string token = QUrlQuery(address).queryItemValue(QStringLiteral("t")).toStdString();
    // The start's pause (3 s) with the server already listening.
    reportPaused("start", repliesWhile(port, token, [&] {
        form.Form_Load();
        form.show();
        espera_fala(form.voice());
    }));
    connectPhone(form, server);

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

    // The page listening: each key at the laptop to its text on the push channel.
    // The handshake is answered by this thread's event loop: the page opens on its own thread.
    PushListener page;
    std::atomic<bool> stop { false };
    std::atomic<int> opened { -1 };
    std::thread listening([&] {
        opened = page.open(port, token) ? 1 : 0;
        if (opened == 1)
            page.run(stop);
    });
    while (opened < 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (opened == 0) {
        std::fprintf(stderr, "bench_remote: the push channel did not open\n");
        return 1;
    }
    struct Key {
        Clock::time_point at;
        QString shown;
    };
    std::vector<Key> keys;
    const std::vector<double> typing = frameIntervals([&] {
        for (int i = 0; i < kKeys; ++i) {
            QMetaObject::invokeMethod(box, [box, &keys, i] {
                const Clock::time_point at = Clock::now();
                typeKey(box, i);
                keys.push_back({ at, box->text() });
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(kKeyMs));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    });
    std::vector<double> keyToPage;
    const std::vector<PushListener::Heard> heard = page.heard();
    for (const Key& key : keys) {
        const auto shown = std::find_if(heard.begin(), heard.end(),
            [&key](const auto& h) { return h.at >= key.at && h.shown == key.shown; });
        if (shown != heard.end())
            keyToPage.push_back(msBetween(key.at, shown->at));
    }
    report("key_to_page_p50_ms", percentile(keyToPage, 0.5));
    report("key_to_page_p99_ms", percentile(keyToPage, 0.99));
    report("key_to_page_count", double(keyToPage.size()));
    report("typing_frame_p99_ms", percentile(typing, 0.99));
    report("typing_frame_max_ms", percentile(typing, 1.0));

    // A question nobody captured: the oracle waits, the page answers as soon as it reads
    // "waiting", and the answer's first word is timed from its arrival.
    Clock::time_point armedAt {};
    std::optional<Clock::time_point> firstWord;
    QObject::connect(&server.exchange(), &RemoteExchange::answerArmed, &form, [&] {
        armedAt = Clock::now();
        pause.reset();
    });
    QObject::connect(&form.voice(), &SpeechEngine::word_event, [&] {
        if (armedAt != Clock::time_point {} && !firstWord)
            firstWord = Clock::now();
    });
    std::thread phone([&] {
        const auto waiting = [&page] {
            const auto all = page.heard();
            return !all.empty() && all.back().state == QLatin1String("waiting");
        };
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (!waiting() && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        httpRequest(port, post("/answer?t=" + token, "sim, amanhã"));
    });
    // The first answers sent above are still armed: a comma at the keyboard drops them. The
    // phone keeps asking through the waiting phrase, the orb and the pause before the answer.
    reportPaused("answer", repliesWhile(port, token, [&] {
        pressKey(box, Qt::Key_Comma, QStringLiteral(","));
        pressKey(box, Qt::Key_Period, QStringLiteral("."));
        pressKey(box, Qt::Key_Return, QStringLiteral("\r"));
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (!firstWord && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }));
    phone.join();
    stop = true;
    listening.join();
    if (firstWord)
        report(
            "answer_to_first_word_less_pause_ms", msBetween(armedAt, *firstWord) - pause.longest());
    std::fflush(stdout);
    std::_Exit(0);
}
