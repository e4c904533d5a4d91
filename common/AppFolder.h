#pragma once

#include <QString>

// Data files are addressed as the application folder followed by a name with a leading
// backslash ("\SINISTER.wav"); this turns such a literal into a path on this system.
QString appFile(const QString& folder, const QString& backslashName);

// Where the pictures and sounds are: beside the executable in a portable build, else in
// ../share/quorvel as installed. The executable's folder when neither holds them.
QString dataFolder(const QString& executableFolder);

// The settings file: beside the executable when that folder holds the data files and may be
// written (a portable build), else in the user's configuration folder, which is then created so
// that a save can land there. `configHome` is $XDG_CONFIG_HOME, or empty to use ~/.config.
QString settingsFile(const QString& executableFolder, const QString& configHome);
