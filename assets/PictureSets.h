#pragma once

#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>

// The face, its mouths, its flaring eyes, the banner and the wandering eye are drawn again for
// screens of a higher density, 2, 3 and 4 times finer: "face.jpg" has "face@2x.jpg",
// "face@3x.jpg" and "face@4x.jpg". An animation beside the program may have sets too.
inline constexpr int kFinestPictureSet = 4;
// The stage's animations are drawn again 2 and 3 times finer only: the program keeps what
// changes in every frame of the set in use, at a cost that grows with the square of the set, and
// a 4x set on a 4K screen would cost 16/9 of the 3x one, gently scaled up, for a difference
// hard to see while they play.
inline constexpr int kFinestAnimationSet = 3;

inline QString pictureSetName(const QString& name, int scale)
{
    if (scale == 1)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    return name.left(dot) + QStringLiteral("@%1x").arg(scale) + name.mid(dot);
}

// The set drawn for `density` pixels per stage pixel of the picture at `path`: the finest needed
// (the nearest above the density) among those there are, or the finest below it.
inline int pictureSet(const QString& path, double density)
{
    const int above = std::clamp(int(std::ceil(density - 1e-6)), 1, kFinestPictureSet);
    for (int set = above; set <= kFinestPictureSet; ++set) {
        if (QFile::exists(pictureSetName(path, set)))
            return set;
    }
    for (int set = above - 1; set > 1; --set) {
        if (QFile::exists(pictureSetName(path, set)))
            return set;
    }
    return 1;
}
