#include "LanguageTables.h"

namespace {

struct Column {
    const char* recusa[6];
    const char* espera[6];
    const char* pedido;
    const char* pergunta;
    const char* amigo;
    const char* olhos;
    const char* olhar;
    const char* morte;
    const char* olho;
    const char* despedida;
    const char* voce[2];
    const char* repita[2];
    const char* exit[2];
    const char* mudar_voz[2];
    const char* conselho[2];
};

const Column kColumns[kLanguages] = {
    { // Portuguese
        { "Você não é o meu quorvel! Não respondo.", "Sei a resposta mas não falo para você.",
            "Sua pergunta é complicada. Só respondo amanhã. ",
            "Estou cansado. Vou dormir. Boa noite!", "Meu salario é muito baixo. Estou de greve",
            "Não quero mais brincar. Vá embora." },
        { "Vou pensar!", "Aguarde:", "Espere um pouco!", "Espere enquanto me concentro",
            "Pergunta difícel. Espere", "Um instante:" },
        "Responda Oráculo - Por favor, por favor:", "Faça sua pergunta",
        "este é o meu amigo bahiano...", "Estes olhos veêm no fundo de sua alma...",
        "Este olhar vai dominar o teu ser...", "Cuidado. A morte vai te dar as respostas...",
        "Este é o olho que tudo vê e tudo sabe...", "Até logo. Vejo você no inferno...",
        { "você", "voce" }, { "repita", "r epita" }, { "exit", "e xit" },
        { "mudar voz", "m udar voz" }, { "conselho", "c onselho" } },
    { // English
        { "You are not my master! I will not answer.",
            "I know the answer but I won't say it for you.",
            "Your question is very complex. I will answer it tomorrow. ",
            "I am tired and will sleep. Good night!", "My salary is very low. I am on strike",
            "I don't want to play any more. Go away." },
        { "I will thing !", "wait", "wait a while!", "I am concentrating. wait",
            "difficult question. wait", "just a minute:" },
        "Answer Oracle - Please I beg you", "make your question",
        "this is my friend from new orleans...", "these eyes goes deep in your soul...",
        "You will be my slave...", "Take care. The dead will give your answers...",
        "This is the eye that sees every thing and knows everything...",
        "Good by. See you in the hell...", { "you", "you" }, { "repeat", "r epeat" },
        { "exit", "e xit" }, { "change voice", "c hange voice" }, { "advice", "a dvice" } },
    { // French
        { "Vous n'êtes pas mon maître ! Je ne répondrai pas.",
            "Je connais la réponse mais moi ne la dirai pas pour vous.",
            "Votre question est très complexe. Je lui répondrai demain. ",
            "Je suis fatigué et dormirai. Bonne nuit !",
            "Mon salaire est très bas. Je suis en grève",
            "Je ne veux pas jouer davantage. Allez-vous -en." },
        { "Je penserai !", "Attente", "attendez un moment !", "Je concentre l'attente",
            "Question difficile. Attente.", "Juste une minute :" },
        "Oracle de réponse - Je vous prie", "make your question", "c'est mon ami paresseux...",
        "Ces yeux entre profondément dans votre âme...", "Vous serez mon slave...",
        "Les morts donneront vos réponses...", "C'est l'oeil qui voit tout et sait tout...",
        "Arrevois. Voyez-vous dans l'enfer...", { "vous", "vous" }, { "répéter", "r épéter" },
        { "exit", "e xit" }, { "changez voix", "c hangez voix" }, { "conseil", "c onseil" } },
    { // Spanish
        { "Usted no es mi amo! No contestaré.",
            "Conozco a la respuesta pero a me no la diré para usted.",
            "Su pregunta es muy compleja. Le contestaré mañana. ",
            "Soy cansado y dormiré. Buenas noches", "Mi sueldo es muy bajo. Estoy en huelga ",
            "No deseo jugar más. Salga." },
        { "Pensaré!", "espera", "espere un rato!", "Estoy concentrando espera",
            "Pregunta difícil. Espera.", "apenas un minuto:" },
        "Oráculo de la respuesta - le pido por favor", "haga su pregunta",
        "éste es mi amigo cansado...", "estos ojos entran profundamente en su alma...",
        "usted será mi esclavo...", "Cuidado. La muerte te dará sus respuestas...",
        "Éste es el ojo que ve todo y sabe todo...", "Adios. Le veré en el infierno...",
        { "Usted", "Usted" }, { "repita", "r epita" }, { "exit", "e xit" },
        { "cambiar voz", "c ambiar voz" }, { "consejo", "c onsejo" } },
};

const MenuCaptions kMenuCaptions[kLanguages] = {
    { "Mudar voz", "Arquivo", "Sair", "Ajuda", "Sobre", "Opções" },
    { "Change Voice", "File", "Exit", "Help", "About", "Options" },
    { "Changez Voix", "Arquivo", "Sortie", "Ajuda", "Sobre", "Opções" },
    { "Mudar voz", "Arquivo", "Sair", "Ajuda", "Sobre", "Opções" },
};

const WidgetDescriptions kDescriptions[kLanguages] = {
    { "Pergunta ao oráculo", "Frase de ensaio", "Voz do oráculo" },
    { "Question to the oracle", "Trial sentence", "The oracle's voice" },
    { "Question à l'oracle", "Phrase d'essai", "La voix de l'oracle" },
    { "Pregunta al oráculo", "Frase de prueba", "Voz del oráculo" },
};

const VoiceWindowTexts kVoiceWindowTexts[kLanguages] = {
    { "Eu sou o Oráculo que tudo vê e tudo sabe.", "Tom", "Velocidade", "Como vai você?" },
    { "I am the Oracle who sees everything and know everything.", "Pitch", "Velocity",
        "How are you?" },
    { "Je suis l'oracle qui voient tout et savent tout.", "Pitch", "Vitesse",
        "Comment alle vouz?" },
    { "Soy el oráculo que ve todo y sabe todo.", "Tono", "Velocidad", "Como estas?" },
};

void palavras(QString (&slot)[2], const char* const (&forms)[2])
{
    for (int i = 0; i < 2; ++i)
        slot[i] = QString::fromUtf8(forms[i]).toUpper();
}

}

