#include "AppFolder.h"
#include "EspeakEngine.h"
#include "Form1.h"
#include "OperatorShortcut.h"
#include "OperatorWindow.h"
#include "Pause.h"
#include "PetitionBox.h"
#include "Random.h"
#include "RemoteServer.h"
#include "WavSoundPlayer.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// --remote, optionally with --remote-port N: the port to serve the performer's phone on.
std::optional<quint16> remotePort(const QStringList& arguments)
{
    if (!arguments.contains(QStringLiteral("--remote")))
        return std::nullopt;
    const qsizetype at = arguments.indexOf(QStringLiteral("--remote-port"));
    bool valid = false;
    const quint16 port = at >= 0 ? arguments.value(at + 1).toUShort(&valid) : 0;
    return valid ? port : RemoteServer::kDefaultPort;
}

}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
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
        settingsFile(
            QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_CONFIG_HOME")),
        [] { return std::make_unique<EspeakEngine>(); },
        [] {
            std::fflush(nullptr);
            std::_Exit(0);
        },
    };

    Form1 form1(module, platform);
    form1.Form_Load();

    std::unique_ptr<RemoteServer> remote;
    std::unique_ptr<OperatorWindow> operatorWindow;
    if (const std::optional<quint16> port = remotePort(QCoreApplication::arguments())) {
        remote = std::make_unique<RemoteServer>(module.idioma);
        if (remote->start(*port))
            std::printf("remote: %s\n", qPrintable(remote->address()));
        else
            std::fprintf(stderr, "remote: not started: %s\n", qPrintable(remote->errorString()));
        std::fflush(nullptr);
        QObject::connect(
            &remote->exchange(), &RemoteExchange::answerArmed, &form1, &Form1::armHiddenAnswer);
        QObject::connect(&form1, &Form1::hiddenAnswerDelivered, &remote->exchange(),
            &RemoteExchange::answerDelivered);
        QObject::connect(&form1, &Form1::capturedAnswerReplacedArmed, &remote->exchange(),
            &RemoteExchange::armedAnswerReplaced);
        operatorWindow = std::make_unique<OperatorWindow>(*remote);
        new OperatorShortcut(form1.Text1, operatorWindow.get());
        operatorWindow->show();
    }
    form1.show();
    if (const QScreen* screen = form1.screen()) {
        QRect frame = form1.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form1.move(frame.topLeft());
    }
    form1.Text1->setFocus();
    return app.exec();
}
