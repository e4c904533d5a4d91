#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One entry of the oracle's voice list: an installed espeak-ng voice, possibly with a variant.
struct EspeakVoice {
    QString label; // the voice's name, e.g. "Portuguese (Brazil)"
    QString detail; // language and variant, e.g. "pt-br, deep"
    QByteArray name; // what espeak_SetVoiceByName takes, e.g. "pt-br+m8"

    // The curated list, in its fixed order, keeping only what espeak-ng has installed. Call with
    // the synthesizer initialised and locked.
    static QList<EspeakVoice> installed(const QString& dataPath);
};
