#pragma once

class SpeechEngine;

// What a window opened over the oracle's stage may ask of it, and nothing more: it speaks with
// the oracle's own voice (and listens to that voice's word events), lights the orb, and hands
// the keyboard back to an empty petition box when it leaves.
class OracleStage {
public:
    virtual ~OracleStage() = default;

    virtual SpeechEngine& voice() = 0;
    virtual void acende_bola() = 0;
    virtual void returnKeyboard() = 0;

    // Where the stage stands, for a window that places itself by it: the top of its frame and
    // the left of its first animation, and the top left corner of the screen it is on, all in
    // pixels.
    struct Place {
        int frameTop = 0;
        int firstAnimationLeft = 0;
        int screenLeft = 0;
        int screenTop = 0;
    };
    virtual Place place() const = 0;
};
