#include "MorseTiming.h"
#include "MorseCode.h"
#include "NumberText.h"

namespace tonara {

MorseTiming morseTiming(qint16 speed) {
    const int s = speed;
    // Worked out in double precision: speed 1 gives 100.5, which rounds to 100.
    const int dot = toInt16((s + 100) - s / 2.0);
    return {dot, s + 200, s + 500, s + 75};
}

std::vector<KeyStep> keyingSteps(char32_t upper, const MorseTiming& timing) {
    std::vector<KeyStep> steps;
    auto add = [&](KeyStep::Kind kind, int ms) {
        if (ms > 0) steps.push_back({kind, qint16(ms)});
    };
    if (upper == U' ') add(KeyStep::Kind::Pause, timing.space);
    for (const char element : morsePattern(upper))
        add(KeyStep::Kind::Tone, element == '.' ? timing.dot : timing.dash);
    add(KeyStep::Kind::Pause, timing.afterPosition);
    return steps;
}

} // namespace tonara
