#pragma once
#include <cstdint>
#include <string>

#include "net/Messages.h"

namespace net {

// What two machines must share to play one match: the same game, built from
// the same sources (the match must run the same on both), writing the same
// replays.
struct Versions {
    std::string game;
    std::string build;
    std::uint16_t replayFormat = 0;
};

// This machine's versions: the game's own.
Versions ownVersions();

Hello helloFor(Role role, const Versions& ours);
// Whether a machine that says this may play with us; `reason` says why not.
bool versionsMatch(const Hello& theirs, const Versions& ours, RefuseReason& reason);
Refuse refusalFor(RefuseReason reason, const Versions& ours);

// What a refused machine tells its player, from the host's answer.
std::string refusalText(const Refuse& refuse, const Versions& ours);
// What the host notes about a machine it turned away for its versions.
std::string turnedAwayText(const Hello& theirs, RefuseReason reason, const Versions& ours);

}  // namespace net
