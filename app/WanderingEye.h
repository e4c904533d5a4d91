#pragma once

#include <QObject>

class QWidget;
class Random;
class StageView;
class Timer;

// The eye that wanders over the stage while the operator types: `Timer1` moves it to a place
// drawn at random; Enter parks it out of sight, and an answer sends it home to its corner.
class WanderingEye : public QObject {
    Q_OBJECT
public:
    // The eye moves in stage pixels, through the view that shows the stage.
    WanderingEye(QWidget& eye, StageView& view, Random& random, QObject* parent);

    void Timer1_Timer();
    // A key goes down: the eye starts from home and wanders.
    void startWandering();
    // A character is typed: the eye shows and wanders on, without restarting its count.
    void keepWandering();
    // A key comes up.
    void show();
    // Enter: still and out of sight.
    void park();
    void goHome();

private:
    QWidget& m_eye; // Picture3
    StageView& m_view;
    Random& m_random;
    Timer* Timer1;
};
