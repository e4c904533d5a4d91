#include "StageAnimation.h"

#include <QImageReader>

#include <cstring>

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

// Bounds of the pixels where `frame` differs from `picture`, both the same size.
QRect difference(const QImage& picture, const QImage& frame)
{
    const QList<QRgb> colours = premultipliedColours(frame);
    QRect changed;
    for (int y = 0; y < frame.height(); ++y) {
        const auto* shown = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const uchar* in = frame.constScanLine(y);
        int first = -1;
        int last = -1;
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb value
                = colours.isEmpty() ? reinterpret_cast<const QRgb*>(in)[x] : colours.at(in[x]);
            if (shown[x] != value) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        if (last >= 0)
            changed |= QRect(first, y, last - first + 1, 1);
    }
    return changed;
}

// Writes `frame` into `picture` at `origin`.
void paint(QImage& picture, const QImage& frame, const QPoint& origin)
{
    const QList<QRgb> colours = premultipliedColours(frame);
    const QRgb* colour = colours.constData();
    const int width = frame.width();
    for (int y = 0; y < frame.height(); ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(picture.scanLine(origin.y() + y)) + origin.x();
        const uchar* in = frame.constScanLine(y);
        if (colours.isEmpty()) {
            std::memcpy(out, in, size_t(width) * sizeof(QRgb));
            continue;
        }
        for (int x = 0; x < width; ++x)
            out[x] = colour[in[x]];
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

QRect StageAnimation::advanceTo(qint64 ms)
{
    const qint64 due = nextChangeAt();
    if (due < 0 || ms < due)
        return {};
    const QRect changed = stepForward();
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

QRect StageAnimation::stepForward()
{
    const bool more = m_current + 1 < m_frames.size() || readFrame();
    return show(more ? m_current + 1 : 0);
}

QRect StageAnimation::show(int index)
{
    std::optional<QRect>& known = m_changes[index];
    QImage& frame = m_frames[index];
    if (!known) {
        // From now on only what differs from the frame before is ever drawn: keep just that.
        known = difference(m_picture, frame);
        frame = known->isEmpty() ? QImage() : frame.copy(*known);
    }
    paint(m_picture, frame, known->topLeft());
    m_current = index;
    return *known;
}

bool StageAnimation::readFrame()
{
    if (!m_reader)
        return false;
    QImage frame;
    if (!m_reader->read(&frame) || (!isEmpty() && frame.size() != m_picture.size())) {
        m_reader.reset();
        return false;
    }
    const int delay = m_reader->nextImageDelay();
    append(frame, delay > 0 ? delay : kDefaultDelayMs);
    return true;
}

void StageAnimation::append(const QImage& frame, int delay)
{
    const QImage kept = compact(frame);
    if (m_picture.isNull()) {
        m_picture = QImage(kept.size(),
            kept.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        paint(m_picture, kept, QPoint());
    } else if (kept.hasAlphaChannel() && !m_picture.hasAlphaChannel()) {
        m_picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    }
    m_frames << kept;
    m_delays << delay;
    m_changes << std::nullopt;
}
