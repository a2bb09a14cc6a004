#pragma once
#include <cstdint>
#include <string>

#include "net/Messages.h"

namespace net {

// What two machines must share to play one match: the same game version,
// writing the same replays, and matches that go the same way on both. The
// last is the game's fingerprint (replay::GameFingerprint), worked out by
// each machine as it runs: builds of the same code agree however they were
// built, builds whose rules differ do not.
struct Versions {
    std::string game;
    // GameFingerprint::text of the fingerprint.
    std::string fingerprint;
    std::uint16_t replayFormat = 0;
};

// This machine's versions: the game's own, with its fingerprint.
Versions ownVersions(std::uint64_t fingerprint);

Hello helloFor(Role role, const Versions& ours);
// Whether a machine that says this may play with us; `reason` says why not.
bool versionsMatch(const Hello& theirs, const Versions& ours, RefuseReason& reason);
Refuse refusalFor(RefuseReason reason, const Versions& ours);

// What a refused machine tells its player, from the host's answer.
std::string refusalText(const Refuse& refuse, const Versions& ours);
// What the host notes about a machine it turned away for its versions.
std::string turnedAwayText(const Hello& theirs, RefuseReason reason, const Versions& ours);

}  // namespace net
