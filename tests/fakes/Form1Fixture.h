#pragma once

#include "FakeSpeechEngine.h"
#include "FileContents.h"
#include "Fakes.h"
#include "Form1.h"
#include "PetitionBox.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The main window with its widgets in reach of the tests.
class Form1UnderTest : public Form1 {
public:
    using Form1::Form1;
    using Form1::Gifs;
    using Form1::Labels;
    using Form1::menuArquivo;
    using Form1::menuArquivoSair;
    using Form1::menuHelp;
    using Form1::menuHelpAbout;
    using Form1::menuOpcoes;
    using Form1::menuOpcoesVoz;
    using Form1::Picture1;
    using Form1::Picture2;
    using Form1::Picture3;
    using Form1::Picture4;
    using Form1::Text1;
    using Form1::Timer1;
    using Form1::Timer2;
    using Form1::calibrar;
    using Form1::tts1;
    using Form1::form2;
};

// A main window on fakes: every engine it creates, every sound, pause and speech lands in one
// log, in order; draws are scripted; ending the process is only counted.
struct Form1Fixture {
    QStringList log;
    FakeSoundPlayer sound { &log };
    FakePause pause { &log };
    ScriptedRandom random;
    QTemporaryDir dir;
    SettingsValues module;
    QList<FakeSpeechEngine*> engines;
    int ended = 0;
    std::unique_ptr<Form1UnderTest> form;

    explicit Form1Fixture(const QByteArray& ini = QByteArray())
    {
        if (!ini.isNull()) {
            QFile f(dir.filePath("oraculo.ini"));
            if (f.open(QIODevice::WriteOnly))
                f.write(ini);
        }
        const Platform platform { sound, pause, random, dir.path(), iniPath(),
            [this] {
                auto engine = std::make_unique<FakeSpeechEngine>(&log);
                engines << engine.get();
                return std::unique_ptr<SpeechEngine>(std::move(engine));
            },
            [this] {
                ++ended;
                log << QStringLiteral("end");
            } };
        form = std::make_unique<Form1UnderTest>(module, platform);
    }

    FakeSpeechEngine& tts1() { return *engines.first(); }
    QString iniPath() const { return dir.filePath("oraculo.ini"); }
    QByteArray ini() const { return fileContents(iniPath()); }

    // Loads the window and forgets what start-up did, so a test sees only its own steps.
    void loaded()
    {
        form->Form_Load();
        QTRY_COMPARE(tts1().speaking_state(), 0);
        log.clear();
        tts1().spoken.clear();
        tts1().calls.clear();
        pause.pauses.clear();
        sound.played.clear();
    }

    void type(const QString& keys)
    {
        for (QChar ch : keys)
            QTest::keyClick(form->Text1, ch.toLatin1());
    }
    // As on a real keyboard, Enter is released while the answer is on its way: the release is
    // handled inside the delivery's first wait, not after it.
    void enter()
    {
        QTimer::singleShot(
            0, form->Text1, [this] { QTest::keyRelease(form->Text1, Qt::Key_Return); });
        QTest::keyPress(form->Text1, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};
