#include "AppFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

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
        QFile(bin()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
