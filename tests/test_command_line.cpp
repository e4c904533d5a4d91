#include "FileContents.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    // The built program, copied into a folder without pictures and sounds so that its settings
    // file is the one in $XDG_CONFIG_HOME, run with no display at all.
    void theCommandLineAnswersWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("file"); // a null array: no settings file
        QTest::addColumn<bool>("folderInstead"); // a folder where the settings file should be
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out"); // a pattern; @PATH@ stands for the settings file
        QTest::addColumn<QString>("err"); // what standard error holds; empty: nothing at all

        const QStringList show { "--show-settings" };
        QTest::newRow("--show-settings with no settings file shows the defaults")
            << show << QByteArray() << false << 0
            << "@PATH@\nvozvoz=2\nvoztom=65\nvozvel=91\nidioma=0\n"
            << "";
        QTest::newRow("--show-settings reads an old Mac file with quoted values")
            << show << QByteArray("[Quorvel]\rvozvoz=\"4\"\rvoztom=' 70'\ridioma=3") << false << 0
            << "@PATH@\nvozvoz=4\nvoztom=70\nvozvel=91\nidioma=3\n"
            << "";
        QTest::newRow("--show-settings reads a UTF-16LE file")
            << show << utf16("[Quorvel]\r\nVOZVOZ=4\r\nvozvel= \"120\"\r\n") << false << 0
            << "@PATH@\nvozvoz=4\nvoztom=65\nvozvel=120\nidioma=0\n"
            << "";
        QTest::newRow("--show-settings strips the blanks before the buffer's cut")
            << show << QByteArray("[Quorvel]\nidioma=" + QByteArray(300, ' ') + "3\n") << false << 0
            << "@PATH@\nvozvoz=2\nvoztom=65\nvozvel=91\nidioma=3\n"
            << "";
        QTest::newRow("--show-settings shows values as held: a pitch beyond 16 bits stays 0")
            << show << QByteArray("[Quorvel]\nvoztom=70000\nvozvel=-5\n") << false << 0
            << "@PATH@\nvozvoz=2\nvoztom=0\nvozvel=-5\nidioma=0\n"
            << "";
        QTest::newRow("an unreadable settings file is reported and the defaults shown")
            << show << QByteArray() << true << 0
            << "@PATH@\nvozvoz=2\nvoztom=65\nvozvel=91\nidioma=0\n"
            << "quorvel: cannot read the settings file @PATH@; showing the defaults\n";
        QTest::newRow("--version gives the version") << QStringList { "--version" } << QByteArray()
                                                     << false << 0 << "Quorvel \\d+\\.\\d+\\.\\d+\n"
                                                     << "";
        QTest::newRow("--help lists every option")
            << QStringList { "--help" } << QByteArray() << false << 0
            << "Usage: .*--help.*--version.*--show-settings.*--fullscreen.*F11.*--screen.*"
            << "";
        QTest::newRow("-h is --help")
            << QStringList { "-h" } << QByteArray() << false << 0 << "Usage: .*--show-settings.*"
            << "";
        QTest::newRow("an unknown option is refused with status 2")
            << QStringList { "--bogus" } << QByteArray() << false << 2 << ""
            << "quorvel: Unknown option 'bogus'.\nTry 'quorvel --help' for the options.\n";
        QTest::newRow("an unknown option beside a known one is refused too")
            << QStringList { "--show-settings", "-x" } << QByteArray() << false << 2 << ""
            << "quorvel: Unknown option 'x'.\nTry 'quorvel --help' for the options.\n";
        QTest::newRow("the desktop's session restore option is left to Qt")
            << QStringList { "-session", "1a2b3c", "--version" } << QByteArray() << false << 0
            << "Quorvel \\d+\\.\\d+\\.\\d+\n"
            << "";
        QTest::newRow("a bad remote port is refused")
            << QStringList { "--remote", "--remote-port", "http" } << QByteArray() << false << 2
            << ""
            << "quorvel: The --remote-port 'http' is not a port number.\nTry 'quorvel --help' "
               "for the options.\n";
        QTest::newRow("a screen that is no number is refused")
            << QStringList { "--screen", "0" } << QByteArray() << false << 2 << ""
            << "quorvel: The --screen '0' is not a screen number (1, 2...).\nTry 'quorvel --help' "
               "for the options.\n";
        QTest::newRow("the oracle without a display says so and ends with status 1")
            << QStringList { "--fullscreen" } << QByteArray() << false << 1 << ""
            << "quorvel: there is no display to show the oracle on (DISPLAY or WAYLAND_DISPLAY is "
               "unset or cannot be reached)\n";
        QTest::newRow("an argument that is no option is refused")
            << QStringList { "oraculo.ini" } << QByteArray() << false << 2 << ""
            << "quorvel: Unexpected argument 'oraculo.ini'.\nTry 'quorvel --help' for the "
               "options.\n";
    }
    void theCommandLineAnswersWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, file);
        QFETCH(bool, folderInstead);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);

        QTemporaryDir scratch;
        const QString program = scratch.filePath("quorvel");
        QVERIFY2(QFile::copy(qEnvironmentVariable("QUORVEL_TEST_APP_DIR") + "/quorvel", program),
            "the built program, found through QUORVEL_TEST_APP_DIR");
        const QString config = scratch.filePath("config");
        const QString settings = config + "/quorvel/oraculo.ini";
        if (folderInstead)
            QVERIFY(QDir().mkpath(settings));
        if (!file.isNull()) {
            QVERIFY(QDir().mkpath(config + "/quorvel"));
            QFile f(settings);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
        }

        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config);
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb"); // a window system the program would die without
        run.setProcessEnvironment(env);
        run.start(program, arguments);
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        const QString stdOut = QString::fromLocal8Bit(run.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(run.readAllStandardError());
        const QRegularExpression expected(QRegularExpression::anchoredPattern(out.replace(
                                              "@PATH@", QRegularExpression::escape(settings))),
            QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(expected.match(stdOut).hasMatch(), qPrintable(stdOut));
        QCOMPARE(stdErr, err.replace("@PATH@", settings));
        QCOMPARE(run.exitCode(), status);
        // Asking changes nothing on disk.
        QCOMPARE(QFileInfo::exists(config), folderInstead || !file.isNull());
        if (!file.isNull())
            QCOMPARE(fileContents(settings), file);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
