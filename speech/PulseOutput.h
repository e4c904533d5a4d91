#pragma once

#include <QAudioFormat>

#include <memory>

struct pa_stream;

// One playback stream on the machine's PulseAudio-protocol server (PulseAudio, or PipeWire's
// pipewire-pulse), for the audio thread alone: it has no thread of its own, and every call
// first lets the shared connection handle what the server sent.
//
// Its position is the server's own account of what is being heard: what the sink has read of
// the stream less the sink's latency, frozen while the stream has not started. A server that
// starts a stream late (a sink waking from suspension, a busy server, a device with a long
// latency) therefore shows no progress until the sound really plays.
class PulseOutput final {
public:
    // Null when there is no server to talk to, or it refused the stream.
    static std::unique_ptr<PulseOutput> open(const QAudioFormat& format);
    ~PulseOutput();

    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // The connection or the stream broke (the server went away): nothing more will play.
    bool failed();
    qint64 writableBytes();
    qint64 write(const char* data, qint64 bytes);
    // Microseconds of the stream heard so far, never decreasing.
    qint64 heardUSecs();

private:
    explicit PulseOutput(pa_stream* stream);

    pa_stream* m_stream;
    qint64 m_heardUSecs = 0;
};
