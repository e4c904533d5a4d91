#include "EspeakVoice.h"

#include <QFileInfo>
#include <QHash>

#include <espeak-ng/speak_lib.h>

namespace {

struct Candidate {
    const char* language; // voice file name
    const char* variant; // file in voices/!v, or empty
    const char* variantLabel;
};

// Brazilian Portuguese first: voice 2, the stored default, is the slow, deep oracle.
constexpr Candidate kCandidates[] = {
    { "pt-br", "", "" },
    { "pt-br", "m8", "deep" },
    { "pt-br", "Demonic", "demonic" },
    { "pt-br", "croak", "croaking" },
    { "pt-br", "whisper", "whispering" },
    { "pt", "", "" },
    { "pt", "m8", "deep" },
    { "en-us", "", "" },
    { "en-us", "m8", "deep" },
    { "en-us", "Demonic", "demonic" },
    { "en", "", "" },
    { "fr", "", "" },
    { "fr", "m8", "deep" },
    { "es", "", "" },
    { "es", "m8", "deep" },
    { "es-419", "", "" },
};

// Installed voices by file name ("pt-BR" of "roa/pt-BR"), lower case, with their display names.
QHash<QString, QString> installedVoiceNames()
{
    QHash<QString, QString> names;
    for (const espeak_VOICE** voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
        const QString file = QString::fromUtf8((*voice)->identifier).section(QLatin1Char('/'), -1);
        names.insert(file.toLower(),
            QString::fromUtf8((*voice)->name).replace(QLatin1Char('_'), QLatin1Char(' ')));
    }
    return names;
}

bool variantInstalled(const QString& dataPath, const char* variant)
{
    return *variant == '\0'
        || QFileInfo(dataPath + QStringLiteral("/voices/!v/") + QString::fromUtf8(variant))
               .isFile();
}

} // namespace

QList<EspeakVoice> EspeakVoice::installed(const QString& dataPath)
{
    const QHash<QString, QString> names = installedVoiceNames();
    QList<EspeakVoice> voices;
    for (const Candidate& c : kCandidates) {
        const QString language = QString::fromUtf8(c.language);
        QByteArray name = c.language;
        if (*c.variant)
            name += QByteArray("+") + c.variant;
        // Setting the voice also proves its dictionary and phoneme data are really there.
        if (!names.contains(language) || !variantInstalled(dataPath, c.variant)
            || espeak_SetVoiceByName(name.constData()) != EE_OK)
            continue;
        QString detail = language;
        if (*c.variantLabel)
            detail += QStringLiteral(", ") + QString::fromUtf8(c.variantLabel);
        voices << EspeakVoice { names.value(language), detail, name };
    }
    return voices;
}
