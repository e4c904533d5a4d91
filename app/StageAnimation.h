#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <memory>

class QImageReader;

// One looping animation, kept as 8-bit indexed frames (a quarter of what 32-bit frames cost;
// a frame with more colours than a palette holds stays 32-bit). The frames are decoded once,
// as the first loop plays, so start-up pays for the first frame only and the file is closed
// after the first loop. A missing or unreadable file gives no frame; a file damaged part-way
// loops the frames read before the damage.
//
// Times are milliseconds after the animation started. Frame i is shown for its own delay, as
// the file gives it, measured from when it was due rather than from when it was drawn, so a late
// tick never makes the animation drift.
class StageAnimation {
public:
    explicit StageAnimation(const QString& path);
    // Already decoded frames, each with the time it stays on show.
    StageAnimation(const QList<QImage>& frames, const QList<int>& delays);
    StageAnimation(StageAnimation&&) noexcept;
    StageAnimation& operator=(StageAnimation&&) noexcept;
    ~StageAnimation();

    bool isEmpty() const { return m_frames.isEmpty(); }
    int frameCount() const { return int(m_frames.size()); }
    int currentIndex() const { return m_current; }
    const QImage& currentFrame() const;

    // Moves on to the frame due at `ms`; true when that is another frame than before.
    bool advanceTo(qint64 ms);
    // When the frame on show gives way; -1 when it never does.
    qint64 nextChangeAt() const;

private:
    bool readFrame();
    bool stepForward();

    std::unique_ptr<QImageReader> m_reader; // open until the whole loop has been read
    QList<QImage> m_frames;
    QList<int> m_delays;
    qint64 m_loopLength = 0; // known once the whole loop has been read
    int m_current = 0;
    qint64 m_shownAt = 0;
};
