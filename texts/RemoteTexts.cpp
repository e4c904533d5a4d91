#include "RemoteTexts.h"

#include "LanguageColumn.h"

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

const ReadyAnswers kReadyAnswers[kLanguages] = {
    { { "Sim", "Não", "Talvez", "Com certeza", "Jamais", "Pergunte de novo mais tarde" } },
    { { "Yes", "No", "Maybe", "Certainly", "Never", "Ask again later" } },
    { { "Oui", "Non", "Peut-être", "Certainement", "Jamais", "Redemandez plus tard" } },
    { { "Sí", "No", "Quizás", "Sin duda", "Jamás", "Pregunte de nuevo más tarde" } },
};

}

const RemoteTexts& remoteTexts(int language)
{
    // The page may be read over the performer's shoulder: its title gives nothing away, and
    // the state is told in small, dim type.
    static const RemoteTexts texts[kLanguages] = {
        { u("pt"), u("Notas"), u("Resposta"), u("enviar"), u("nenhuma resposta armada"),
            u("armada"), u("falada"), u("não enviada"), u("perguntou"), u("esperando"),
            u("recusar"), u("Quorvel: resposta remota"),
            u("Abra este endereço no telefone, na mesma rede:"),
            u("A resposta remota não pôde começar:") },
        { u("en"), u("Notes"), u("Answer"), u("send"), u("no answer armed"), u("armed"),
            u("spoken"), u("not sent"), u("asked"), u("waiting"), u("refuse"),
            u("Quorvel: remote answer"), u("Open this address on the phone, on the same network:"),
            u("The remote answer could not start:") },
        { u("fr"), u("Notes"), u("Réponse"), u("envoyer"), u("aucune réponse armée"), u("armée"),
            u("prononcée"), u("non envoyée"), u("demandé"), u("en attente"), u("refuser"),
            u("Quorvel : réponse à distance"),
            u("Ouvrez cette adresse sur le téléphone, sur le même réseau :"),
            u("La réponse à distance n’a pas pu démarrer :") },
        { u("es"), u("Notas"), u("Respuesta"), u("enviar"), u("ninguna respuesta armada"),
            u("armada"), u("dicha"), u("no enviada"), u("preguntó"), u("esperando"), u("rechazar"),
            u("Quorvel: respuesta remota"),
            u("Abra esta dirección en el teléfono, en la misma red:"),
            u("La respuesta remota no pudo empezar:") },
    };
    return inLanguageOrPortuguese(texts, language);
}

const ReadyAnswers& readyAnswers(int language)
{
    return inLanguageOrPortuguese(kReadyAnswers, language);
}
