#include "input/PadKeys.h"

#include "input/KeyCodes.h"
#include "input/PadClaims.h"

namespace padKeys {
namespace {

struct PaddleKeys {
    std::uint16_t firstDirection;
    std::uint8_t firstKey;
    std::uint16_t secondDirection;
    std::uint8_t secondKey;
};

// By colour: green and red stand on the sides and move up and down, yellow
// and blue lie along the bottom and the top and move left and right.
constexpr PaddleKeys kPaddleKeys[PadClaims::kColours] = {
    {platform::padButton::kUp, keys::DIK_Q, platform::padButton::kDown, keys::DIK_A},
    {platform::padButton::kLeft, keys::DIK_LEFT, platform::padButton::kRight, keys::DIK_RIGHT},
    {platform::padButton::kUp, keys::DIK_PRIOR, platform::padButton::kDown, keys::DIK_NEXT},
    {platform::padButton::kLeft, keys::DIK_C, platform::padButton::kRight, keys::DIK_V},
};

constexpr std::uint8_t kDown = 0x80;

}  // namespace

void addKeys(const PadClaims& claims, const PadButtons& buttons, std::uint8_t* keys) {
    for (int pad = 1; pad <= platform::kMaxPads; ++pad) {
        if (buttons[pad] & platform::padButton::kBack) keys[keys::DIK_ESCAPE] |= kDown;
    }
    for (int colour = 0; colour < PadClaims::kColours; ++colour) {
        const int pad = claims.padOf(colour);
        if (pad < 1 || pad > platform::kMaxPads) continue;
        const PaddleKeys& paddle = kPaddleKeys[colour];
        if (buttons[pad] & paddle.firstDirection) keys[paddle.firstKey] |= kDown;
        if (buttons[pad] & paddle.secondDirection) keys[paddle.secondKey] |= kDown;
    }
}

}  // namespace padKeys
