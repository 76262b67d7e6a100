// A deliberately plain processor for comparison: one tick at a time, each
// voice's loop in turn, scalar sums, the exponent from the two small tables
// with a division for negative exponents. It shares only the interpolation
// table, the exponent tables and the floating-point guard with the real one,
// so any shortcut the real processor takes that changes where a tick lands
// or what it writes shows up as a difference.
//
// The read of a tick adds its 16 products in tap order (ReadOrder::plain) or
// as the real processor does: the even taps in order, the odd taps in order,
// then the two sums (ReadOrder::evenOdd).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "effect/exp_tables.h"
#include "effect/fp_guard.h"
#include "effect/interpolation_table.h"
#include "effect/processor.h"

namespace ReedTest {

enum class ReadOrder { plain, evenOdd };

class ReferenceProcessor {
public:
    explicit ReferenceProcessor(const ReedDsp::InterpolationTable& table, ReadOrder order = ReadOrder::plain)
        : table(table), order(order) {}

    void prepare(float sr, std::uint32_t maxBlock) {
        rate = sr;
        rampStep = static_cast<double>(10.0f / sr);
        input.assign(2 * (maxBlock + 16), 0.0);
        accumulator.assign(2 * (maxBlock + 16), 0.0);
        inputState = accumulatorState = Staging{};
        N = static_cast<std::uint32_t>(std::trunc(static_cast<double>(sr) * 0.05714285714285715));
        memory.assign(4 * static_cast<std::size_t>(N), 0.0);
        leak = std::exp(static_cast<double>(-1.0f / sr));
        lfoPhase = 0.0;
    }

    void reset() {
        for (Voice& v : voices) v = Voice{};
        integrator[0] = integrator[1] = 0.0;
        std::fill(memory.begin(), memory.end(), 0.0);
        std::fill(accumulator.begin(), accumulator.end(), 0.0);
    }

    void render(bool changed, const ReedDsp::Settings& s, const double* const* in, double* const* out,
                std::uint32_t n) {
        ReedDsp::FpGuard guard;
        renderInMode(changed, s, in, out, n);
    }

private:
    struct Ramp {
        double S[2] = {0, 0}, T[2] = {0, 0}, t = 0, r = 1.0;
        void retarget(double x0, double x1) {
            if (x0 == T[0] && x1 == T[1]) return;
            const double l = std::min(t * r, 1.0);
            S[0] = (1 - l) * S[0] + l * T[0];
            S[1] = (1 - l) * S[1] + l * T[1];
            r = 1 / (0.95 * t + 0.05);
            t = 0;
            T[0] = x0, T[1] = x1;
        }
        double at(double tau, int k = 0) const {
            const double l = std::min((tau + t) * r, 1.0);
            return (1 - l) * S[k] + l * T[k];
        }
    };
    struct Voice {
        double p = 0, s = 1.0;
        std::uint32_t w = 0;
        double previous[2] = {0, 0};
    };
    struct Staging {
        std::uint32_t offset = 0, previous = 0;
    };

    static void stage(std::vector<double>& b, Staging& st, std::uint32_t n) {
        st.offset += st.previous;
        st.previous = n;
        for (std::uint32_t k = 0; k < 16; ++k)
            b[2 * k] = b[2 * (st.offset + k)], b[2 * k + 1] = b[2 * (st.offset + k) + 1];
        for (std::uint32_t k = 16; k < 16 + st.offset; ++k) b[2 * k] = b[2 * k + 1] = 0.0;
        st.offset = 0;
    }

    [[gnu::noinline]] void renderInMode(bool changed, const ReedDsp::Settings& s, const double* const* in,
                                        double* const* out, std::uint32_t n) {
        if (changed || stride == 0) update(s);
        stage(input, inputState, n);
        stage(accumulator, accumulatorState, n);
        for (std::uint32_t i = 0; i < n; ++i) input[2 * (16 + i)] += in[0][i], input[2 * (16 + i) + 1] += in[1][i];
        for (std::uint32_t v = 0; v < 2; ++v) runVoice(v, n);
        lfoPhase = std::fmod(n * lfoIncrement + lfoPhase, 1.0);
        for (std::uint32_t i = 0; i < n; ++i) {
            const double tau = i * rampStep;
            const double dry = mix.at(tau, 0), wet = mix.at(tau, 1);
            for (int c = 0; c < 2; ++c) {
                integrator[c] = (accumulator[2 * i + c] + integrator[c]) * leak;
                out[c][i] = dry * input[2 * i + c] + wet * integrator[c];
            }
        }
        for (Ramp* r : {&delay, &depth, &mix, &spread, &phase}) r->t = std::min(r->t + n * rampStep, 1.0);
    }

