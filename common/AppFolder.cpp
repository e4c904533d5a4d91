#include "AppFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool holdsDataFiles(const QString& folder)
{
    return QFileInfo::exists(appFile(folder, QLatin1String(kSinisterSound)));
}

// Byte for byte, and written whole or not at all.
bool copyFile(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = in.readAll();
    QSaveFile out(to);
    return in.error() == QFileDevice::NoError && out.open(QIODevice::WriteOnly)
        && out.write(data) == data.size() && out.commit();
}

QString userConfigFolder(const QString& configHome)
{
    const QString base = QDir::isAbsolutePath(configHome)
        ? configHome
        : QDir::home().filePath(QStringLiteral(".config"));
    return QDir::cleanPath(base + QStringLiteral("/quorvel"));
}

}

QString appFile(const QString& folder, const QString& backslashName)
{
    QString name = backslashName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!name.startsWith(QLatin1Char('/')))
        name.prepend(QLatin1Char('/'));
    QString base = folder;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + name;
}

QString dataFolder(const QString& executableFolder)
{
    const QString installed
        = QDir::cleanPath(executableFolder + QStringLiteral("/../share/quorvel"));
    if (!holdsDataFiles(executableFolder) && holdsDataFiles(installed))
        return installed;
    return executableFolder;
}

QString SettingsLocation::current() const
{
    return (seed.isEmpty() || QFileInfo::exists(path)) ? path : seed;
}

SettingsLocation settingsLocation(const QString& executableFolder, const QString& configHome)
{
    const QString name = QLatin1String(kSettingsFile);
    const QString portable = appFile(executableFolder, name);
    const bool portableBuild = holdsDataFiles(executableFolder);
    if (portableBuild && QFileInfo(executableFolder).isWritable())
        return { portable, {} };
    const bool seeded = portableBuild && QFileInfo::exists(portable);
    return { appFile(userConfigFolder(configHome), name), seeded ? portable : QString() };
}

QString settingsFile(const QString& executableFolder, const QString& configHome)
{
    const SettingsLocation location = settingsLocation(executableFolder, configHome);
    QDir().mkpath(QFileInfo(location.path).path());
    if (location.current() == location.path || copyFile(location.seed, location.path))
        return location.path;
    return location.seed;
}
