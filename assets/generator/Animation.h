#pragma once

#include <QImage>
#include <QList>

#include <functional>

// A looping animation: frames of one size shown one after the other, then from the start again.
struct Animation {
    QList<QImage> frames;
    int delayCentiseconds = 10;
};

// The animation of frames 0 .. frameCount - 1, each drawn by drawFrame from its number.
inline Animation animate(
    int frameCount, int delayCentiseconds, const std::function<QImage(int frame)>& drawFrame)
{
    Animation animation;
    animation.delayCentiseconds = delayCentiseconds;
    for (int frame = 0; frame < frameCount; ++frame)
        animation.frames << drawFrame(frame);
    return animation;
}
