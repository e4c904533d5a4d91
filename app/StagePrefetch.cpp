#include "StagePrefetch.h"

#include "PictureSets.h"
#include "StageView.h"

#include <QSet>

#include <future>
#include <map>
#include <memory>

namespace {

struct Prepared {
    std::map<QString, QImage> stills;
    std::map<QString, StageAnimation> animations;
};

// All on the user-interface thread: what is being decoded, for which scale and from which
// files, so that a question about anything else never waits for the decoding.
struct Prefetch {
    StageScale scale;
    QSet<QString> files;
    std::future<Prepared> pending;
    Prepared ready;

    Prepared& result()
    {
        if (pending.valid())
            ready = pending.get();
        return ready;
    }
};
std::unique_ptr<Prefetch> g_prefetch;

// The file an animation is read from at `scale`.
QString animationFile(const QString& path, const StageScale& scale)
{
    return pictureSetName(path, pictureSet(path, scale.density()));
}

Prepared decode(const StageScale& scale, const QStringList& stills, const QStringList& animations)
{
    Prepared prepared;
    for (const QString& path : stills)
        prepared.stills.emplace(path, stageImage(path, scale));
    for (const QString& path : animations) {
        const QString file = animationFile(path, scale);
        prepared.animations.emplace(file, StageAnimation(file));
    }
    return prepared;
}

// What `decoded` holds for `key`, given once.
template <typename Picture>
std::optional<Picture> take(std::map<QString, Picture>& decoded, const QString& key)
{
    const auto found = decoded.find(key);
    if (found == decoded.end())
        return std::nullopt;
    Picture picture = std::move(found->second);
    decoded.erase(found);
    return picture;
}

// Whether a still picture decoded for `prepared` is the one `scale` shows.
bool sameDevicePixels(const StageScale& prepared, const StageScale& scale)
{
    return prepared.density() == scale.density()
        && prepared.devicePixelRatio() == scale.devicePixelRatio();
}

}

void prefetch::start(
    const StageScale& scale, const QStringList& stills, const QStringList& animations)
{
    g_prefetch.reset();
    // At one device pixel per stage pixel the pictures are the files themselves.
    if (scale.density() == 1.0)
        return;
    g_prefetch = std::make_unique<Prefetch>();
    Prefetch& prefetch = *g_prefetch;
    prefetch.scale = scale;
    for (const QString& path : animations)
        prefetch.files << animationFile(path, scale);
    prefetch.pending = std::async(std::launch::async, decode, scale, stills, animations);
}

std::optional<QImage> prefetch::takeStill(const QString& path, const StageScale& scale)
{
    if (!g_prefetch || !sameDevicePixels(g_prefetch->scale, scale))
        return std::nullopt;
    return take(g_prefetch->result().stills, path);
}

std::optional<StageAnimation> prefetch::takeAnimation(const QString& file)
{
    if (!g_prefetch || !g_prefetch->files.contains(file))
        return std::nullopt;
    return take(g_prefetch->result().animations, file);
}

void prefetch::settle(const StageScale& scale)
{
    if (!g_prefetch || scale.density() == 1.0)
        return;
    g_prefetch->result();
    g_prefetch.reset();
}
