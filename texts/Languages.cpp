// Every text of every interface language: one record per language. A new language is one more
// record here (and, for the mouth, its sounds' differences in speech/PhonemeShapes.cpp).
#include "LanguageColumn.h"
#include "LanguageRecord.h"

#include <cstddef>
#include <iterator>
#include <optional>

namespace {

const LanguageRecord kLanguageTable[] = {
    {
        "Português",
        {
            { "Você não é o meu quorvel! Não respondo.", "Sei a resposta mas não falo para você.",
                "Sua pergunta é complicada. Só respondo amanhã. ",
                "Estou cansado. Vou dormir. Boa noite!",
                "Meu salario é muito baixo. Estou de greve", "Não quero mais brincar. Vá embora." },
            { "Vou pensar!", "Aguarde:", "Espere um pouco!", "Espere enquanto me concentro",
                "Pergunta difícel. Espere", "Um instante:" },
            "Responda Oráculo - Por favor, por favor:",
            "Faça sua pergunta",
            "este é o meu amigo bahiano...",
            "Estes olhos veêm no fundo de sua alma...",
            "Este olhar vai dominar o teu ser...",
            "Cuidado. A morte vai te dar as respostas...",
            "Este é o olho que tudo vê e tudo sabe...",
            "Até logo. Vejo você no inferno...",
            { "você", "voce" },
            { "repita", "r epita" },
            { "exit", "e xit" },
            { "mudar voz", "m udar voz" },
            { "conselho", "c onselho" },
        },
        { "Mudar voz", "Arquivo", "Sair", "Ajuda", "Sobre", "Opções" },
        { "Pergunta ao oráculo", "Frase de ensaio", "Voz do oráculo" },
        { "Eu sou o Oráculo que tudo vê e tudo sabe.", "Tom", "Velocidade", "Como vai você?" },
        { "pt", "Notas", "Resposta", "enviar", "nenhuma resposta armada", "armada", "falada",
            "não enviada", "perguntou", "esperando", "recusar", "Quorvel: resposta remota",
            "Abra este endereço no telefone, na mesma rede:",
            "A resposta remota não pôde começar:" },
        { { "Sim", "Não", "Talvez", "Com certeza", "Jamais", "Pergunte de novo mais tarde" } },
    },
    {
        "English",
        {
            { "You are not my master! I will not answer.",
                "I know the answer but I won't say it for you.",
                "Your question is very complex. I will answer it tomorrow. ",
                "I am tired and will sleep. Good night!", "My salary is very low. I am on strike",
                "I don't want to play any more. Go away." },
            { "I will thing !", "wait", "wait a while!", "I am concentrating. wait",
                "difficult question. wait", "just a minute:" },
            "Answer Oracle - Please I beg you",
            "make your question",
            "this is my friend from new orleans...",
            "these eyes goes deep in your soul...",
            "You will be my slave...",
            "Take care. The dead will give your answers...",
            "This is the eye that sees every thing and knows everything...",
            "Good by. See you in the hell...",
            { "you", "you" },
            { "repeat", "r epeat" },
            { "exit", "e xit" },
            { "change voice", "c hange voice" },
            { "advice", "a dvice" },
        },
        { "Change Voice", "File", "Exit", "Help", "About", "Options" },
        { "Question to the oracle", "Trial sentence", "The oracle's voice" },
        { "I am the Oracle who sees everything and know everything.", "Pitch", "Velocity",
            "How are you?" },
        { "en", "Notes", "Answer", "send", "no answer armed", "armed", "spoken", "not sent",
            "asked", "waiting", "refuse", "Quorvel: remote answer",
            "Open this address on the phone, on the same network:",
            "The remote answer could not start:" },
        { { "Yes", "No", "Maybe", "Certainly", "Never", "Ask again later" } },
    },
    {
        "Française",
        {
            { "Vous n'êtes pas mon maître ! Je ne répondrai pas.",
                "Je connais la réponse mais moi ne la dirai pas pour vous.",
                "Votre question est très complexe. Je lui répondrai demain. ",
                "Je suis fatigué et dormirai. Bonne nuit !",
                "Mon salaire est très bas. Je suis en grève",
                "Je ne veux pas jouer davantage. Allez-vous -en." },
            { "Je penserai !", "Attente", "attendez un moment !", "Je concentre l'attente",
                "Question difficile. Attente.", "Juste une minute :" },
            "Oracle de réponse - Je vous prie",
            "make your question",
            "c'est mon ami paresseux...",
            "Ces yeux entre profondément dans votre âme...",
            "Vous serez mon slave...",
            "Les morts donneront vos réponses...",
            "C'est l'oeil qui voit tout et sait tout...",
            "Arrevois. Voyez-vous dans l'enfer...",
            { "vous", "vous" },
            { "répéter", "r épéter" },
            { "exit", "e xit" },
            { "changez voix", "c hangez voix" },
            { "conseil", "c onseil" },
        },
        { "Changez Voix", "Arquivo", "Sortie", "Ajuda", "Sobre", "Opções" },
        { "Question à l'oracle", "Phrase d'essai", "La voix de l'oracle" },
        { "Je suis l'oracle qui voient tout et savent tout.", "Pitch", "Vitesse",
            "Comment alle vouz?" },
        { "fr", "Notes", "Réponse", "envoyer", "aucune réponse armée", "armée", "prononcée",
            "non envoyée", "demandé", "en attente", "refuser", "Quorvel : réponse à distance",
            "Ouvrez cette adresse sur le téléphone, sur le même réseau :",
            "La réponse à distance n’a pas pu démarrer :" },
        { { "Oui", "Non", "Peut-être", "Certainement", "Jamais", "Redemandez plus tard" } },
    },
    {
        "Español",
        {
            { "Usted no es mi amo! No contestaré.",
                "Conozco a la respuesta pero a me no la diré para usted.",
                "Su pregunta es muy compleja. Le contestaré mañana. ",
                "Soy cansado y dormiré. Buenas noches", "Mi sueldo es muy bajo. Estoy en huelga ",
                "No deseo jugar más. Salga." },
            { "Pensaré!", "espera", "espere un rato!", "Estoy concentrando espera",
                "Pregunta difícil. Espera.", "apenas un minuto:" },
            "Oráculo de la respuesta - le pido por favor",
            "haga su pregunta",
            "éste es mi amigo cansado...",
            "estos ojos entran profundamente en su alma...",
            "usted será mi esclavo...",
            "Cuidado. La muerte te dará sus respuestas...",
            "Éste es el ojo que ve todo y sabe todo...",
            "Adios. Le veré en el infierno...",
            { "Usted", "Usted" },
            { "repita", "r epita" },
            { "exit", "e xit" },
            { "cambiar voz", "c ambiar voz" },
            { "consejo", "c onsejo" },
        },
        { "Mudar voz", "Arquivo", "Sair", "Ajuda", "Sobre", "Opções" },
        { "Pregunta al oráculo", "Frase de prueba", "Voz del oráculo" },
        { "Soy el oráculo que ve todo y sabe todo.", "Tono", "Velocidad", "Como estas?" },
        { "es", "Notas", "Respuesta", "enviar", "ninguna respuesta armada", "armada", "dicha",
            "no enviada", "preguntó", "esperando", "rechazar", "Quorvel: respuesta remota",
            "Abra esta dirección en el teléfono, en la misma red:",
            "La respuesta remota no pudo empezar:" },
        { { "Sí", "No", "Quizás", "Sin duda", "Jamás", "Pregunte de nuevo más tarde" } },
    },
    {
        "Deutsch",
        {
            { "Du bist nicht mein Meister! Ich antworte nicht.",
                "Ich kenne die Antwort, aber dir verrate ich sie nicht.",
                "Deine Frage ist zu verwickelt. Ich antworte erst morgen. ",
                "Ich bin müde und gehe schlafen. Gute Nacht!",
                "Mein Lohn ist viel zu niedrig. Ich streike!",
                "Ich will nicht mehr spielen. Geh weg." },
            { "Ich denke nach!", "Warte:", "Warte einen Augenblick!",
                "Warte, während ich mich sammle", "Eine schwierige Frage. Warte.",
                "Einen Moment:" },
            "Antworte mir, Orakel - ich flehe dich an:",
            "Stell deine Frage",
            "das ist mein Freund, der Faulpelz...",
            "Diese Augen blicken tief in deine Seele...",
            "Dieser Blick wird dein ganzes Wesen beherrschen...",
            "Vorsicht. Der Tod wird dir die Antworten geben...",
            "Das ist das Auge, das alles sieht und alles weiß...",
            "Lebe wohl. Wir sehen uns in der Hölle...",
            { "du", "du" },
            { "wiederhole", "w iederhole" },
            { "exit", "e xit" },
            { "stimme ändern", "s timme ändern" },
            { "ratschlag", "r atschlag" },
        },
        { "Stimme ändern", "Datei", "Beenden", "Hilfe", "Über", "Optionen" },
        { "Frage an das Orakel", "Probesatz", "Die Stimme des Orakels" },
        { "Ich bin das Orakel, das alles sieht und alles weiß.", "Tonhöhe", "Tempo",
            "Wie geht es dir?" },
        { "de", "Notizen", "Antwort", "senden", "keine Antwort bereit", "bereit", "gesprochen",
            "nicht gesendet", "gefragt", "wartet", "ablehnen", "Quorvel: Antwort aus der Ferne",
            "Öffnen Sie diese Adresse auf dem Telefon, im selben Netzwerk:",
            "Die Antwort aus der Ferne konnte nicht starten:" },
        { { "Ja", "Nein", "Vielleicht", "Ganz sicher", "Niemals", "Frag später noch einmal" } },
    },
};

}

std::size_t languageCount()
{
    return std::size(kLanguageTable);
}

std::optional<std::size_t> languageColumn(int lingua)
{
    if (lingua < 0 || lingua >= int(languageCount()))
        return std::nullopt;
    return std::size_t(lingua);
}

std::size_t columnOrPortuguese(int lingua)
{
    return languageColumn(lingua).value_or(0);
}

const LanguageRecord* languageRecord(int lingua)
{
    const std::optional<std::size_t> column = languageColumn(lingua);
    return column ? &kLanguageTable[*column] : nullptr;
}
