#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// How the petition box is collecting keys.
enum class CaptureMode {
    Normal, // what is typed shows as typed
    Capturing, // what is typed goes into the hidden answer; the box shows the petition phrase
    JustEnded, // a full stop was typed; its release ends capture
};

// The hidden-answer trick as plain state:
//  - a comma starts capture: every character typed is collected into `resposta` unseen, while
//    each key release shows one more character of the petition phrase instead;
//  - a full stop ends capture: on its release it is replaced by the next petition character;
//  - what follows (the question) is shown as typed.
class PetitionState {
public:
    CaptureMode modo_secreto = CaptureMode::Normal;
    qint16 pos_pedido = 0;
    QString resposta;

    // A character reached the box.
    void keyPress(QChar ch);

    // A key was released with the box holding `boxText`; returns the text the box must show
    // now, or nothing when it stays as it is.
    std::optional<QString> keyUp(int vk, const QString& boxText, const QString& frase_pedido);

    // The part of the box that is the question: what follows the revealed petition phrase,
    // which is disguise and may hold words that read as keywords ("you", "vous").
    QString question(const QString& boxText, const QString& frase_pedido) const;

    // After an answer: nothing collected, nothing revealed; capture mode is left as it was.
    void reset();

private:
    void advance();
};
