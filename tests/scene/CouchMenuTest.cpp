#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "combat/PlayerSetup.h"
#include "input/KeyBindings.h"
#include "input/KeyCodes.h"
#include "menu/HighScoreFile.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "menu/MenuFocus.h"
#include "platform/Ticks.h"
#include "resources/TextFileReader.h"
#include "settings/Settings.h"
#include "support/DisplayHarness.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

namespace {

using Kind = MenuFocus::Kind;
using Item = MenuFocus::Item;

constexpr int kGreen = 0;
constexpr int kYellow = 1;
constexpr int kRed = 2;
constexpr int kBlue = 3;
constexpr std::uint8_t kJ = 0x24;
constexpr std::uint8_t kL = 0x26;

// The menu of a fresh start, with the players' key bindings, driven by
// keys alone.
class CouchMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(harness.ready());
        TextFileReader reader;
        ASSERT_EQ(0, reader.openText("txtMain", "TextFile"));
        for (int i = 0; i < 4; ++i) reader.readInt();
        table.load(reader);
        PlayerSetup defaults;
        ASSERT_EQ(1, highScoreFile::readDefaults(table, defaults, harness.logger));
        platform::testing::setTickCount(5000);
        menu = std::make_unique<Menu>(harness.logger, harness.display, nullptr, harness.misc, table, setup, nullptr,
                                      &bindings);
        ASSERT_EQ(1, menu->load(true, false));
        menu->draw();
    }

    void TearDown() override { menu.reset(); }

    std::int8_t key(std::uint8_t code, char letter = 0) { return menu->onKey(code, letter); }
    std::uint32_t pixel(int x, int y) {
        std::uint8_t r = 0, g = 0, b = 0;
        EXPECT_TRUE(harness.display.readBackBufferPixel(x, y, r, g, b));
        return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
    }
    // The back buffer's pixels in a rectangle, to see whether anything was drawn there.
    std::vector<std::uint32_t> region(int left, int top, int right, int bottom) {
        std::vector<std::uint32_t> pixels;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) pixels.push_back(pixel(x, y));
        }
        return pixels;
    }
    // Opens yellow's Controls by a click on its text.
    void askYellowsKeys() {
        EXPECT_EQ(Menu::kNothing, menu->onClick(150, 148));
        ASSERT_TRUE(menu->isAskingKeys());
        ASSERT_EQ(kYellow, menu->keyPrompt().colourAsked());
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    DisplayHarness harness;
    HighScoreTable table{harness.display};
    PlayerSetup setup;
    KeyBindings bindings;
    std::unique_ptr<Menu> menu;
};

