#include "ApplyVoice.h"

#include "SpeechEngine.h"

void applyVoice(SpeechEngine& engine, const qint16 (&voz)[3])
{
    engine.select_voice(voz[0]);
    engine.set_pitch(voz[1]);
    engine.set_speed(voz[2]);
}
