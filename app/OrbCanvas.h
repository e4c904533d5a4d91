#pragma once

#include "MouthShape.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPointF>
#include <QWidget>

// The oracle's photograph with a drawing layer on top: circles drawn into the layer show at
// once, and clearing the layer leaves the photograph intact. The photograph's mouth moves:
// each shape but Rest has a picture of the mouth, a crop of the same face, shown over the
// photograph and under the layer, so the rings always stay on top.
class OrbCanvas : public QWidget {
    Q_OBJECT
public:
    struct Ring {
        QPointF centre;
        double radius;
        QColor colour;
    };

    explicit OrbCanvas(QWidget* parent = nullptr);

    void setPhoto(const QPixmap& photo);
    // One picture per mouth shape, in the order of mouth::Shape, and where the pictures sit on
    // the photograph.
    void setMouths(const QList<QPixmap>& mouths, QPoint at);
    // Repaints the mouth alone, and only when the shape changes.
    void showMouth(MouthShape shape);
    MouthShape mouth() const { return m_mouth; }
    // Where the mouth is, in the canvas.
    QRect mouthRect() const { return m_mouthRect; }
    // Draws one circle outline and paints it before returning.
    void circle(QPointF centre, double radius, const QColor& colour);
    // Clears the drawing layer.
    void cls();
    const QList<Ring>& rings() const { return m_rings; }

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_photo;
    QList<QPixmap> m_mouths;
    QRect m_mouthRect;
    MouthShape m_mouth = MouthShape::Rest;
    QList<Ring> m_rings;
};
