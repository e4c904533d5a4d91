#include "SynthesisWorker.h"

#include "AudioStream.h"
#include "MouthTrack.h"
#include "PhonemeShapes.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstring>

namespace {

// Guards every call into espeak-ng, the worker's and the set-up's alike.
std::mutex& espeakMutex()
{
    static std::mutex mutex;
    return mutex;
}

// What one espeak_Synth call needs in its callback. Word and phoneme events come with or before
// the chunk holding their first sample; each is handed to the stream with the sound it starts,
// as a mark at its sample, so it is never reported ahead of the sound. espeak-ng's words are
// not quite the text's blank-separated words (a lone dash has none, an extra event closes some
// texts), and the windows count one event per blank-separated word, so events are mapped onto
// those words: repeats are dropped and skipped words are reported together with the next one.
// Phonemes become changes of mouth; the sound is held back in the utterance until the changes
// within it are settled, a few tens of milliseconds of sound that take microseconds to make.
struct Utterance {
    const SynthesisWorker::Job* job = nullptr;
    QString language;
    mouth::Track mouth;
    qint64 producedFrames = 0;
    qint64 sentFrames = 0;
    QByteArray unsent; // produced, not yet handed to the stream
    int nextWord = 0;
    QList<AudioStream::Mark> pending; // frames counted from the utterance's start

    Utterance(const SynthesisWorker::Job& j, int sampleRate)
        : job(&j)
        , language(QString::fromLatin1(j.voice))
        , mouth(sampleRate)
    {
    }

    void onWord(const espeak_EVENT& e)
    {
        const QList<int>& starts = job->wordStarts;
        const int word
            = int(std::upper_bound(starts.begin(), starts.end(), e.text_position) - starts.begin())
            - 1;
        for (; nextWord <= word; ++nextWord)
            pending << AudioStream::Mark { e.sample, nextWord };
    }

    void onPhoneme(const espeak_EVENT& e)
    {
        // The name fills all eight bytes, with no terminator, for a long one such as "ɐ̃ʊ̃".
        const QByteArrayView name(e.id.string, qsizetype(strnlen(e.id.string, sizeof e.id.string)));
        mouth.phoneme(e.sample, mouth::shapeOf(language, QString::fromUtf8(name)));
    }

    void onSound(const short* wav, int count)
    {
        unsent.append(reinterpret_cast<const char*>(wav), count * qint64(sizeof(short)));
        producedFrames += count;
        addMouthMarks(mouth.takeSettled(producedFrames));
        send(mouth.settledUntil(producedFrames));
    }

    void addMouthMarks(const QList<mouth::Track::Key>& keys)
    {
        for (const mouth::Track::Key& key : keys)
            pending << AudioStream::Mark { key.frame, SynthesisWorker::mouthTag(key.shape) };
    }

    // Hands the sound up to `until` to the stream, with the marks that fall in it.
    void send(qint64 until)
    {
        if (until <= sentFrames)
            return;
        const qint64 bytes = (until - sentFrames) * qint64(sizeof(short));
        const QByteArray pcm = unsent.left(bytes);
        unsent.remove(0, bytes);
        QList<AudioStream::Mark> marks;
        for (qsizetype i = 0; i < pending.size();) {
            if (pending[i].frame < until) {
                marks << AudioStream::Mark { std::max<qint64>(0, pending[i].frame - sentFrames),
                    pending[i].tag };
                pending.removeAt(i);
            } else {
                ++i;
            }
        }
        if (job->stream)
            job->stream->append(pcm, marks);
        sentFrames = until;
    }

    // The rest of the sound, the marks still waiting, the mouth at rest and the end.
    void finish()
    {
        addMouthMarks(mouth.finish(producedFrames));
        send(producedFrames);
        QList<AudioStream::Mark> tail;
        for (const AudioStream::Mark& mark : std::as_const(pending))
            tail << AudioStream::Mark { 0, mark.tag };
        for (; nextWord < job->wordStarts.size(); ++nextWord)
            tail << AudioStream::Mark { 0, nextWord };
        tail << AudioStream::Mark { 0, SynthesisWorker::kEndOfUtterance };
        job->stream->append({}, tail);
    }
};

int onSynthesized(short* wav, int count, espeak_EVENT* events)
{
    auto* utterance = static_cast<Utterance*>(events->user_data);
    for (espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type == espeakEVENT_WORD)
            utterance->onWord(*e);
        else if (e->type == espeakEVENT_PHONEME)
            utterance->onPhoneme(*e);
    }
    if (wav && count > 0)
        utterance->onSound(wav, count);
    return *utterance->job->cancelled ? 1 : 0;
}

} // namespace

