#include <SDL.h>
#include <gtest/gtest.h>
#include <time.h>

#include "app/Application.h"
#include "app/EntryPoint.h"
#include "app/Shell.h"
#include "combat/Combat.h"
#include "errors/ErrorLogger.h"
#include "menu/HighScoreTable.h"
#include "platform/Ticks.h"
#include "platform/Window.h"
#include "support/PlatformFaults.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"
#include "support/ScratchDirectory.h"

// Keys held across a change of scene, and what a person types, as they
// reach the game through the event pump with the keyboard's auto-repeat.
namespace {

class HeldKeysTest : public RunningGame {
protected:
    void type(SDL_Keycode key, SDL_Scancode scancode, const char* text) {
        pushed::key(SDL_KEYDOWN, key, scancode);
        pushed::text(text);
        pushed::key(SDL_KEYUP, key, scancode);
        drainMessages();
    }

    // The name being typed in the table, or "-" when nobody types.
    std::string typedName() {
        HighScoreTable& table = *app().highScores();
        if (!table.isTyping()) return "-";
        return table.name(table.editingRow());
    }
};

TEST_F(HeldKeysTest, EscapeHeldOutOfAMatchDoesNotQuitTheMenu) {
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(app().isMatchRunning());
    frames(100);
    pushed::key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    frames(1);
    ASSERT_NE(nullptr, app().menu());
    // The keyboard repeats the held Escape into the menu.
    for (int i = 0; i < 5; ++i) pushed::key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true);
    drainMessages();
    EXPECT_FALSE(quitPosted());
    // Let go and pressed again in the menu, it quits; so does its repeat.
    pushed::key(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    pushed::key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    EXPECT_TRUE(quitPosted());
}

TEST_F(HeldKeysTest, LettersAndEnterHeldIntoNameEntryStaySilentUntilLetGo) {
    // Everybody a person and nobody at the keys but green, who holds Q to
    // the end of the match.
    for (int colour = 0; colour < 4; ++colour) pushed::click(267, 141 + 24 * colour);
    drainMessages();
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    pushed::key(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q);
    pushed::text("q");
    frames(200000);
    ASSERT_NE(nullptr, app().menu());
    ASSERT_TRUE(app().highScores()->isTyping()) << "this seed's match gives a person a result for the table";

    for (int i = 0; i < 4; ++i) {
        pushed::key(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, true);
        pushed::text("q");
    }
    drainMessages();
    EXPECT_EQ("", typedName());

    pushed::key(SDL_KEYUP, SDLK_q, SDL_SCANCODE_Q);
    type(SDLK_q, SDL_SCANCODE_Q, "q");
    type(SDLK_w, SDL_SCANCODE_W, "w");
    // Several characters in one event, as an input method commits them; a
    // character outside the table's letters is one character, and ignored.
    type(SDLK_e, SDL_SCANCODE_E, "er\xC5\x81t");
    EXPECT_EQ("qwert", typedName());

    // A key pressed here repeats as a person expects.
    pushed::key(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    pushed::key(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, true);
    pushed::key(SDL_KEYUP, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    drainMessages();
    EXPECT_EQ("qwe", typedName());

    // Enter confirms the name; held on, it does not start a match.
    pushed::key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    for (int i = 0; i < 3; ++i) pushed::key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, true);
    drainMessages();
    EXPECT_FALSE(app().isMatchRunning());
    pushed::key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN);
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    // Enter again either confirms the next person's name or starts the match.
    EXPECT_TRUE(app().isMatchRunning() || app().highScores()->isTyping());
}

TEST(RandomSeedTest, ComesFromTheTimeSinceBootNotSinceTheStart) {
    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    ASSERT_EQ(1, logger.init());
    platform::Window window;
    platform::testing::setTickCount(86400000);
    Application first(window, logger);
    platform::testing::advanceTickCount(3);
    Application second(window, logger);
    EXPECT_EQ(86400000u, first.randomSeed());
    EXPECT_NE(first.randomSeed(), second.randomSeed());

    // The real clock counts from the machine's start, as the monotonic
    // clock does, not from the program's.
    platform::testing::useRealTickCount();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto bootMs = static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                                   static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
    Application third(window, logger);
    EXPECT_LT(third.randomSeed() - bootMs, 1000u);
}

}  // namespace
