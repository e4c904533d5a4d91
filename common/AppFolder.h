#pragma once

#include <QString>

// Data files are addressed as the application folder followed by a name with a leading
// backslash ("\SINISTER.wav"); this turns such a literal into a path on this system.
QString appFile(const QString& folder, const QString& backslashName);

// The settings file, and the start-up sound, whose presence marks a folder as the data folder.
inline constexpr char kSettingsFile[] = "\\oraculo.ini";
inline constexpr char kSinisterSound[] = "\\SINISTER.wav";

// Where the pictures and sounds are: beside the executable in a portable build, else in
// ../share/quorvel as installed. The executable's folder when neither holds them.
QString dataFolder(const QString& executableFolder);

// Where the settings are. `path` is the file the oracle reads and saves: beside the executable
// when that folder holds the data files and may be written (a portable build), else in the
// user's configuration folder. `seed` is the settings file left beside a portable build whose
// folder cannot be written, or empty: the user's values until `path` exists. `configHome` is
// $XDG_CONFIG_HOME, or empty to use ~/.config. Nothing on disk changes.
struct SettingsLocation {
    QString path;
    QString seed;

    // The file whose values hold now: `path`, or the seed while `path` does not exist.
    QString current() const;
};
SettingsLocation settingsLocation(const QString& executableFolder, const QString& configHome);

// The settings file, ready for a save: its folder is created, and a seed is copied there first
// so that its values, and everything else in it, carry over. Should the copy fail, the seed
// itself (read, never saved over).
QString settingsFile(const QString& executableFolder, const QString& configHome);
