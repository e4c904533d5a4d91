#include "OrbCanvas.h"

#include <QMouseEvent>
#include <QPainter>

OrbCanvas::OrbCanvas(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void OrbCanvas::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    event->accept();
}

void OrbCanvas::setPhoto(const QPixmap& photo)
{
    m_photo = photo;
    update();
}

void OrbCanvas::circle(QPointF centre, double radius, const QColor& colour)
{
    m_rings.append({ centre, radius, colour });
    repaint();
}

void OrbCanvas::cls()
{
    m_rings.clear();
    repaint();
}

void OrbCanvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    // One pixel of frame, as the picture box had, around the photograph.
    p.drawPixmap(1, 1, m_photo);
    p.setBrush(Qt::NoBrush);
    for (const Ring& ring : m_rings) {
        p.setPen(QPen(ring.colour, 1));
        p.drawEllipse(ring.centre, ring.radius, ring.radius);
    }
}
