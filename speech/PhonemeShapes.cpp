#include "PhonemeShapes.h"

#include <QAnyStringView>
#include <QString>

#include <iterator>

namespace mouth {

namespace {

    struct Entry {
        const char* phoneme; // UTF-8, stripped of marks
        Shape shape;
    };

    // IPA as the languages share it. Consonants not listed (t, d, k, s, n, r, ʃ, ɲ...) are
    // Slight, the default.
    constexpr Entry kCommon[] = {
        { "p", Shape::Pressed },
        { "b", Shape::Pressed },
        { "m", Shape::Pressed },
        { "β", Shape::Pressed },
        { "f", Shape::TeethOnLip },
        { "v", Shape::TeethOnLip },
        { "ɱ", Shape::TeethOnLip },
        { "l", Shape::Tongue },
        { "ɫ", Shape::Tongue },
        { "ʎ", Shape::Tongue }, // Portuguese lh, Spanish ll
        { "θ", Shape::Tongue },
        { "ð", Shape::Tongue },
        { "a", Shape::Open },
        { "ɑ", Shape::Open },
        { "ɐ", Shape::Open },
        { "æ", Shape::Open },
        { "ʌ", Shape::Open },
        { "e", Shape::Wide },
        { "ɛ", Shape::Wide },
        { "i", Shape::Wide },
        { "ɪ", Shape::Wide },
        { "ɨ", Shape::Wide },
        { "j", Shape::Wide },
        { "o", Shape::Rounded },
        { "ɔ", Shape::Rounded },
        { "ɒ", Shape::Rounded },
        { "ø", Shape::Rounded },
        { "œ", Shape::Rounded },
        { "ɵ", Shape::Rounded },
        { "ou", Shape::Pursed },
        { "oʊ", Shape::Pursed },
        { "u", Shape::Pursed },
        { "ʊ", Shape::Pursed },
        { "w", Shape::Pursed },
        { "y", Shape::Pursed }, // French u
        { "ʏ", Shape::Pursed },
        { "ɥ", Shape::Pursed },
    };

    // Where a language's sound differs from the shared table.
    constexpr Entry kPortuguese[] = {
        { "y", Shape::Wide }, // espeak-ng's unstressed i of "que", "mãe": lips spread, not round
    };
    constexpr Entry kEnglish[] = {
        { "ɹ", Shape::Rounded }, // English r is said with rounded lips
    };
    constexpr Entry kFrench[] = {
        { "ə", Shape::Rounded }, // the French mute e is rounded, as in "le"
    };
    constexpr Entry kSpanish[] = {
        { "β", Shape::Slight }, // the b of "llueve": the lips come close but never meet
    };

    constexpr Entry kGerman[] = {
        { "c", Shape::Wide }, // ç, its cedilla gone as every mark: the ch of ich, spread as i
        { "x", Shape::Slight }, // the ch of ach: made far back, the lips at ease
        { "ʃ", Shape::Pursed }, // the sch of schön: the lips pushed forward
        { "tʃ", Shape::Pursed }, // the tsch of Deutsch, as its sch
        { "pf", Shape::TeethOnLip }, // the pf of Pfeffer: the p is brief, the f is seen
        { "ɜ", Shape::Open }, // the er of Meister: an open vowel, not an r
    };

    struct Language {
        const char* code;
        const Entry* begin;
        const Entry* end;
    };
    const Language kLanguages[] = {
        { "pt", std::begin(kPortuguese), std::end(kPortuguese) },
        { "en", std::begin(kEnglish), std::end(kEnglish) },
        { "fr", std::begin(kFrench), std::end(kFrench) },
        { "es", std::begin(kSpanish), std::end(kSpanish) },
        { "de", std::begin(kGerman), std::end(kGerman) },
    };

    const Entry* find(const Entry* begin, const Entry* end, QStringView name)
    {
        for (const Entry* e = begin; e != end; ++e) {
            if (QAnyStringView::equal(name, QUtf8StringView(e->phoneme)))
                return e;
        }
        return nullptr;
    }

    // The table of "pt-br+m8" is Portuguese's; a language without one of its own has none.
    const Language* tableOf(QStringView language)
    {
        qsizetype end = 0;
        while (end < language.size() && language[end].isLetter())
            ++end;
        for (const Language& l : kLanguages) {
            if (language.left(end).compare(QLatin1String(l.code), Qt::CaseInsensitive) == 0)
                return &l;
        }
        return nullptr;
    }

    bool isMark(char32_t c)
    {
        return c == U'ˈ' || c == U'ˌ' || c == U'ː' || c == U'ˑ';
    }

    // Only the letters count: stress (ˈ ˌ), length (ː), diacritics (the tilde of ã, ũ, kept
    // apart from its letter) and espeak-ng's own marks ("ə-") leave the mouth as it is.
    QString lettersOf(QStringView phoneme)
    {
        QString letters;
        const QString apart = phoneme.toString().normalized(QString::NormalizationForm_D);
        for (const char32_t c : apart.toUcs4()) {
            if (!isMark(c) && QChar::isLetter(c))
                letters.append(QString::fromUcs4(&c, 1));
        }
        return letters;
    }

    // espeak-ng names a pause "", or in its own names "_", "_:", "_!"; "||" marks a boundary.
    bool isPause(QStringView phoneme)
    {
        for (const char32_t c : phoneme.toUcs4()) {
            if (c != U'_' && c != U':' && c != U'!' && c != U'|' && !isMark(c))
                return false;
        }
        return true;
    }

    // The language's table first, then the shared one.
    const Entry* lookUp(const Language* language, QStringView name)
    {
        if (language) {
            if (const Entry* e = find(language->begin, language->end, name))
                return e;
        }
        return find(std::begin(kCommon), std::end(kCommon), name);
    }

}

Shape shapeOf(QStringView language, QStringView phoneme)
{
    if (isPause(phoneme))
        return Shape::Rest;
    const QString letters = lettersOf(phoneme);
    if (letters.isEmpty())
        return Shape::Slight;
    const Language* table = tableOf(language);
    if (const Entry* whole = lookUp(table, letters))
        return whole->shape;
    const QString first = letters.left(letters.at(0).isHighSurrogate() ? 2 : 1);
    if (const Entry* initial = lookUp(table, first))
        return initial->shape;
    return Shape::Slight;
}

}
