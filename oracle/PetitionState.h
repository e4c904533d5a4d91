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
// An answer armed from outside (the performer's phone) stands for a captured one: it ends
// capture, so the question shows as typed, and a comma typed after it starts a fresh capture
// that replaces it (the latest wins).
class PetitionState {
public:
    // What became of an armed answer when a delivery began.
    enum class Armed { None, Spoken, Dropped };

    CaptureMode modo_secreto() const { return m_modo_secreto; }
    // How many characters of the petition phrase the box has shown.
    qint16 pos_pedido() const { return m_pos_pedido; }
    // What the delivery will speak: the hidden answer, until the delivery begins.
    const QString& resposta() const { return m_resposta; }
    // Nothing was collected: the hidden answer is empty or a lone blank.
    bool semResposta() const;

    // A character reached the box; true when its comma dropped an armed answer.
    bool keyPress(QChar ch);

    void arm(const QString& answer);
    bool armed() const { return m_armed.has_value(); }
    // The repeat keyword: the last answer takes the place of whatever was collected.
    void repeat(const QString& ultima_resposta);
    // The delivery is about to speak `resposta`, or `recusa` in its place when nothing was
    // collected: was it the armed answer, or did something else take its place?
    Armed deliver(const QString& recusa);

    // A key was released with the box holding `boxText`; returns the text the box must show
    // now, or nothing when it stays as it is.
    std::optional<QString> keyUp(int vk, const QString& boxText, const QString& frase_pedido);

    // The part of the box that is the question: what follows the revealed petition phrase,
    // which is disguise and may hold words that read as keywords ("you", "vous").
    QString question(const QString& boxText, const QString& frase_pedido) const;

    // After an answer: nothing collected, nothing revealed; capture mode is left as it was. An
    // answer armed while the last one was spoken waits for the next question.
    void reset();

private:
    void advance();

    CaptureMode m_modo_secreto = CaptureMode::Normal;
    qint16 m_pos_pedido = 0;
    QString m_resposta;
    std::optional<QString> m_armed;
};
