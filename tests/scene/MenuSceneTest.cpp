#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "combat/PlayerSetup.h"
#include "menu/HighScoreFile.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "platform/Display.h"
#include "platform/DisplayFaults.h"
#include "platform/SoundBuffer.h"
#include "platform/Ticks.h"
#include "resources/TextFileReader.h"
#include "sound/SoundDevice.h"
#include "support/DisplayHarness.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

namespace {

class MenuSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(harness.ready());
        TextFileReader reader;
        ASSERT_EQ(0, reader.openText("txtMain", "TextFile"));
        for (int i = 0; i < 4; ++i) reader.readInt();
        table.load(reader);
        // The table as the first menu of a run without a file leaves it.
        PlayerSetup defaults;
        ASSERT_EQ(1, highScoreFile::readDefaults(table, defaults, harness.logger));
        platform::testing::setTickCount(5000);
    }

    void TearDown() override {
        menu.reset();
        if (sound) sound->release();
    }

    void makeMenu(bool withSound, bool first = true, bool abandoned = false) {
        if (withSound) {
            sound = std::make_unique<SoundDevice>();
            ASSERT_EQ(1, sound->create(&harness.window, harness.logger));
        }
        menu = std::make_unique<Menu>(harness.logger, harness.display, sound.get(), harness.misc, table, setup);
        ASSERT_EQ(1, menu->load(first, abandoned));
    }

    // Whether a mixer channel is playing a sound of this many bytes.
    static bool playing(std::uint32_t bytes) {
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
            Mix_Chunk* chunk = Mix_GetChunk(channel);
            if (Mix_Playing(channel) && chunk && chunk->alen == bytes) return true;
        }
        return false;
    }

    void type(const char* text) {
        for (const char* p = text; *p; ++p) menu->onChar(static_cast<std::uint8_t>(*p));
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    DisplayHarness harness;
    HighScoreTable table{harness.display};
    PlayerSetup setup;
    std::unique_ptr<SoundDevice> sound;
    std::unique_ptr<Menu> menu;
};

TEST_F(MenuSceneTest, ButtonRimCountsOnePixelBeyondDoesNot) {
    makeMenu(false);
    EXPECT_EQ(Menu::kExit, menu->onClick(99, 406 - 85));
    EXPECT_EQ(Menu::kNothing, menu->onClick(99, 406 - 86));
    EXPECT_EQ(Menu::kStart, menu->onClick(300 + 85, 406));
    EXPECT_EQ(Menu::kLogo, menu->onClick(341, 50 + 65));
    EXPECT_EQ(Menu::kNothing, menu->onClick(200, 100));
    // Without sound a button acts at once, with no pause to hear it.
    EXPECT_EQ(0u, platform::testing::sleptMilliseconds());
}

TEST_F(MenuSceneTest, ButtonWithSoundPausesToBeHeard) {
    makeMenu(true);
    EXPECT_EQ(Menu::kExit, menu->onClick(99, 380));
    EXPECT_EQ(150u, platform::testing::sleptMilliseconds());
}

TEST_F(MenuSceneTest, BoxEdgesHitAndTheTickMovesBetweenPartners) {
    makeMenu(true);
    // Defaults: only yellow is a person.
    EXPECT_TRUE(menu->isChecked(0, 1));
    EXPECT_FALSE(menu->isChecked(1, 1));
    EXPECT_EQ(0x02, menu->playerBits());

    // The ticked box of a colour: nothing changes, nothing sounds.
    EXPECT_EQ(Menu::kNothing, menu->onClick(274, 155));
    EXPECT_TRUE(menu->isChecked(0, 1));
    EXPECT_FALSE(playing(1102));

    // Its partner's bottom-right pixel moves the tick there, with a click.
    EXPECT_EQ(Menu::kNothing, menu->onClick(315, 155));
    EXPECT_FALSE(menu->isChecked(0, 1));
    EXPECT_TRUE(menu->isChecked(1, 1));
    EXPECT_TRUE(playing(1102));
    EXPECT_EQ(0x00, menu->playerBits());
    // The choice reaches the match only at Start.
    EXPECT_EQ(1, setup.bHuman[1]);
    EXPECT_EQ(Menu::kStart, menu->onClick(300, 380));
    EXPECT_EQ(0, setup.bHuman[1]);

    // Green's Player box, by its top-left pixel.
    EXPECT_EQ(Menu::kNothing, menu->onClick(260, 189));
    EXPECT_TRUE(menu->isChecked(0, 0));
    EXPECT_EQ(Menu::kStartMatch, menu->onChar(' '));
    EXPECT_EQ(1, setup.bHuman[0]);
}

TEST_F(MenuSceneTest, LostClickSoundComesBackForTheNextClick) {
    makeMenu(true);
    platform::testing::loseSoundBuffers("klik");
    menu->onClick(301, 141);  // yellow to PC: the click is silent this once
    EXPECT_FALSE(playing(1102));
    menu->onClick(260, 141);  // and back: heard again
    EXPECT_TRUE(playing(1102));
}

