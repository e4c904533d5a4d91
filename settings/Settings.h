#pragma once

#include "SettingsValues.h"

#include <QString>

// The settings file holds one "[Quorvel]" section with the keys vozvoz, voztom, vozvel and
// idioma.

// Fills voz(0), voz(1), voz(2) and idioma from the file at `path`, in that order. A missing
// file, section or key gives that key's default; an empty value gives 0; a value that rounds
// outside the 16-bit range leaves its target as it was. False when the file exists but could
// not be read (every key then has its default).
bool le_ini(SettingsValues& values, const QString& path);

// Writes the four keys in order, keeping everything else in the file. False when the save
// failed, which leaves the old file intact.
bool salva_ini(const SettingsValues& values, const QString& path);

// " 2" for 2, "-5" for -5: the value text as written into the file.
QByteArray formatSetting(qint16 value);