TEST_F(CouchMenuTest, TabWalksEveryItemInReadingOrderAndTheArrowsMoveByRows) {
    // Nothing new shows before a key: no ring on the logo's rim, no word
    // beside green's PC box (every computer is Normal), no Default keys.
    const std::uint32_t rimBefore = pixel(341, 118);
    const std::vector<std::uint32_t> besideGreen = region(323, 187, 370, 205);
    const std::vector<std::uint32_t> defaultKeys = region(292, 238, 392, 262);
    EXPECT_FALSE(menu->isFocusShown());

    const Item order[] = {
        {Kind::kLogo, -1},
        {Kind::kControls, kYellow}, {Kind::kPlayer, kYellow}, {Kind::kComputer, kYellow},
        {Kind::kControls, kBlue}, {Kind::kPlayer, kBlue}, {Kind::kComputer, kBlue},
        {Kind::kControls, kGreen}, {Kind::kPlayer, kGreen}, {Kind::kComputer, kGreen},
        {Kind::kControls, kRed}, {Kind::kPlayer, kRed}, {Kind::kComputer, kRed},
        {Kind::kDefaultKeys, -1}, {Kind::kExit, -1}, {Kind::kStart, -1},
        {Kind::kLogo, -1},  // round again
    };
    for (const Item& expected : order) {
        key(keys::DIK_TAB);
        ASSERT_TRUE(menu->focus().item() == expected) << static_cast<int>(expected.kind) << " " << expected.colour;
    }
    EXPECT_NE(rimBefore, pixel(341, 118)) << "no ring round the focused logo";
    EXPECT_NE(besideGreen, region(323, 187, 370, 205)) << "no strength shown with the keyboard's focus";
    EXPECT_NE(defaultKeys, region(292, 238, 392, 262)) << "no Default keys item with the keyboard's focus";

    // Down from the logo to the nearest item of the yellow row, then down
    // the PC column, left to blue's Player box; Space ticks it as a click does.
    key(keys::DIK_DOWN);
    EXPECT_TRUE(menu->focus().item() == (Item{Kind::kComputer, kYellow}));
    key(keys::DIK_DOWN);
    key(keys::DIK_LEFT);
    EXPECT_TRUE(menu->focus().item() == (Item{Kind::kPlayer, kBlue}));
    EXPECT_EQ(Menu::kNothing, menu->onChar(' '));
    EXPECT_TRUE(menu->isChecked(0, kBlue));
    EXPECT_FALSE(menu->isChecked(1, kBlue));
    // Up from the top row goes round to the bottom one: Start, under the logo.
    key(keys::DIK_UP);
    key(keys::DIK_UP);
    key(keys::DIK_UP);
    EXPECT_TRUE(menu->focus().item() == (Item{Kind::kStart, -1}));
    EXPECT_EQ(Menu::kStartMatch, menu->onChar(13));
    EXPECT_EQ(1, setup.bHuman[kBlue]);
}

TEST_F(CouchMenuTest, AClickMovesTheFocusAndAPCBoxActedOnAgainChangesTheStrength) {
    // Green's PC box is ticked at Normal: clicked again it plays Hard, then
    // Easy, then Normal; Player and back keeps the strength.
    const Rect pcGreen{301, 189, 315, 203};
    menu->onClick(pcGreen.left + 5, pcGreen.top + 5);
    EXPECT_EQ(ComputerLevel::kHard, setup.levels.of(kGreen));
    key(keys::DIK_TAB);
    EXPECT_TRUE(menu->focus().item() == (Item{Kind::kComputer, kGreen})) << "the ring shows where the click was";
    menu->onChar(' ');
    EXPECT_EQ(ComputerLevel::kEasy, setup.levels.of(kGreen));
    menu->onChar(' ');
    EXPECT_EQ(ComputerLevel::kNormal, setup.levels.of(kGreen));
    menu->onChar(' ');
    key(keys::DIK_LEFT);
    menu->onChar(' ');
    EXPECT_TRUE(menu->isChecked(0, kGreen));
    key(keys::DIK_RIGHT);
    menu->onChar(' ');
    EXPECT_TRUE(menu->isChecked(1, kGreen));
    EXPECT_EQ(ComputerLevel::kHard, setup.levels.of(kGreen));
}

