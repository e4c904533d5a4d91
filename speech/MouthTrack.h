#pragma once

#include "MouthShape.h"

#include <QList>
#include <QtGlobal>

#include <optional>

namespace mouth {

// Turns the phonemes of one utterance, as the synthesizer reports them, into the changes of
// mouth worth showing. The eye cannot follow every sound: a sound too short to see (under
// kShortestMs) leaves the mouth as it was, and so does a pause between words shorter than
// kPauseMs, while a longer pause closes it. When the utterance ends the mouth rests, at the end
// of its last sound.
//
// Times are audio frames counted from the utterance's start. Phonemes come in the order they
// are heard, each with the frame its sound starts on, and are only known once synthesized; so
// a change is settled once the sound after its start is long enough to prove it, and
// settledUntil() tells how far the keys given so far are final: the synthesizer holds back the
// sound from there, so no change is ever placed in sound already handed on.
class Track {
public:
    static constexpr int kShortestMs = 40;
    static constexpr int kPauseMs = 150;

    struct Key {
        qint64 frame;
        Shape shape;
        friend bool operator==(const Key&, const Key&) = default;
    };

    explicit Track(int framesPerSecond);

    // A phoneme whose sound starts at `frame`, showing `shape`; Rest for a pause.
    void phoneme(qint64 frame, Shape shape);
    // The changes settled now that sound has been synthesized up to `produced`.
    QList<Key> takeSettled(qint64 produced);
    // Every change before this frame, never beyond `produced`, has been given by
    // takeSettled(produced).
    qint64 settledUntil(qint64 produced) const;
    // The utterance ended at `end`: the last changes, closing with Rest.
    QList<Key> finish(qint64 end);

private:
    qint64 framesOf(int ms) const;
    qint64 neededFor(Shape shape) const;
    void settle(qint64 until);

    struct Candidate {
        qint64 frame;
        Shape shape;
    };

    int m_framesPerSecond;
    Shape m_shown = Shape::Rest;
    std::optional<Candidate> m_candidate; // differs from m_shown, not yet long enough
    QList<Key> m_settled;
};

}