std::optional<MouthShape> SynthesisWorker::mouthOfTag(int tag)
{
    const int shape = kFirstMouthTag - tag;
    if (shape < 0 || shape >= mouth::kShapes)
        return std::nullopt;
    return MouthShape(shape);
}

QList<int> SynthesisWorker::wordStartsOf(const QString& text)
{
    QList<int> starts;
    bool inWord = false;
    int position = 0;
    for (const char32_t c : text.toUcs4()) {
        ++position;
        const bool blank = c == U' ';
        if (!blank && !inWord)
            starts << position;
        inWord = !blank;
    }
    return starts;
}

SynthesisWorker& SynthesisWorker::instance()
{
    static SynthesisWorker worker;
    return worker;
}

SynthesisWorker::SynthesisWorker()
    : m_thread(&SynthesisWorker::run, this)
{
}

SynthesisWorker::~SynthesisWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        for (Job& job : m_jobs)
            *job.cancelled = true;
    }
    m_wakeUp.notify_all();
    m_thread.join();
    if (!available())
        return;
    std::lock_guard lock(espeakMutex());
    espeak_Terminate();
}

int SynthesisWorker::sampleRate() const
{
    waitUntilSetUp();
    return m_sampleRate;
}

const QList<EspeakVoice>& SynthesisWorker::voices() const
{
    waitUntilSetUp();
    return m_voices;
}

bool SynthesisWorker::isSetUp() const
{
    std::lock_guard lock(m_mutex);
    return m_setUp;
}

void SynthesisWorker::waitUntilSetUp() const
{
    std::unique_lock lock(m_mutex);
    m_wakeUp.wait(lock, [this] { return m_setUp; });
}

void SynthesisWorker::submit(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wakeUp.notify_all();
}

// espeak-ng opens an audio stream of its own while it sets up (through pcaudio), though here it
// only ever hands over samples; a server that never starts a stream (PipeWire without its
// session manager) holds that set-up, and every speak_text waiting on it, for half a minute.
// With no device to offer it, espeak-ng leaves the server alone.
extern "C" struct audio_object* create_audio_device_object(const char*, const char*, const char*)
{
    return nullptr;
}

void SynthesisWorker::setUp()
{
    {
        std::lock_guard lock(espeakMutex());
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
            espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_PHONEME_IPA
                | espeakINITIALIZE_DONT_EXIT);
        if (rate > 0) {
            espeak_SetSynthCallback(onSynthesized);
            const char* dataPath = nullptr;
            espeak_Info(&dataPath);
            m_voices = EspeakVoice::installed(QString::fromUtf8(dataPath));
            m_sampleRate = rate;
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_setUp = true;
    }
    m_wakeUp.notify_all();
}

void SynthesisWorker::run()
{
    setUp();
    if (!available())
        return;
    // A process's first utterance costs up to a few hundred milliseconds: pay it now, unheard.
    if (!m_voices.isEmpty())
        synthesize(Job { "oráculo", {}, m_voices.first().name, 50, 175, nullptr,
            std::make_shared<std::atomic<bool>>(false) });
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_wakeUp.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_stopping)
            return;
        const Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        synthesize(job);
    }
}

void SynthesisWorker::synthesize(const Job& job)
{
    Utterance utterance(job, m_sampleRate);
    {
        std::lock_guard lock(espeakMutex());
        if (job.voice != m_currentVoice && espeak_SetVoiceByName(job.voice.constData()) == EE_OK)
            m_currentVoice = job.voice;
        espeak_SetParameter(espeakRATE, job.rate, 0);
        espeak_SetParameter(espeakPITCH, job.pitch, 0);
        // Plain text only: no espeakSSML and no espeakPHONEMES, so markup and [[...]] typed by
        // the operator are spoken as they stand.
        if (!*job.cancelled)
            espeak_Synth(job.text.constData(), size_t(job.text.size()) + 1, 0, POS_CHARACTER, 0,
                espeakCHARS_UTF8, nullptr, &utterance);
    }
    if (!job.stream || *job.cancelled)
        return;
    utterance.finish();
}
