// The program's own costs, each beside a reference measured in the same run. Prints key=value
// lines; scripts/bench turns them into its table. Needs a display (Xvfb will do) and, for the
// device path of the audio, a PulseAudio server. With BENCH_FULL_SCREEN set, every window is
// shown over the whole screen, the references' pictures scaled by Qt to the size the stage shows
// them at (the animations by QMovie::setScaledSize).
//   bench_app launch <stage|widgets|bare> <idle seconds>
//                                                  start-up to first frame, then idle CPU and
//                                                  memory
//   bench_app keys                                 key press to the petition box's repaint
//   bench_app wait                                 CPU of a wait for silence, against busy polling
//   bench_app scale                                speaking 100, 1,000 and 10,000 characters
//   bench_app mouth                                a mouth shape's first sample to the mouth's
//                                                  repaint; CPU while speaking, mouth moving
//                                                  and still

#include "Allocator.h"
#include "AppFolder.h"
#include "EspeakEngine.h"
#include "EsperaFala.h"
#include "Form1.h"
#include "FullScreen.h"
#include "LanguageTables.h"
#include "OrbCanvas.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Random.h"
#include "StageScale.h"
#include "SynthesisWorker.h"
#include "WavSoundPlayer.h"

#include <QApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMovie>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kGifs[] = { "GargoyleLeft.gif", "Candlelight.gif", "skullgloweyered.gif",
    "ghostlyskull.gif", "skeletoninhammock.gif", "eyesdemonic.gif", "reaperattack.gif" };

qint64 monotonicNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

double cpuSeconds(int who)
{
    rusage u {};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double threadCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

long residentKb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void report(const char* key, double value)
{
    std::printf("%s=%.3f\n", key, value);
}

// Lets the event loop run for a while, sleeping between events as the program's own loop does.
void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool fullScreen()
{
    return qEnvironmentVariableIsSet("BENCH_FULL_SCREEN");
}

// Stage pixels to screen pixels in the windows measured.
double stageScale()
{
    return fullScreen() ? StageScale(QGuiApplication::primaryScreen()->geometry().size(), 1).scale()
                        : 1.0;
}

// A reference window, shown as the stage is.
void showReference(QWidget* window)
{
    if (!fullScreen()) {
        window->show();
        return;
    }
    window->showFullScreen();
    window->windowHandle()->setGeometry(window->screen()->geometry());
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The real pause, timed, so the staged start-up pause can be taken out of the start-up figure.
class TimedPause final : public Pause {
public:
    void sleep(int ms) override
    {
        const qint64 start = monotonicNs();
        m_pause.sleep(ms);
        slept += monotonicNs() - start;
    }
    qint64 slept = 0;

private:
    ThreadPause m_pause;
};

// The oracle's main window with the real seams, as main() builds it.
struct Stage {
    WavSoundPlayer sound;
    TimedPause pause;
    SystemRandom random;
    SettingsValues module;
    Form1 form;

    explicit Stage(const QString& settings)
        : form(module,
            Platform { sound, pause, random, QStringLiteral(QUORVEL_APP_DIR), settings,
                [] { return std::unique_ptr<SpeechEngine>(std::make_unique<EspeakEngine>()); },
                [] { std::_Exit(0); } })
    {
        if (fullScreen())
            form.prepareFor(FullScreen::stageScaleOn(*form.screen()));
        form.Form_Load();
        if (fullScreen())
            (new FullScreen(&form))->enter();
        else
            form.show();
        form.givePetitionKeyboard();
    }
    void waitUntilSilent() { espera_fala(form.voice()); }
};

void addAnimations(QWidget* window)
{
    const double scale = stageScale();
    int x = 0;
    for (const char* name : kGifs) {
        auto* label = new QLabel(window);
        const QString file = appFile(QStringLiteral(QUORVEL_APP_DIR), name);
        auto* movie = new QMovie(file, {}, label);
        if (scale != 1.0)
            movie->setScaledSize(QImageReader(file).size() * scale);
        label->setMovie(movie);
        label->move(QPoint(x % 700, (x / 700) * 150) * scale);
        x += 220;
        movie->start();
        label->adjustSize();
    }
}

// The idle reference: a plain window playing the same seven animations, one QMovie each.
struct BareWindow {
    QWidget window;
    explicit BareWindow()
    {
        window.setStyleSheet(QStringLiteral("background: black"));
        window.resize(792, 592);
        addAnimations(&window);
        showReference(&window);
    }
};

// The start-up reference: a plain window with the widgets the stage shows at its first frame
// (the seven animations, the same menus, a line edit, the face), and nothing behind them.
struct WidgetsWindow {
    QMainWindow window;
    explicit WidgetsWindow()
    {
        const double scale = stageScale();
        auto* stage = new QWidget(&window);
        stage->setStyleSheet(QStringLiteral("background: black"));
        stage->setFixedSize(StageScale::kStage * scale);
        window.setCentralWidget(stage);
        addAnimations(stage);
        auto* face = new QLabel(stage);
        face->setGeometry(QRectF(352 * scale, 256 * scale, 453 * scale, 318 * scale).toRect());
        face->setScaledContents(true);
        face->setPixmap(QPixmap(QStringLiteral(":/pictures/face.jpg")));
        auto* edit = new QLineEdit(stage);
        edit->setGeometry(QRectF(128 * scale, 190 * scale, 425 * scale, 25 * scale).toRect());
        QFont font(QStringLiteral("Arial"), int(12 * scale));
        font.setBold(true);
        edit->setFont(font);
        QMenu* file = window.menuBar()->addMenu(QStringLiteral("Arquivo"));
        file->addAction(QStringLiteral("Sair"));
        QMenu* options = window.menuBar()->addMenu(QString::fromUtf8("Opções"));
        options->addAction(QStringLiteral("Mudar voz"));
        options->addSeparator();
        for (std::size_t i = 0; i < languageCount(); ++i)
            options->addAction(languageName(i))->setCheckable(true);
        window.menuBar()->addMenu(QStringLiteral("Help"))->addAction(QStringLiteral("Sobre"));
        showReference(&window);
        edit->setFocus();
    }
};

// Records the first frame of a window: the first paint, once every widget of it has painted.
class FirstFrame : public QObject {
public:
    qint64 at = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && at == 0 && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] { at = monotonicNs(); });
        }
        return false;
    }

