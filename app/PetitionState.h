#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The hidden-answer trick as plain state, with no widgets:
//  - a comma starts capture: every character typed is collected into `resposta` unseen, while
//    each key release shows one more character of the petition phrase instead;
//  - a full stop ends capture: on its release it is replaced by the next petition character;
//  - what follows (the question) is shown as typed.
// The main window feeds it the key events and shows the box text it hands back.
class PetitionState {
public:
    enum Modo : qint16 { Normal = 0, Capturando = 1, FimCaptura = 2 };

    qint16 modo_secreto = Normal;
    qint16 pos_pedido = 0;
    QString resposta;

    // A character reached the box.
    void keyPress(QChar ch);

    // A key was released with the box holding `boxText`; returns the text the box must show
    // now, or nothing when it stays as it is.
    std::optional<QString> keyUp(int vk, const QString& boxText, const QString& frase_pedido);

    // After an answer: nothing collected, nothing revealed; capture mode is left as it was.
    void reset();

private:
    void advance();
};
