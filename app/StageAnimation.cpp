#include "StageAnimation.h"

#include <QImageReader>

#include <cstring>
#include <malloc.h>

namespace {

// A frame without a delay of its own would otherwise spin as fast as it can be drawn.
constexpr int kDefaultDelayMs = 100;

QImage compact(const QImage& frame)
{
    const QImage indexed = frame.convertToFormat(QImage::Format_Indexed8);
    if (indexed.convertToFormat(frame.format()) == frame)
        return indexed;
    return frame.convertToFormat(
        frame.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// A frame's colours as the picture stores them; empty for a 32-bit frame.
QList<QRgb> premultipliedColours(const QImage& frame)
{
    QList<QRgb> table = frame.colorTable();
    for (QRgb& colour : table)
        colour = qPremultiply(colour);
    return table;
}

// Frames are compared, kept and redrawn in square tiles of this many pixels.
constexpr int kTile = 16;

int bytesPerPixel(const QImage& image)
{
    return image.depth() / 8;
}

// Whether `frame` differs from `picture` anywhere in `tile`.
bool differs(const QImage& picture, const QImage& frame, const QList<QRgb>& colours, QRect tile)
{
    if (picture.format() == QImage::Format_Indexed8) {
        for (int y = tile.top(); y <= tile.bottom(); ++y) {
            if (std::memcmp(picture.constScanLine(y) + tile.left(),
                    frame.constScanLine(y) + tile.left(), size_t(tile.width()))
                != 0)
                return true;
        }
        return false;
    }
    for (int y = tile.top(); y <= tile.bottom(); ++y) {
        const auto* shown = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const uchar* in = frame.constScanLine(y);
        for (int x = tile.left(); x <= tile.right(); ++x) {
            const QRgb value
                = colours.isEmpty() ? reinterpret_cast<const QRgb*>(in)[x] : colours.at(in[x]);
            if (shown[x] != value)
                return true;
        }
    }
    return false;
}

// The tiles where `frame` differs from `picture`, both the same size, row by row.
QList<QRect> difference(const QImage& picture, const QImage& frame)
{
    const QList<QRgb> colours = premultipliedColours(frame);
    QList<QRect> changed;
    for (int top = 0; top < frame.height(); top += kTile) {
        for (int left = 0; left < frame.width(); left += kTile) {
            const QRect tile = QRect(left, top, kTile, kTile) & frame.rect();
            if (differs(picture, frame, colours, tile))
                changed << tile;
        }
    }
    return changed;
}

// The `tiles` of `frame`, one under the other in a strip one tile wide; null when there are none.
QImage pack(const QImage& frame, const QList<QRect>& tiles)
{
    if (tiles.isEmpty())
        return {};
    QImage strip(kTile, kTile * int(tiles.size()), frame.format());
    strip.setColorTable(frame.colorTable());
    const int bytes = bytesPerPixel(frame);
    for (int i = 0; i < tiles.size(); ++i) {
        const QRect& tile = tiles.at(i);
        for (int y = 0; y < tile.height(); ++y)
            std::memcpy(strip.scanLine(i * kTile + y),
                frame.constScanLine(tile.top() + y) + tile.left() * bytes,
                size_t(tile.width()) * size_t(bytes));
    }
    return strip;
}

// The area to redraw for the tiles: in each row of tiles, from the first changed to the last. A
// frame is redrawn about where it changed, in few enough pieces that joining them costs little.
QRegion areaOf(const QList<QRect>& tiles)
{
    QList<QRect> rows;
    for (const QRect& tile : tiles) {
        if (!rows.isEmpty() && rows.back().top() == tile.top())
            rows.back().setRight(tile.right());
        else
            rows << tile;
    }
    QRegion area;
    area.setRects(rows.constData(), int(rows.size()));
    return area;
}

// Writes the tiles of `source`, one under the other from its top, into `picture` at `places`.
void paint(QImage& picture, const QImage& source, const QList<QRect>& places)
{
    if (picture.format() == QImage::Format_Indexed8) {
        uchar* const to = picture.bits();
        const uchar* const from = source.constBits();
        for (qsizetype i = 0; i < places.size(); ++i) {
            const QRect& place = places.at(i);
            for (int y = 0; y < place.height(); ++y)
                std::memcpy(to + (place.top() + y) * picture.bytesPerLine() + place.left(),
                    from + (i * kTile + y) * source.bytesPerLine(), size_t(place.width()));
        }
        return;
    }
    const QList<QRgb> colours = premultipliedColours(source);
    const QRgb* colour = colours.constData();
    uchar* const to = picture.bits();
    const uchar* const from = source.constBits();
    for (qsizetype i = 0; i < places.size(); ++i) {
        const QRect& place = places.at(i);
        for (int y = 0; y < place.height(); ++y) {
            auto* out = reinterpret_cast<QRgb*>(to + (place.top() + y) * picture.bytesPerLine())
                + place.left();
            const uchar* in = from + (i * kTile + y) * source.bytesPerLine();
            if (colours.isEmpty()) {
                std::memcpy(out, in, size_t(place.width()) * sizeof(QRgb));
                continue;
            }
            for (int x = 0; x < place.width(); ++x)
                out[x] = colour[in[x]];
        }
    }
}

} // namespace

StageAnimation::StageAnimation(const QString& path)
    : m_reader(std::make_unique<QImageReader>(path))
{
    readFrame();
}

StageAnimation::StageAnimation(const QList<QImage>& frames, const QList<int>& delays)
{
    for (int i = 0; i < frames.size(); ++i)
        append(frames.at(i), delays.at(i));
}

StageAnimation::StageAnimation(StageAnimation&&) noexcept = default;
StageAnimation& StageAnimation::operator=(StageAnimation&&) noexcept = default;
StageAnimation::~StageAnimation() = default;

QRegion StageAnimation::advanceTo(qint64 ms)
{
    const qint64 due = nextChangeAt();
    if (due < 0 || ms < due)
        return {};
    const QRegion changed = stepForward();
    // Late by more than the new frame lasts (the thread was blocked): count on from now rather
    // than race through the frames missed, as a paused player would.
    m_shownAt = ms - due < m_delays.at(m_current) ? due : ms;
    return changed;
}

qint64 StageAnimation::nextChangeAt() const
{
    if (m_frames.isEmpty() || (m_frames.size() == 1 && !m_reader))
        return -1;
    return m_shownAt + m_delays.at(m_current);
}

QRegion StageAnimation::stepForward()
{
    const bool more = m_current + 1 < m_frames.size() || readFrame();
    return show(more ? m_current + 1 : 0);
}

QRegion StageAnimation::show(int index)
{
    std::optional<Change>& known = m_changes[index];
    QImage& frame = m_frames[index];
    if (!known) {
        // From now on only what differs from the frame before is ever drawn: keep just that.
        const QList<QRect> tiles = difference(m_picture, frame);
        known = Change { tiles, areaOf(tiles) };
        frame = pack(frame, tiles);
    }
    paint(m_picture, frame, known->tiles);
    m_current = index;
    return known->area;
}

// An 8-bit frame whose colours the picture's table holds, or can hold: the frame's pixels are
// written as indexes in that table, so tiles pass from frame to picture as bytes.
bool StageAnimation::shareColours(QImage& frame)
{
    if (m_picture.format() != QImage::Format_Indexed8 || frame.format() != QImage::Format_Indexed8)
        return false;
    QList<QRgb> shared = m_picture.colorTable();
    QList<uchar> index;
    for (const QRgb colour : frame.colorTable()) {
        qsizetype at = shared.indexOf(colour);
        if (at < 0) {
            at = shared.size();
            shared << colour;
        }
        index << uchar(at);
    }
    if (shared.size() > 256)
        return false;
    for (int y = 0; y < frame.height(); ++y) {
        uchar* line = frame.scanLine(y);
        for (int x = 0; x < frame.width(); ++x)
            line[x] = index.at(line[x]);
    }
    frame.setColorTable(shared);
    m_picture.setColorTable(shared);
    return true;
}

bool StageAnimation::readFrame()
{
    if (!m_reader)
        return false;
    QImage frame;
    if (!m_reader->read(&frame) || (!isEmpty() && frame.size() != m_picture.size())) {
        m_reader.reset();
        // The first loop decoded whole frames and kept only tiles of them: give back to the
        // system what the decoding held, which the allocator would otherwise keep.
        malloc_trim(0);
        return false;
    }
    const int delay = m_reader->nextImageDelay();
    append(frame, delay > 0 ? delay : kDefaultDelayMs);
    return true;
}

void StageAnimation::append(const QImage& frame, int delay)
{
    QImage kept = compact(frame);
    if (m_picture.isNull())
        m_picture = kept;
    else if (!shareColours(kept))
        m_picture.convertTo(m_picture.hasAlphaChannel() || kept.hasAlphaChannel()
                ? QImage::Format_ARGB32_Premultiplied
                : QImage::Format_RGB32);
    m_frames << kept;
    m_delays << delay;
    m_changes << std::nullopt;
}
