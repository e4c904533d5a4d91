#pragma once

#include <QImage>
#include <QList>

// A looping animation: frames of one size shown one after the other, then from the start again.
struct Animation {
    QList<QImage> frames;
    int delayCentiseconds = 10;
};
