#include "RemoteTexts.h"

#include "LanguageTables.h"

#include <QFile>

#include <algorithm>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

const RemoteTexts& table(int language)
{
    // The page may be read over the performer's shoulder: its title gives nothing away, and
    // the state is told in small, dim type.
    static const RemoteTexts texts[4] = {
        { u("Notas"), u("Resposta"), u("enviar"), u("nenhuma resposta armada"), u("armada"),
            u("falada"), u("não enviada"), u("perguntou"), u("esperando"), u("recusar"),
            u("Quorvel: resposta remota"), u("Abra este endereço no telefone, na mesma rede:"),
            u("A resposta remota não pôde começar:") },
        { u("Notes"), u("Answer"), u("send"), u("no answer armed"), u("armed"), u("spoken"),
            u("not sent"), u("asked"), u("waiting"), u("refuse"), u("Quorvel: remote answer"),
            u("Open this address on the phone, on the same network:"),
            u("The remote answer could not start:") },
        { u("Notes"), u("Réponse"), u("envoyer"), u("aucune réponse armée"), u("armée"),
            u("prononcée"), u("non envoyée"), u("demandé"), u("en attente"), u("refuser"),
            u("Quorvel : réponse à distance"),
            u("Ouvrez cette adresse sur le téléphone, sur le même réseau :"),
            u("La réponse à distance n’a pas pu démarrer :") },
        { u("Notas"), u("Respuesta"), u("enviar"), u("ninguna respuesta armada"), u("armada"),
            u("dicha"), u("no enviada"), u("preguntó"), u("esperando"), u("rechazar"),
            u("Quorvel: respuesta remota"),
            u("Abra esta dirección en el teléfono, en la misma red:"),
            u("La respuesta remota no pudo empezar:") },
    };
    return texts[std::clamp(language, 0, 3)];
}

// One button per ready answer, the answer its own caption.
QString readyButtons(int language)
{
    QString buttons;
    if (const ReadyAnswers* ready = readyAnswers(qint16(std::clamp(language, 0, 3)))) {
        for (const char* answer : ready->answers) {
            const QString text = u(answer).toHtmlEscaped();
            buttons += QStringLiteral("<button type=\"button\" data-answer=\"%1\">%1</button>")
                           .arg(text);
        }
    }
    return buttons;
}
}

const RemoteTexts& remoteTexts(int language)
{
    return table(language);
}

QByteArray remotePage(int language)
{
    static const char* const languageTags[4] = { "pt", "en", "fr", "es" };
    const RemoteTexts& t = table(language);
    QFile file(QStringLiteral(":/remote/page.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString page = QString::fromUtf8(file.readAll());
    const std::pair<const char*, QString> fields[] = {
        { "{{lang}}", QString::fromLatin1(languageTags[std::clamp(language, 0, 3)]) },
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
