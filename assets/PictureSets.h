#pragma once

#include <QString>

// The face, its mouths, its flaring eyes and the banner are drawn again for screens of a higher
// density, 2, 3 and 4 times finer: "face.jpg" has "face@2x.jpg", "face@3x.jpg" and "face@4x.jpg".
inline constexpr int kFinestPictureSet = 4;

inline QString pictureSetName(const QString& name, int scale)
{
    if (scale == 1)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    return name.left(dot) + QStringLiteral("@%1x").arg(scale) + name.mid(dot);
}
