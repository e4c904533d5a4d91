#include "HotSpot.h"

#include <QMouseEvent>

HotSpot::HotSpot(QWidget* parent)
    : QLabel(parent)
{
    setMouseTracking(true);
}

void HotSpot::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    event->accept();
}
