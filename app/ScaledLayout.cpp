#include "ScaledLayout.h"

#include "StageView.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>

void ScaledLayout::place(QWidget* widget, const QRect& design)
{
    add({ widget, design, {}, false, {} });
}

void ScaledLayout::place(QLabel* label, const QRect& design, const QString& picture)
{
    add({ label, design, picture, false, {} });
}

void ScaledLayout::fit(QWidget* window, QSize design)
{
    add({ window, QRect(QPoint(), design), {}, true, {} });
}

void ScaledLayout::add(Placed placed)
{
    m_placed.push_back(std::move(placed));
    show(m_placed.back());
}

void ScaledLayout::move(QWidget* widget, QPoint design)
{
    if (Placed* placed = find(widget)) {
        placed->design.moveTopLeft(design);
        widget->move(m_scale.toWindow(design));
    }
}

QRect ScaledLayout::designRect(const QWidget* widget) const
{
    const Placed* placed = const_cast<ScaledLayout*>(this)->find(widget);
    return placed ? placed->design : QRect();
}

ScaledLayout::Placed* ScaledLayout::find(const QWidget* widget)
{
    const auto found = std::find_if(
        m_placed.begin(), m_placed.end(), [widget](const Placed& p) { return p.widget == widget; });
    return found == m_placed.end() ? nullptr : &*found;
}

void ScaledLayout::setScale(const StageScale& scale)
{
    if (scale == m_scale)
        return;
    if (m_scale == StageScale()) {
        // Still as built: the fonts are the design's own.
        for (Placed& placed : m_placed)
            remember(placed);
    }
    m_scale = scale;
    for (const Placed& placed : m_placed)
        show(placed);
}

void ScaledLayout::remember(Placed& placed)
{
    if (placed.widget && placed.widget->testAttribute(Qt::WA_SetFont))
        placed.font = placed.widget->font();
}

void ScaledLayout::show(const Placed& placed) const
{
    QWidget* widget = placed.widget;
    if (!widget)
        return;
    const QRect shown = m_scale.toWindow(placed.design);
    if (placed.window)
        widget->setFixedSize(shown.size());
    else
        widget->setGeometry(shown);
    if (placed.font) {
        QFont font = *placed.font;
        font.setPointSizeF(placed.font->pointSizeF() * m_scale.scale());
        widget->setFont(font);
    }
    if (!placed.picture.isEmpty())
        static_cast<QLabel*>(widget)->setPixmap(stagePicture(placed.picture, m_scale));
}
