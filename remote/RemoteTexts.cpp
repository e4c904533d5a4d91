#include "RemoteTexts.h"

#include <QFile>

#include <algorithm>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

const RemoteTexts& table(int language)
{
    static const RemoteTexts texts[4] = {
        { u("Oráculo"), u("Resposta"), u("enviar"), u("nenhuma resposta armada"), u("armada"),
            u("falada"), u("não enviada"), u("Quorvel: resposta remota"),
            u("Abra este endereço no telefone, na mesma rede:"),
            u("A resposta remota não pôde começar:") },
        { u("Oracle"), u("Answer"), u("send"), u("no answer armed"), u("armed"), u("spoken"),
            u("not sent"), u("Quorvel: remote answer"),
            u("Open this address on the phone, on the same network:"),
            u("The remote answer could not start:") },
        { u("Oracle"), u("Réponse"), u("envoyer"), u("aucune réponse armée"), u("armée"),
            u("prononcée"), u("non envoyée"), u("Quorvel : réponse à distance"),
            u("Ouvrez cette adresse sur le téléphone, sur le même réseau :"),
            u("La réponse à distance n’a pas pu démarrer :") },
        { u("Oráculo"), u("Respuesta"), u("enviar"), u("ninguna respuesta armada"), u("armada"),
            u("dicha"), u("no enviada"), u("Quorvel: respuesta remota"),
            u("Abra esta dirección en el teléfono, en la misma red:"),
            u("La respuesta remota no pudo empezar:") },
    };
    return texts[std::clamp(language, 0, 3)];
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
    };
    for (const auto& [field, value] : fields)
        page.replace(QLatin1String(field), value.toHtmlEscaped());
    return page.toUtf8();
}
