#pragma once

#include <QString>
#include <QtGlobal>

// Every language-dependent text slot of the main window. Keyword pairs hold the word and the
// word with a blank after its first letter (how a word typed straight after an answer reads,
// since the box then starts with a blank); both forms are stored upper-cased.
struct TextosIdioma {
    QString frases_recusa[6];
    QString frases_espera[11]; // room for 11, six filled
    QString frase_pedido;
    QString frase_pergunta;
    QString frase_amigo;
    QString frase_olhos;
    QString frase_olhar;
    QString frase_morte;
    QString frase_olho;
    QString frase_despedida;
    QString palavras_voce[2];
    QString palavras_repita[2];
    QString palavras_exit[2];
    QString palavras_mudar_voz[2];
    QString palavras_conselho[2];
};

// Fills every slot from the column of `lingua` (0 Portuguese, 1 English, 2 French, 3 Spanish);
// any other index changes nothing.
void muda_lingua(qint16 lingua, TextosIdioma& textos);

// Menu captions of the main window for one language.
struct LegendasMenu {
    const char* menuOpcoesVoz;
    const char* menuArquivo;
    const char* menuArquivoSair;
    const char* menuHelp;
    const char* menuHelpAbout;
    const char* menuOpcoes;
};

// Captions for `lingua`, or nullptr outside 0..3 (the menus then keep what they show).
const LegendasMenu* legendasMenu(qint16 lingua);

// What the windows tell a screen reader where they show no caption of their own, and the voice
// window's title, for one language.
struct WidgetDescriptions {
    const char* petitionBox;
    const char* trialSentence;
    const char* voiceWindowTitle;
};

// Descriptions for `lingua`, or nullptr outside 0..3 (the widgets then keep what they say).
const WidgetDescriptions* widgetDescriptions(qint16 lingua);
