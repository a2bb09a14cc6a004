#include "SampleBuffer.h"

#include <algorithm>
#include <cmath>

namespace {
const double kTwoPi = 6.283185307179586;

double envelope(double t, double attack, double decay) {
    const double rise = attack > 0 && t < attack ? std::sin(t / attack * kTwoPi / 4) : 1.0;
    return rise * rise * std::exp(-t / std::max(decay, 1e-6));
}
}  // namespace

SampleBuffer::SampleBuffer(std::size_t sampleCount) : samples_(sampleCount, 0.0), seed_(0x2545F491u) {}

void SampleBuffer::add(const Tone& tone) {
    const long first = std::lround(tone.start * kRate);
    const long count = std::lround(tone.length * kRate);
    const double ratio = tone.fromHz > 0 && tone.toHz > 0 ? tone.toHz / tone.fromHz : 1.0;
    double phase = 0;
    for (long i = 0; i < count; ++i) {
        const long at = first + i;
        if (at < 0 || at >= static_cast<long>(samples_.size())) continue;
        const double t = i / kRate;
        const double hz = tone.fromHz * std::pow(ratio, std::min(t / std::max(tone.length, 1e-6), 1.0));
        double value = std::sin(phase);
        for (const Tone::Partial& p : tone.partials) {
            value += p.level * std::sin(phase * p.multiple) *
                     std::exp(-t * (p.fadeFaster - 1) / std::max(tone.decay, 1e-6));
        }
        // A cut-off tone would click; let it die away over its last moments.
        const double left = tone.length - t;
        const double release = std::min(0.004, tone.length / 4);
        const double tail = left < release ? std::sin(left / release * kTwoPi / 4) : 1.0;
        samples_[at] += tone.level * envelope(t, tone.attack, tone.decay) * tail * tail * value;
        phase += kTwoPi * hz / kRate;
    }
}

void SampleBuffer::add(const Noise& noise) {
    const long first = std::lround(noise.start * kRate);
    const long count = std::lround(noise.length * kRate);
    const double keep = 1 - std::clamp(noise.brightness, 0.01, 1.0);
    double filtered = 0;
    for (long i = 0; i < count; ++i) {
        // A fixed-seed generator: the same noise on every build.
        seed_ = seed_ * 1664525u + 1013904223u;
        const double white = static_cast<double>(seed_ >> 8) / 8388608.0 - 1.0;
        filtered = filtered * keep + white * (1 - keep);
        const long at = first + i;
        if (at < 0 || at >= static_cast<long>(samples_.size())) continue;
        const double left = noise.length - i / kRate;
        const double release = std::min(0.002, noise.length / 4);
        const double tail = left < release ? std::sin(left / release * kTwoPi / 4) : 1.0;
        samples_[at] += noise.level * envelope(i / kRate, noise.attack, noise.decay) * tail * tail * filtered;
    }
}

std::vector<std::int16_t> SampleBuffer::finish(double peak, double fadeIn, double fadeOut) {
    const std::size_t n = samples_.size();
    const double inCount = std::max(fadeIn * kRate, 1.0);
    const double outCount = std::max(fadeOut * kRate, 1.0);
    for (std::size_t i = 0; i < n; ++i) {
        double gain = 1;
        if (i < inCount) gain *= std::pow(std::sin(i / inCount * kTwoPi / 4), 2);
        const double fromEnd = static_cast<double>(n - 1 - i);
        if (fromEnd < outCount) gain *= std::pow(std::sin(fromEnd / outCount * kTwoPi / 4), 2);
        samples_[i] *= gain;
    }
    double loudest = 0;
    for (double s : samples_) loudest = std::max(loudest, std::fabs(s));
    const double scale = loudest > 0 ? peak * 32767 / loudest : 0;
    std::vector<std::int16_t> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(std::lround(samples_[i] * scale), -32767L, 32767L));
    }
    return out;
}
