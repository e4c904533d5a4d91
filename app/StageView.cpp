#include "StageView.h"

#include "PictureSets.h"
#include "StagePrefetch.h"

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
    stage->setGeometry(m_layout.scale().stageRect());
    area->installEventFilter(this);
}

void StageView::place(QWidget* widget, const QRect& stage)
{
    m_layout.place(widget, stage);
}

void StageView::place(QLabel* label, const QRect& stage, const QString& picture)
{
    m_layout.place(label, stage, picture);
}

void StageView::move(QWidget* widget, QPoint stage)
{
    m_layout.move(widget, stage);
}

QRect StageView::stageRect(const QWidget* widget) const
{
    return m_layout.designRect(widget);
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
    if (scale == m_layout.scale())
        return;
    m_layout.setScale(scale);
    emit scaleChanged(scale);
    prefetch::settle(scale);
}

QImage stageImage(const QString& path, const StageScale& scale)
{
    // Read as an image, never as a pixmap by its name: QPixmap would keep every set it ever read
    // in its cache, a 4K screen's whole face among them, long after the picture shown was made.
    if (scale.density() == 1.0)
        return QImage(path);
    const QSize stage = QImageReader(path).size();
    const QSize device(int(std::lround(stage.width() * scale.density())),
        int(std::lround(stage.height() * scale.density())));
    QImage shown(pictureSetName(path, pictureSet(path, scale.density())));
    if (shown.size() != device && !shown.isNull())
        shown = shown.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return shown;
}

QPixmap stagePicture(const QString& path, const StageScale& scale)
{
    std::optional<QImage> prepared = prefetch::takeStill(path, scale);
    QPixmap pixmap = QPixmap::fromImage(prepared ? std::move(*prepared) : stageImage(path, scale));
    pixmap.setDevicePixelRatio(scale.devicePixelRatio());
    return pixmap;
}
