#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

// The whole file, or nothing when it cannot be read.
inline QByteArray fileContents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text as a UTF-16LE file with its byte-order mark, as Windows Notepad saves "Unicode".
inline QByteArray utf16(const char* text)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return "\xFF\xFE" + QByteArray(encoder(QString::fromUtf8(text)));
}
