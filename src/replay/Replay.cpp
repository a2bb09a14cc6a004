#include "replay/Replay.h"

#include "combat/MatchKeys.h"

namespace replay {

void Replay::setFrames(const std::vector<Frame>& frames) {
    frameCount = static_cast<std::uint32_t>(frames.size());
    frameTimes = encodeFrameTimes(frames);
    keys = encodeKeys(frames);
}

void Replay::people(std::uint8_t (&human)[4]) const {
    for (int colour = 0; colour < 4; ++colour) human[colour] = seats[colour].isPerson() ? 1 : 0;
}

void Replay::people(std::uint32_t frame, std::uint8_t (&human)[4]) const {
    people(human);
    for (const HandOver& handOver : handOvers) {
        if (frame >= handOver.fromFrame && handOver.colour < 4) human[handOver.colour] = 0;
    }
}

std::uint16_t Replay::formatVersion() const {
    if (fingerprint) return levels.allNormal() ? kFirstFingerprintedVersion : kLevelsFormatVersion;
    return handOvers.empty() ? kFirstFormatVersion : kHandOverFormatVersion;
}

bool Replay::computerPlayed(int colour) const {
    if (colour < 0 || colour > 3) return false;
    if (!seats[colour].isPerson()) return true;
    for (const HandOver& handOver : handOvers) {
        if (handOver.colour == colour) return true;
    }
    return false;
}

std::uint16_t Replay::allowedKeys() const {
    std::uint8_t human[4];
    people(human);
    return matchKeys::peopleMask(human);
}

}  // namespace replay
