#include "AppFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool holdsDataFiles(const QString& folder)
{
    return QFileInfo::exists(appFile(folder, QStringLiteral("\\SINISTER.wav")));
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

QString settingsFile(const QString& executableFolder, const QString& configHome)
{
    const QString name = QStringLiteral("\\oraculo.ini");
    if (holdsDataFiles(executableFolder) && QFileInfo(executableFolder).isWritable())
        return appFile(executableFolder, name);
    const QString folder = userConfigFolder(configHome);
    QDir().mkpath(folder);
    return appFile(folder, name);
}
