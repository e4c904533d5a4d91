#include "RemoteTexts.h"

#include "LanguageColumn.h"
#include "LanguageRecord.h"

#include <vector>

namespace {

RemoteTexts remoteTextsOf(const PhonePageTexts& t)
{
    const auto u = [](const char* text) { return QString::fromUtf8(text); };
    return { u(t.lang), u(t.pageTitle), u(t.answerLabel), u(t.send), u(t.idle), u(t.armed),
        u(t.spoken), u(t.notSent), u(t.asked), u(t.waiting), u(t.refuse), u(t.operatorTitle),
        u(t.scanHint), u(t.unavailable) };
}

}

// The page may be read over the performer's shoulder: its title gives nothing away, and the
// state is told in small, dim type.
const RemoteTexts& remoteTexts(int language)
{
    static const std::vector<RemoteTexts> texts = [] {
        std::vector<RemoteTexts> all;
        for (std::size_t i = 0; i < languageCount(); ++i)
            all.push_back(remoteTextsOf(languageRecord(int(i))->phone));
        return all;
    }();
    return texts[columnOrPortuguese(language)];
}

const ReadyAnswers& readyAnswers(int language)
{
    return languageRecord(int(columnOrPortuguese(language)))->ready;
}
