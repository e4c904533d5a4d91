#include "generator/GifWriter.h"

#include <gif_lib.h>

#include <QFile>

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
};

using Box = std::vector<Rgb>;

int widestChannel(const Box& box)
{
    std::array<int, 3> low { 255, 255, 255 };
    std::array<int, 3> high { 0, 0, 0 };
    for (const Rgb& c : box) {
        const std::array<int, 3> v { c.r, c.g, c.b };
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], v[i]);
            high[i] = std::max(high[i], v[i]);
        }
    }
    const std::array<int, 3> spread { high[0] - low[0], high[1] - low[1], high[2] - low[2] };
    return static_cast<int>(std::max_element(spread.begin(), spread.end()) - spread.begin());
}

int channel(const Rgb& c, int which)
{
    return which == 0 ? c.r : which == 1 ? c.g : c.b;
}

// Median cut, splitting the most populous box each time; pure black is always kept exact.
std::vector<Rgb> choosePalette(const QList<QImage>& frames, int size)
{
    Box all;
    for (const QImage& frame : frames) {
        const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x)
                all.push_back({ qRed(row[x]), qGreen(row[x]), qBlue(row[x]) });
        }
    }
    std::vector<Box> boxes { all };
    while (static_cast<int>(boxes.size()) < size - 1) {
        auto largest = std::max_element(boxes.begin(), boxes.end(),
            [](const Box& a, const Box& b) { return a.size() < b.size(); });
        if (largest->size() < 2)
            break;
        Box box = std::move(*largest);
        boxes.erase(largest);
        const int which = widestChannel(box);
        const auto middle = box.begin() + static_cast<long>(box.size() / 2);
        std::nth_element(box.begin(), middle, box.end(),
            [which](const Rgb& a, const Rgb& b) { return channel(a, which) < channel(b, which); });
        boxes.emplace_back(box.begin(), middle);
        boxes.emplace_back(middle, box.end());
    }
    std::vector<Rgb> palette { { 0, 0, 0 } };
    for (const Box& box : boxes) {
        long r = 0, g = 0, b = 0;
        for (const Rgb& c : box) {
            r += c.r;
            g += c.g;
            b += c.b;
        }
        const long n = std::max<long>(1, static_cast<long>(box.size()));
        palette.push_back(
            { static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n) });
    }
    palette.resize(static_cast<size_t>(size), { 0, 0, 0 });
    return palette;
}

class NearestColour {
public:
    explicit NearestColour(const std::vector<Rgb>& palette)
        : m_palette(palette)
        , m_cache(32 * 32 * 32, -1)
    {
    }

    int operator()(int r, int g, int b)
    {
        const int key = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
        if (m_cache[static_cast<size_t>(key)] < 0)
            m_cache[static_cast<size_t>(key)] = search((r & ~7) | 4, (g & ~7) | 4, (b & ~7) | 4);
        return m_cache[static_cast<size_t>(key)];
    }

private:
    int search(int r, int g, int b) const
    {
        int best = 0;
        int bestDistance = 1 << 30;
        for (size_t i = 0; i < m_palette.size(); ++i) {
            const Rgb& c = m_palette[i];
            const int d
                = 2 * (c.r - r) * (c.r - r) + 4 * (c.g - g) * (c.g - g) + 3 * (c.b - b) * (c.b - b);
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        return best;
    }

    std::vector<Rgb> m_palette;
    std::vector<int> m_cache;
};

// A fixed ordered dither stays still from frame to frame, unlike error diffusion.
constexpr std::array<int, 16> kBayer { 0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5 };

std::vector<GifByteType> indexed(const QImage& frame, NearestColour& nearest)
{
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
    std::vector<GifByteType> pixels(static_cast<size_t>(rgb.width()) * rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const int offset = kBayer[static_cast<size_t>((y & 3) * 4 + (x & 3))] - 8;
            auto dither = [&](int v) { return v == 0 ? 0 : std::clamp(v + offset / 2, 0, 255); };
            pixels[static_cast<size_t>(y) * rgb.width() + x] = static_cast<GifByteType>(
                nearest(dither(qRed(row[x])), dither(qGreen(row[x])), dither(qBlue(row[x]))));
        }
    }
    return pixels;
}

bool putLoopExtension(GifFileType* gif)
{
    static const char application[] = "NETSCAPE2.0";
    const GifByteType endless[3] = { 1, 0, 0 };
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK
        && EGifPutExtensionBlock(gif, 11, application) == GIF_OK
        && EGifPutExtensionBlock(gif, 3, endless) == GIF_OK
        && EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool putFrame(GifFileType* gif, const QImage& frame, int delay, NearestColour& nearest)
{
    GraphicsControlBlock control {};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension)
        != GIF_OK)
        return false;
    if (EGifPutImageDesc(gif, 0, 0, frame.width(), frame.height(), false, nullptr) != GIF_OK)
        return false;
    std::vector<GifByteType> pixels = indexed(frame, nearest);
    for (int y = 0; y < frame.height(); ++y) {
        if (EGifPutLine(gif, &pixels[static_cast<size_t>(y) * frame.width()], frame.width())
            != GIF_OK)
            return false;
    }
    return true;
}

}

bool writeGif(const QString& path, const Animation& animation)
{
    if (animation.frames.isEmpty())
        return false;
    const std::vector<Rgb> palette = choosePalette(animation.frames, 256);
    std::vector<GifColorType> colours;
    for (const Rgb& c : palette)
        colours.push_back({ static_cast<GifByteType>(c.r), static_cast<GifByteType>(c.g),
            static_cast<GifByteType>(c.b) });
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    int error = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return false;
    }
    EGifSetGifVersion(gif, true);
    const QSize size = animation.frames.first().size();
    bool ok = EGifPutScreenDesc(gif, size.width(), size.height(), 8, 0, map) == GIF_OK
        && putLoopExtension(gif);
    NearestColour nearest(palette);
    for (const QImage& frame : animation.frames)
        ok = ok && putFrame(gif, frame, animation.delayCentiseconds, nearest);
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    // giflib creates the file readable by its owner only.
    return ok
        && QFile::setPermissions(
            path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}
