#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One sound effect being mixed: mono samples at 22050 Hz in floating point,
// summed from tones and noise bursts, then levelled and turned into 16-bit
// samples of an exact length.
class SampleBuffer {
public:
    static constexpr double kRate = 22050;

    explicit SampleBuffer(std::size_t sampleCount);

    struct Tone {
        double start = 0;        // seconds
        double length = 0;       // seconds, cut off after
        double fromHz = 440;     // pitch glides exponentially from here...
        double toHz = 440;       // ...to here over the length
        double level = 1;
        double attack = 0.002;   // seconds
        double decay = 0.1;      // seconds for the level to fall to 1/e
        // Overtones as multiple, level, and how much faster they fade (a
        // bell's upper partials die first).
        struct Partial {
            double multiple;
            double level;
            double fadeFaster;
        };
        std::vector<Partial> partials;
    };
    void add(const Tone& tone);

    struct Noise {
        double start = 0;
        double length = 0;
        double level = 1;
        double attack = 0.001;
        double decay = 0.02;
        double brightness = 0.5;  // 0..1: a one-pole low-pass, 1 lets everything through
    };
    void add(const Noise& noise);

    // Scales the loudest sample to the given fraction of full scale, then
    // ramps both ends to silence so neither end clicks.
    std::vector<std::int16_t> finish(double peak, double fadeIn, double fadeOut);

private:
    std::vector<double> samples_;
    std::uint32_t seed_;
};
