#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class QImageReader;

// One looping animation, kept as 8-bit indexed frames (a quarter of what 32-bit frames cost;
// a frame with more colours than a palette holds stays 32-bit). The frames are decoded once,
// as the first loop plays, so start-up pays for the first frame only and the file is closed
// after the first loop. A missing or unreadable file gives no frame; a file damaged part-way
// loops the frames read before the damage.
//
// The frame on show is kept as one 32-bit picture, ready to be drawn as it is. Moving to the
// next frame rewrites only the part of it that differs from the frame before, learnt in the
// first loop; after that, only that part of each frame is kept. So each step costs, in time and
// in memory, in proportion to what moves.
//
// Times are milliseconds after the animation started. Frame i is shown for its own delay, as
// the file gives it, measured from when it was due rather than from when it was drawn, so a
// slightly late tick never makes the animation drift; after a longer block it goes on with the
// next frame.
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
    // What is kept of a frame: all of it until the first loop has passed it, then the part that
    // differs from the frame before (null when nothing does).
    const QImage& frame(int index) const { return m_frames.at(index); }
    int currentIndex() const { return m_current; }
    // The frame on show; a null image when there is none.
    const QImage& picture() const { return m_picture; }

    // Moves on to the frame due at `ms`; gives the part of the picture that changed.
    QRect advanceTo(qint64 ms);
    // When the frame on show gives way; -1 when it never does.
    qint64 nextChangeAt() const;

private:
    bool readFrame();
    QRect stepForward();
    QRect show(int index);
    void append(const QImage& frame, int delay);

    std::unique_ptr<QImageReader> m_reader; // open until the whole loop has been read
    QList<QImage> m_frames;
    QList<int> m_delays;
    QList<std::optional<QRect>> m_changes; // where a frame differs from the one before, once learnt
    int m_current = 0;
    qint64 m_shownAt = 0;
    QImage m_picture;
};
