#pragma once

#include "KeyCodes.h"
#include "Oracle.h"
#include "ScriptedRandom.h"

#include <QStringList>

#include <optional>

// The trick's rules without a window: a small stand-in for the petition box types keys the way
// the real box delivers them (key down, character, the box's own editing, key up).
struct TypedOracle {
    LanguageTexts texts;
    ScriptedRandom random;
    Oracle oracle { texts, random };
    QString box;

    explicit TypedOracle(qint16 lingua = 0) { muda_lingua(lingua, texts); }

    std::optional<Command> key(QChar ch)
    {
        const int vk = ch == QLatin1Char('\b') ? vk::Backspace
            : ch == QLatin1Char('\r')          ? vk::Enter
                                               : ch.toUpper().unicode();
        const KeyDownReply reply = oracle.keyDown(vk, box);
        if (reply.command)
            return reply.command;
        oracle.keyPress(ch);
        if (ch == QLatin1Char('\b'))
            box.chop(1);
        else
            box += ch;
        if (const auto shown = oracle.keyUp(vk, box))
            box = *shown;
        return std::nullopt;
    }

    void type(const QString& keys)
    {
        for (QChar ch : keys)
            key(ch);
    }

    Command enter() { return *key(QLatin1Char('\r')); }

    // What the phone does: "7000 answer sim" arms "sim" at 7 s, "2000 refuse" presses the
    // refuse button.
    void phone(const QString& event)
    {
        const QStringList parts = event.split(QLatin1Char(' '));
        if (parts[1] == QLatin1String("answer"))
            oracle.arm(parts.mid(2).join(QLatin1Char(' ')));
        else
            oracle.refuseNow();
    }
    static qint64 at(const QString& event)
    {
        return event.section(QLatin1Char(' '), 0, 0).toLongLong();
    }
};
