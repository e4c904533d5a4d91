#include "EspeakEngine.h"

// Interim engine with no voices: every speech step does nothing and waits end at once.
EspeakEngine::EspeakEngine(QObject* parent)
    : SpeechEngine(parent)
{
}
EspeakEngine::~EspeakEngine() = default;
void EspeakEngine::speak_text(const QString&) { }
int EspeakEngine::speaking_state() const { return 0; }
bool EspeakEngine::select_voice(int) { return false; }
int EspeakEngine::voice_count() const { return 0; }
QString EspeakEngine::voice_label(int) const { return {}; }
QString EspeakEngine::voice_detail(int) const { return {}; }
void EspeakEngine::set_pitch(int) { }
int EspeakEngine::pitch_min() const { return 0; }
int EspeakEngine::pitch_max() const { return 100; }
void EspeakEngine::set_speed(int) { }
int EspeakEngine::speed_min() const { return 80; }
int EspeakEngine::speed_max() const { return 450; }
