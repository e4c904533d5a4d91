#include "StageClock.h"

#include "PictureSets.h"
#include "StagePrefetch.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

StageAnimation readAnimation(const QString& file)
{
    if (std::optional<StageAnimation> prepared = prefetch::takeAnimation(file))
        return std::move(*prepared);
    return StageAnimation(file);
}

}

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
    m_players.push_back(Player { player, std::move(animation), {}, 1 });
    coverPlayer(m_players.back());
    player->installEventFilter(this);
    player->update();
    schedule();
}

void StageClock::play(QWidget* player, const QString& path)
{
    const int set = pictureSet(path, m_scale.density());
    play(player, readAnimation(pictureSetName(path, set)));
    m_players.back().path = path;
    m_players.back().set = set;
}

void StageClock::setScale(const StageScale& scale)
{
    m_scale = scale;
    for (Player& p : m_players) {
        readSet(p);
        coverPlayer(p);
        p.widget->update();
    }
    schedule();
}

// An animation read from a file is read again from the set the new scale needs, if another.
void StageClock::readSet(Player& player)
{
    if (player.path.isEmpty())
        return;
    const int set = pictureSet(player.path, m_scale.density());
    if (set == player.set)
        return;
    player.animation = readAnimation(pictureSetName(player.path, set));
    player.set = set;
}

const StageClock::Player* StageClock::playerOf(const QWidget* widget) const
{
    const auto found = std::find_if(m_players.begin(), m_players.end(),
        [widget](const Player& p) { return p.widget == widget; });
    return found == m_players.end() ? nullptr : &*found;
}

const StageAnimation* StageClock::animationOf(const QWidget* player) const
{
    const Player* found = playerOf(player);
    return found ? &found->animation : nullptr;
}

QList<int> StageClock::advanceTo(qint64 ms)
{
    QList<int> changed;
    for (int i = 0; i < int(m_players.size()); ++i) {
        Player& p = m_players[size_t(i)];
        const QRegion area = p.animation.advanceTo(ms);
        if (area.isEmpty())
            continue;
        coverPlayer(p);
        const QRectF place = placeOf(p);
        // Resampled, a picture's pixel reaches a little into its neighbours.
        const double zoom = this->zoom(p);
        const int spill = zoom == 1.0 ? 0 : 1;
        QRegion shown;
        for (const QRect& part : area)
            shown += QRectF(
                place.topLeft() + QPointF(part.topLeft()) * zoom, QSizeF(part.size()) * zoom)
                         .toAlignedRect()
                         .adjusted(-spill, -spill, spill, spill);
        p.widget->update(shown);
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
    const Player* player = playerOf(static_cast<QWidget*>(watched));
    if (!player || player->animation.isEmpty())
        return false;
    paint(*player, static_cast<QPaintEvent*>(event)->region());
    return true;
}

void StageClock::paint(const Player& player, const QRegion& region) const
{
    const QImage& picture = player.animation.picture();
    const QRectF place = placeOf(player);
    QPainter painter(player.widget);
    if (player.widget->testAttribute(Qt::WA_OpaquePaintEvent)) {
        // The slivers at the player's edges that the scaled picture may leave, in the player's
        // own background: painted first, the picture covers whatever of them it reaches.
        for (const QRect& bare : region - place.toAlignedRect().adjusted(1, 1, -1, -1))
            painter.fillRect(bare, player.widget->palette().window());
    }
    const double zoom = this->zoom(player);
    painter.translate(place.topLeft());
    if (zoom != 1.0) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(zoom, zoom);
    }
    // The picture's pixels each part of the region shows, and, resampled, one more around them.
    const int margin = zoom == 1.0 ? 0 : 1;
    const QTransform toPicture = painter.transform().inverted();
    for (const QRect& area : region)
        drawPart(painter, picture,
            toPicture.mapRect(QRectF(area))
                    .toAlignedRect()
                    .adjusted(-margin, -margin, margin, margin)
                & picture.rect());
}

// In bands of a few rows: Qt hands a taller drawing to its thread pool in pieces, and on a busy
// machine those hand-offs cost more than the drawing itself. An 8-bit picture is turned into
// colours a band at a time, in a band kept from one drawing to the next, for Qt's fast paths.
void StageClock::drawPart(QPainter& painter, const QImage& picture, const QRect& part) const
{
    constexpr int kBandRows = 48;
    if (picture.format() != QImage::Format_Indexed8) {
        for (int top = part.top(); top <= part.bottom(); top += kBandRows) {
            const QRectF band(
                part.left(), top, part.width(), std::min(kBandRows, part.bottom() + 1 - top));
            painter.drawImage(band, picture, band);
        }
        return;
    }
    const QImage::Format format
        = picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (m_band.format() != format || m_band.width() < part.width())
        m_band = QImage(std::max(part.width(), m_band.width()), kBandRows, format);
    QList<QRgb> colours = picture.colorTable();
    for (QRgb& colour : colours)
        colour = qPremultiply(colour);
    const QRgb* colour = colours.constData();
    uchar* const out = m_band.bits();
    for (int top = part.top(); top <= part.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, part.bottom() + 1 - top);
        for (int y = 0; y < rows; ++y) {
            const uchar* in = picture.constScanLine(top + y) + part.left();
            auto* line = reinterpret_cast<QRgb*>(out + y * m_band.bytesPerLine());
            for (int x = 0; x < part.width(); ++x)
                line[x] = colour[in[x]];
        }
        painter.drawImage(
            QRectF(part.left(), top, part.width(), rows), m_band, QRectF(0, 0, part.width(), rows));
    }
}

// A player shown by an opaque picture paints all of itself: nothing under it needs painting
// first, even where the scaled picture falls a fraction of a pixel short of its edges.
void StageClock::coverPlayer(const Player& player) const
{
    const StageAnimation& animation = player.animation;
    player.widget->setAttribute(
        Qt::WA_OpaquePaintEvent, !animation.isEmpty() && !animation.picture().hasAlphaChannel());
}

QRectF StageClock::placeOf(const Player& player) const
{
    // Centred, on whole pixels of the player (towards its top left corner).
    const QSizeF size = QSizeF(player.animation.picture().size()) * zoom(player);
    return { QPointF(std::trunc((player.widget->width() - size.width()) / 2),
                 std::trunc((player.widget->height() - size.height()) / 2)),
        size };
}
