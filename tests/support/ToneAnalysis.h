#pragma once
// How pure a recorded or rendered tone is: a sine fitted to it (frequency,
// amplitude, phase, offset), and the strongest component of what is left.

#include <vector>

namespace tonara::test {

struct TonePurity {
    double hz = 0;                  // fitted frequency
    double amplitude = 0;           // fitted peak amplitude, in the samples' own units
    double worstSpuriousDbc = -400; // strongest component beside the tone, relative to it
    double worstSpuriousHz = 0;
};

// Fits a sine near hz to the samples and searches what is left of them for
// its strongest component. Components closer than guardHz to the tone count
// as its own skirt (the window's main lobe, a loop seam's slow phase step).
TonePurity analyseTone(const std::vector<double>& samples, int rate, double hz, double guardHz = 20);

// The strongest component of the samples above guardHz (a window's skirt
// around nothing at all is no component).
struct Component {
    double hz = 0;
    double amplitude = 0; // peak, in the samples' own units
};
Component strongestComponent(const std::vector<double>& samples, int rate, double guardHz = 20);

// How wide a keyed tone's spectrum is: the averaged power spectrum (Hann
// windows of about 170 ms, half overlapping) around the tone at hz.
struct KeyedSpectrum {
    double worstDbAt150 = 0;  // the strongest bin 150 Hz or more from hz, against the tone's peak
    double bandwidthHz40 = 0; // twice the farthest distance from hz at which a bin is within 40 dB of the peak
};
KeyedSpectrum keyedSpectrum(const std::vector<double>& samples, int rate, double hz);

// 20 log10(amplitude / wanted).
double levelDb(double amplitude, double wanted);

} // namespace tonara::test
