#include "net/Handshake.h"

#include <cstring>

#include "replay/GameFingerprint.h"
#include "replay/ReplayFormat.h"

namespace net {

namespace {

void copyText(char* out, std::size_t capacity, const std::string& text) {
    const std::size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}

std::string describe(const char* game, const char* fingerprint) {
    return std::string("version ") + game + " (fingerprint " + (fingerprint[0] ? fingerprint : "none") + ")";
}

std::string describe(const Versions& v) { return describe(v.game.c_str(), v.fingerprint.c_str()); }

// Hello and Refuse carry this machine's versions in the same three fields.
template <typename Message>
void stampVersions(Message& message, const Versions& ours) {
    copyText(message.gameVersion, sizeof message.gameVersion, ours.game);
    copyText(message.fingerprint, sizeof message.fingerprint, ours.fingerprint);
    message.replayFormat = ours.replayFormat;
}

}  // namespace

Hello helloFor(Role role, const Versions& ours) {
    Hello hello;
    hello.role = role;
    stampVersions(hello, ours);
    return hello;
}

bool versionsMatch(const Hello& theirs, const Versions& ours, RefuseReason& reason) {
    if (ours.game != theirs.gameVersion) {
        reason = RefuseReason::Version;
    } else if (ours.replayFormat != theirs.replayFormat) {
        reason = RefuseReason::ReplayFormat;
    } else if (ours.fingerprint != theirs.fingerprint) {
        reason = RefuseReason::Build;
    } else {
        return true;
    }
    return false;
}

Refuse refusalFor(RefuseReason reason, const Versions& ours) {
    Refuse refuse;
    refuse.reason = reason;
    stampVersions(refuse, ours);
    return refuse;
}

std::string refusalText(const Refuse& refuse, const Versions& ours) {
    const std::string theirs = describe(refuse.gameVersion, refuse.fingerprint);
    switch (refuse.reason) {
        case RefuseReason::Protocol:
        case RefuseReason::Version:
            return "The host plays " + theirs + ", this is " + describe(ours) +
                   ". Both machines need the same game to play together.";
        case RefuseReason::Build:
            return "The host's game plays matches differently from this one: the host has " + theirs +
                   ", this is " + describe(ours) + ". Both machines need a game whose matches go the same way.";
        case RefuseReason::ReplayFormat:
            return "The host writes replays of format " + std::to_string(refuse.replayFormat) +
                   ", this game format " + std::to_string(ours.replayFormat) +
                   ". Both machines need the same game to play together.";
        case RefuseReason::PlayersFull:
            return "Four machines play at the host already. You can watch with --watch.";
        case RefuseReason::WatchersFull:
            return "Eight machines watch at the host already; there is no room for one more.";
        case RefuseReason::MatchRunning:
            return "A match is being played at the host. Join again when it is over, or watch with --watch.";
    }
    return "The host turned this machine away.";
}

std::string turnedAwayText(const Hello& theirs, RefuseReason reason, const Versions& ours) {
    if (reason == RefuseReason::ReplayFormat) {
        return "A machine writing replays of format " + std::to_string(theirs.replayFormat) +
               " was turned away: this game writes format " + std::to_string(ours.replayFormat) + ".";
    }
    const std::string theirVersions = describe(theirs.gameVersion, theirs.fingerprint);
    if (reason == RefuseReason::Build) {
        return "A machine whose game plays matches differently was turned away: it has " + theirVersions +
               ", this is " + describe(ours) + ".";
    }
    return "A machine with " + theirVersions + " was turned away: this is " + describe(ours) + ".";
}

}  // namespace net

namespace net {

Versions ownVersions(std::uint64_t fingerprint) {
    Versions v;
    v.game = replay::GameFingerprint::gameVersion();
    v.fingerprint = replay::GameFingerprint::text(fingerprint);
    v.replayFormat = replay::kFormatVersion;
    return v;
}

}  // namespace net
