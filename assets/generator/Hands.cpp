#include "PointerHotSpots.h"
#include "generator/Palette.h"
#include "generator/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace pictures {

namespace {

    // Bony, candle-lit fingers with a dark outline so the pointer reads on black and on orange.
    QImage drawHand(const QPainterPath& shape, const QList<QLineF>& creases)
    {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient flesh(0, 0, 0, 32);
        flesh.setColorAt(0.0, palette::bone.lighter(110));
        flesh.setColorAt(1.0, QColor(196, 150, 104));
        painter.setPen(QPen(QColor(20, 8, 4), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(flesh);
        painter.drawPath(shape);
        painter.setPen(QPen(QColor(120, 80, 50), 0.9, Qt::SolidLine, Qt::RoundCap));
        for (const QLineF& crease : creases)
            painter.drawLine(crease);
        return image;
    }

    QPainterPath finger(QPointF tip, qreal width, qreal length, qreal angle)
    {
        QPainterPath path;
        path.addRoundedRect(QRectF(-width / 2, 0, width, length), width / 2, width / 2);
        QTransform transform;
        transform.translate(tip.x(), tip.y());
        transform.rotate(angle);
        return transform.map(path);
    }

}

QImage handOpen()
{
    const QPointF tip = QPointF(kHandOpenHotSpot) + QPointF(0.5, 0.3);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9, 13, 15, 15), 5, 5);
    hand = hand.united(finger(tip, 4.2, 14, -4));
    hand = hand.united(finger(QPointF(16.6, 3.5), 4.2, 13, 2));
    hand = hand.united(finger(QPointF(21.0, 5.5), 4.0, 12, 9));
    hand = hand.united(finger(QPointF(25.0, 9.5), 3.6, 10, 16));
    hand = hand.united(finger(QPointF(4.0, 13.0), 4.2, 11, -48));
    return drawHand(hand.simplified(),
        { QLineF(12, 9, 12.4, 11), QLineF(16.5, 10, 16.6, 12), QLineF(20.5, 11, 20.6, 13) });
}

QImage handClosed()
{
    const QPointF middle(kHandClosedHotSpot);
    QPainterPath fist;
    fist.addRoundedRect(QRectF(middle.x() - 8, middle.y() - 6, 16, 16), 6, 6);
    for (int knuckle = 0; knuckle < 4; ++knuckle)
        fist.addEllipse(QPointF(middle.x() - 6 + knuckle * 4, middle.y() - 6), 2.4, 2.6);
    fist = fist.united(finger(QPointF(middle.x() - 8.5, middle.y() + 1), 4.2, 8, -80));
    return drawHand(fist.simplified(),
        { QLineF(middle.x() - 4, middle.y() - 5, middle.x() - 4, middle.y() - 1),
            QLineF(middle.x(), middle.y() - 5, middle.x(), middle.y() - 1),
            QLineF(middle.x() + 4, middle.y() - 5, middle.x() + 4, middle.y() - 1) });
}

}
