#include <cstdint>
#include <cstdlib>
#include <vector>

#include "CombatScene.h"
#include "graphics/Rect.h"
#include "graphics/Surface.h"
#include "platform/DisplayFaults.h"
#include "platform/MessageBox.h"
#include "platform/PixelSurface.h"

namespace {

using namespace platform::status;

// Sprites in picMisc, from txtGame.
const Rect kGreenPaddle{14, 28, 27, 93};
const Rect kYellowPaddle{0, 0, 65, 13};
const Rect kRedPaddle{0, 28, 13, 93};
const Rect kBluePaddle{0, 14, 65, 27};
const Rect kBall{51, 43, 65, 57};
const Rect kCentre{175, 140, 225, 187};

std::uint32_t pixelOf(const Surface& surface, int x, int y) {
    std::uint8_t r = 0, g = 0, b = 0;
    surface.platformSurface()->readPixel(x, y, r, g, b);
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
}

class CombatDrawTest : public CombatScene {
protected:
    void SetUp() override {
        CombatScene::SetUp();
        loadArenaPicture();
    }

    // What the arena alone looks like, on the display as it now is.
    void loadArenaPicture() {
        ASSERT_EQ(1, harness.display.createOffscreen(arena, 400, 400, "picCombat", harness.logger));
        arena.loadBitmap("picCombat", 0, 0);
    }

    // Pixels of the back buffer in a rectangle that are not the arena's own.
    int changedIn(const Rect& rect) const {
        int changed = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) changed += harness.pixel(x, y) != pixelOf(arena, x, y);
        }
        return changed;
    }

    // The sprite at (x, y) over the arena, its pure green left out. Returns
    // the pixels that differ; `keyed` counts the green ones.
    int spriteMismatches(const Rect& source, int x, int y, int& keyed) const {
        int wrong = 0;
        keyed = 0;
        for (int dy = 0; dy < source.bottom - source.top; ++dy) {
            for (int dx = 0; dx < source.right - source.left; ++dx) {
                const std::uint32_t sprite = pixelOf(harness.misc, source.left + dx, source.top + dy);
                const bool green = sprite == 0x00FF00u;
                keyed += green;
                const std::uint32_t expected = green ? pixelOf(arena, x + dx, y + dy) : sprite;
                wrong += harness.pixel(x + dx, y + dy) != expected;
            }
        }
        return wrong;
    }

    // Returns how many of the sprite's pixels were keyed out.
    int expectSpriteAt(const Rect& source, int x, int y, const char* what) const {
        int keyed = 0;
        EXPECT_EQ(0, spriteMismatches(source, x, y, keyed)) << what;
        return keyed;
    }

    // Does any pixel of the rectangle come near this colour?
    bool colourIn(const Rect& rect, int red, int green, int blue) const {
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const std::uint32_t p = harness.pixel(x, y);
                const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                if (std::abs(r - red) + std::abs(g - green) + std::abs(b - blue) < 24) return true;
            }
        }
        return false;
    }

    std::vector<std::uint32_t> wholePicture() const {
        std::vector<std::uint32_t> picture;
        for (int y = 0; y < 400; ++y) {
            for (int x = 0; x < 400; ++x) picture.push_back(harness.pixel(x, y));
        }
        return picture;
    }

    // Into play with a bonus of this kind on the field, nothing moved.
    void bonusOnTheField(int kind) {
        holdPaddlesStill();
        makeCombat(seedShowing(kind));
        stillFrameAt(kLoadTime + 1001);
        stillFrameAt(kLoadTime + 2001);
        ASSERT_EQ(kind, combat->bonusOnField());
    }

    Surface arena;
};

TEST_F(CombatDrawTest, ComposedFrameShowsEveryLayerInPlace) {
    bonusOnTheField(Bonus::kFastPaddle);
    // Off the bonus, with a fractional centre that is truncated.
    ball(0).place(Vector2{300.7, 120.9}, kUp);
    ASSERT_EQ(S_OK, combat->compose());

    EXPECT_EQ(0, changedIn(Rect{60, 60, 160, 160}));
    EXPECT_EQ(0, changedIn(Rect{240, 240, 340, 340}));
    expectSpriteAt(kGreenPaddle, 6, 167, "green paddle");
    expectSpriteAt(kYellowPaddle, 167, 381, "yellow paddle");
    expectSpriteAt(kRedPaddle, 381, 167, "red paddle");
    expectSpriteAt(kBluePaddle, 167, 6, "blue paddle");
    // The round ball and the icon's rounded corners leave the arena showing.
    EXPECT_GT(expectSpriteAt(kBall, 293, 113, "ball"), 20);
    EXPECT_GT(expectSpriteAt(combat->bonus(Bonus::kFastPaddle).getSource(), 189, 189, "bonus"), 0);

    // Each score in its paddle's colour, in its own corner.
    EXPECT_TRUE(colourIn(combat->scoreLabel(0).getRect(), 130, 200, 84));
    EXPECT_TRUE(colourIn(combat->scoreLabel(1).getRect(), 235, 215, 90));
    EXPECT_TRUE(colourIn(combat->scoreLabel(2).getRect(), 226, 95, 101));
    EXPECT_TRUE(colourIn(combat->scoreLabel(3).getRect(), 129, 187, 227));
    EXPECT_FALSE(colourIn(combat->scoreLabel(0).getRect(), 235, 215, 90));
    // No number in the middle while the serve is played.
    EXPECT_EQ(0, changedIn(kCentre));
}

