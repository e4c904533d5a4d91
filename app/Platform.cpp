#include "Platform.h"

#include "SoundPlayer.h"

void Platform::play(StageSound sound) const
{
    this->sound.play(appFile(appFolder, stageSoundFile(sound)));
}
