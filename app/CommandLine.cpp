#include "CommandLine.h"

#include "AppFolder.h"
#include "PhoneWait.h"
#include "RemoteServer.h"
#include "Settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kUsageError = 2;

// Every option the program understands, in the order its help lists them.
struct Options {
    QCommandLineOption help { { QStringLiteral("h"), QStringLiteral("help") },
        QStringLiteral("Show this help and exit.") };
    QCommandLineOption version { { QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Show the version and exit.") };
    QCommandLineOption showSettings { QStringLiteral("show-settings"),
        QStringLiteral("Print the path of the settings file, then the voice (vozvoz), pitch "
                       "(voztom), speed (vozvel) and language (idioma) the oracle would start "
                       "with, and exit. Opens no window and makes no sound.") };
    QCommandLineOption remote { QStringLiteral("remote"),
        QStringLiteral("Serve a small page on the local network on which the performer's "
                       "phone sees the question as it is typed and sends the hidden answer; "
                       "with the page open, an unanswered question waits for it (up to %1 s). "
                       "Its address is printed on a line "
                       "starting with 'remote: ' and shown, with a QR code, in a pairing "
                       "window (Ctrl+Shift+R in the petition box shows it again).")
            .arg(PhoneWait::kLimitMs / 1000) };
    QCommandLineOption remotePort { QStringLiteral("remote-port"),
        QStringLiteral("The port of the --remote page (default %1; 0 picks a free one).")
            .arg(RemoteServer::kDefaultPort),
        QStringLiteral("N") };
    QCommandLineOption fullScreen { QStringLiteral("fullscreen"),
        QStringLiteral("Start with the stage in full screen, on the screen its window opens on. "
                       "F11 takes it out of full screen and puts it back at any moment; in full "
                       "screen the menu bar comes back while the pointer rests on the screen's "
                       "top edge.") };
    QCommandLineOption screen { QStringLiteral("screen"),
        QStringLiteral("Open the stage on screen N, counted from 1 (a TV or a projector beside "
                       "a laptop); the voice window and the consultation open on it too."),
        QStringLiteral("N") };
    QCommandLineParser parser;

    Options()
    {
        parser.setApplicationDescription(QStringLiteral("Quorvel, the talking oracle."));
        // "-platform" is one unknown option, not the letters p, l, a...
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({ help, version, showSettings, remote, remotePort, fullScreen, screen });
    }
};

// Qt's own options (a desktop restoring a session passes -session) are Qt's to read: they are
// left out of ours, with the value of those that take one.
QStringList withoutQtOptions(const QStringList& arguments)
{
    static const QStringList withValue { "-platform", "-platformpluginpath", "-platformtheme",
        "-plugin", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle", "-session", "-display",
        "-geometry", "-style", "-stylesheet", "-name", "-title", "-qmljsdebugger" };
    static const QStringList alone { "-reverse", "-widgetcount", "-nograb", "-dograb", "-sync" };
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (withValue.contains(argument))
            ++i;
        else if (!alone.contains(argument))
            ours << argument;
    }
    return ours;
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

int showSettings(const QString& configHome)
{
    const SettingsLocation location
        = settingsLocation(QCoreApplication::applicationDirPath(), configHome);
    SettingsValues values;
    if (!le_ini(values, location.current()))
        print(stderr,
            QStringLiteral("quorvel: cannot read the settings file %1; showing the defaults\n")
                .arg(location.current()));
    print(stdout,
        QStringLiteral("%1\nvozvoz=%2\nvoztom=%3\nvozvel=%4\nidioma=%5\n")
            .arg(location.path)
            .arg(values.voz[0])
            .arg(values.voz[1])
            .arg(values.voz[2])
            .arg(values.idioma));
    return 0;
}

CommandLine answered(CommandLine::Action action)
{
    CommandLine command;
    command.action = action;
    return command;
}

CommandLine refused(const QString& why)
{
    CommandLine command = answered(CommandLine::Action::Refuse);
    command.refusal = why;
    return command;
}
}

CommandLine parseCommandLine(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    Options options;
    if (!options.parser.parse(withoutQtOptions(arguments)))
        return refused(options.parser.errorText());
    if (const QStringList extra = options.parser.positionalArguments(); !extra.isEmpty())
        return refused(QStringLiteral("Unexpected argument '%1'.").arg(extra.first()));
    if (options.parser.isSet(options.help))
        return answered(CommandLine::Action::ShowHelp);
    if (options.parser.isSet(options.version))
        return answered(CommandLine::Action::ShowVersion);
    if (options.parser.isSet(options.showSettings))
        return answered(CommandLine::Action::ShowSettings);
    CommandLine command;
    if (options.parser.isSet(options.remote)) {
        command.remotePort = RemoteServer::kDefaultPort;
        if (options.parser.isSet(options.remotePort)) {
            const QString value = options.parser.value(options.remotePort);
            bool valid = false;
            command.remotePort = value.toUShort(&valid);
            if (!valid)
                return refused(
                    QStringLiteral("The --remote-port '%1' is not a port number.").arg(value));
        }
    }
    command.fullScreen = options.parser.isSet(options.fullScreen);
    if (options.parser.isSet(options.screen)) {
        const QString value = options.parser.value(options.screen);
        bool valid = false;
        command.screen = value.toInt(&valid);
        if (!valid || *command.screen < 1)
            return refused(
                QStringLiteral("The --screen '%1' is not a screen number (1, 2...).").arg(value));
    }
    return command;
}

int answerCommandLine(const CommandLine& command, const QString& configHome)
{
    switch (command.action) {
    case CommandLine::Action::ShowHelp:
        print(stdout, Options().parser.helpText());
        return 0;
    case CommandLine::Action::ShowVersion:
        print(stdout,
            QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion()
                + '\n');
        return 0;
    case CommandLine::Action::ShowSettings:
        return showSettings(configHome);
    case CommandLine::Action::Refuse:
        print(stderr,
            QStringLiteral("quorvel: %1\nTry 'quorvel --help' for the options.\n")
                .arg(command.refusal));
        return kUsageError;
    case CommandLine::Action::RunOracle:
        break;
    }
    return 0;
}
