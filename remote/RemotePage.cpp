#include "RemotePage.h"

#include "RemoteTexts.h"

#include <QFile>

namespace {

// One button per ready answer, the answer its own caption.
QString readyButtons(int language)
{
    QString buttons;
    for (const char* answer : readyAnswers(language).answers) {
        const QString text = QString::fromUtf8(answer).toHtmlEscaped();
        buttons
            += QStringLiteral("<button type=\"button\" data-answer=\"%1\">%1</button>").arg(text);
    }
    return buttons;
}

}

QByteArray remotePage(int language)
{
    const RemoteTexts& t = remoteTexts(language);
    QFile file(QStringLiteral(":/remote/page.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString page = QString::fromUtf8(file.readAll());
    const std::pair<const char*, QString> fields[] = {
        { "{{lang}}", t.lang },
        { "{{title}}", t.pageTitle },
        { "{{answer}}", t.answerLabel },
        { "{{send}}", t.send },
        { "{{idle}}", t.idle },
        { "{{armed}}", t.armed },
        { "{{spoken}}", t.spoken },
        { "{{failed}}", t.notSent },
        { "{{asked}}", t.asked },
        { "{{waiting}}", t.waiting },
        { "{{refuse}}", t.refuse },
    };
    for (const auto& [field, value] : fields)
        page.replace(QLatin1String(field), value.toHtmlEscaped());
    page.replace(QLatin1String("{{ready}}"), readyButtons(language));
    return page.toUtf8();
}