TEST_F(CouchMenuTest, KeysOfAnotherColourOrOfTheGameAreRefusedAndEscapeCancels) {
    askYellowsKeys();
    EXPECT_EQ("Press left", menu->keyPrompt().text());
    key(keys::DIK_C, 'c');
    EXPECT_EQ("Blue's key! Press left", menu->keyPrompt().text());
    key(0x19, 'p');  // the pause
    EXPECT_EQ("Game key! Press left", menu->keyPrompt().text());
    key(0x32, 'm');  // the mute
    key(keys::DIK_ESCAPE);
    key(0x57);  // F11
    key(keys::DIK_SPACE, 0);
    EXPECT_EQ(Menu::kNothing, menu->onChar(13));
    EXPECT_EQ("Game key! Press left", menu->keyPrompt().text());
    // A key another layout prints M on is the mute there, wherever it lies.
    key(0x27, 'm');
    EXPECT_TRUE(menu->keyPrompt().lastRefused());
    key(kJ, 'j');
    EXPECT_EQ("Press right", menu->keyPrompt().text());
    key(kJ, 'j');
    EXPECT_TRUE(menu->keyPrompt().lastRefused()) << "the same key for both directions";
    // Escape gives up, keeps the old keys and does not quit the game.
    EXPECT_EQ(Menu::kNothing, menu->onChar(27));
    EXPECT_FALSE(menu->isAskingKeys());
    EXPECT_TRUE(bindings.isDefault(kYellow));

    // Green's keys are free once green has let them go.
    askYellowsKeys();
    key(kJ, 'j');
    key(kL, 'l');
    EXPECT_FALSE(menu->isAskingKeys());
    EXPECT_EQ(kJ, bindings.key(kYellow, 0));
    EXPECT_EQ(kL, bindings.key(kYellow, 1));
    EXPECT_EQ(KeyBindings::kNobody, bindings.holderOf(keys::DIK_LEFT));

    // The match sees J as yellow's left key, and the old Left as nothing.
    std::uint8_t state[256] = {};
    state[kJ] = 0x80;
    state[keys::DIK_RIGHT] = 0x80;
    state[keys::DIK_ESCAPE] = 0x80;
    bindings.apply(state);
    EXPECT_TRUE(keys::isDown(state, keys::DIK_LEFT));
    EXPECT_FALSE(keys::isDown(state, keys::DIK_RIGHT));
    EXPECT_TRUE(keys::isDown(state, keys::DIK_ESCAPE));

    // Default keys gives every colour its own again.
    key(keys::DIK_TAB);
    while (menu->focus().item().kind != Kind::kDefaultKeys) key(keys::DIK_TAB);
    menu->onChar(13);
    EXPECT_TRUE(bindings.allDefault());
}

TEST_F(CouchMenuTest, KeysAndStrengthsOutliveARunAndAGarbledEntryGivesDefaults) {
    Settings settings;
    ASSERT_TRUE(settings.load());
    settings.keys.set(kYellow, kJ, kL);
    settings.levels.set(kGreen, ComputerLevel::kHard);
    settings.levels.set(kRed, ComputerLevel::kEasy);
    std::string reason;
    ASSERT_TRUE(settings.save(reason)) << reason;
    Settings again;
    ASSERT_TRUE(again.load());
    EXPECT_EQ(kJ, again.keys.key(kYellow, 0));
    EXPECT_EQ(kL, again.keys.key(kYellow, 1));
    EXPECT_TRUE(again.keys.isDefault(kGreen));
    EXPECT_EQ(ComputerLevel::kHard, again.levels.of(kGreen));
    EXPECT_EQ(ComputerLevel::kEasy, again.levels.of(kRed));
    EXPECT_EQ(ComputerLevel::kNormal, again.levels.of(kBlue));
    EXPECT_FALSE(again.hasChanges());

    // Escape for green's key, a word for yellow's, blue on red's J: each
    // gets its own keys back, and the player is told which.
    scratch.write("settings.ini",
                  "[keys]\ngreen = 1 30\nyellow = left right\nred = 36 38\nblue = 36 47\n"
                  "[computer]\ngreen = hard\nred = brilliant\n");
    testing::internal::CaptureStderr();
    Settings garbled;
    ASSERT_TRUE(garbled.load());
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(garbled.keys.isDefault(kGreen));
    EXPECT_TRUE(garbled.keys.isDefault(kYellow));
    EXPECT_EQ(kJ, garbled.keys.key(kRed, 0));
    EXPECT_TRUE(garbled.keys.isDefault(kBlue));
    EXPECT_NE(std::string::npos, told.find("green")) << told;
    EXPECT_NE(std::string::npos, told.find("yellow")) << told;
    EXPECT_NE(std::string::npos, told.find("blue shares")) << told;
    EXPECT_EQ(std::string::npos, told.find("keys of red")) << told;
    EXPECT_EQ(std::string::npos, told.find("red shares")) << told;
    EXPECT_EQ(ComputerLevel::kHard, garbled.levels.of(kGreen));
    EXPECT_EQ(ComputerLevel::kNormal, garbled.levels.of(kRed));
}

}  // namespace
