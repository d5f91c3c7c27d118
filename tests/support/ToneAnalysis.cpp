#include "ToneAnalysis.h"

#include <fftw3.h>

#include <array>
#include <cmath>
#include <numbers>

namespace tonara::test {

namespace {

constexpr double kPi = std::numbers::pi;

struct SineModel {
    double omega = 0; // radians per sample
    double cosine = 0, sine = 0, offset = 0;
    double amplitude() const { return std::hypot(cosine, sine); }
};

// Solves the 4 × 4 system a · x = b in place (Gaussian elimination with pivoting).
std::array<double, 4> solve(std::array<std::array<double, 4>, 4> a, std::array<double, 4> b, int n) {
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (int r = col + 1; r < n; ++r) {
            const double f = a[r][col] / a[col][col];
            for (int c = col; c < n; ++c) a[r][c] -= f * a[col][c];
            b[r] -= f * b[col];
        }
    }
    std::array<double, 4> x{};
    for (int r = n - 1; r >= 0; --r) {
        double s = b[r];
        for (int c = r + 1; c < n; ++c) s -= a[r][c] * x[c];
        x[r] = s / a[r][r];
    }
    return x;
}

// Least squares: the cosine, sine and offset at a fixed frequency, then
// Gauss-Newton steps that also move the frequency. Time runs from the
// middle of the samples, which keeps the frequency column well scaled.
SineModel fitSine(const std::vector<double>& x, double omega) {
    SineModel m{omega};
    const double mid = double(x.size() - 1) / 2;
    for (int pass = 0; pass < 6; ++pass) {
        const int unknowns = pass == 0 ? 3 : 4;
        std::array<std::array<double, 4>, 4> ata{};
        std::array<double, 4> atb{};
        for (size_t i = 0; i < x.size(); ++i) {
            const double t = double(i) - mid;
            const double c = std::cos(m.omega * t), s = std::sin(m.omega * t);
            const std::array<double, 4> row{c, s, 1.0, t * (m.sine * c - m.cosine * s)};
            const double residual = x[i] - (pass == 0 ? 0.0 : m.cosine * c + m.sine * s + m.offset);
            for (int r = 0; r < unknowns; ++r) {
                for (int k = 0; k < unknowns; ++k) ata[r][k] += row[r] * row[k];
                atb[r] += row[r] * residual;
            }
        }
        const std::array<double, 4> step = solve(ata, atb, unknowns);
        if (pass == 0) {
            m.cosine = step[0], m.sine = step[1], m.offset = step[2];
        } else {
            m.cosine += step[0], m.sine += step[1], m.offset += step[2], m.omega += step[3];
        }
    }
    return m;
}

// Peak-amplitude spectrum of x through a 4-term Blackman-Harris window
// (side lobes at -92 dB): bin k holds the amplitude of a sine at k × rate / n.
std::vector<double> amplitudeSpectrum(const std::vector<double>& x) {
    const int n = int(x.size());
    double* in = fftw_alloc_real(size_t(n));
    fftw_complex* out = fftw_alloc_complex(size_t(n / 2 + 1));
    const fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
    double windowSum = 0;
    for (int i = 0; i < n; ++i) {
        const double p = 2 * kPi * i / n;
        const double w = 0.35875 - 0.48829 * std::cos(p) + 0.14128 * std::cos(2 * p) - 0.01168 * std::cos(3 * p);
        in[i] = x[size_t(i)] * w;
        windowSum += w;
    }
    fftw_execute(plan);
    std::vector<double> amplitude(size_t(n / 2 + 1));
    for (size_t k = 0; k < amplitude.size(); ++k) amplitude[k] = 2 * std::hypot(out[k][0], out[k][1]) / windowSum;
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
    return amplitude;
}

} // namespace

TonePurity analyseTone(const std::vector<double>& samples, int rate, double hz, double guardHz) {
    TonePurity purity;
    if (samples.size() < 16) return purity;
    const SineModel m = fitSine(samples, 2 * kPi * hz / rate);
    purity.hz = m.omega * rate / (2 * kPi);
    purity.amplitude = m.amplitude();

    std::vector<double> left(samples.size());
    const double mid = double(samples.size() - 1) / 2;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) - mid;
        left[i] = samples[i] - (m.cosine * std::cos(m.omega * t) + m.sine * std::sin(m.omega * t) + m.offset);
    }
    const std::vector<double> spectrum = amplitudeSpectrum(left);
    const double binHz = double(rate) / double(samples.size());
    double worst = 0;
    for (size_t k = 1; k < spectrum.size(); ++k) {
        const double f = double(k) * binHz;
        if (f < guardHz || std::abs(f - purity.hz) < guardHz) continue;
        if (spectrum[k] > worst) {
            worst = spectrum[k];
            purity.worstSpuriousHz = f;
        }
    }
    if (worst > 0 && purity.amplitude > 0) purity.worstSpuriousDbc = levelDb(worst, purity.amplitude);
    return purity;
}

Component strongestComponent(const std::vector<double>& samples, int rate, double guardHz) {
    Component strongest;
    if (samples.size() < 16) return strongest;
    const std::vector<double> spectrum = amplitudeSpectrum(samples);
    const double binHz = double(rate) / double(samples.size());
    for (size_t k = 1; k < spectrum.size(); ++k) {
        if (double(k) * binHz < guardHz || spectrum[k] <= strongest.amplitude) continue;
        strongest = {double(k) * binHz, spectrum[k]};
    }
    return strongest;
}

double levelDb(double amplitude, double wanted) { return 20.0 * std::log10(amplitude / wanted); }

KeyedSpectrum keyedSpectrum(const std::vector<double>& samples, int rate, double hz) {
    const int n = rate / 6;
    const int bins = n / 2 + 1;
    std::vector<double> power(size_t(bins), 0.0);
    std::vector<double> in(static_cast<size_t>(n));
    std::vector<fftw_complex> out(static_cast<size_t>(bins));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), out.data(), FFTW_ESTIMATE);
    for (size_t start = 0; start + size_t(n) <= samples.size(); start += size_t(n / 2)) {
        for (int i = 0; i < n; ++i) in[size_t(i)] = samples[start + size_t(i)] * (0.5 - 0.5 * std::cos(2 * kPi * i / n));
        fftw_execute(plan);
        for (int k = 0; k < bins; ++k) power[size_t(k)] += out[size_t(k)][0] * out[size_t(k)][0] + out[size_t(k)][1] * out[size_t(k)][1];
    }
    fftw_destroy_plan(plan);
    const double binHz = double(rate) / n;
    double peak = 0;
    for (int k = 0; k < bins; ++k)
        if (std::abs(k * binHz - hz) < 20) peak = std::max(peak, power[size_t(k)]);
    KeyedSpectrum result{-400, 0};
    for (int k = 1; k < bins; ++k) {
        const double offset = std::abs(k * binHz - hz);
        const double db = 10 * std::log10(std::max(power[size_t(k)], 1e-300) / peak);
        if (offset >= 150) result.worstDbAt150 = std::max(result.worstDbAt150, db);
        if (db > -40) result.bandwidthHz40 = std::max(result.bandwidthHz40, 2 * offset);
    }
    return result;
}

} // namespace tonara::test
