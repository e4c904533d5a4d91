#pragma once

#include <QByteArray>
#include <QString>

// What the performer reads, on the phone's page and in the operator window, in the interface
// language (0 Portuguese, 1 English, 2 French, 3 Spanish).
struct RemoteTexts {
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

// The phone's page with its texts filled in.
QByteArray remotePage(int language);
