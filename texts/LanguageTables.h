#pragma once

#include "LanguageColumn.h"

#include <QString>
#include <QtGlobal>

// Every language-dependent text slot of the main window. Keyword pairs hold the word and the
// word with a blank after its first letter (how a word typed straight after an answer reads,
// since the box then starts with a blank); both forms are stored upper-cased.
struct LanguageTexts {
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

// Fills every slot from the record of `lingua`; an index outside the table changes nothing.
void muda_lingua(qint16 lingua, LanguageTexts& texts);

// The main window's title and the petition box's tip, the same in every language.
struct StageTexts {
    const char* title;
    const char* petitionTip;
};
extern const StageTexts kStageTexts;

// Menu captions of the main window for one language.
struct MenuCaptions {
    const char* menuOpcoesVoz;
    const char* menuArquivo;
    const char* menuArquivoSair;
    const char* menuHelp;
    const char* menuHelpAbout;
    const char* menuOpcoes;
};

// Captions for `lingua`, or nullptr outside the table (the menus then keep what they show).
const MenuCaptions* menuCaptions(qint16 lingua);

// The captions the menus are built with, until a language replaces them; they stay where the
// language is outside the table. They are no language's: "Help" is English among Portuguese.
extern const MenuCaptions kDesignMenuCaptions;

// The caption of the language item `lingua` (0 .. languageCount() - 1): each language is named
// in its own, whatever the interface language.
QString languageName(std::size_t lingua);

// What the windows tell a screen reader where they show no caption of their own, and the voice
// window's title, for one language.
struct WidgetDescriptions {
    const char* petitionBox;
    const char* trialSentence;
    const char* voiceWindowTitle;
};

// Descriptions for `lingua`, or nullptr outside the table (the widgets then keep what they say).
const WidgetDescriptions* widgetDescriptions(qint16 lingua);

// The voice window's texts for one language: the trial sentence, the captions of the pitch and
// speed bars, and what "Falar" says when the trial box is empty.
struct VoiceWindowTexts {
    const char* frase;
    const char* tom;
    const char* velocidade;
    const char* pergunta;
};

// Texts for `lingua`, or nullptr outside the table (the window then keeps its design texts).
const VoiceWindowTexts* voiceWindowTexts(qint16 lingua);

// The voice window as laid out, in Portuguese: the captions and tips of the list and the bars,
// the buttons, and the trial sentence where the language has none. Only the pitch and speed
// captions and the trial sentence change with the language.
struct VoiceWindowDesign {
    const char* voices;
    const char* voicesTip;
    const char* pitch;
    const char* pitchTip;
    const char* speed;
    const char* speedTip;
    const char* speak;
    const char* apply;
    const char* leave;
    const char* neutralSentence;
};
extern const VoiceWindowDesign kVoiceWindowDesign;

// What the voice window shows when no voice is installed, in every language.
extern const char* const kNoVoiceNotice;

// The I Ching window speaks Portuguese whatever the interface language: its phrases, its title,
// its exit caption and what a screen reader says for the widgets without a caption. Every stick
// sounds the same, as every stick in the bundle looks the same.
struct IchingTexts {
    const char* opening;
    const char* afterReading;
    const char* withoutReading;
    const char* title;
    const char* leave;
    const char* hexagramName;
    const char* advice;
    const char* stick;
};
extern const IchingTexts kIchingTexts;
