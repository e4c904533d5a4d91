#pragma once

#include <QObject>

class QLabel;
class Timer;

// The blinking face: `Timer2` shows and hides the face's close crop over the photograph, the
// two intervals taken in turn. Held, the crop stays shown and the face still.
class Blink : public QObject {
    Q_OBJECT
public:
    Blink(QLabel& crop, QObject* parent);

    // Loading starts the rhythm with the short interval.
    void start();
    void Timer2_Timer();
    // The face stops blinking, its crop shown, until resumed.
    void hold();
    // Blinking again, the crop hidden.
    void resume();

private:
    QLabel& m_crop; // Picture4
    Timer* Timer2;
};
