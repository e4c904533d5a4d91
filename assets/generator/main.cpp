// quorvel_artgen: draws and synthesises every picture and sound of the program.
//   quorvel_artgen app-files <dir>          the GIFs and WAVs that lie beside the executable
//   quorvel_artgen pictures <dir>           the pictures compiled into the program
//   quorvel_artgen picture-set <dir> <n>    the stage's stills again, n times finer
//   quorvel_artgen animation-set <dir> <n>  the stage's animations again, n times finer
//   quorvel_artgen contact-sheet <png> <app dir> <pictures dir>

#include "MouthPictures.h"
#include "PictureSets.h"
#include "generator/Animations.h"
#include "generator/ContactSheet.h"
#include "generator/GifWriter.h"
#include "generator/Pictures.h"
#include "generator/Sounds.h"
#include "generator/WavWriter.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

bool report(bool ok, const QString& path)
{
    if (!ok)
        std::fprintf(stderr, "quorvel_artgen: cannot write %s\n", qPrintable(path));
    return ok;
}

// The stage's animations, each by the name it has beside the program.
std::vector<std::pair<QString, std::function<Animation(int scale)>>> stageAnimations()
{
    return {
        { QStringLiteral("GargoyleLeft.gif"), animations::gargoyle },
        { QStringLiteral("Candlelight.gif"), animations::candle },
        { QStringLiteral("skullgloweyered.gif"), animations::skullGlow },
        { QStringLiteral("ghostlyskull.gif"), animations::ghostlySkull },
        { QStringLiteral("skeletoninhammock.gif"), animations::skeletonHammock },
        { QStringLiteral("eyesdemonic.gif"), animations::demonEyes },
        { QStringLiteral("reaperattack.gif"), animations::reaper },
    };
}

// The stage's animations drawn `scale` times finer, named as the program looks for them
// ("Candlelight@2x.gif"); at scale 1, as they are named.
bool writeAnimations(const QDir& dir, int scale)
{
    bool ok = true;
    for (const auto& [name, draw] : stageAnimations()) {
        const QString path = dir.filePath(pictureSetName(name, scale));
        ok = report(writeGif(path, draw(scale)), path) && ok;
    }
    return ok;
}

bool writeAppFiles(const QDir& dir)
{
    bool ok = writeAnimations(dir, 1);
    ok = report(writeWav(dir.filePath("SINISTER.wav"), sounds::sinisterSting()), "SINISTER.wav")
        && ok;
    return report(writeWav(dir.filePath("blip1.wav"), sounds::keyClick()), "blip1.wav") && ok;
}

bool writePictures(const QDir& dir)
{
    const std::vector<std::pair<QString, QImage>> stills {
        { QStringLiteral("face_crop.png"), pictures::faceCrop() },
        { QStringLiteral("calibrar_face.png"), pictures::calibrarFace() },
        { QStringLiteral("banner.png"), pictures::banner() },
        { QStringLiteral("hand_open.png"), pictures::handOpen() },
        { QStringLiteral("hand_closed.png"), pictures::handClosed() },
        { QStringLiteral("stick_whole.png"), pictures::stick(false) },
        { QStringLiteral("stick_broken.png"), pictures::stick(true) },
    };
    const QImage face = pictures::face();
    bool ok = report(face.save(dir.filePath("face.jpg"), "JPG", 90), "face.jpg");
    // The mouths meet the face as the stage shows it, decoded from its JPEG.
    const QList<QImage> mouths = pictures::mouths(ok ? QImage(dir.filePath("face.jpg")) : face);
    for (qsizetype i = 0; i < mouths.size(); ++i) {
        const QString name = QString::fromLatin1(kMouthPictures[size_t(i)]);
        ok = report(mouths[i].save(dir.filePath(name), "PNG"), dir.filePath(name)) && ok;
    }
    for (const auto& [name, image] : stills)
        ok = report(image.save(dir.filePath(name), "PNG"), dir.filePath(name)) && ok;
    return report(writeGif(dir.filePath("eye.gif"), pictures::eye()), "eye.gif") && ok;
}

// The face, its mouths, its flaring eyes, the banner and the wandering eye again, drawn `scale`
// times finer for screens of a higher density, named as the program looks for them
// ("face@2x.jpg").
bool writePictureSet(const QDir& dir, int scale)
{
    const auto named = [scale](const char* picture) {
        return pictureSetName(QString::fromLatin1(picture), scale);
    };
    const QImage face = pictures::face(scale);
    bool ok = report(face.save(dir.filePath(named("face.jpg")), "JPG", 90), named("face.jpg"));
    const QList<QImage> mouths
        = pictures::mouths(ok ? QImage(dir.filePath(named("face.jpg"))) : face, scale);
    for (qsizetype i = 0; i < mouths.size(); ++i) {
        const QString name = named(kMouthPictures[size_t(i)]);
        ok = report(mouths[i].save(dir.filePath(name), "PNG"), name) && ok;
    }
    const QString crop = named("face_crop.png");
    ok = report(pictures::faceCrop(scale).save(dir.filePath(crop), "PNG"), crop) && ok;
    const QString banner = named("banner.png");
    ok = report(pictures::banner(scale).save(dir.filePath(banner), "PNG"), banner) && ok;
    const QString eye = named("eye.gif");
    return report(writeGif(dir.filePath(eye), pictures::eye(scale)), eye) && ok;
}
}

int main(int argc, char** argv)
{
    // Drawing text needs a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString command = arguments.value(1);
    if (command == "app-files" && arguments.size() == 3 && QDir().mkpath(arguments[2]))
        return writeAppFiles(QDir(arguments[2])) ? 0 : 1;
    if (command == "pictures" && arguments.size() == 3 && QDir().mkpath(arguments[2]))
        return writePictures(QDir(arguments[2])) ? 0 : 1;
    const int set = arguments.size() == 4 && QDir().mkpath(arguments[2]) ? arguments[3].toInt() : 0;
    if (command == "picture-set" && set > 1 && set <= kFinestPictureSet)
        return writePictureSet(QDir(arguments[2]), set) ? 0 : 1;
    if (command == "animation-set" && set > 1 && set <= kFinestAnimationSet)
        return writeAnimations(QDir(arguments[2]), set) ? 0 : 1;
    if (command == "contact-sheet" && arguments.size() == 5)
        return report(writeContactSheet(arguments[2], QDir(arguments[3]), QDir(arguments[4])),
                   arguments[2])
            ? 0
            : 1;
    std::fprintf(stderr,
        "usage: quorvel_artgen app-files <dir> | pictures <dir> | picture-set <dir> <n> | "
        "animation-set <dir> <n> | contact-sheet <png> <app dir> <pictures dir>\n");
    return 2;
}
