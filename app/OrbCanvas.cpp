#include "OrbCanvas.h"

#include "StageView.h"

#include <QImageReader>
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

void OrbCanvas::setPhoto(const QString& photo)
{
    m_photo = photo;
    showPictures();
}

void OrbCanvas::setMouths(const QStringList& mouths, QPoint at)
{
    m_mouths = mouths;
    m_mouthRect = QRect(kPhotoAt + at, QImageReader(mouths.value(0)).size());
    showPictures();
}

void OrbCanvas::setScale(const StageScale& scale)
{
    m_scale = scale;
    showPictures();
}

void OrbCanvas::showPictures()
{
    m_shownPhoto = stagePicture(m_photo, m_scale);
    // Each mouth is made ready the first time it shows, not all of them at every change.
    m_shownMouths = QList<QPixmap>(m_mouths.size());
    update();
}

const QPixmap& OrbCanvas::shownMouth()
{
    static const QPixmap none;
    if (int(m_mouth) >= m_shownMouths.size())
        return none;
    QPixmap& shown = m_shownMouths[int(m_mouth)];
    if (shown.isNull())
        shown = stagePicture(m_mouths.at(int(m_mouth)), m_scale);
    return shown;
}

void OrbCanvas::showMouth(MouthShape shape)
{
    if (shape == m_mouth)
        return;
    m_mouth = shape;
    update(m_scale.toWindow(m_mouthRect));
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
    // The pictures are already drawn for the device: each lands on its own pixels.
    p.drawPixmap(m_scale.toWindow(kPhotoAt), m_shownPhoto);
    // Rest is the photograph itself.
    if (m_mouth != MouthShape::Rest)
        p.drawPixmap(m_scale.toWindow(m_mouthRect.topLeft()), shownMouth());
    p.scale(m_scale.scale(), m_scale.scale());
    p.setRenderHint(QPainter::Antialiasing, m_scale.density() != 1.0);
    p.setBrush(Qt::NoBrush);
    for (const Ring& ring : m_rings) {
        p.setPen(QPen(ring.colour, 1));
        p.drawEllipse(ring.centre, ring.radius, ring.radius);
    }
}
