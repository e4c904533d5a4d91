#include "StageScale.h"

#include <algorithm>
#include <cmath>

StageScale::StageScale(QSize window, double devicePixelRatio)
    : m_scale(std::max(kSmallest,
        std::min(
            double(window.width()) / kStage.width(), double(window.height()) / kStage.height())))
    , m_devicePixelRatio(devicePixelRatio)
{
    const QSize shown(
        int(std::lround(kStage.width() * m_scale)), int(std::lround(kStage.height() * m_scale)));
    m_stageRect = QRect(QPoint(std::max(0, (window.width() - shown.width()) / 2),
                            std::max(0, (window.height() - shown.height()) / 2)),
        shown);
}

QPoint StageScale::toWindow(QPoint stage) const
{
    return { int(std::lround(stage.x() * m_scale)), int(std::lround(stage.y() * m_scale)) };
}

QRect StageScale::toWindow(const QRect& stage) const
{
    const QPoint topLeft = toWindow(stage.topLeft());
    const QPoint end = toWindow(stage.topLeft() + QPoint(stage.width(), stage.height()));
    return { topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()) };
}
