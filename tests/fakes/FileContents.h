#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole file, or nothing when it cannot be read.
inline QByteArray fileContents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
