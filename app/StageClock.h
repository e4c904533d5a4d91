#pragma once

#include "StageAnimation.h"
#include "StageScale.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>

#include <vector>

class QPainter;
class QWidget;

// Plays all the stage's animations on one clock. A single timer wakes when the next frame of
// any of them is due, moves every animation on and repaints only the players whose frame
// changed, in one pass of the window: one wake-up and one repaint where one timer per animation
// costs several. The player is any widget; the clock paints its frame centred on it, at the
// stage's scale (resampled smoothly, and only where the window needs it). Every
// animation counts its frames from the clock's start, the first play(), so animations started
// together stay in step.
class StageClock : public QObject {
    Q_OBJECT
public:
    explicit StageClock(QObject* parent = nullptr);

    // Plays `animation` on `player`; an empty animation leaves the player empty.
    void play(QWidget* player, StageAnimation animation);
    // Plays the animation in the file at `path`, from the set drawn for the stage's density
    // (see pictureSet), chosen again at every change of scale.
    void play(QWidget* player, const QString& path);
    const StageAnimation* animationOf(const QWidget* player) const;
    void setScale(const StageScale& scale);

    // Moves every animation on to `ms` after the clock started and repaints what changed; gives
    // the players (in the order they were started) whose frame changed.
    QList<int> advanceTo(qint64 ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Player {
        QWidget* widget;
        StageAnimation animation;
        QString path; // the file the animation was read from, if it can be read again
        int set = 1; // the set it was read from: its pixels per stage pixel
    };

    void tick();
    void schedule();
    void coverPlayer(const Player& player) const;
    // Where the picture lies on its player, in the player's own pixels.
    QRectF placeOf(const Player& player) const;
    // The player's pixels per pixel of its picture.
    double zoom(const Player& player) const { return m_scale.scale() / player.set; }
    void paint(const Player& player, const QRegion& region) const;
    void drawPart(QPainter& painter, const QImage& picture, const QRect& part) const;
    void readSet(Player& player);
    const Player* playerOf(const QWidget* widget) const;

    std::vector<Player> m_players;
    QElapsedTimer m_elapsed;
    QTimer m_timer;
    qint64 m_due = 0;
    StageScale m_scale;
    mutable QImage m_band; // a band of an 8-bit picture being drawn, in colours
};
