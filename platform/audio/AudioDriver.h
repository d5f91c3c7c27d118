#pragma once
// The thin layer between the engine and a sound server: a stream at a
// rate, fed from the driver's own thread, corked while it rests, with what
// it has queued replaced from a frame on when the sound changes.

#include <cstdint>
#include <memory>
#include <string>

namespace tonara {

// What a driver plays. Called on the driver's thread only, which must not
// wait on the interface thread: nothing here allocates, locks or blocks.
class AudioFeed {
public:
    virtual ~AudioFeed() = default;
    // Places the requests that wait; earliest is the first frame a change
    // can still reach. Returns the first frame to mix anew (kNever: none).
    virtual std::int64_t takeChanges(std::int64_t earliest) noexcept = 0;
    // Frames [from, from + frames) of the stream, interleaved 16-bit stereo.
    virtual void fill(std::int16_t* out, std::int64_t from, int frames) noexcept = 0;
    // Nothing has sounded for a while before the frame now playing and
    // nothing is due: the stream may be corked.
    virtual bool resting(std::int64_t playing) const noexcept = 0;
};

class AudioDriver {
public:
    virtual ~AudioDriver() = default;

    // The rate of the server's default output; 0 when there is no server.
    // program names the client.
    virtual int serverRate(const std::string& program) = 0;
    // Opens the stream at rate, corked; false when there is no server.
    virtual bool open(int rate, AudioFeed& feed, const std::string& program) = 0;
    // Which server, and the sound it keeps queued, in frames.
    virtual std::string serverName() const = 0;
    virtual int bufferFrames() const = 0;
    // Any thread: changes wait in the feed; the driver takes them at once.
    virtual void wake() = 0;
    // Any thread: the stream's frame the listener hears at this moment.
    virtual std::int64_t playingFrame() const = 0;
    // Any thread: how far ahead of the frame playing a change takes effect.
    virtual std::int64_t leadFrames() const = 0;
    // Any thread: times the server ran out of sound of ours while it played.
    virtual long underruns() const = 0;
    // Any thread: changes the server took after part of what they changed
    // had already played (a busy server), so that they may be heard cut.
    virtual long lateChanges() const = 0;
    // Any thread: changes for which PulseAudio rewound its sink, over sound
    // it had taken but not yet played (heard whole; its monitor, which has
    // already handed that sound on, may show a splice).
    virtual long rewoundChanges() const = 0;
    // Ends the stream at once; the feed is not called again.
    virtual void close() = 0;
};

// The driver for the sound servers desktops run: PulseAudio, or PipeWire
// through its PulseAudio server.
std::unique_ptr<AudioDriver> makePulseDriver();

} // namespace tonara
