#pragma once

#include <QString>

// Data files are addressed as the application folder followed by a name with a leading
// backslash ("\SINISTER.wav"); this turns such a literal into a path on this system.
QString appFile(const QString& folder, const QString& backslashName);
