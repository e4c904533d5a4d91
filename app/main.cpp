#include "Allocator.h"
#include "AppFolder.h"
#include "CommandLine.h"
#include "EspeakEngine.h"
#include "Form1.h"
#include "Form1Remote.h"
#include "FullScreen.h"
#include "OperatorShortcut.h"
#include "OperatorWindow.h"
#include "Pause.h"
#include "Random.h"
#include "RemoteServer.h"
#include "WavSoundPlayer.h"
#include "WindowKinds.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// With --remote: serves the performer's page, shows the operator's pairing window and ties the
// answers that arrive to the trick. Without a network the oracle simply runs without it.
bool announce(RemoteServer& server, quint16 port)
{
    const bool started = server.start(port);
    if (started)
        std::printf("remote: %s\n", qPrintable(server.address()));
    else
        std::fprintf(stderr, "remote: not started: %s\n", qPrintable(server.errorString()));
    std::fflush(nullptr);
    return started;
}

struct Remote {
    RemoteServer server;
    bool listening;
    OperatorWindow operatorWindow;

    Remote(Form1& form1, qint16 idioma, quint16 port)
        : server(idioma)
        , listening(announce(server, port))
        , operatorWindow(server)
    {
        connectPhone(form1, server);
        form1.filterPetitionKeys(new OperatorShortcut(&operatorWindow, &form1));
        // The keyboard belongs to the petition box: the guest types there.
        const WindowKind kind = windowKind(ChildWindow::Pairing, currentWindowSystem());
        operatorWindow.setWindowFlags(kind.flags);
        operatorWindow.setAttribute(Qt::WA_ShowWithoutActivating, kind.withoutKeyboard);
        operatorWindow.show();
    }
};

// Qt ends a program that finds no window system (over ssh, DISPLAY unset or unreachable) with a
// core dump, after a few lines of its own; the operator is told why in one line instead.
void endWithoutDisplay(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    std::fputs("quorvel: there is no display to show the oracle on (DISPLAY or WAYLAND_DISPLAY "
               "is unset or cannot be reached)\n",
        stderr);
    std::_Exit(1);
}

// The screen the stage opens on: the one asked for, or the one its window would open on.
QScreen* stageScreen(const CommandLine& command, const QWidget& stage)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (command.screen && *command.screen <= screens.size())
        return screens.at(*command.screen - 1);
    if (command.screen)
        std::fprintf(stderr, "quorvel: there is no screen %d; the stage opens on screen 1\n",
            *command.screen);
    return command.screen ? QGuiApplication::primaryScreen() : stage.screen();
}

void centreOn(QWidget& window, const QScreen& screen)
{
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen.availableGeometry().center());
    window.move(frame.topLeft());
}

// Shows the stage in the middle of `screen`, or over the whole of it.
void showStage(Form1& form1, const CommandLine& command, QScreen* screen)
{
    auto* fullScreen = new FullScreen(&form1);
    if (command.fullScreen) {
        fullScreen->enter(screen);
        return;
    }
    form1.show();
    if (screen)
        centreOn(form1, *screen);
}

// The pairing window shows the page's address and its key: beside a stage in full screen on a
// TV, it goes to another screen (the laptop's), out of the audience's sight.
void keepOffStage(QWidget& window, const QScreen* stage)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (stage && !screen->geometry().intersects(stage->geometry())) {
            centreOn(window, *screen);
            return;
        }
    }
}
}

int main(int argc, char** argv)
{
    keepLargePicturesOffTheHeap();
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const CommandLine command = parseCommandLine(argc, argv);
    if (command.action != CommandLine::Action::RunOracle) {
        // Answers on the terminal must work without a display.
        QCoreApplication terminal(argc, argv);
        return answerCommandLine(command, configHome);
    }

    const QtMessageHandler qtMessages = qInstallMessageHandler(endWithoutDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessages);
    // Ties the window to its menu entry and icon on desktops that go by the entry's name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorvel.Quorvel"));
    // The oracle ends only through its own shutdown, which saves the settings first; closing the
    // other windows must never end it behind that shutdown's back.
    QApplication::setQuitOnLastWindowClosed(false);

    WavSoundPlayer sound;
    ThreadPause pause;
    SystemRandom random;
    SettingsValues settings;
    const Platform platform {
        sound,
        pause,
        random,
        dataFolder(QCoreApplication::applicationDirPath()),
        settingsFile(QCoreApplication::applicationDirPath(), configHome),
        [] { return std::make_unique<EspeakEngine>(); },
        [] {
            std::fflush(nullptr);
            std::_Exit(0);
        },
    };

    Form1 form1(settings, platform);
    QScreen* screen = stageScreen(command, form1);
    if (command.fullScreen && screen)
        form1.prepareFor(FullScreen::stageScaleOn(*screen));
    form1.Form_Load();

    std::unique_ptr<Remote> remote;
    if (command.remotePort)
        remote = std::make_unique<Remote>(form1, settings.idioma, *command.remotePort);
    showStage(form1, command, screen);
    if (remote && command.fullScreen)
        keepOffStage(remote->operatorWindow, screen);
    form1.givePetitionKeyboard();
    return app.exec();
}