private:
    bool m_seen = false;
};

int runWindow(const QString& kind, int idleSeconds)
{
    const qint64 launched = qEnvironmentVariable("BENCH_T0").toLongLong();
    FirstFrame frame;
    qApp->installEventFilter(&frame);
    std::unique_ptr<Stage> stage;
    std::unique_ptr<WidgetsWindow> widgets;
    std::unique_ptr<BareWindow> bare;
    if (kind == QLatin1String("stage"))
        stage = std::make_unique<Stage>(qEnvironmentVariable("BENCH_SETTINGS"));
    else if (kind == QLatin1String("widgets"))
        widgets = std::make_unique<WidgetsWindow>();
    else
        bare = std::make_unique<BareWindow>();
    while (frame.at == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    qApp->removeEventFilter(&frame);
    const qint64 paused = stage ? stage->pause.slept : 0;
    report("first_frame_ms", double(frame.at - launched) / 1e6);
    report("pause_ms", double(paused) / 1e6);
    report("startup_ms", double(frame.at - launched - paused) / 1e6);
    if (idleSeconds == 0)
        std::_Exit(0);
    if (stage)
        stage->waitUntilSilent();
    spin(2000);
    const double cpu0 = cpuSeconds(RUSAGE_SELF);
    const qint64 t0 = monotonicNs();
    spin(idleSeconds * 1000);
    const double wall = double(monotonicNs() - t0) / 1e9;
    report("idle_cpu_pct", 100.0 * (cpuSeconds(RUSAGE_SELF) - cpu0) / wall);
    report("rss_mb", double(residentKb()) / 1024.0);
    std::fflush(stdout);
    std::_Exit(0);
}

// Starts this program again for one window, so the figure covers the whole process start.
int launch(char** argv)
{
    const QByteArray t0 = QByteArray::number(monotonicNs());
    setenv("BENCH_T0", t0.constData(), 1);
    const pid_t child = fork();
    if (child == 0) {
        char mode[] = "window";
        char* args[] = { argv[0], mode, argv[2], argv[3], nullptr };
        execv("/proc/self/exe", args);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Ends the capture and asks the oracle, on its quick road, to speak what was captured: as an
// operator would, which leaves the box and the capture as they were before the first key.
void askQuickly(QWidget* box)
{
    const std::pair<int, const char*> keys[]
        = { { Qt::Key_Period, "." }, { Qt::Key_Space, " " }, { Qt::Key_V, "v" }, { Qt::Key_O, "o" },
              { Qt::Key_C, "c" }, { Qt::Key_E, "e" }, { Qt::Key_Return, "\r" } };
    for (const auto& [key, text] : keys) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QLatin1String(text));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QLatin1String(text));
        QCoreApplication::sendEvent(box, &press);
        QCoreApplication::sendEvent(box, &release);
    }
}

