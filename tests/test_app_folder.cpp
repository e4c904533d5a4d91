#include "AppFolder.h"
#include "FileContents.h"
#include "Settings.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void putFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
}

const QByteArray kPortable = "; carried from the old machine\r\n[Quorvel]\r\nvozvoz= 4\r\n"
                             "voztom= 70\r\nvozvel= 100\r\nidioma= 3\r\n[Mine]\r\nx=1\r\n";
const auto kOpen = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
    | QFile::WriteOther | QFile::ExeOther;
const auto kReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;

const QByteArray kConfig = "[Quorvel]\nvozvoz= 1\nvoztom= 50\nvozvel= 80\nidioma= 1\n";

}

// A scratch tree laid out like a portable build (bin/ with the data files) or an installed one
// (bin/ with the executable alone, share/quorvel/ with the data files).
class TestAppFolder : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString bin() const { return m_root.filePath("bin"); }
    QString share() const { return m_root.filePath("share/quorvel"); }
    QString config() const { return m_root.filePath("config"); }

    static void putDataFiles(const QString& folder)
    {
        QVERIFY(QDir().mkpath(folder));
        QFile wav(folder + "/SINISTER.wav");
        QVERIFY(wav.open(QIODevice::WriteOnly));
    }

private slots:
    void init()
    {
        QDir(m_root.path()).removeRecursively();
        QVERIFY(QDir().mkpath(bin()));
    }
    void cleanup()
    {
        for (const QString& folder : { bin(), config(), config() + "/quorvel" })
            QFile(folder).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void appFileJoinsTheFolderAndTheBackslashName_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/opt/q"
                               << "\\oraculo.ini"
                               << "/opt/q/oraculo.ini";
        QTest::newRow("trailing separators dropped") << "/opt/q//"
                                                     << "\\blip1.wav"
                                                     << "/opt/q/blip1.wav";
        QTest::newRow("name without backslash") << "/opt/q"
                                                << "a.gif"
                                                << "/opt/q/a.gif";
    }
    void appFileJoinsTheFolderAndTheBackslashName()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(appFile(folder, name), path);
    }

    void aPortableBuildFindsItsDataAndSettingsBesideTheExecutable()
    {
        putDataFiles(bin());
        putDataFiles(share()); // an installed copy elsewhere must not win
        QCOMPARE(dataFolder(bin()), bin());
        QCOMPARE(settingsFile(bin(), config()), bin() + "/oraculo.ini");
        QVERIFY(!QFileInfo::exists(config()));
    }

    void anInstalledProgramReadsDataFromShareAndKeepsSettingsInTheConfigFolder()
    {
        putDataFiles(share());
        QCOMPARE(dataFolder(bin()), QDir::cleanPath(share()));
        QCOMPARE(settingsFile(bin(), config()), config() + "/quorvel/oraculo.ini");
        QVERIFY(QFileInfo(config() + "/quorvel").isDir());
    }

    void aPortableBuildInAReadOnlyFolderKeepsSettingsInTheConfigFolder()
    {
        putDataFiles(bin());
        QVERIFY(QFile(bin()).setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(bin()).isWritable())
            QSKIP("running with rights that ignore folder permissions");
        QCOMPARE(dataFolder(bin()), bin());
        QCOMPARE(settingsFile(bin(), config()), config() + "/quorvel/oraculo.ini");
    }

    // A portable folder that cannot be written (a read-only share, a CD, a locked-down
    // machine): the oraculo.ini already there holds the user's values until the config folder
    // has its own file, which every save goes to.
    void aReadOnlyPortableFolderHandsItsSettingsToTheConfigFolder_data()
    {
        QTest::addColumn<QByteArray>("portableFile"); // null: none beside the program
        QTest::addColumn<QByteArray>("configFile"); // null: none in the config folder yet
        QTest::addColumn<bool>("configWritable");
        QTest::addColumn<QString>("used"); // "config" or "portable"
        QTest::addColumn<QList<int>>("read"); // vozvoz, voztom, vozvel, idioma
        QTest::addColumn<QByteArray>("configAfter"); // after saving voice 6, language 2

        QTest::newRow("the portable file is read, then saved whole to the config folder")
            << kPortable << QByteArray() << true << "config" << QList { 4, 70, 100, 3 }
            << QByteArray(kPortable)
                   .replace("vozvoz= 4", "vozvoz= 6")
                   .replace("idioma= 3", "idioma= 2");
        QTest::newRow("once the config folder has a file, the portable one no longer counts")
            << kPortable << kConfig << true << "config" << QList { 1, 50, 80, 1 }
            << QByteArray(kConfig)
                   .replace("vozvoz= 1", "vozvoz= 6")
                   .replace("idioma= 1", "idioma= 2");
        QTest::newRow("no file beside the program: defaults, saved to the config folder")
            << QByteArray() << QByteArray() << true << "config" << QList { 2, 65, 91, 0 }
            << QByteArray("[Quorvel]\nvozvoz= 6\nvoztom= 65\nvozvel= 91\nidioma= 2\n");
        QTest::newRow("a config folder that cannot be made: the portable values still hold")
            << kPortable << QByteArray() << false << "portable" << QList { 4, 70, 100, 3 }
            << QByteArray();
    }
    void aReadOnlyPortableFolderHandsItsSettingsToTheConfigFolder()
    {
        QFETCH(QByteArray, portableFile);
        QFETCH(QByteArray, configFile);
        QFETCH(bool, configWritable);
        QFETCH(QString, used);
        QFETCH(QList<int>, read);
        QFETCH(QByteArray, configAfter);

        putDataFiles(bin());
        const QString portablePath = bin() + "/oraculo.ini";
        const QString configPath = config() + "/quorvel/oraculo.ini";
        if (!portableFile.isNull())
            putFile(portablePath, portableFile);
        QVERIFY(QDir().mkpath(config()));
        if (!configFile.isNull()) {
            QVERIFY(QDir().mkpath(config() + "/quorvel"));
            putFile(configPath, configFile);
            QVERIFY(QFile(configPath).setPermissions(kOpen)); // the user's own file
            QVERIFY(QFile(config() + "/quorvel").setPermissions(kOpen));
        }
        QVERIFY(QFile(m_root.path()).setPermissions(kOpen));
        QVERIFY(QFile(config()).setPermissions(configWritable ? kOpen : kReadOnly));
        QVERIFY(QFile(bin()).setPermissions(kReadOnly));

        const QString expectedPath = used == "config" ? configPath : portablePath;
        QVERIFY(asUnprivileged([&] {
            const QString path = settingsFile(bin(), config());
            SettingsValues v;
            le_ini(v, path);
            const QList<int> values { v.voz[0], v.voz[1], v.voz[2], v.idioma };
            v.voz[0] = 6;
            v.idioma = 2;
            salva_ini(v, path);
            if (path != expectedPath || values != read)
                qWarning() << "used" << path << "read" << values;
            return path == expectedPath && values == read;
        }));
        QCOMPARE(fileContents(portablePath), portableFile);
        QCOMPARE(fileContents(configPath), configAfter);
    }

    void theLocationAloneChangesNothingOnDisk()
    {
        putDataFiles(bin());
        putFile(bin() + "/oraculo.ini", kPortable);
        QVERIFY(QFile(m_root.path()).setPermissions(kOpen));
        QVERIFY(QFile(bin()).setPermissions(kReadOnly));
        QVERIFY(asUnprivileged([&] {
            const SettingsLocation where = settingsLocation(bin(), config());
            return where.path == config() + "/quorvel/oraculo.ini"
                && where.seed == bin() + "/oraculo.ini" && where.current() == where.seed;
        }));
        QVERIFY(!QFileInfo::exists(config()));
    }

    void withNoDataFilesAnywhereTheExecutableFolderStaysTheDataFolder()
    {
        QCOMPARE(dataFolder(bin()), bin());
        QCOMPARE(settingsFile(bin(), config()), config() + "/quorvel/oraculo.ini");
    }

    void anEmptyOrRelativeConfigHomeFallsBackToDotConfig_data()
    {
        QTest::addColumn<QString>("configHome");
        QTest::newRow("unset") << QString();
        QTest::newRow("relative, which the convention says to ignore") << "relative/dir";
    }
    void anEmptyOrRelativeConfigHomeFallsBackToDotConfig()
    {
        QFETCH(QString, configHome);
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", m_root.path().toLocal8Bit());
        const QString path = settingsFile(bin(), configHome);
        qputenv("HOME", oldHome);
        QCOMPARE(path, m_root.path() + "/.config/quorvel/oraculo.ini");
    }
};

QTEST_GUILESS_MAIN(TestAppFolder)
#include "test_app_folder.moc"
