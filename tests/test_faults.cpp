#include "EspeakEngine.h"
#include "FileContents.h"
#include "Form1Fixture.h"
#include "Settings.h"
#include "StageClock.h"
#include "Unprivileged.h"
#include "WavSoundPlayer.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// What the program does when the machine around it misbehaves: a settings file it cannot read or
// write, a full disk, a kill in the middle of a save, no audio server, no speech data, no
// pictures or sounds, a voice that stops mid-sentence. Each time it must go on, lose nothing it
// had, and show nothing alarming.
//
// The whole program runs without an audio server (set in main, before anything opens one).
namespace {

const QByteArray kStored = "; kept by hand\n[Quorvel]\nvozvoz= 3\nvoztom= 40\nvozvel= 120\n"
                           "idioma= 1\n[Other]\nkey=value\n";

bool sameValues(const SettingsValues& v, qint16 voz0, qint16 voz1, qint16 voz2, qint16 idioma)
{
    return v.voz[0] == voz0 && v.voz[1] == voz1 && v.voz[2] == voz2 && v.idioma == idioma;
}

// The real program's seams (espeak-ng voice, WAV player) with only the pauses faked, in a
// folder that holds none of the pictures and sounds.
struct RealStage {
    QTemporaryDir dir;
    WavSoundPlayer sound;
    FakePause pause;
    ScriptedRandom random;
    SettingsValues module;
    int ended = 0;
    std::unique_ptr<Form1> form;
    StageWidgets w;

    RealStage()
    {
        random.fallback = 0.0f;
        const Platform platform { sound, pause, random, dir.path(), dir.filePath("oraculo.ini"),
            [] { return std::unique_ptr<SpeechEngine>(std::make_unique<EspeakEngine>()); },
            [this] { ++ended; } };
        form = std::make_unique<Form1>(module, platform);
        w = StageWidgets(*form);
    }

    void loadAndAsk()
    {
        form->Form_Load();
        QTRY_COMPARE_WITH_TIMEOUT(form->voice().speaking_state(), 0, 30000);
        for (QChar ch : QStringLiteral(",sim.vou casar?"))
            QTest::keyClick(w.Text1, ch.toLatin1());
        QTest::keyClick(w.Text1, Qt::Key_Return);
    }
};

}

class TestFaults : public QObject {
    Q_OBJECT

    static bool isChildRun() { return qEnvironmentVariableIsSet("QUORVEL_FAULT_CHILD"); }

private slots:
    void aSettingsFolderInPlaceOfTheFileIsLeftAloneAndDefaultsApply()
    {
        Form1Fixture fx;
        QVERIFY(QDir().mkpath(fx.iniPath()));
        fx.loaded();
        QVERIFY(sameValues(fx.module, 2, 65, 91, 0));
        fx.form->close();
        QCOMPARE(fx.ended, 1);
        QVERIFY(QFileInfo(fx.iniPath()).isDir());
    }

    void aFileThatCannotBeReadGivesDefaultsAndIsNotSavedOver()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("oraculo.ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(kStored) == kStored.size());
        f.close();
        QVERIFY(f.setPermissions({}));
        // The folder itself is writable, so only the oracle's own care keeps the file.
        QVERIFY(QFile(dir.path()).setPermissions(QFile::Permissions(0x7777)));
        QVERIFY(asUnprivileged([&] {
            SettingsValues v;
            le_ini(v, path);
            v.idioma = 2;
            salva_ini(v, path);
            return sameValues(v, 2, 65, 91, 2);
        }));
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(fileContents(path), kStored);
    }

    void aReadOnlyFolderKeepsTheOldFileAndTheValuesStillRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("oraculo.ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(kStored) == kStored.size());
        f.close();
        QVERIFY(QFile(dir.path())
                    .setPermissions(
                        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        QVERIFY(asUnprivileged([&] {
            SettingsValues v;
            le_ini(v, path);
            const bool read = sameValues(v, 3, 40, 120, 1);
            v.voz[1] = 99;
            salva_ini(v, path);
            return read;
        }));
        QVERIFY(QFile(dir.path())
                    .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(fileContents(path), kStored);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "oraculo.ini" });
    }

    void aFullDiskDuringTheExitSaveKeepsTheOldFileWhole()
    {
        Form1Fixture fx(kStored);
        fx.loaded();
        fx.module.voz[1] = 77;
        rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit tiny { 16, old.rlim_max };
        setrlimit(RLIMIT_FSIZE, &tiny);
        fx.form->close();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(fx.ended, 1);
        QCOMPARE(fx.ini(), kStored);
        QCOMPARE(QDir(fx.dir.path()).entryList(QDir::Files), QStringList { "oraculo.ini" });
    }

    void aKillDuringASaveLeavesTheOldFileOrTheNewOneNeverATornOne()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("oraculo.ini");
        // Plenty of foreign content, so that a kill often lands while the file is being written.
        QByteArray big = kStored;
        for (int i = 0; i < 20000; ++i)
            big += "note" + QByteArray::number(i) + "=kept\n";
        SettingsValues a;
        SettingsValues b;
        b.voz[0] = 7;
        b.idioma = 3;
        const auto versionOf = [&](const SettingsValues& v) {
            QFile f(path);
            if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                f.write(big);
            f.close();
            salva_ini(v, path);
            return fileContents(path);
        };
        const QByteArray versionB = versionOf(b);
        const QByteArray versionA = versionOf(a);
        QVERIFY(versionA != versionB);

        for (int round = 0; round < 40; ++round) {
            const pid_t child = fork();
            if (child == 0) {
                for (bool flip = false;; flip = !flip)
                    salva_ini(flip ? a : b, path);
            }
            usleep(useconds_t(1000 + QRandomGenerator::global()->bounded(30000)));
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            const QByteArray now = fileContents(path);
            QVERIFY2(now == versionA || now == versionB,
                qPrintable(
                    QStringLiteral("torn after round %1: %2 bytes").arg(round).arg(now.size())));
        }
        // A save killed after its temporary file got a name but before the rename leaves that
        // temporary behind; it must carry the settings file's name as a prefix so that a user
        // sees what it was, and it must never be mistaken for the settings file itself.
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            QVERIFY2(name == "oraculo.ini" || name.startsWith("oraculo.ini."), qPrintable(name));
    }

