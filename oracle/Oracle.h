#pragma once

#include "LanguageTables.h"
#include "PetitionState.h"
#include "PhoneWait.h"

#include <QString>

#include <optional>

class Random;

// What a question asks for once Enter is pressed.
enum class Command {
    Answer, // deliver the hidden answer, or a refusal
    Exit, // say goodbye and end
    ChangeVoice, // open the voice window
    Consult, // open the I Ching consultation
};

// What the window does for one key press.
struct KeyDownReply {
    bool click = false; // play the key click
    std::optional<Command> command; // only for Enter
};

// The spots of the stage that speak when the pointer passes over them.
enum class Spot { Friend, Eyes, Gaze, Death, Eye };

// The trick's rules, with no widget. How the pieces fit:
//  - the petition box forwards its key events (keyDown, keyPress, keyUp) here; the oracle keeps
//    the hidden answer and tells the box what to show;
//  - on Enter, keyDown reads the question for keywords (in the current language, looked for
//    only in the question, never in the petition disguise) and answers with a Command;
//  - an answer is delivered in steps that Delivery walks on the stage, waiting for speech
//    between them as it must: waitingPhrase() (none on the quick road), pause(), answer(),
//    refused(), answered();
//  - a question with no answer captured or armed, asked while the performer's phone listens
//    and not on the quick road, takes the full road instead of the quick refusal: after the
//    waiting phrase and the orb, Delivery asks waitForPhone() what to do until the phone
//    answers, refuses, or the time runs out; then the usual pause and the answer (or the quick
//    pause and a refusal);
//  - hot spots speak one phrase, then stay quiet until re-armed.
// Every random choice is drawn here, in the order the window would have drawn it.
// The delivery never asks where the hidden answer came from: a typed capture and an answer
// handed in by another road (arm) are delivered alike. An armed answer is remembered only to
// tell its sender whether it was spoken or replaced.
class Oracle {
public:
    // The silence before an answer: drawn afresh from this range, or the quick one.
    static constexpr int kShortestPauseMs = 1000;
    static constexpr int kLongestPauseMs = 3000;
    static constexpr int kQuickPauseMs = 500;

    Oracle(const LanguageTexts& texts, Random& random);

    // Keyboard. keyPress is true when its comma dropped an armed answer.
    KeyDownReply keyDown(int vk, const QString& boxText);
    bool keyPress(QChar ch);
    std::optional<QString> keyUp(int vk, const QString& boxText);

    // An answer handed in by another road than the keyboard.
    void arm(const QString& answer);

    // Whether a phone holds the remote page open and can answer an uncaptured question.
    void setPhoneListening(bool listening) { m_phoneListening = listening; }
    // The phone asks for a refusal; heard only while the delivery waits for it.
    void refuseNow();
    // While the delivery waits for the phone: its answer or its refusal is in.
    bool phoneHasSpoken() const;

    // Delivery, in this order. After answer(), armedFate() tells whether it spoke the armed
    // answer, or dropped it for another text.
    std::optional<QString> waitingPhrase();
    // After the orb: true while the delivery waits for the phone, then stepped by
    // waitForPhone() on the caller's clock until it answers Answer or Refuse.
    bool waitsForPhone() const { return m_phoneWait.has_value(); }
    PhoneWait::Next waitForPhone(qint64 nowMs);
    int pause();
    QString answer();
    PetitionState::Armed armedFate() const { return m_armedFate; }
    bool refused() const;
    void answered();

    // Hot spots: the phrase to speak now, if any.
    std::optional<QString> hotSpot(Spot spot, bool speaking);
    void rearm();

    const PetitionState& petition() const { return m_petition; }

private:
    Command readQuestion(const QString& boxText);
    bool contem(const QString& q, const QString (&forms)[2]) const;

    const LanguageTexts& m_texts;
    Random& m_random;
    PetitionState m_petition;
    bool m_resposta_rapida = false;
    QString m_ultima_resposta;
    bool m_ja_falou = false;
    int m_waitingIndex = 0; // r, drawn at every key press
    int m_refusalIndex = 0; // k, drawn for every answer
    PetitionState::Armed m_armedFate = PetitionState::Armed::None;
    bool m_phoneListening = false;
    bool m_refusalAsked = false;
    std::optional<PhoneWait> m_phoneWait;
};
