#pragma once

class QPoint;
class QWidget;
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

    // Puts a window the stage opened where the window system lets it stand, never over the
    // petition box: at `wanted` on the screen (or just below the box), or, where it is a panel
    // inside the stage, beneath the box.
    virtual void placeWindow(QWidget& window, const QPoint& wanted) = 0;
    // Shows a window the stage opened in front, with the keyboard.
    virtual void present(QWidget& window) = 0;
};
