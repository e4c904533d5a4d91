#include "OrbCanvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// One pixel of frame, as the picture box had, around the photograph.
constexpr QPoint kPhotoAt { 1, 1 };

}

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

void OrbCanvas::setMouths(const QList<QPixmap>& mouths, QPoint at)
{
    m_mouths = mouths;
    m_mouthRect = QRect(kPhotoAt + at, mouths.value(0).size());
    update(m_mouthRect);
}

void OrbCanvas::showMouth(MouthShape shape)
{
    if (shape == m_mouth)
        return;
    m_mouth = shape;
    update(m_mouthRect);
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
    p.drawPixmap(kPhotoAt, m_photo);
    // Rest is the photograph itself.
    if (m_mouth != MouthShape::Rest)
        p.drawPixmap(m_mouthRect.topLeft(), m_mouths.value(int(m_mouth)));
    p.setBrush(Qt::NoBrush);
    for (const Ring& ring : m_rings) {
        p.setPen(QPen(ring.colour, 1));
        p.drawEllipse(ring.centre, ring.radius, ring.radius);
    }
}
