#pragma once

#include "LanguageTables.h"
#include "RemoteTexts.h"

// What the stage says, shows and matches in one language: the refusals, the waiting phrases,
// the petition phrase, the invitation, the hot spots' phrases, the farewell, and the keyword
// pairs (the word, and the word with a blank after its first letter).
struct StagePhrases {
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

// The phone's page and the operator window in one language (RemoteTexts, as written).
struct PhonePageTexts {
    const char* lang;
    const char* pageTitle;
    const char* answerLabel;
    const char* send;
    const char* idle;
    const char* armed;
    const char* spoken;
    const char* notSent;
    const char* asked;
    const char* waiting;
    const char* refuse;
    const char* operatorTitle;
    const char* scanHint;
    const char* unavailable;
};

// Every text of one interface language, in one record.
struct LanguageRecord {
    const char* name; // its item in the language menu, in its own language
    StagePhrases stage;
    MenuCaptions menus;
    WidgetDescriptions descriptions;
    VoiceWindowTexts voiceWindow;
    PhonePageTexts phone;
    ReadyAnswers ready;
};

// The record of `lingua`, or nullptr for an index outside the table (languageColumn's rule).
const LanguageRecord* languageRecord(int lingua);
