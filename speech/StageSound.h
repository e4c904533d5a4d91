#pragma once

#include "AppFolder.h"

#include <QString>

// The stage's two sounds, by what they are for.
enum class StageSound {
    Sinister, // the start-up sound, also closing every answer
    Blip, // the key click
};

// The sound's file in the application folder, in the old program's backslash form.
inline QString stageSoundFile(StageSound sound)
{
    switch (sound) {
    case StageSound::Sinister:
        return QLatin1String(kSinisterSound);
    case StageSound::Blip:
        return QStringLiteral("\\blip1.wav");
    }
    return {};
}
