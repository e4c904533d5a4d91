#include "StageClock.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

StageClock::StageClock(QObject* parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &StageClock::tick);
}

void StageClock::play(QWidget* player, StageAnimation animation)
{
    if (m_players.empty())
        m_elapsed.start();
    m_players.push_back(Player { player, std::move(animation) });
    coverPlayer(player, m_players.back().animation);
    player->installEventFilter(this);
    player->update();
    schedule();
}

void StageClock::setScale(const StageScale& scale)
{
    m_scale = scale.scale();
    for (const Player& p : m_players) {
        coverPlayer(p.widget, p.animation);
        p.widget->update();
    }
}

const StageAnimation* StageClock::animationOf(const QWidget* player) const
{
    const auto found = std::find_if(m_players.begin(), m_players.end(),
        [player](const Player& p) { return p.widget == player; });
    return found == m_players.end() ? nullptr : &found->animation;
}

QList<int> StageClock::advanceTo(qint64 ms)
{
    QList<int> changed;
    for (int i = 0; i < int(m_players.size()); ++i) {
        Player& p = m_players[size_t(i)];
        const QRect area = p.animation.advanceTo(ms);
        if (area.isEmpty())
            continue;
        coverPlayer(p.widget, p.animation);
        const QRectF place = placeOf(p.widget, p.animation);
        // Resampled, a picture's pixel reaches a little into its neighbours.
        const int spill = m_scale == 1.0 ? 0 : 1;
        p.widget->update(QRectF(
            place.topLeft() + QPointF(area.topLeft()) * m_scale, QSizeF(area.size()) * m_scale)
                             .toAlignedRect()
                             .adjusted(-spill, -spill, spill, spill));
        changed << i;
    }
    return changed;
}

void StageClock::tick()
{
    // A coarse timer may wake a little early: the frames due at this tick are shown all the same.
    advanceTo(std::max(m_elapsed.elapsed(), m_due));
    schedule();
}

void StageClock::schedule()
{
    qint64 due = -1;
    for (const Player& p : m_players) {
        const qint64 next = p.animation.nextChangeAt();
        if (next >= 0 && (due < 0 || next < due))
            due = next;
    }
    if (due < 0) {
        m_timer.stop();
        return;
    }
    m_due = due;
    m_timer.start(int(std::max<qint64>(0, due - m_elapsed.elapsed())));
}

bool StageClock::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const StageAnimation* animation = animationOf(widget);
    if (!animation || animation->isEmpty())
        return false;
    paint(widget, *animation, static_cast<QPaintEvent*>(event)->rect());
    return true;
}

void StageClock::paint(QWidget* player, const StageAnimation& animation, const QRect& area) const
{
    const QImage& picture = animation.picture();
    const QRectF place = placeOf(player, animation);
    QPainter painter(player);
    if (m_scale != 1.0) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(place.topLeft());
        painter.scale(m_scale, m_scale);
        // The picture's pixels the area shows, and one more around them for the resampling.
        const QRect needed = painter.transform()
                                 .inverted()
                                 .mapRect(QRectF(area))
                                 .toAlignedRect()
                                 .adjusted(-1, -1, 1, 1)
            & picture.rect();
        painter.drawImage(needed.topLeft(), picture, needed);
        return;
    }
    // In bands of a few rows: Qt hands a taller copy to its thread pool in pieces, and on a busy
    // machine those hand-offs cost more than the copy itself.
    constexpr int kBandRows = 48;
    const QPoint at = place.topLeft().toPoint();
    for (int top = 0; top < picture.height(); top += kBandRows)
        painter.drawImage(at + QPoint(0, top), picture, QRect(0, top, picture.width(), kBandRows));
}

// A player wholly covered by an opaque picture needs no background painted under it.
void StageClock::coverPlayer(QWidget* player, const StageAnimation& animation) const
{
    player->setAttribute(Qt::WA_OpaquePaintEvent,
        !animation.isEmpty() && !animation.picture().hasAlphaChannel()
            && placeOf(player, animation).contains(QRectF(player->rect())));
}

QRectF StageClock::placeOf(const QWidget* player, const StageAnimation& animation) const
{
    // Centred, on whole pixels of the player (towards its top left corner).
    const QSizeF size = QSizeF(animation.picture().size()) * m_scale;
    return { QPointF(std::trunc((player->width() - size.width()) / 2),
                 std::trunc((player->height() - size.height()) / 2)),
        size };
}