// Each key: press and release sent to the petition box, timed until the box paints the next
// character of the petition phrase. Bursts of 25 keys fit the phrase; between bursts the
// question is asked, off the clock, which resets the box and the capture.
int runKeys()
{
    Stage stage(qEnvironmentVariable("BENCH_SETTINGS"));
    stage.waitUntilSilent();
    auto* box = stage.form.findChild<PetitionBox*>(QStringLiteral("Text1"));
    qint64 painted = 0;
    struct PaintWatch : QObject {
        qint64* at;
        explicit PaintWatch(qint64* a)
            : at(a)
        {
        }
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint && *at == 0)
                *at = monotonicNs();
            return false;
        }
    } watch(&painted);
    box->installEventFilter(&watch);

    std::vector<double> ms;
    while (ms.size() < 1000) {
        if (!ms.empty())
            askQuickly(box);
        box->setText(QStringLiteral(" "));
        QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
        QCoreApplication::sendEvent(box, &comma);
        spin(20);
        for (int i = 0; i < 25 && ms.size() < 1000; ++i) {
            const QString ch(QChar('a' + i));
            const int key = Qt::Key_A + i;
            painted = 0;
            const qint64 start = monotonicNs();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, ch);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, ch);
            QCoreApplication::sendEvent(box, &press);
            QCoreApplication::sendEvent(box, &release);
            while (painted == 0)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            ms.push_back(double(painted - start) / 1e6);
        }
    }
    report("keys_median_ms", median(ms));
    report("keys_max_ms", *std::max_element(ms.begin(), ms.end()));
    std::fflush(stdout);
    std::_Exit(0);
}

const QString kSentence
    = QStringLiteral("Eu sou o Oráculo que tudo vê e tudo sabe, e respondo a quem pergunta. ");

double waitCpuPct(EspeakEngine& engine, bool busy)
{
    engine.speak_text(kSentence + kSentence);
    const double cpu0 = threadCpuSeconds();
    const qint64 t0 = monotonicNs();
    if (busy) {
        while (engine.speaking_state() == 1)
            QCoreApplication::processEvents();
    } else {
        espera_fala(engine);
    }
    return 100.0 * (threadCpuSeconds() - cpu0) / (double(monotonicNs() - t0) / 1e9);
}

int runWait()
{
    EspeakEngine engine;
    spin(300);
    report("wait_cpu_pct", waitCpuPct(engine, false));
    report("busy_cpu_pct", waitCpuPct(engine, true));
    std::_Exit(0);
}

// Synthesis of a long text: time to the first sample, time until all of it is synthesised,
// how much sound that is and how much memory it holds.
int runScale()
{
    // Engines are kept to the end: each would otherwise be destroyed while it still plays.
    std::vector<std::unique_ptr<EspeakEngine>> engines;
    for (int n : { 100, 1000, 10000 }) {
        QString text;
        while (text.size() < n)
            text += kSentence;
        text.truncate(n);
        const long rss0 = residentKb();
        long peak = rss0;
        auto engine = std::make_unique<EspeakEngine>();
        spin(300);
        const AudioStream& stream = engine->stream();
        const qint64 t0 = monotonicNs();
        engine->speak_text(text);
        const double returned = double(monotonicNs() - t0) / 1e6;
        qint64 first = 0;
        qint64 last = 0;
        qint64 lastChange = t0;
        for (qint64 now = t0; now - lastChange < 300000000; now = monotonicNs()) {
            const qint64 total = stream.queuedFrames(); // every frame ever appended
            if (total != last) {
                last = total;
                lastChange = now;
                if (first == 0)
                    first = now;
            }
            peak = std::max(peak, residentKb());
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            usleep(1000);
        }
        const QByteArray key = "scale_" + QByteArray::number(n);
        report(key + "_return_ms", returned);
        report(key + "_first_ms", double(first - t0) / 1e6);
        report(key + "_synth_ms", double(lastChange - t0) / 1e6);
        report(key + "_audio_s", double(last) / stream.sampleRate());
        report(key + "_mem_mb", double(peak - rss0) / 1024.0);
        engines.push_back(std::move(engine));
    }
    std::_Exit(0);
}

// The whole process's CPU while the oracle says `text`, in percent of one core.
double speakingCpuPct(Stage& stage, const QString& text)
{
    const double cpu0 = cpuSeconds(RUSAGE_SELF);
    const qint64 t0 = monotonicNs();
    stage.form.voice().speak_text(text);
    stage.waitUntilSilent();
    return 100.0 * (cpuSeconds(RUSAGE_SELF) - cpu0) / (double(monotonicNs() - t0) / 1e9);
}

