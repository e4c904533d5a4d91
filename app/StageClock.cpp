#include "StageClock.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QWidget>

#include <algorithm>

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
        p.widget->update(area.translated(placeOf(p.widget, p.animation).topLeft()));
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
    // In bands of a few rows: Qt hands a taller copy to its thread pool in pieces, and on a busy
    // machine those hand-offs cost more than the copy itself.
    constexpr int kBandRows = 48;
    const QImage& picture = animation->picture();
    const QPoint at = placeOf(widget, *animation).topLeft();
    QPainter painter(widget);
    for (int top = 0; top < picture.height(); top += kBandRows)
        painter.drawImage(at + QPoint(0, top), picture, QRect(0, top, picture.width(), kBandRows));
    return true;
}

// A player wholly covered by an opaque picture needs no background painted under it.
void StageClock::coverPlayer(QWidget* player, const StageAnimation& animation)
{
    player->setAttribute(Qt::WA_OpaquePaintEvent,
        !animation.isEmpty() && !animation.picture().hasAlphaChannel()
            && placeOf(player, animation).contains(player->rect()));
}

QRect StageClock::placeOf(const QWidget* player, const StageAnimation& animation)
{
    return QStyle::alignedRect(
        Qt::LeftToRight, Qt::AlignCenter, animation.picture().size(), player->rect());
}
