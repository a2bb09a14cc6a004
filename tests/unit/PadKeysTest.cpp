#include <gtest/gtest.h>

#include <cstdint>

#include "input/KeyCodes.h"
#include "input/PadClaims.h"
#include "input/PadKeys.h"
#include "platform/GamePads.h"

namespace {

namespace button = platform::padButton;

// Which keys are down in a state, as one bit each of a small set.
int downKeys(const std::uint8_t* keys) {
    const std::uint8_t watched[] = {keys::DIK_Q,    keys::DIK_A,     keys::DIK_LEFT, keys::DIK_RIGHT, keys::DIK_PRIOR,
                                    keys::DIK_NEXT, keys::DIK_C,     keys::DIK_V,    keys::DIK_ESCAPE};
    int bits = 0;
    for (int i = 0; i < 9; ++i) bits |= keys::isDown(keys, watched[i]) ? 1 << i : 0;
    return bits;
}

TEST(PadKeysTest, EachColoursPadHoldsThatColoursTwoKeys) {
    PadClaims claims;
    claims.claimNext(1);  // yellow
    claims.claimNext(2);  // blue
    claims.claimNext(3);  // green
    claims.claimNext(4);  // red
    const struct {
        int pad;
        std::uint16_t held;
        int keys;
    } cases[] = {
        {1, button::kLeft, 1 << 2},  {1, button::kRight, 1 << 3}, {1, button::kUp, 0},
        {2, button::kLeft, 1 << 6},  {2, button::kRight, 1 << 7}, {2, button::kDown, 0},
        {3, button::kUp, 1 << 0},    {3, button::kDown, 1 << 1},  {3, button::kLeft, 0},
        {4, button::kUp, 1 << 4},    {4, button::kDown, 1 << 5},  {4, button::kUp | button::kDown, 3 << 4},
        {5, button::kLeft, 0},       {5, button::kBack, 1 << 8},  {1, button::kA | button::kStart, 0},
    };
    for (const auto& c : cases) {
        padKeys::PadButtons buttons = {};
        buttons[c.pad] = c.held;
        std::uint8_t keys[256] = {};
        padKeys::addKeys(claims, buttons, keys);
        EXPECT_EQ(c.keys, downKeys(keys)) << "pad " << c.pad << " holding " << c.held;
    }
}

TEST(PadKeysTest, KeysHeldOnTheKeyboardStayDown) {
    PadClaims claims;
    claims.claimNext(1);
    padKeys::PadButtons buttons = {};
    std::uint8_t keys[256] = {};
    keys[keys::DIK_RIGHT] = 0x80;
    keys[keys::DIK_Q] = 0x80;
    padKeys::addKeys(claims, buttons, keys);
    EXPECT_EQ(0x80, keys[keys::DIK_RIGHT]);
    EXPECT_EQ(0x80, keys[keys::DIK_Q]);
}

TEST(PadKeysTest, TheStickCountsPastAQuarterOfItsTravel) {
    EXPECT_EQ(0, platform::stickDirections(8192, -8192));
    EXPECT_EQ(button::kRight | button::kUp, platform::stickDirections(8193, -8193));
    EXPECT_EQ(button::kLeft | button::kDown, platform::stickDirections(-32768, 32767));
    EXPECT_EQ(button::kDown, platform::stickDirections(100, 9000));
}

}  // namespace
