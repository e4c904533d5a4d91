#pragma once

#include <QString>

// What the performer reads, on the phone's page and in the operator window, in the interface
// language. Neither has texts of its own to keep, so a language outside the table reads
// Portuguese.
struct RemoteTexts {
    QString lang; // the page's language tag
    QString pageTitle;
    QString answerLabel;
    QString send;
    QString idle;
    QString armed;
    QString spoken;
    QString notSent;
    QString asked;
    QString waiting;
    QString refuse;
    QString operatorTitle;
    QString scanHint;
    QString unavailable;
};

const RemoteTexts& remoteTexts(int language);

// The answers the performer's phone offers in one tap, for one language, the commonest first.
struct ReadyAnswers {
    const char* answers[6];
};

const ReadyAnswers& readyAnswers(int language);
