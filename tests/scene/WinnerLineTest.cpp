#include <cstdlib>

#include "CombatScene.h"
#include "combat/WinnerLine.h"
#include "graphics/Rect.h"
#include "input/KeyCodes.h"

namespace {

using namespace platform::status;

// Where the line is drawn, and the tones it is drawn in: the players' own,
// green, yellow, red, blue, and white for a shared win.
const Rect kBand{30, WinnerLine::kTop, 372, WinnerLine::kBottom + 2};
constexpr int kTones[5][3] = {{130, 200, 84}, {235, 215, 90}, {226, 95, 101}, {129, 187, 227}, {255, 255, 255}};

TEST(WinnerLineWordsTest, NamesEveryWinnerInColourOrderAsTheMenuDoes) {
    const struct {
        std::int32_t scores[4];
        const char* line;
        ColourRef colour;
    } cases[] = {
        {{3, -2, 0, 5}, "Blue wins", makeColour(129, 187, 227)},
        {{-1, 4, 4, 0}, "Yellow and red share the win", makeColour(255, 255, 255)},
        {{2, 2, -1, 2}, "Green, yellow and blue share the win", makeColour(255, 255, 255)},
        {{0, 0, 0, 0}, "Green, yellow, red and blue share the win", makeColour(255, 255, 255)},
        {{-3, -9, -4, -5}, "Green wins", makeColour(130, 200, 84)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.line, WinnerLine::textFor(c.scores));
        EXPECT_EQ(c.colour, WinnerLine::colourFor(c.scores)) << c.line;
    }
}

class WinnerLineTest : public CombatScene {
protected:
    // Pixels of the band near the tone, and pixels that differ from the
    // arena's own picture at all.
    int pixelsNear(const int (&tone)[3]) const {
        int count = 0;
        for (int y = kBand.top; y < kBand.bottom; ++y) {
            for (int x = kBand.left; x < kBand.right; ++x) {
                const std::uint32_t p = harness.pixel(x, y);
                const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                count += std::abs(r - tone[0]) + std::abs(g - tone[1]) + std::abs(b - tone[2]) < 24;
            }
        }
        return count;
    }

    // The match played by the computer, undrawn, to the frame that ends
    // its tenth serve; then each frame draws itself again, as in the game.
    void playToTheEnd(unsigned seed) {
        makeCombat(seed);
        combat->setFrameDrawing(false);
        for (int frame = 0; !combat->isMatchOver() && frame < 200000; ++frame) frameAt(now + 16);
        ASSERT_TRUE(combat->isMatchOver());
        combat->setFrameDrawing(true);
        std::int32_t best = combat->scoreLabel(0).getValue();
        for (int colour = 0; colour < 4; ++colour) best = std::max(best, combat->scoreLabel(colour).getValue());
        int winners = 0;
        for (int colour = 0; colour < 4; ++colour) {
            won[colour] = combat->scoreLabel(colour).getValue() == best;
            if (won[colour]) {
                winner = colour;
                ++winners;
            }
        }
        if (winners > 1) winner = 4;
    }

    // Nobody else's tone is in the band.
    void expectOnlyTheWinnersTone() const {
        for (int colour = 0; colour < 4; ++colour) {
            if (!won[colour]) {
                EXPECT_LT(pixelsNear(kTones[colour]), 10) << "colour " << colour;
            }
        }
    }

    // 0 to 3 for one winner, 4 for a shared win.
    int winner = -1;
    bool won[4] = {false, false, false, false};
};

// The first blink draws the picture with the line in the winner's tone;
// it stays through the blinks, and the next blinks come on time.
TEST_F(WinnerLineTest, TheBlinkShowsTheWinnerInTheirColour) {
    // One winner, and a win shared by yellow and red.
    for (unsigned seed : {5u, 3u}) {
        playToTheEnd(seed);
        EXPECT_EQ(seed == 5 ? 3 : 4, winner);
        frameAt(now + 16);
        EXPECT_TRUE(combat->namesWinner());
        EXPECT_GT(pixelsNear(kTones[winner]), 150) << "seed " << seed;
        expectOnlyTheWinnersTone();
        const bool shown = combat->scoreLabel(0).isVisible();
        frameAt(now + 500);
        EXPECT_EQ(shown, combat->scoreLabel(0).isVisible());
        frameAt(now + 1);
        EXPECT_NE(shown, combat->scoreLabel(0).isVisible());
        EXPECT_GT(pixelsNear(kTones[winner]), 150) << "seed " << seed;
    }
}

// Escape in the blink leaves the match: the picture drawn after it names
// nobody. Neither does a match left before its end.
TEST_F(WinnerLineTest, AMatchLeftWithEscapeNamesNobody) {
    playToTheEnd(5);
    frameAt(now + 16);
    ASSERT_GT(pixelsNear(kTones[winner]), 150);
    keys[keys::DIK_ESCAPE] = 0x80;
    EXPECT_EQ(Combat::FrameResult::kLeft, combat->playFrame(keys, 16));
    EXPECT_FALSE(combat->namesWinner());
    ASSERT_EQ(S_OK, combat->compose());
    EXPECT_EQ(0, pixelsNear(kTones[winner]));
    EXPECT_EQ(0, pixelsNear(kTones[4]));

    keys[keys::DIK_ESCAPE] = 0;
    makeCombat(5);
    frameAt(now + 2000);
    keys[keys::DIK_ESCAPE] = 0x80;
    EXPECT_EQ(Combat::FrameResult::kLeft, combat->playFrame(keys, 16));
    EXPECT_FALSE(combat->namesWinner());
}

}  // namespace
