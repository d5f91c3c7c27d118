// The microphone: a record stream on the program's connection to the sound
// server, in exactly the format asked for (the server converts). Each block
// goes straight from the loop's thread to the receiver.
#include "AudioCapture.h"
#include "PulseConnection.h"
#include "RuntimeError.h"

#include <QCoreApplication>

namespace tonara {

namespace {

// How often recorded sound arrives.
constexpr int kFragmentMs = 20;

pa_sample_format_t sampleFormat(const CaptureFormat& format) {
    if (format.samplesPerSecond > 0 && format.channels > 0 && format.channels <= int(PA_CHANNELS_MAX)) {
        if (format.bitsPerSample == 8) return PA_SAMPLE_U8;
        if (format.bitsPerSample == 16) return PA_SAMPLE_S16LE;
    }
    throw RuntimeError(err::InvalidCall, QString("Unsupported capture format: %1 Hz, %2 bits, %3 channels")
                                               .arg(format.samplesPerSecond)
                                               .arg(format.bitsPerSample)
                                               .arg(format.channels));
}

class PulseCapture : public CaptureDevice {
public:
    PulseCapture(PulseConnection& connection, pa_stream* stream, CaptureReceiver& receiver)
        : connection_(connection), stream_(stream), receiver_(receiver) {
        pa_stream_set_read_callback(
            stream_, [](pa_stream*, std::size_t, void* self) { static_cast<PulseCapture*>(self)->deliver(); }, this);
    }
    ~PulseCapture() override {
        PulseConnection::Lock lock(connection_);
        pa_stream_set_read_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    void start() override { cork(false); }
    void stop() override { cork(true); }

private:
    void cork(bool corked) {
        PulseConnection::Lock lock(connection_);
        connection_.finish(pa_stream_cork(stream_, corked ? 1 : 0, nullptr, nullptr));
    }

    // The loop's thread.
    void deliver() {
        const void* data = nullptr;
        std::size_t bytes = 0;
        while (pa_stream_readable_size(stream_) > 0 && pa_stream_peek(stream_, &data, &bytes) == 0 && bytes > 0) {
            if (data) receiver_.captured(static_cast<const std::uint8_t*>(data), int(bytes));
            pa_stream_drop(stream_);
        }
    }

    PulseConnection& connection_;
    pa_stream* stream_;
    CaptureReceiver& receiver_;
};

// Under the lock. Not every server refuses a record stream from a source it
// does not have (PipeWire's links it elsewhere): asked first.
bool sourceExists(PulseConnection& connection, const QByteArray& name) {
    struct Answer {
        bool found = false;
    } answer;
    connection.finish(pa_context_get_source_info_by_name(
        connection.context(), name.constData(),
        [](pa_context*, const pa_source_info* info, int, void* data) {
            if (info) static_cast<Answer*>(data)->found = true;
        },
        &answer));
    return answer.found;
}

RuntimeError unavailable(const QString& what, PulseConnection* connection) {
    const QString reason = connection ? QString::fromUtf8(pa_strerror(pa_context_errno(connection->context())))
                                      : QString("no sound server");
    return RuntimeError(err::DeviceUnavailable, what + ": " + reason);
}

} // namespace

CaptureSources pulseCaptureSources() {
    CaptureSources answer;
    PulseConnection* connection = PulseConnection::get(QCoreApplication::applicationName().toStdString());
    if (!connection) return answer;
    PulseConnection::Lock lock(*connection);
    connection->finish(pa_context_get_source_info_list(
        connection->context(),
        [](pa_context*, const pa_source_info* info, int, void* data) {
            if (!info) return;
            const char* description = info->description ? info->description : info->name;
            static_cast<CaptureSources*>(data)->sources.push_back(
                {QString::fromUtf8(info->name), QString::fromUtf8(description)});
        },
        &answer));
    connection->finish(pa_context_get_server_info(
        connection->context(),
        [](pa_context*, const pa_server_info* info, void* data) {
            if (info && info->default_source_name)
                static_cast<CaptureSources*>(data)->defaultName = QString::fromUtf8(info->default_source_name);
        },
        &answer));
    // What "" opens: PULSE_SOURCE when the user set one.
    if (!qEnvironmentVariableIsEmpty("PULSE_SOURCE")) answer.defaultName = qEnvironmentVariable("PULSE_SOURCE");
    return answer;
}

std::unique_ptr<CaptureDevice> openPulseCapture(const QString& device, const CaptureFormat& format,
                                                CaptureReceiver& receiver) {
    const pa_sample_spec streamFormat{sampleFormat(format), std::uint32_t(format.samplesPerSecond),
                              std::uint8_t(format.channels)};
    PulseConnection* connection = PulseConnection::get(QCoreApplication::applicationName().toStdString());
    if (!connection) throw unavailable("No sound system", connection);

    PulseConnection::Lock lock(*connection);
    pa_stream* stream = pa_stream_new(connection->context(), "Microphone", &streamFormat, nullptr);
    if (!stream) throw unavailable("No capture device", connection);
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.fragsize = std::uint32_t(pa_usec_to_bytes(kFragmentMs * 1000ULL, &streamFormat));
    const QByteArray name = device.toUtf8();
    const QByteArray source = device.isEmpty() ? QByteArray::fromStdString(PulseConnection::recordedSource()) : name;
    if (!sourceExists(*connection, source)) {
        pa_stream_unref(stream);
        throw RuntimeError(err::DeviceUnavailable, "No capture device: No such entity");
    }
    const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
    connection->wakeOnChange(stream);
    pa_stream_connect_record(stream, device.isEmpty() ? nullptr : name.constData(), &attributes, flags);
    const auto settled = [&] {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    };
    if (!connection->waitFor(settled, PulseConnection::kAnswerMs) || pa_stream_get_state(stream) != PA_STREAM_READY) {
        const RuntimeError failure = unavailable("No capture device", connection);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        throw failure;
    }
    return std::make_unique<PulseCapture>(*connection, stream, receiver);
}

} // namespace tonara
