#include "replay/GameFingerprint.h"

#include <cstdio>

#include "combat/MatchFingerprint.h"
#include "net/Protocol.h"
#include "replay/Replay.h"
#include "replay/ReplayFormat.h"

#ifndef QUADRILL_VERSION
#define QUADRILL_VERSION "0"
#endif

namespace replay {
namespace {

class Fold {
public:
    void add(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            hash ^= (value >> (8 * i)) & 0xFF;
            hash *= 0x100000001B3ull;
        }
    }
    void add(const std::string &text) {
        add(text.size(), 1);
        for (char c : text) add(static_cast<unsigned char>(c), 1);
    }
    std::uint64_t value() const { return hash; }

private:
    std::uint64_t hash = 0xCBF29CE484222325ull;
};

}  // namespace

const char *GameFingerprint::gameVersion() { return QUADRILL_VERSION; }

std::uint64_t GameFingerprint::combine(std::uint64_t matchesHash, const std::string &game, std::uint8_t protocolVersion,
                                       std::uint16_t replayFormat) {
    Fold fold;
    fold.add(matchesHash, 8);
    fold.add(game);
    fold.add(protocolVersion, 1);
    fold.add(replayFormat, 2);
    return fold.value();
}

std::uint64_t GameFingerprint::own(DisplayDevice &display, Surface &misc, ErrorLogger &logger) {
    // The rules of a running game do not change: the matches are played
    // once. A failure (reported) is not kept, so a later ask tries again.
    static std::optional<std::uint64_t> known;
    if (!known) {
        const MatchFingerprint::Played played = MatchFingerprint::playMatches(display, misc, logger);
        if (played.hash == 0) return 0;
        known = combine(played.hash, gameVersion(), net::kProtocolVersion, kFormatVersion);
    }
    return *known;
}

std::string GameFingerprint::text(std::uint64_t fingerprint) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(fingerprint));
    return digits;
}

bool GameFingerprint::playsHere(const Replay &replay, std::uint64_t ours, std::string &why) {
    if (!replay.fingerprint || *replay.fingerprint == ours) return true;
    why =
        "The replay was recorded by a game that plays matches differently: "
        "version " +
        replay.gameVersion + " (fingerprint " + text(*replay.fingerprint) + "); this is version " + gameVersion() +
        " (fingerprint " + text(ours) + ").";
    return false;
}

}  // namespace replay