// On the real stage: each change of mouth from the moment playback passes the first sample of
// its sound (the played position at the mouth's repaint, less the sound's own position, as the
// word lag is measured) and the stage's CPU while speaking, with the mouth moving and with the
// mouth left still.
int runMouth()
{
    Stage stage(qEnvironmentVariable("BENCH_SETTINGS"));
    stage.waitUntilSilent();
    stage.form.voice().set_speed(175);
    const AudioStream& stream = static_cast<EspeakEngine&>(stage.form.voice()).stream();
    OrbCanvas* face = stage.form.findChild<OrbCanvas*>(QStringLiteral("Picture1"));
    // Marks are noted on the audio thread as they are reached, paints of a new mouth on the
    // user-interface thread; they are paired afterwards, as the two threads note them in
    // either order.
    struct Mark {
        qint64 frame;
        MouthShape shape;
    };
    std::mutex marksMutex;
    std::vector<Mark> marks;
    QObject::connect(
        &stream, &AudioStream::markReached, face,
        [&](int tag, qint64 frame) {
            if (const std::optional<MouthShape> shape = SynthesisWorker::mouthOfTag(tag)) {
                std::lock_guard lock(marksMutex);
                marks.push_back({ frame, *shape });
            }
        },
        Qt::DirectConnection);
    struct Paint {
        qint64 played;
        MouthShape shape;
    };
    std::vector<Paint> painted;
    struct MouthPaints : QObject {
        std::function<void()> painted;
        bool eventFilter(QObject* watched, QEvent* e) override
        {
            if (e->type() == QEvent::Paint
                && static_cast<QPaintEvent*>(e)->rect().intersects(
                    static_cast<OrbCanvas*>(watched)->mouthRect()))
                painted();
            return false;
        }
    } paints;
    paints.painted = [&] {
        if (painted.empty() || painted.back().shape != face->mouth())
            painted.push_back({ stream.playedFrames(), face->mouth() });
    };
    face->installEventFilter(&paints);
    const double moving = speakingCpuPct(stage, kSentence + kSentence);
    face->removeEventFilter(&paints);
    QObject::disconnect(&stream, &AudioStream::markReached, face, nullptr);
    QObject::disconnect(&stage.form.voice(), &SpeechEngine::mouth_shape, face, nullptr);
    const double still = speakingCpuPct(stage, kSentence + kSentence);

    // Each new mouth painted belongs to the last mark of its shape reached before the paint.
    std::lock_guard lock(marksMutex);
    std::vector<double> lags;
    for (const Paint& paint : painted) {
        const auto mark = std::find_if(marks.rbegin(), marks.rend(),
            [&](const Mark& m) { return m.shape == paint.shape && m.frame <= paint.played; });
        if (mark != marks.rend())
            lags.push_back(double(paint.played - mark->frame) * 1000 / stream.sampleRate());
    }
    const auto [earliest, latest] = std::minmax_element(lags.begin(), lags.end());
    double sum = 0;
    for (double lag : lags)
        sum += lag;
    report("mouth_count", double(lags.size()));
    report("mouth_lag_mean_ms", lags.empty() ? 0 : sum / double(lags.size()));
    report("mouth_lag_max_ms", lags.empty() ? 0 : *latest);
    report("mouth_lag_min_ms", lags.empty() ? 0 : *earliest);
    report("mouth_early",
        double(std::count_if(lags.begin(), lags.end(), [](double l) { return l < 0; })));
    report("speaking_cpu_mouth_pct", moving);
    report("speaking_cpu_still_pct", still);
    std::_Exit(0);
}

}

int main(int argc, char** argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "launch" && argc == 4)
        return launch(argv);
    // The stage's own process tunes its allocator as the program does; the references keep
    // the allocator as a plain program has it.
    if (mode != "window" || (argc > 2 && QByteArray(argv[2]) == "stage"))
        keepLargePicturesOffTheHeap();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (mode == "window" && argc == 4)
        return runWindow(QString::fromLatin1(argv[2]), atoi(argv[3]));
    if (mode == "keys")
        return runKeys();
    if (mode == "wait")
        return runWait();
    if (mode == "scale")
        return runScale();
    if (mode == "mouth")
        return runMouth();
    std::fprintf(stderr,
        "usage: bench_app launch <stage|widgets|bare> <idle seconds> | keys | wait | scale | "
        "mouth\n");
    return 2;
}
