#pragma once

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPointF>
#include <QWidget>

// The oracle's photograph with a drawing layer on top: circles drawn into the layer show at
// once, and clearing the layer leaves the photograph intact.
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
    QList<Ring> m_rings;
};
