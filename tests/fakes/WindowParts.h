#pragma once

#include <QObject>
#include <QString>

// A widget of a window, found as any tool finds it: by the object name the window gives it. A
// widget of a row (the sticks, the voice window's captions) is named after its row and index.
template <typename T, typename Window>
T* part(const Window& window, const char* name, int index = -1)
{
    const QString wanted = index < 0 ? QString::fromLatin1(name)
                                     : QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
    T* found = (&*window)->template findChild<T*>(wanted);
    if (!found)
        qFatal("no widget %s", qPrintable(wanted));
    return found;
}
