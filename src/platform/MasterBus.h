#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// Where every sound meets on its way to the sound card. Each sound enters
// the mixer at a quarter of its level, so that the mixer's 16-bit sum has
// room for five of them at their loudest in the same instant; the bus gives
// most of that level back. A sound on its own comes out as a plain scaled
// copy of its samples at about -6 dBFS. When sounds pile up beyond that,
// a limiter rides the gain down at once and lets it back up slowly, on a
// curve that bends towards a ceiling short of full scale and never reaches
// it, so an overlap is never cut flat.
class MasterBus {
public:
    // Every channel's volume in the mixer, of its 128.
    static constexpr int kChannelVolume = 32;

    MasterBus();
    // One mixing turn of 16-bit mono samples, changed in place. Runs on the
    // mixer's thread.
    void process(std::int16_t* samples, std::size_t count);

private:
    // The limiter's gain: 1 while nothing is held back.
    double dGain;
};

}  // namespace platform