    void aNumberTooSmallForADoubleReadsAsZeroNotAsOutOfRange()
    {
        Form1Fixture fx("[Quorvel]\nvozvoz=1E-400\nvoztom=0E99999\nvozvel=1E400\n");
        fx.module.voz[2] = 5;
        fx.loaded();
        QCOMPARE(fx.module.voz[0], qint16(0));
        QCOMPARE(fx.module.voz[1], qint16(0));
        QCOMPARE(fx.module.voz[2], qint16(5)); // too large: the store is skipped
    }

    void withoutAudioServerPicturesOrSoundsTheOracleStillAnswersInTime()
    {
        if (isChildRun())
            QSKIP("belongs to the parent run");
        RealStage stage;
        stage.loadAndAsk();
        QTRY_COMPARE_WITH_TIMEOUT(stage.w.Text1->text(), QStringLiteral(" "), 30000);
        QVERIFY(stage.w.Timer2->isEnabled()); // still blinking: the answer, not a refusal
        QCOMPARE(stage.form->voice().speaking_state(), 0);
        const auto* animations = stage.form->findChild<StageClock*>();
        for (QLabel* gif : stage.w.Gifs)
            QVERIFY(animations->animationOf(gif)->isEmpty());
        QVERIFY(QApplication::topLevelWidgets().size() >= 1);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        stage.form->close();
        QCOMPARE(stage.ended, 1);
        QVERIFY(sameValues(stage.module, 2, 65, 91, 0));
        QVERIFY(
            fileContents(stage.dir.filePath("oraculo.ini")).startsWith("[Quorvel]\nvozvoz= 2\n"));
    }

    // espeak-ng finds its data once per process, so this runs in a child of its own.
    void withoutSpeechDataTheOracleStillAnswersSilently()
    {
        if (!isChildRun()) {
            QTemporaryDir empty;
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QUORVEL_FAULT_CHILD", "1");
            env.insert("ESPEAK_DATA_PATH", empty.path());
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(),
                { "withoutSpeechDataTheOracleStillAnswersSilently" });
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
            return;
        }
        RealStage stage;
        stage.loadAndAsk();
        QCOMPARE(stage.form->voice().voice_count(), 0);
        QCOMPARE(stage.w.Text1->text(), QStringLiteral(" "));
        QVERIFY(stage.w.Timer2->isEnabled()); // still blinking: the answer, not a refusal
        stage.form->close();
        QCOMPARE(stage.ended, 1);
    }

    void aVoiceThatStopsMidSentenceEndsTheDeliveryAndTheNextQuestionWorks()
    {
        Form1Fixture fx;
        fx.loaded();
        fx.tts1().msPerWord = 20;
        fx.type(",o destino sorri para quem ousa.");
        fx.random.fallback = 0.0f;
        // The voice dies one word into the answer.
        connect(&fx.tts1(), &SpeechEngine::word_event, &fx.tts1(), [&fx] {
            if (fx.tts1().spoken.size() == 2)
                fx.tts1().finishNow();
        });
        fx.enter();
        QCOMPARE(fx.w.Text1->text(), QStringLiteral(" "));
        QCOMPARE(fx.tts1().speaking_state(), 0);
        QVERIFY(fx.sound.played.contains("SINISTER.wav"));

        fx.type(",sim.");
        fx.enter();
        QCOMPARE(fx.tts1().spoken.last(), QStringLiteral("sim"));
        QCOMPARE(fx.w.Text1->text(), QStringLiteral(" "));
    }
};

int main(int argc, char** argv)
{
    // No audio server anywhere: a socket that does not exist, and no spawning of one.
    qputenv("PULSE_SERVER", "unix:/nonexistent/quorvel-faults/native");
    qunsetenv("QUORVEL_AUDIO");
    QApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_faults.moc"
