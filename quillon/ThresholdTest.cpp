#include "ThresholdTest.h"
#include "Platform.h"
#include "RuntimeError.h"

namespace tonara::quillon {

ThresholdTest::ThresholdTest(std::vector<Ear> ears, std::vector<int> frequencies, unsigned seed)
    : ears_(std::move(ears)), frequencies_(std::move(frequencies)), random_(seed) {}

ThresholdTest::~ThresholdTest() {
    if (stream_) stream_->stop();
}

void ThresholdTest::run(const std::function<void(const ThresholdResult&)>& searched,
                        const std::function<void(Ear, int)>& nextTone) {
    running_ = true;
    stopped_ = false;
    results_.clear();
    if (!stream_) stream_ = platform().openSignalStream();
    if (!stream_) raise(err::DeviceUnavailable);
    for (const Ear ear : ears_) {
        for (const int frequency : frequencies_) {
            const ThresholdResult result = search(ear, frequency, nextTone);
            if (stopped_) break;
            results_.push_back(result);
            searched(result);
        }
        if (stopped_) break;
    }
    running_ = false;
}

ThresholdResult ThresholdTest::search(Ear ear, int frequency, const std::function<void(Ear, int)>& nextTone) {
    ThresholdSearch search;
    while (!search.done() && !stopped_) {
        nextTone(ear, frequency);
        const bool wasHeard = presentTone(ear, frequency, search.level());
        if (stopped_) break;
        search.answer(wasHeard);
    }
    return {ear, frequency, search.outcome(), search.threshold(), search.tones()};
}

bool ThresholdTest::presentTone(Ear ear, int frequency, int levelDb) {
    std::uniform_int_distribution<int> pause(ThresholdTiming::kShortestPauseMs, ThresholdTiming::kLongestPauseMs);
    platform().serveEvents(pause(random_), [&] { return stopped_; });
    if (stopped_) return false;

    SignalParameters tone;
    tone.frequency = frequency;
    tone.levelDb = levelDb;
    tone.channel = ear == Ear::Left ? SignalChannel::Left : SignalChannel::Right;
    answered_ = false;
    listening_ = true;
    stream_->play(tone, ThresholdTiming::kToneMs / 1000.0);
    platform().processEvents();
    if (!answered_ && !stopped_)
        platform().serveEvents(ThresholdTiming::kToneMs + ThresholdTiming::kLateAnswerMs,
                               [&] { return answered_ || stopped_; });
    listening_ = false;
    // Heard is enough: the rest of the tone would only lengthen the test.
    if (answered_ || stopped_) stream_->stop();
    return answered_;
}

void ThresholdTest::heard() {
    if (listening_) answered_ = true;
}

void ThresholdTest::stop() {
    stopped_ = true;
    if (stream_) stream_->stop();
}

} // namespace tonara::quillon
