#pragma once

#include "MouthShape.h"
#include "StageScale.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPointF>
#include <QStringList>
#include <QWidget>

// The oracle's photograph with a drawing layer on top: circles drawn into the layer show at
// once, and clearing the layer leaves the photograph intact. The photograph's mouth moves:
// each shape but Rest has a picture of the mouth, a crop of the same face, shown over the
// photograph and under the layer, so the rings always stay on top. Everything is given in
// stage pixels and drawn for the device pixels the canvas covers: at one device pixel per stage
// pixel exactly as the pictures are, otherwise resampled, the rings antialiased.
class OrbCanvas : public QWidget {
    Q_OBJECT
public:
    struct Ring {
        QPointF centre;
        double radius;
        QColor colour;
    };

    explicit OrbCanvas(QWidget* parent = nullptr);

    // The still pictures (see stagePicture), by their paths.
    void setPhoto(const QString& photo);
    void setScale(const StageScale& scale);
    // One picture per mouth shape, in the order of mouth::Shape, and where the pictures sit on
    // the photograph.
    void setMouths(const QStringList& mouths, QPoint at);
    // Repaints the mouth alone, and only when the shape changes.
    void showMouth(MouthShape shape);
    MouthShape mouth() const { return m_mouth; }
    // The canvas's size in stage pixels.
    QSizeF stageSize() const { return QSizeF(size()) / m_scale.scale(); }
    // Where the mouth is, in the canvas's stage pixels.
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
    void showPictures();
    const QPixmap& shownMouth();

    StageScale m_scale;
    QString m_photo;
    QStringList m_mouths;
    // The photograph and the mouths as the scale shows them (a mouth once it has shown).
    QPixmap m_shownPhoto;
    QList<QPixmap> m_shownMouths;
    QRect m_mouthRect;
    MouthShape m_mouth = MouthShape::Rest;
    QList<Ring> m_rings;
};
