#pragma once

#include "EspeakVoice.h"
#include "MouthShape.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class AudioStream;

// The process's one espeak-ng synthesizer, working on its own thread. espeak-ng keeps its voice
// and parameters in globals and crashes when two threads synthesize at once, so every utterance
// of every engine goes through here, one at a time, with its voice and parameters set afresh.
// Samples stream into the utterance's AudioStream chunk by chunk, each word and each change of
// mouth as a mark.
// espeak-ng is set up on that thread too, so creating the worker never holds up the caller;
// only asking for the sample rate or the voices waits until the set-up is done.
class SynthesisWorker {
public:
    // Mark tags: word marks carry the word's index (from 0), mouth marks a tag of their own.
    static constexpr int kEndOfUtterance = -1;
    static constexpr int mouthTag(MouthShape shape) { return kFirstMouthTag - int(shape); }
    static std::optional<MouthShape> mouthOfTag(int tag);

    struct Job {
        QByteArray text; // UTF-8
        QList<int> wordStarts; // 1-based character positions of the blank-separated words
        QByteArray voice;
        int pitch; // espeak-ng units
        int rate;
        std::shared_ptr<AudioStream> stream;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };

    static QList<int> wordStartsOf(const QString& text);
    static SynthesisWorker& instance();
    ~SynthesisWorker();

    // False while espeak-ng is still being set up; never waits.
    bool isSetUp() const;
    bool available() const { return sampleRate() > 0; }
    int sampleRate() const;
    const QList<EspeakVoice>& voices() const;
    void submit(Job job);

private:
    static constexpr int kFirstMouthTag = -2;

    SynthesisWorker();
    void run();
    void setUp();
    void waitUntilSetUp() const;
    void synthesize(const Job& job);

    // Written once by the set-up, before m_setUp is raised; read-only afterwards.
    int m_sampleRate = 0;
    QList<EspeakVoice> m_voices;
    QByteArray m_currentVoice;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_wakeUp;
    bool m_setUp = false;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};
