#include "platform/MasterBus.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

// A sound on its own leaves the bus at 1/sqrt(2) of its own level: the
// game's sounds peak at -3 dBFS and come out at -6 dBFS, still loud, with
// room above them for the limiter to bend an overlap gently rather than
// squeeze it hard.
const double kMakeUp = 128.0 / MasterBus::kChannelVolume * std::sqrt(0.5);
// Where the limiter starts bending (about -5.2 dBFS, above any sound on its
// own) and the ceiling it bends towards (about -0.5 dBFS).
const double kKnee = 18000;
const double kCeiling = 31000;
// How much of the held-back gain is still held back one sample later: it
// comes back with a time constant of 80 ms, slow enough not to be heard
// as the sound swelling again.
const double kRecovery = std::exp(-1.0 / (0.080 * 22050));
// Closer to 1 than this, a gain changes no 16-bit sample by half a step.
const double kFullyBack = 1e-5;

}  // namespace

MasterBus::MasterBus() : dGain(1) {}

void MasterBus::process(std::int16_t* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const double level = samples[i] * kMakeUp;
        dGain = 1 - (1 - dGain) * kRecovery;
        if (1 - dGain < kFullyBack) dGain = 1;
        const double size = std::fabs(level);
        if (size * dGain > kKnee) {
            // Above the knee, out = knee + room * over / (1 + over): it leaves
            // the straight line without a kink and never reaches the ceiling.
            const double room = kCeiling - kKnee;
            const double over = (size - kKnee) / room;
            dGain = std::min(dGain, (kKnee + room * over / (1 + over)) / size);
        }
        samples[i] = static_cast<std::int16_t>(std::lround(level * dGain));
    }
}

}  // namespace platform
