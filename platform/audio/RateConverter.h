#pragma once
// Converts sounds to the output's rate with libsoxr, once, when they are
// loaded on the interface thread: the audio thread then plays them frame
// for frame.

#include "PcmSound.h"

#include <map>
#include <memory>
#include <utility>

struct soxr;

namespace tonara {

class RateConverter {
public:
    RateConverter();
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    // The sound at rate frames per second, band-limited: whatever lies at or
    // above the lower of the two Nyquist limits is filtered out, never
    // folded back. A looping sound is converted as one period of an endless
    // loop, so its loop point stays seamless; its length becomes
    // frames × rate / sound rate, rounded. A sound already at rate is
    // returned as it is. Nothing when the conversion fails. A sound equal to
    // the one converted last, the same way, gets that conversion again.
    std::shared_ptr<const PcmSound> convert(std::shared_ptr<const PcmSound> sound, int rate, bool looping);

private:
    soxr* converterFor(int fromRate, int toRate);
    std::shared_ptr<const PcmSound> converted(const PcmSound& sound, int rate, bool looping);

    // Play after Play of a preset, a Morse text's elements and a tone file's
    // repeated tones bring the same sound again; comparing it costs a
    // hundredth of converting it, time that Play would wait.
    struct Conversion {
        std::shared_ptr<const PcmSound> from;
        int rate = 0;
        bool looping = false;
        std::shared_ptr<const PcmSound> to;
    };
    Conversion last_;

    // Designing the filter costs more than converting a second of sound,
    // and the program converts from the same few rates over and over.
    std::map<std::pair<int, int>, soxr*> converters_;
};

} // namespace tonara
