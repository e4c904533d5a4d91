#include "StageView.h"

#include "PictureSets.h"

#include <QEvent>
#include <QImageReader>
#include <QLabel>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

StageView::StageView(QWidget* area, QWidget* stage)
    : QObject(area)
    , m_area(area)
    , m_stage(stage)
{
    stage->setGeometry(m_scale.stageRect());
    area->installEventFilter(this);
}

void StageView::place(QWidget* widget, const QRect& stage)
{
    m_placed.push_back({ widget, stage, {}, {} });
    show(m_placed.back());
}

void StageView::place(QLabel* label, const QRect& stage, const QString& picture)
{
    m_placed.push_back({ label, stage, {}, picture });
    show(m_placed.back());
}

void StageView::move(QWidget* widget, QPoint stage)
{
    if (Placed* placed = find(widget)) {
        placed->stage.moveTopLeft(stage);
        widget->move(m_scale.toWindow(stage));
    }
}

QRect StageView::stageRect(const QWidget* widget) const
{
    const Placed* placed = find(widget);
    return placed ? placed->stage : QRect();
}

StageView::Placed* StageView::find(const QWidget* widget)
{
    const auto found = std::find_if(
        m_placed.begin(), m_placed.end(), [widget](const Placed& p) { return p.widget == widget; });
    return found == m_placed.end() ? nullptr : &*found;
}

const StageView::Placed* StageView::find(const QWidget* widget) const
{
    return const_cast<StageView*>(this)->find(widget);
}

bool StageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area
        && (event->type() == QEvent::Resize || event->type() == QEvent::ScreenChangeInternal))
        rescale();
    return false;
}

void StageView::rescale()
{
    const StageScale scale(m_area->size(), m_area->devicePixelRatioF());
    m_stage->setGeometry(scale.stageRect());
    if (scale == m_scale)
        return;
    if (m_scale == StageScale()) {
        // Still as built: the fonts and pictures are the stage's own.
        for (Placed& placed : m_placed)
            remember(placed);
    }
    m_scale = scale;
    for (Placed& placed : m_placed)
        show(placed);
    emit scaleChanged(m_scale);
}

void StageView::remember(Placed& placed)
{
    if (!placed.widget)
        return;
    if (placed.widget->testAttribute(Qt::WA_SetFont))
        placed.font = placed.widget->font();
}

void StageView::show(const Placed& placed) const
{
    QWidget* widget = placed.widget;
    if (!widget)
        return;
    widget->setGeometry(m_scale.toWindow(placed.stage));
    if (placed.font) {
        QFont font = *placed.font;
        font.setPointSizeF(placed.font->pointSizeF() * m_scale.scale());
        widget->setFont(font);
    }
    if (!placed.picture.isEmpty())
        static_cast<QLabel*>(widget)->setPixmap(stagePicture(placed.picture, m_scale));
}

QPixmap stagePicture(const QString& path, const StageScale& scale)
{
    if (scale.density() == 1.0)
        return QPixmap(path);
    const QSize stage = QImageReader(path).size();
    const QSize device(int(std::lround(stage.width() * scale.density())),
        int(std::lround(stage.height() * scale.density())));
    QPixmap shown(pictureSetName(path, pictureSet(path, scale.density())));
    if (shown.size() != device && !shown.isNull())
        shown = shown.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(scale.devicePixelRatio());
    return shown;
}
