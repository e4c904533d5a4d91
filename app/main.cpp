#include "AppFolder.h"
#include "CommandLine.h"
#include "EspeakEngine.h"
#include "Form1.h"
#include "Pause.h"
#include "Random.h"
#include "WavSoundPlayer.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const CommandLine command = parseCommandLine(argc, argv);
    if (command.action != CommandLine::Action::RunOracle) {
        // Answers on the terminal must work without a display.
        QCoreApplication terminal(argc, argv);
        return answerCommandLine(command, configHome);
    }

    QApplication app(argc, argv);
    // Ties the window to its menu entry and icon on desktops that go by the entry's name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorvel.Quorvel"));
    // The oracle ends only through its own shutdown, which saves the settings first; closing the
    // other windows must never end it behind that shutdown's back.
    QApplication::setQuitOnLastWindowClosed(false);

    WavSoundPlayer sound;
    ThreadPause pause;
    SystemRandom random;
    Module1 module;
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

    Form1 form1(module, platform);
    form1.Form_Load();
    form1.show();
    if (const QScreen* screen = form1.screen()) {
        QRect frame = form1.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form1.move(frame.topLeft());
    }
    form1.givePetitionKeyboard();
    return app.exec();
}
