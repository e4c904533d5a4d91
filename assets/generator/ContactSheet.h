#pragma once

#include <QDir>
#include <QString>

// Lays every picture found in the two folders side by side with its name, size and, for
// animations, its first frames and frame count: the sheet to review the artwork on.
bool writeContactSheet(const QString& path, const QDir& appDir, const QDir& picturesDir);
