// The output stream on the sound server. It keeps a buffer large enough to
// ride out a busy machine, yet a change is heard at once: the stretch the
// server has queued but not yet played is mixed anew and written over what
// it held (a write at an absolute position), on PulseAudio and PipeWire
// alike. While nothing sounds the stream is corked and costs nothing.
#include "AudioDriver.h"
#include "ChangeLanding.h"
#include "PulseConnection.h"
#include "Voice.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <sys/eventfd.h>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

namespace tonara {

namespace {

constexpr int kBytesPerFrame = 4; // 16-bit stereo
// Queued at the server: a stall of the machine this long goes unheard.
constexpr int kBufferMs = 200;
// The server asks for sound in pieces of this size. PipeWire's pulse server
// sets the stream's graph cycle itself, to the buffer less twice the piece
// (at most 43 ms), rounded down to a power of two frames, and takes a
// cycle's worth of the queue at a time, ahead of what plays. With pieces of
// 40 ms, when nothing else at the server asked for a shorter cycle, it ran
// 43 ms cycles and had taken up to 36 ms past what plays: a change landed
// in sound already taken, and a stop was cut hard. Pieces of 92 ms ask for
// 16 ms, which it runs as 512 frames (10.7 ms at 48 kHz), inside the lead.
constexpr int kRequestMs = 40;
constexpr int kPipeWireRequestMs = 92;
// A change lands this far ahead of the sound playing, past what the server
// has already taken from the queue; corked, this far past the queue's
// read position, which the server may already be reading as it uncorks
// (at 10 ms, now and then, a first tone at the sink's monitor came out up
// to 1.5 ms short). At PipeWire a stream that has never run has had
// nothing read, so its first sound starts at the queue's start; PulseAudio
// rewinds its sink as a stream uncorks, and a sound that starts inside the
// stretch it rewinds comes out short at the sink's monitor. A change
// reaches PulseAudio's sink through two of its threads; on a machine with idle CPUs (a virtual one here) about one in a
// hundred took 10-34 ms, and what lands in sound already played is heard
// cut: a click at Stop.
constexpr int kPipeWireLeadMs = 15;
constexpr int kPulseAudioLeadMs = 25;
constexpr int kCorkedLeadMs = 20;
// Changes whose landing is checked at once; more at a time go unchecked.
constexpr int kCheckedChanges = 8;
// Mixed and written in pieces of this much at most: more than the queue
// holds, so a rewrite goes to the server in one write. PipeWire's server
// takes each piece's end as the queue's new end; a rewrite in several
// pieces would shorten the queue until the last arrived, and on a busy
// machine its reader could run dry meanwhile.
constexpr int kPieceMs = 1000;
static_assert(kPieceMs > kBufferMs + kPipeWireRequestMs);

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class PulseDriver : public AudioDriver {
public:
    ~PulseDriver() override { close(); }

    int serverRate(const std::string& program) override {
        PulseConnection* connection = PulseConnection::get(program);
        return connection ? connection->defaultSinkRate() : 0;
    }
    bool open(int rate, AudioFeed& feed, const std::string& program) override;
    std::string serverName() const override { return pipeWire_ ? "PipeWire" : "PulseAudio"; }
    int bufferFrames() const override { return bufferFrames_; }
    void wake() override {
        const std::uint64_t one = 1;
        if (wakeFd_ >= 0) [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
    std::int64_t playingFrame() const override;
    std::int64_t leadFrames() const override {
        return std::int64_t(rate_) * (pipeWire_ ? kPipeWireLeadMs : kPulseAudioLeadMs) / 1000;
    }
    long underruns() const override { return underruns_.load(std::memory_order_relaxed); }
    long lateChanges() const override { return lateChanges_.load(std::memory_order_relaxed); }
    long rewoundChanges() const override { return rewoundChanges_.load(std::memory_order_relaxed); }
    void close() override;

private:
    // The loop's thread, under its lock.
    void onWritable(std::size_t bytes);
    void onWake();
    void rewrite(std::int64_t from);
    void checkLanding(std::int64_t from);
    void onLandingAnswered();
    void write(std::int64_t from, std::int64_t frames, pa_seek_mode_t seek);
    std::int64_t earliest() const;
    std::int64_t playingNow() const;
    void publishPosition();
    void rest(bool corked);
    bool hasRun() const { return uncorkedAt_.tv_sec != 0 || uncorkedAt_.tv_usec != 0; }

    PulseConnection* connection_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_io_event* wakeEvent_ = nullptr;
    int wakeFd_ = -1;
    AudioFeed* feed_ = nullptr;
    int rate_ = 0;
    bool pipeWire_ = false;
    int bufferFrames_ = 0;
    std::string program_;

    // The loop's thread.
    std::int64_t written_ = 0; // frames written so far (the write position)
    bool corked_ = true;
    timeval uncorkedAt_{}; // zero until the stream first runs
    std::int64_t lastPlaying_ = 0; // the playing frame never moves back
    std::vector<std::int16_t> piece_;
    // Where each change still unanswered began, in the order asked.
    std::array<std::int64_t, kCheckedChanges> unanswered_{};
    int unansweredCount_ = 0;
    int oldestUnanswered_ = 0;

    // Published by the loop's thread: the frame playing at a moment.
    std::atomic<std::uint32_t> sequence_{0};
    std::atomic<std::int64_t> positionFrame_{0};
    std::atomic<std::int64_t> positionNs_{0};
    std::atomic<bool> running_{false};
    std::atomic<long> underruns_{0};
    std::atomic<long> lateChanges_{0};
    std::atomic<long> rewoundChanges_{0};
};

bool PulseDriver::open(int rate, AudioFeed& feed, const std::string& program) {
    connection_ = PulseConnection::get(program);
    if (!connection_ || rate <= 0) return false;
    program_ = program;
    rate_ = rate;
    feed_ = &feed;
    piece_.resize(std::size_t(rate) * kPieceMs / 1000 * 2);
    pipeWire_ = connection_->isPipeWire();
    const int requestMs = pipeWire_ ? kPipeWireRequestMs : kRequestMs;

    PulseConnection::Lock lock(*connection_);
    const pa_sample_spec streamFormat{PA_SAMPLE_S16LE, std::uint32_t(rate), 2};
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "production");
    stream_ = pa_stream_new_with_proplist(connection_->context(), "Tones", &streamFormat, nullptr, properties);
    pa_proplist_free(properties);
    if (!stream_) return false;

    pa_stream_set_write_callback(
        stream_, [](pa_stream*, std::size_t bytes, void* self) { static_cast<PulseDriver*>(self)->onWritable(bytes); },
        this);
    pa_stream_set_underflow_callback(
        stream_,
        [](pa_stream*, void* data) {
            auto* self = static_cast<PulseDriver*>(data);
            const long count = self->underruns_.fetch_add(1, std::memory_order_relaxed) + 1;
            std::fprintf(stderr, "%s: the sound output ran dry at frame %lld (underrun %ld)\n", self->program_.c_str(),
                         static_cast<long long>(self->written_), count);
        },
        this);
    pa_stream_set_latency_update_callback(
        stream_, [](pa_stream*, void* self) { static_cast<PulseDriver*>(self)->publishPosition(); }, this);

    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.tlength = std::uint32_t(pa_usec_to_bytes(kBufferMs * 1000ULL, &streamFormat));
    attributes.prebuf = std::uint32_t(-1);
    attributes.minreq = std::uint32_t(pa_usec_to_bytes(requestMs * 1000ULL, &streamFormat));
    attributes.fragsize = std::uint32_t(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_INTERPOLATE_TIMING |
                                         PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_NOT_MONOTONIC);
    connection_->wakeOnChange(stream_);
    if (pa_stream_connect_playback(stream_, nullptr, &attributes, flags, nullptr, nullptr) < 0) return false;
    const auto settled = [&] {
        const pa_stream_state_t state = pa_stream_get_state(stream_);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    };
    if (!connection_->waitFor(settled, PulseConnection::kAnswerMs) || pa_stream_get_state(stream_) != PA_STREAM_READY) {
        std::fprintf(stderr, "%s: no sound output (%s)\n", program.c_str(),
                     pa_strerror(pa_context_errno(connection_->context())));
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
        return false;
    }
    if (const pa_buffer_attr* granted = pa_stream_get_buffer_attr(stream_))
        bufferFrames_ = int(granted->tlength / kBytesPerFrame);

    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    wakeEvent_ = connection_->api()->io_new(
        connection_->api(), wakeFd_, PA_IO_EVENT_INPUT,
        [](pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(fd, &count, sizeof count);
            static_cast<PulseDriver*>(self)->onWake();
        },
        this);
    return true;
}

void PulseDriver::close() {
    if (!stream_) return;
    {
        PulseConnection::Lock lock(*connection_);
        if (wakeEvent_) connection_->api()->io_free(wakeEvent_);
        wakeEvent_ = nullptr;
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
        pa_stream_set_latency_update_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (wakeFd_ >= 0) ::close(wakeFd_);
    wakeFd_ = -1;
}

// From the server's last report: what it had read of the queue, less what
// its sink still holds, and the time since, while the stream runs. A report
// from before the stream was uncorked counts only from the uncorking: the
// servers differ in what they report of a corked stream.
std::int64_t PulseDriver::playingNow() const {
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    if (!timing || timing->read_index_corrupt) return std::min(written_, lastPlaying_);
    const auto frames = [&](pa_usec_t usec) { return std::int64_t(usec * std::uint64_t(rate_) / 1000000); };
    std::int64_t playing = timing->read_index / kBytesPerFrame - frames(timing->sink_usec);
    if (!corked_) {
        timeval now{};
        pa_gettimeofday(&now);
        const pa_usec_t sinceReport = pa_timeval_diff(&now, &timing->timestamp);
        const pa_usec_t sinceUncork = pa_timeval_diff(&now, &uncorkedAt_);
        playing += frames(std::min(sinceReport, sinceUncork));
    }
    return std::clamp(playing, lastPlaying_, written_);
}

void PulseDriver::publishPosition() {
    const std::int64_t playing = playingNow();
    lastPlaying_ = playing;
    const std::uint32_t sequence = sequence_.load(std::memory_order_relaxed);
    sequence_.store(sequence + 1, std::memory_order_release);
    positionFrame_.store(playing, std::memory_order_relaxed);
    positionNs_.store(nowNs(), std::memory_order_relaxed);
    running_.store(!corked_, std::memory_order_relaxed);
    sequence_.store(sequence + 2, std::memory_order_release);
}

std::int64_t PulseDriver::playingFrame() const {
    for (;;) {
        const std::uint32_t before = sequence_.load(std::memory_order_acquire);
        const std::int64_t frame = positionFrame_.load(std::memory_order_relaxed);
        const std::int64_t ns = positionNs_.load(std::memory_order_relaxed);
        const bool running = running_.load(std::memory_order_relaxed);
        if ((before & 1) || sequence_.load(std::memory_order_acquire) != before) continue;
        if (!running) return frame;
        return frame + (nowNs() - ns) * rate_ / 1000000000;
    }
}

// Past what plays now by the lead, and past what the server has taken from
// its queue; corked, nothing moves and the queue's read position is exact.
std::int64_t PulseDriver::earliest() const {
    if (pipeWire_ && !hasRun()) return 0;
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    const std::int64_t read = timing && !timing->read_index_corrupt ? timing->read_index / kBytesPerFrame : 0;
    if (corked_) return std::min(read + std::int64_t(rate_) * kCorkedLeadMs / 1000, written_);
    return std::max(playingNow() + leadFrames(), read);
}

void PulseDriver::write(std::int64_t from, std::int64_t frames, pa_seek_mode_t seek) {
    while (frames > 0) {
        const int piece = int(std::min<std::int64_t>(frames, std::int64_t(piece_.size() / 2)));
        feed_->fill(piece_.data(), from, piece);
        pa_stream_write(stream_, piece_.data(), std::size_t(piece) * kBytesPerFrame, nullptr,
                        seek == PA_SEEK_ABSOLUTE ? from * kBytesPerFrame : 0, seek);
        seek = PA_SEEK_RELATIVE;
        from += piece;
        frames -= piece;
    }
}

void PulseDriver::rewrite(std::int64_t from) {
    if (from >= written_) return;
    write(from, written_ - from, PA_SEEK_ABSOLUTE);
    if (!corked_) checkLanding(from);
}

// Where a change landed, from the server's next answer (ChangeLanding.h):
// one that may be heard cut is said, as an underrun is.
void PulseDriver::checkLanding(std::int64_t from) {
    if (unansweredCount_ == kCheckedChanges) return;
    pa_operation* operation = pa_stream_update_timing_info(
        stream_, [](pa_stream*, int, void* self) { static_cast<PulseDriver*>(self)->onLandingAnswered(); }, this);
    if (!operation) return;
    pa_operation_unref(operation);
    unanswered_[size_t((oldestUnanswered_ + unansweredCount_) % kCheckedChanges)] = from;
    ++unansweredCount_;
}

void PulseDriver::onLandingAnswered() {
    if (unansweredCount_ == 0) return;
    const std::int64_t from = unanswered_[size_t(oldestUnanswered_)];
    oldestUnanswered_ = (oldestUnanswered_ + 1) % kCheckedChanges;
    --unansweredCount_;
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    if (!timing || timing->read_index_corrupt) return;
    const std::int64_t taken = timing->read_index / kBytesPerFrame;
    const std::int64_t played = taken - std::int64_t(timing->sink_usec * std::uint64_t(rate_) / 1000000);
    const Landing landing = changeLanding(from, taken, played, !pipeWire_);
    if (landing.kind == ChangeLanding::Rewound) rewoundChanges_.fetch_add(1, std::memory_order_relaxed);
    if (landing.kind != ChangeLanding::Late) return;
    const long count = lateChanges_.fetch_add(1, std::memory_order_relaxed) + 1;
    std::fprintf(stderr, "%s: the sound server took a change %.1f ms late; it may be heard cut (late change %ld)\n",
                 program_.c_str(), double(landing.lateFrames) * 1000.0 / rate_, count);
}

void PulseDriver::onWritable(std::size_t bytes) {
    const std::int64_t changed = feed_->takeChanges(earliest());
    rewrite(changed);
    const auto frames = std::int64_t(bytes / kBytesPerFrame);
    write(written_, frames, PA_SEEK_RELATIVE);
    written_ += frames;
    publishPosition();
    if (feed_->resting(playingFrame())) rest(true);
}

void PulseDriver::onWake() {
    if (!stream_) return;
    const std::int64_t changed = feed_->takeChanges(earliest());
    if (changed == kNever) return;
    rewrite(changed);
    if (corked_) rest(false);
}

void PulseDriver::rest(bool corked) {
    if (corked == corked_) return;
    corked_ = corked;
    if (!corked) pa_gettimeofday(&uncorkedAt_);
    if (pa_operation* operation = pa_stream_cork(stream_, corked ? 1 : 0, nullptr, nullptr))
        pa_operation_unref(operation);
    // A fresh report as soon as the server has taken the change.
    if (pa_operation* operation = pa_stream_update_timing_info(stream_, nullptr, nullptr))
        pa_operation_unref(operation);
    publishPosition();
}

} // namespace

std::unique_ptr<AudioDriver> makePulseDriver() { return std::make_unique<PulseDriver>(); }

} // namespace tonara
