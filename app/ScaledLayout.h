#pragma once

#include "StageScale.h"

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class QLabel;
class QWidget;

// Widgets laid out in the pixels of a fixed design (the stage's, or those of a window drawn
// beside it), shown at a scale: each keeps its design place, the font it was given and its
// still picture, and is shown at the scale of the moment. Whatever moves one later moves it
// here, in design pixels. Fonts are those the widgets have when the scale first changes.
class ScaledLayout {
public:
    // Shows `widget` at `design`, now and at every change of scale.
    void place(QWidget* widget, const QRect& design);
    // Shows a picture label at `design`, holding the still picture `picture` (see stagePicture).
    void place(QLabel* label, const QRect& design, const QString& picture);
    // A window drawn at `design` size: its size and font follow the scale; where it stands is
    // left to whoever places it.
    void fit(QWidget* window, QSize design);
    // Moves a placed widget to `design`, keeping its size.
    void move(QWidget* widget, QPoint design);
    // Where a placed widget stands, in design pixels.
    QRect designRect(const QWidget* widget) const;

    void setScale(const StageScale& scale);
    const StageScale& scale() const { return m_scale; }

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect design;
        QString picture; // a picture label's still picture
        bool window = false; // sized only
        std::optional<QFont> font; // a font of its own, at the design's size
    };

    void add(Placed placed);
    static void remember(Placed& placed);
    void show(const Placed& placed) const;
    Placed* find(const QWidget* widget);

    StageScale m_scale;
    std::vector<Placed> m_placed;
};