TEST_F(CombatDrawTest, CentreNumberShowsDuringTheStartPauseOnly) {
    makeCombat();
    ASSERT_EQ(S_OK, combat->compose());
    EXPECT_GT(changedIn(kCentre), 100);
    EXPECT_TRUE(colourIn(kCentre, 0, 0, 0));
    EXPECT_EQ(0, changedIn(Rect{kCentre.left, 100, kCentre.right, kCentre.top}));

    stillFrameAt(kLoadTime + 1001);
    ASSERT_EQ(S_OK, combat->compose());
    EXPECT_EQ(0, changedIn(kCentre));
}

TEST_F(CombatDrawTest, HeldBonusShowsItsLittleIconAtThePaddlesCorner) {
    // Blue's corner: its ptBonus is (15, 26).
    const Rect blueCorner{15, 26, 37, 48};
    for (int kind : {Bonus::kDoublePoints, Bonus::kExtraBall}) {
        SCOPED_TRACE(kind);
        bonusOnTheField(kind);
        bounceOffBlue(kLoadTime + 2100);
        takeWithBlue(kLoadTime + 2200);
        ASSERT_EQ(S_OK, combat->compose());
        if (kind == Bonus::kDoublePoints) {
            expectSpriteAt(combat->bonus(kind).getLittle(), 15, 26, "little icon");
            EXPECT_GT(changedIn(blueCorner), 100);
        } else {
            // The extra ball is never held.
            EXPECT_EQ(0, changedIn(blueCorner));
        }
        // The field is empty again.
        EXPECT_EQ(0, changedIn(Rect{189, 189, 192, 215}));
    }
}

TEST_F(CombatDrawTest, LostSurfacesAreRestoredAndRefilledOnTheFailingPresent) {
    makeCombat();
    ASSERT_EQ(S_OK, combat->draw());
    const std::vector<std::uint32_t> before = wholePicture();

    platform::testing::loseSurfaces();
    EXPECT_EQ(S_OK, combat->draw());
    // The arena, the sprites and the digits are all back in the next frame.
    EXPECT_EQ(S_OK, combat->draw());
    EXPECT_TRUE(before == wholePicture());
}

TEST_F(CombatDrawTest, ChangedModeGivesUpTheArenaUntilItIsRecreated) {
    makeCombat();
    platform::testing::changeDisplayMode(16);
    EXPECT_EQ(DDERR_WRONGMODE, combat->draw());
    EXPECT_FALSE(combat->hasArena());
    // The match goes on without a picture meanwhile.
    EXPECT_EQ(1, frameAt(kLoadTime + 1001));
    EXPECT_EQ(1, frameAt(kLoadTime + 1017));
    EXPECT_EQ(DDERR_WRONGMODE, combat->draw());

    // What the application does: the same device and sprite sheet, rebuilt.
    arena.release();
    harness.misc.release();
    harness.display.releaseInterfaces();
    ASSERT_EQ(1, harness.display.start(harness.window, harness.logger));
    ASSERT_EQ(1, harness.display.createOffscreen(harness.misc, 65, 204, "picMisc", harness.logger));
    harness.misc.loadBitmap("picMisc", 0, 0);
    harness.misc.keyColour(kKeyGreen);
    loadArenaPicture();

    ASSERT_EQ(1, combat->recreateSurfaces());
    EXPECT_TRUE(combat->hasArena());
    ASSERT_EQ(S_OK, combat->draw());
    EXPECT_EQ(0, changedIn(Rect{60, 60, 160, 160}));
    EXPECT_GT(changedIn(combat->scoreLabel(0).getRect()), 10);
    EXPECT_TRUE(platform::testing::recordedMessages().empty());
}

TEST_F(CombatDrawTest, DisplayHeldElsewhereMakesDrawWaitAndDrawNothing) {
    makeCombat();
    ASSERT_EQ(S_OK, combat->draw());
    platform::testing::holdDisplayElsewhere(true);
    frameAt(kLoadTime + 1001);
    ASSERT_FALSE(combat->centre().isVisible());

    const std::uint32_t slept = platform::testing::sleptMilliseconds();
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, combat->draw());
    EXPECT_EQ(slept + 10, platform::testing::sleptMilliseconds());
    // Still the start pause's picture, number and all.
    EXPECT_GT(changedIn(kCentre), 100);

    platform::testing::holdDisplayElsewhere(false);
    ASSERT_EQ(S_OK, combat->draw());
    EXPECT_EQ(0, changedIn(kCentre));
}

}  // namespace
