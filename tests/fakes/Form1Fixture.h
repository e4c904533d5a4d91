#pragma once

#include "FakeSpeechEngine.h"
#include "Fakes.h"
#include "FileContents.h"
#include "Form1.h"
#include "StageWidgets.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

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
    std::unique_ptr<Form1> form;
    StageWidgets w;

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
        form = std::make_unique<Form1>(module, platform);
        w = StageWidgets(*form);
    }
    // The windows the stage opened go with it, so that the next test starts with none.
    ~Form1Fixture()
    {
        delete StageWidgets::calibrar();
        delete StageWidgets::form2();
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
            QTest::keyClick(w.Text1, ch.toLatin1());
    }
    // The stage's texts in the language it runs in, as the tables give them.
    LanguageTexts texts() const
    {
        LanguageTexts t;
        muda_lingua(module.idioma, t);
        return t;
    }

    // Asks what the box holds; the last thing the oracle said.
    QString answer()
    {
        enter();
        if (!QTest::qWaitFor([this] { return tts1().speaking_state() == 0; }))
            return QStringLiteral("(still speaking)");
        return tts1().spoken.last();
    }

    // As on a real keyboard, Enter is released while the answer is on its way: the release is
    // handled inside the delivery's first wait, not after it.
    void enter()
    {
        QTimer::singleShot(0, w.Text1, [this] { QTest::keyRelease(w.Text1, Qt::Key_Return); });
        QTest::keyPress(w.Text1, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};
