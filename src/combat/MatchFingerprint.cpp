#include "combat/MatchFingerprint.h"

#include "combat/PlayerSetup.h"
#include "combat/Combat.h"
#include "combat/MatchKeys.h"
#include "combat/MatchState.h"
#include "physics/MatchRandom.h"

namespace {

// One fixed match: its seed, who plays, the range its frame times are
// drawn from, and how many frames of it count (fewer when it ends first).
struct FixedMatch {
    std::uint32_t seed;
    std::uint8_t people[4];
    std::uint32_t msLow;
    std::uint32_t msHigh;
    std::uint32_t frames;
};

// Four computers for most of a match at uneven frame times (frames that
// take no time included), two people and two computers, then four people
// at long and ragged frames to the end of their match. Between them they
// serve every ball, bounce off paddles, walls and corners, take bonuses,
// serve an extra ball, score and end a match.
constexpr FixedMatch kMatches[] = {
    {20261209, {0, 0, 0, 0}, 0, 61, 4000},
    {4242, {1, 0, 0, 1}, 7, 33, 1500},
    {77, {1, 1, 1, 1}, 25, 110, 600},
};
// People change their keys every few frames, as drawn here.
constexpr std::uint32_t kKeysSeed = 1618;
constexpr std::uint32_t kFramesPerKeys = 5;
// Besides its end, a match's state is taken into the fingerprint every
// this many frames, so that a difference that later evens out still shows.
constexpr std::uint32_t kHashEvery = 200;

class Fold {
public:
    void add(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash ^= (value >> (8 * i)) & 0xFF;
            hash *= 0x100000001B3ull;
        }
    }
    std::uint64_t value() const { return hash; }

private:
    std::uint64_t hash = 0xCBF29CE484222325ull;
};

// Plays one fixed match into `fold` from the freshly loaded `served`
// state (the first ball served): the generator is seeded anew and the
// people are set, so the match goes its own way from the first draw on.
void play(const FixedMatch& fixed, const MatchState& served, Combat& combat, MatchRandom& random, PlayerSetup& setup,
          Fold& fold, std::uint32_t& frames) {
    combat.restoreState(served);
    random.seed(fixed.seed);
    for (int colour = 0; colour < 4; ++colour) setup.bHuman[colour] = fixed.people[colour];
    MatchRandom draws;
    draws.seed(kKeysSeed + fixed.seed);

    const std::uint16_t mask = static_cast<std::uint16_t>(matchKeys::peopleMask(setup.bHuman) & ~matchKeys::kEscapeBit);
    std::uint8_t keys[256] = {};
    std::uint32_t frame = 0;
    while (frame < fixed.frames) {
        if (frame % kFramesPerKeys == 0) matchKeys::unpack(static_cast<std::uint16_t>(draws.next() & mask), keys);
        const std::uint32_t span = fixed.msHigh - fixed.msLow + 1;
        const std::uint32_t ms = fixed.msLow + static_cast<std::uint32_t>(draws.next()) % span;
        const bool going = combat.playFrame(keys, ms) == Combat::FrameResult::kGoing;
        ++frame;
        if (frame % kHashEvery == 0) fold.add(combat.stateHash());
        if (!going) break;
    }
    fold.add(frame);
    fold.add(combat.stateHash());
    frames += frame;
}

}  // namespace

MatchFingerprint::Played MatchFingerprint::playMatches(DisplayDevice& display, Surface& misc, ErrorLogger& logger) {
    // Loading a match draws its pictures and fonts, which cost more than
    // all the frames: it is loaded once, and every fixed match starts from
    // the state it was loaded in.
    MatchRandom random;
    PlayerSetup setup;
    Combat combat(display, nullptr, random, misc, setup, logger);
    combat.setFrameDrawing(false);
    MatchState served{};
    if (!combat.load() || !combat.saveState(served)) return Played{};

    Played played;
    Fold fold;
    for (const FixedMatch& fixed : kMatches) play(fixed, served, combat, random, setup, fold, played.frames);
    played.hash = fold.value();
    return played;
}