TEST_F(MenuSceneTest, ComposedFrameShowsTicksAndPaleYellowLabels) {
    makeMenu(false);
    ASSERT_EQ(0, menu->draw());
    // The knob is drawn in the ticked box only: its centre is grey, not the
    // menu picture's own box.
    const std::uint32_t ticked = harness.pixel(267, 148);
    const std::uint32_t unticked = harness.pixel(308, 148);
    EXPECT_NE(ticked, unticked);
    // The knob's green corners are keyed out.
    EXPECT_NE(0x00FF00u, harness.pixel(260, 141));

    // Somewhere in each label's rectangle the pale yellow text shows.
    auto paleYellowIn = [&](int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const std::uint32_t p = harness.pixel(x, y);
                const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                if (r > 230 && g > 205 && b > 150 && b < 210 && r > b + 40) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(paleYellowIn(147, 256, 161, 278));  // "1."
    EXPECT_TRUE(paleYellowIn(162, 274, 227, 296));  // "Bead"
    EXPECT_TRUE(paleYellowIn(240, 256, 272, 278));  // "5"
}

TEST_F(MenuSceneTest, TwoPeopleWithSevenAndSevenEnterInTurn) {
    setup.bHuman[0] = 1;
    setup.bHuman[2] = 1;
    setup.iScore[0] = 7;
    setup.iScore[2] = 7;
    setup.iScore[1] = 9;  // the computer's score is never offered
    makeMenu(false, false, false);
    EXPECT_TRUE(table.isTyping());
    EXPECT_EQ(7, table.score(0));
    type("Gre");
    EXPECT_EQ(Menu::kNothing, menu->onChar(13));
    // Red's turn, below green's equal score.
    EXPECT_TRUE(table.isTyping());
    EXPECT_EQ(7, table.score(1));
    type("Red");
    menu->onChar(13);
    EXPECT_FALSE(table.isTyping());
    EXPECT_EQ("Gre", table.name(0));
    EXPECT_EQ("Red", table.name(1));
    EXPECT_EQ("Ball", table.name(2));
}

TEST_F(MenuSceneTest, CaretSitsBehindTheNameAndGoesWithSpace) {
    setup.bHuman[1] = 1;
    setup.iScore[1] = 8;
    makeMenu(false, false, false);
    ASSERT_TRUE(table.isTyping());
    const int emptyX = table.caret().x();
    EXPECT_EQ(162, emptyX);
    type("Wide");
    EXPECT_GT(table.caret().x(), emptyX + 20);
    EXPECT_GT(table.caret().y(), 256);
    EXPECT_LT(table.caret().y(), 278);
    platform::Display* screen = harness.display.platformDisplay();
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(Menu::kStartMatch, menu->onChar(' '));
    EXPECT_FALSE(table.caret().exists());
    screen->refreshCaret(platform::tickCount());
    EXPECT_FALSE(screen->caretDrawn());
    EXPECT_EQ("Wide", table.name(0));
}

TEST_F(MenuSceneTest, MatchLeftWithEscapeOffersNothing) {
    setup.bHuman[1] = 1;
    setup.iScore[1] = 50;
    makeMenu(false, false, true);
    EXPECT_FALSE(table.isTyping());
    EXPECT_EQ(50, setup.iScore[1]);
}

TEST_F(MenuSceneTest, EscapeQuitsAndAClickEndsTheEntry) {
    setup.bHuman[1] = 1;
    setup.iScore[1] = 3;
    makeMenu(false, false, false);
    ASSERT_TRUE(table.isTyping());
    type("Al");
    menu->onClick(10, 10);
    EXPECT_FALSE(table.isTyping());
    EXPECT_EQ("Al", table.name(1));
    EXPECT_EQ(Menu::kNothing, menu->onChar('x'));
    EXPECT_EQ(Menu::kQuit, menu->onChar(27));
}

TEST_F(MenuSceneTest, DisplayFaultsAreSurvived) {
    makeMenu(false);
    const std::uint32_t titleBefore = (menu->draw(), harness.pixel(60, 40));
    platform::testing::loseSurfaces();
    menu->draw();  // present fails: everything is restored and refilled
    menu->draw();
    EXPECT_EQ(titleBefore, harness.pixel(60, 40));

    platform::testing::holdDisplayElsewhere(true);
    const std::uint32_t slept = platform::testing::sleptMilliseconds();
    EXPECT_EQ(platform::status::DDERR_EXCLUSIVEMODEALREADYSET, menu->draw());
    EXPECT_EQ(slept + 10, platform::testing::sleptMilliseconds());
    platform::testing::holdDisplayElsewhere(false);

    platform::testing::changeDisplayMode(16);
    EXPECT_EQ(platform::status::DDERR_WRONGMODE, menu->draw());
    harness.misc.release();
    harness.display.releaseInterfaces();
    ASSERT_EQ(1, harness.display.start(harness.window, harness.logger));
    ASSERT_EQ(1, harness.display.createOffscreen(harness.misc, 65, 204, "picMisc", harness.logger));
    harness.misc.loadBitmap("picMisc", 0, 0);
    harness.misc.keyColour(kKeyGreen);
    ASSERT_EQ(1, menu->recreateSurfaces());
    EXPECT_EQ(0, menu->draw());
    EXPECT_NE(0u, harness.pixel(60, 40) | harness.pixel(200, 60));
}

}  // namespace
