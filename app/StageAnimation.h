#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>
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
// The frame on show is kept as one picture: in 8 bits, with one colour table for every frame,
// when the frames have no more than 256 colours between them, as the stage's own do; otherwise
// in 32 bits. Moving to the next frame rewrites only the tiles of it that differ from the frame
// before, learnt in the first loop; after that, only those tiles of each frame are kept. So each
// step costs, in time and in memory, in proportion to what moves: a firefly crossing a still night
// keeps a few tiles where its bounds would span the sky.
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
    // What is kept of a frame: all of it until the first loop has passed it, then the tiles that
    // differ from the frame before, one under the other (null when none does).
    const QImage& frame(int index) const { return m_frames.at(index); }
    int currentIndex() const { return m_current; }
    // The frame on show (8-bit or 32-bit, see above); a null image when there is none.
    const QImage& picture() const { return m_picture; }

    // Moves on to the frame due at `ms`; gives the part of the picture that changed.
    QRegion advanceTo(qint64 ms);
    // When the frame on show gives way; -1 when it never does.
    qint64 nextChangeAt() const;

private:
    // Where a frame differs from the one before, once learnt: the tiles, in the order the frame
    // keeps them, and the area they cover.
    struct Change {
        QList<QRect> tiles;
        QRegion area;
    };

    bool readFrame();
    QRegion stepForward();
    QRegion show(int index);
    void append(const QImage& frame, int delay);
    bool shareColours(QImage& frame);

    std::unique_ptr<QImageReader> m_reader; // open until the whole loop has been read
    QList<QImage> m_frames;
    QList<int> m_delays;
    QList<std::optional<Change>> m_changes;
    int m_current = 0;
    qint64 m_shownAt = 0;
    QImage m_picture;
};
