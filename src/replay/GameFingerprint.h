#pragma once
#include <cstdint>
#include <optional>
#include <string>

class DisplayDevice;
class ErrorLogger;
class Surface;

namespace replay {

struct Replay;

// What another machine or a replay must share with this game to play a
// match the same way: the game's version, the protocol and replay format
// it speaks, and the final state hashes of the fixed matches that
// MatchFingerprint plays, folded into one number. It is worked out by the
// game as it runs, not taken from where it was built: builds from a clone,
// from a tarball or from a Debian source package of the same code agree;
// builds whose matches go differently do not.
class GameFingerprint {
public:
    // The game's version, "1.0".
    static const char* gameVersion();
    static std::uint64_t combine(std::uint64_t matchesHash, const std::string& gameVersion,
                                 std::uint8_t protocolVersion, std::uint16_t replayFormat);
    // This game's, played out the first time it is asked for (a few
    // milliseconds) on the display's surfaces; the same after that.
    static std::uint64_t own(DisplayDevice& display, Surface& misc, ErrorLogger& logger);

    // Sixteen lowercase hex digits.
    static std::string text(std::uint64_t fingerprint);

    // Whether a replay plays here: one with a fingerprint only on a game
    // with the same; an older one without, always (its state hashes tell).
    // When not, `why` says so in words for the player.
    static bool playsHere(const Replay& replay, std::uint64_t ours, std::string& why);
};

}  // namespace replay
