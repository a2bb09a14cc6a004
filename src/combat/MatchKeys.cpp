#include "combat/MatchKeys.h"

#include <cstring>

namespace matchKeys {

std::uint16_t peopleMask(const std::uint8_t (&human)[4]) {
    std::uint16_t mask = kEscapeBit;
    for (int colour = 0; colour < 4; ++colour) {
        if (human[colour]) mask = static_cast<std::uint16_t>(mask | (3u << (2 * colour)));
    }
    return mask;
}

std::uint16_t pack(const std::uint8_t* keyState, const std::uint8_t (&human)[4]) {
    if (keyState == nullptr) return 0;
    std::uint16_t bits = keys::isDown(keyState, keys::DIK_ESCAPE) ? kEscapeBit : 0;
    for (int colour = 0; colour < 4; ++colour) {
        for (int which = 0; which < 2; ++which) {
            if (keys::isDown(keyState, kPaddleKeys[colour][which])) {
                bits = static_cast<std::uint16_t>(bits | (1u << (2 * colour + which)));
            }
        }
    }
    return static_cast<std::uint16_t>(bits & peopleMask(human));
}

void unpack(std::uint16_t bits, std::uint8_t (&keyState)[256]) {
    std::memset(keyState, 0, sizeof keyState);
    if (bits & kEscapeBit) keyState[keys::DIK_ESCAPE] = 0x80;
    for (int colour = 0; colour < 4; ++colour) {
        for (int which = 0; which < 2; ++which) {
            if (bits & (1u << (2 * colour + which))) keyState[kPaddleKeys[colour][which]] = 0x80;
        }
    }
}

}  // namespace matchKeys
