#include "PulseOutput.h"

#include <QElapsedTimer>

#include <algorithm>

#include <pulse/pulseaudio.h>

namespace {

// Short enough that speech starts at once, long enough to ride out a busy moment of the thread.
constexpr int kTargetLatencyMs = 80;
// A stream starts once this much is buffered; the caller pads short sounds with silence.
constexpr int kPrebufferMs = 20;
constexpr int kConnectTimeoutMs = 2000;

// The process's one connection to the server, made on the audio thread on first use and made
// again after the server went away.
class Connection {
public:
    static Connection& instance()
    {
        static Connection connection;
        return connection;
    }

    pa_context* ready()
    {
        iterate();
        if (m_context && !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
            drop();
        if (!m_context && !connect())
            return nullptr;
        return pa_context_get_state(m_context) == PA_CONTEXT_READY ? m_context : nullptr;
    }

    void iterate()
    {
        for (int round = 0; round < 64 && pa_mainloop_iterate(m_loop, 0, nullptr) > 0; ++round) { }
    }

    // Handles the server's messages until done() holds or the time runs out.
    template <typename Done> bool waitFor(Done done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > kConnectTimeoutMs)
                return false;
            pa_mainloop_prepare(m_loop, 10'000);
            pa_mainloop_poll(m_loop);
            pa_mainloop_dispatch(m_loop);
        }
        return true;
    }

    bool good() const { return m_context && PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)); }

private:
    // The loop outlives every context and stream made on it, so it is never freed: streams may
    // still hold a context that was dropped when its server went away.
    Connection()
        : m_loop(pa_mainloop_new())
    {
    }

    bool connect()
    {
        m_context = pa_context_new(pa_mainloop_get_api(m_loop), "Quorvel");
        if (!m_context
            || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            drop();
            return false;
        }
        const bool ready = waitFor([this] {
            const pa_context_state_t state = pa_context_get_state(m_context);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        });
        if (!ready || pa_context_get_state(m_context) != PA_CONTEXT_READY) {
            drop();
            return false;
        }
        return true;
    }

    void drop()
    {
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
    }

    pa_mainloop* const m_loop;
    pa_context* m_context = nullptr;
};

// libpulse's name for a stream's sample format.
using SampleFormat = pa_sample_spec;

bool sampleFormatOf(const QAudioFormat& format, SampleFormat* sample)
{
    if (format.sampleFormat() != QAudioFormat::Int16)
        return false;
    sample->format = PA_SAMPLE_S16LE;
    sample->rate = uint32_t(format.sampleRate());
    sample->channels = uint8_t(format.channelCount());
    return pa_sample_spec_valid(sample);
}

} // namespace

std::unique_ptr<PulseOutput> PulseOutput::open(const QAudioFormat& format)
{
    Connection& connection = Connection::instance();
    pa_context* context = connection.ready();
    SampleFormat sample {};
    if (!context || !sampleFormatOf(format, &sample))
        return nullptr;
    pa_stream* stream = pa_stream_new(context, "Quorvel", &sample, nullptr);
    if (!stream)
        return nullptr;
    pa_buffer_attr buffer {};
    buffer.maxlength = uint32_t(-1);
    buffer.tlength = uint32_t(pa_usec_to_bytes(kTargetLatencyMs * 1000, &sample));
    buffer.prebuf = uint32_t(pa_usec_to_bytes(kPrebufferMs * 1000, &sample));
    buffer.minreq = uint32_t(-1);
    buffer.fragsize = uint32_t(-1);
    const auto flags = pa_stream_flags_t(
        PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    std::unique_ptr<PulseOutput> output(new PulseOutput(stream));
    if (pa_stream_connect_playback(stream, nullptr, &buffer, flags, nullptr, nullptr) < 0)
        return nullptr;
    const bool ready = connection.waitFor([stream] {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    });
    if (!ready || pa_stream_get_state(stream) != PA_STREAM_READY)
        return nullptr;
    return output;
}

PulseOutput::PulseOutput(pa_stream* stream)
    : m_stream(stream)
{
}

PulseOutput::~PulseOutput()
{
    if (pa_stream_get_state(m_stream) == PA_STREAM_READY)
        pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    Connection::instance().iterate();
}

bool PulseOutput::failed()
{
    Connection& connection = Connection::instance();
    connection.iterate();
    return !connection.good() || pa_stream_get_state(m_stream) != PA_STREAM_READY;
}

qint64 PulseOutput::writableBytes()
{
    if (failed())
        return 0;
    const size_t writable = pa_stream_writable_size(m_stream);
    return writable == size_t(-1) ? 0 : qint64(writable);
}

qint64 PulseOutput::write(const char* data, qint64 bytes)
{
    if (bytes <= 0 || failed())
        return 0;
    if (pa_stream_write(m_stream, data, size_t(bytes), nullptr, 0, PA_SEEK_RELATIVE) < 0)
        return 0;
    return bytes;
}

qint64 PulseOutput::heardUSecs()
{
    pa_usec_t usecs = 0;
    if (!failed() && pa_stream_get_time(m_stream, &usecs) == 0)
        m_heardUSecs = std::max(m_heardUSecs, qint64(usecs));
    return m_heardUSecs;
}