    void update(const ReedDsp::Settings& s) {
        const float hz = std::pow(20.0f, 2.0f * s.rate - 1.0f);
        lfoIncrement = static_cast<double>(hz) * static_cast<double>(1.0f / rate);
        const double g = static_cast<double>(1.0f + s.delay);
        delay.retarget(0.35 * g, 0);
        const float x = std::min(4.0f * s.range, 3.0f);
        const std::uint32_t newStride = 1u << (3 - static_cast<std::uint32_t>(x));
        const bool differs = newStride != stride;
        stride = newStride;
        if (differs) reset();
        depth.retarget(static_cast<double>(std::pow(20.0f, 2.0f * s.depth - 2.0f)) / g, 0);
        const double sigma = s.invert > 0.5f ? -1.0 : 1.0;
        const double theta = static_cast<double>(s.wet) * 1.5707963267948966;
        mix.retarget(std::cos(theta), sigma * std::sin(theta));
        const double phi = static_cast<double>(s.spread) * 0.7853981633974483;
        spread.retarget(0.707 * std::cos(phi), 0.707 * std::sin(phi));
        phase.retarget(static_cast<double>(s.phase), 0);
        sine = s.shape > 0.5f;
    }

    void runVoice(std::uint32_t v, std::uint32_t n) {
        Voice& voice = voices[v];
        double p = voice.p, s = voice.s;
        std::uint32_t w = voice.w;
        for (;;) {
            p = p + s;
            const double tau = p * rampStep;
            const double i0 = std::floor(p);
            const std::uint32_t row = 4095 - static_cast<std::uint32_t>(std::trunc((p - i0) * 4096));
            const auto base = static_cast<std::size_t>(i0);
            double x[2] = {0, 0};
            for (int c = 0; c < 2; ++c) {
                const auto product = [&](std::uint32_t j) {
                    return (4096 * input[2 * (base + j) + c]) * table.coefficient(row, j);
                };
                if (order == ReadOrder::plain) {
                    for (std::uint32_t j = 0; j < 16; ++j) x[c] += product(j);
                } else {
                    double even = 0, odd = 0;
                    for (std::uint32_t j = 0; j < 16; j += 2) even += product(j), odd += product(j + 1);
                    x[c] = even + odd;
                }
            }
            w = w + 1;
            if (w * stride >= N) w = 0;
            const double a = spread.at(tau, 0);
            const double b = v == 1 ? -spread.at(tau, 1) : spread.at(tau, 1);
            double* o = &memory[2 * (static_cast<std::size_t>(v) * N + w)];
            const double held[2] = {o[0], o[1]};
            o[0] = x[0], o[1] = x[1];
            const double y[2] = {a * held[0] - b * held[1], b * held[0] + a * held[1]};
            const double delta[2] = {y[0] - voice.previous[0], y[1] - voice.previous[1]};
            for (std::uint32_t m = 0; m < 16; ++m)
                for (int c = 0; c < 2; ++c)
                    accumulator[2 * (base + m) + c] += table.coefficient(row, m) * (4096 * delta[c]);
            voice.previous[0] = y[0], voice.previous[1] = y[1];
            const double q = phase.at(tau);
            const double u = (v - 0.5) * q + p * lfoIncrement + lfoPhase + 1.0;
            const double f = u - std::trunc(u);
            const double h = std::fabs(2 * f - 1);
            const double lfo = sine ? (6 - 4 * h) * h * h - 1 : 2 * h - 1;
            const double d = delay.at(tau), z = depth.at(tau);
            const double mu = z * lfo;
            const bool negative = !(mu >= 0);
            const std::uint32_t e = static_cast<std::uint32_t>(std::min(std::trunc(4096 * std::fabs(mu)), 65535.0));
            const double F = ReedDsp::ExpTableCoarse[e / 256] * ReedDsp::ExpTableFine[e % 256];
            const double factor = negative ? 1 / F : F;
            s = d * factor;
            if (p + s > n) {
                p = p - n;
                break;
            }
        }
        voice.p = p, voice.s = s, voice.w = w;
    }

    const ReedDsp::InterpolationTable& table;
    ReadOrder order;
    float rate = 44100.0f;
    double rampStep = 0, leak = 0, lfoPhase = 0, lfoIncrement = 0;
    std::vector<double> input, accumulator, memory;
    Staging inputState, accumulatorState;
    std::uint32_t N = 0, stride = 0;
    Voice voices[2];
    double integrator[2] = {0, 0};
    Ramp delay, depth, mix, spread, phase;
    bool sine = false;
};

}  // namespace ReedTest