void muda_lingua(qint16 lingua, LanguageTexts& t)
{
    const Column* column = inLanguage(kColumns, lingua);
    if (!column)
        return;
    const Column& c = *column;
    for (int i = 0; i < 6; ++i) {
        t.frases_recusa[i] = QString::fromUtf8(c.recusa[i]);
        t.frases_espera[i] = QString::fromUtf8(c.espera[i]);
    }
    t.frase_pedido = QString::fromUtf8(c.pedido);
    t.frase_pergunta = QString::fromUtf8(c.pergunta);
    t.frase_amigo = QString::fromUtf8(c.amigo);
    t.frase_olhos = QString::fromUtf8(c.olhos);
    t.frase_olhar = QString::fromUtf8(c.olhar);
    t.frase_morte = QString::fromUtf8(c.morte);
    t.frase_olho = QString::fromUtf8(c.olho);
    t.frase_despedida = QString::fromUtf8(c.despedida);
    palavras(t.palavras_voce, c.voce);
    palavras(t.palavras_repita, c.repita);
    palavras(t.palavras_exit, c.exit);
    palavras(t.palavras_mudar_voz, c.mudar_voz);
    palavras(t.palavras_conselho, c.conselho);
}

const StageTexts kStageTexts = {
    "Quorvel,. Oráculo falante - contato: oraculo@quorvel.example",
    "Se quiser um conselho, digite CONSELHO",
};

const MenuCaptions* menuCaptions(qint16 lingua)
{
    return inLanguage(kMenuCaptions, lingua);
}

const MenuCaptions kDesignMenuCaptions
    = { "Mudar voz", "Arquivo", "Sair", "Help", "Sobre", "Opções" };

const char* const kLanguageNames[kLanguages] = { "Português", "English", "Française", "Español" };

const WidgetDescriptions* widgetDescriptions(qint16 lingua)
{
    return inLanguage(kDescriptions, lingua);
}

const VoiceWindowTexts* voiceWindowTexts(qint16 lingua)
{
    return inLanguage(kVoiceWindowTexts, lingua);
}

const VoiceWindowDesign kVoiceWindowDesign = {
    "Vozes disponíveis",
    "Vozes instaladas no seu sistema",
    "Tom",
    "Tom  (pitch) da voz",
    "Velocidade",
    "Velocidade da fala",
    "Falar",
    "Aplicar",
    "Sair",
    "1 2 3 4 5 6 7",
};

const char* const kNoVoiceNotice
    = "Você não tem nenhuma voz instalada. Instale o arquivo de voz que "
      "acompanha o jogo ou busque na Internet por Text-to-Speech Engines";

const IchingTexts kIchingTexts = {
    "Muito bem. Enquanto mentaliza sua dúvida, arraste 6 pauzinhos para o quadrado.",
    "Medite sôbre estas palavras e tudo dará certo.",
    "Porque você não perguntou nada?",
    "I Ching",
    "Sair",
    "Nome do hexagrama",
    "Conselho do oráculo",
    "Pauzinho",
};
