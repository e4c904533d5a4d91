#pragma once

#include "Pause.h"
#include "ScriptedRandom.h"
#include "SoundPlayer.h"

#include <QList>

#include <QStringList>
#include <functional>

// Records each sound played ("play(<file name>)") into a shared log.
class FakeSoundPlayer final : public SoundPlayer {
public:
    explicit FakeSoundPlayer(QStringList* log = nullptr)
        : m_log(log)
    {
    }
    QStringList played;
    void play(const QString& path) override
    {
        const QString name = path.section(QLatin1Char('/'), -1);
        played << name;
        if (m_log)
            *m_log << QStringLiteral("play(%1)").arg(name);
    }

private:
    QStringList* m_log;
};

// Records pauses instead of blocking; onSleep lets a test look at the screen at each pause.
class FakePause final : public Pause {
public:
    explicit FakePause(QStringList* log = nullptr)
        : m_log(log)
    {
    }
    QList<int> pauses;
    std::function<void()> onSleep;
    void sleep(int ms) override
    {
        pauses << ms;
        if (onSleep)
            onSleep();
        if (m_log)
            *m_log << QStringLiteral("sleep(%1)").arg(ms);
    }

private:
    QStringList* m_log;
};
