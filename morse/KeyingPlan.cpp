#include "KeyingPlan.h"
#include "MorseCode.h"

#include <QList>
#include <numeric>
#include <string>

namespace tonara {

namespace {

std::u32string keyedPart(const QString& message) {
    const QList<uint> all = message.toUcs4();
    std::u32string out;
    for (qsizetype i = 0; i < all.size() && i < kKeyedCharacters; ++i) out.push_back(morseUpper(char32_t(all[i])));
    return out;
}

// The pattern of the prosign that starts at `open` ("<"), and where it ends
// (at its ">"); empty when there is none.
std::string prosignAt(const std::u32string& text, size_t open, size_t& close) {
    close = text.find(U'>', open + 1);
    if (close == std::u32string::npos || close == open + 1) return {};
    std::string pattern;
    for (size_t i = open + 1; i < close; ++i) {
        const std::string_view letter = morsePattern(text[i]);
        if (letter.empty()) return {};
        pattern += letter;
    }
    return pattern;
}

class StandardKeyer {
public:
    explicit StandardKeyer(const StandardTiming& timing) : timing_(timing) {}

    void character(std::string_view pattern) {
        if (!plan_.spans.empty()) add(false, wordPending_ ? timing_.wordGapMs : timing_.letterGapMs);
        wordPending_ = false;
        for (size_t i = 0; i < pattern.size(); ++i) {
            if (i > 0) add(false, timing_.unitMs);
            add(true, pattern[i] == '.' ? timing_.unitMs : 3 * timing_.unitMs);
        }
    }
    void space() { wordPending_ = !plan_.spans.empty(); }
    void illegal(char32_t c) { plan_.illegal.push_back(c); }

    KeyingPlan finished() {
        if (!plan_.spans.empty()) add(false, timing_.wordGapMs);
        return std::move(plan_);
    }

private:
    void add(bool tone, double ms) { plan_.spans.push_back({tone, ms}); }

    const StandardTiming timing_;
    KeyingPlan plan_;
    bool wordPending_ = false;
};

} // namespace

double KeyingPlan::totalMs() const {
    return std::accumulate(spans.begin(), spans.end(), 0.0, [](double sum, const KeyedSpan& s) { return sum + s.ms; });
}

KeyingPlan standardPlan(const QString& message, const StandardTiming& timing) {
    const std::u32string text = keyedPart(message);
    StandardKeyer keyer(timing);
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U' ') {
            keyer.space();
            continue;
        }
        if (c == U'<') {
            size_t close = 0;
            const std::string prosign = prosignAt(text, i, close);
            if (!prosign.empty()) {
                keyer.character(prosign);
                i = close;
                continue;
            }
        }
        const std::string_view pattern = morsePattern(c);
        if (pattern.empty()) keyer.illegal(c);
        else keyer.character(pattern);
    }
    return keyer.finished();
}

KeyingPlan classicPlan(const QString& message, const MorseTiming& timing) {
    KeyingPlan plan;
    auto add = [&](bool tone, double ms) {
        if (ms <= 0) return;
        if (!plan.spans.empty() && plan.spans.back().tone == tone) {
            if (!tone) {
                plan.spans.back().ms += ms;
                return;
            }
            plan.spans.push_back({false, kClassicElementSeparationMs});
        }
        plan.spans.push_back({tone, ms});
    };
    for (const char32_t c : keyedPart(message)) {
        add(false, kPauseBeforePosition);
        if (!morseAccepts(c)) plan.illegal.push_back(c);
        for (const KeyStep& step : keyingSteps(c, timing)) add(step.kind == KeyStep::Kind::Tone, step.ms);
    }
    return plan;
}

} // namespace tonara
