#pragma once
// The threshold test as a listener meets it: for each ear and frequency a
// search, each tone about a second long at the search's level, after a
// pause of 1 to 3 s that the listener cannot foresee. The level is the
// voice's gain in the output, so the tone itself stays the same.

#include "ThresholdResult.h"

#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace tonara {
class SignalStream;
}

namespace tonara::quillon {

struct ThresholdTiming {
    static constexpr int kToneMs = 1000;
    static constexpr int kLateAnswerMs = 1000; // after the tone, an answer still counts
    static constexpr int kShortestPauseMs = 1000;
    static constexpr int kLongestPauseMs = 3000;
};

class ThresholdTest {
public:
    // seed: the pauses' order, so a test can repeat a run.
    ThresholdTest(std::vector<Ear> ears, std::vector<int> frequencies, unsigned seed);
    ~ThresholdTest();

    // Runs every search in turn, serving events; returns when all have ended
    // or stop() was called. Told after each search and before each tone.
    void run(const std::function<void(const ThresholdResult&)>& searched,
             const std::function<void(Ear, int frequency)>& nextTone);
    // "I hear it": counts while a tone sounds or just after it.
    void heard();
    void stop();
    bool running() const { return running_; }
    const std::vector<ThresholdResult>& results() const { return results_; }

private:
    ThresholdResult search(Ear ear, int frequency, const std::function<void(Ear, int)>& nextTone);
    bool presentTone(Ear ear, int frequency, int levelDb); // true when heard

    std::vector<Ear> ears_;
    std::vector<int> frequencies_;
    std::mt19937 random_;
    std::unique_ptr<SignalStream> stream_;
    std::vector<ThresholdResult> results_;
    bool running_ = false;
    bool stopped_ = false;
    bool listening_ = false;
    bool answered_ = false;
};

} // namespace tonara::quillon
