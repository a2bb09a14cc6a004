#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/GameClock.h"
#include "app/Shell.h"
#include "combat/Combat.h"
#include "graphics/DisplayDevice.h"
#include "input/PadClaims.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "platform/GamePads.h"
#include "platform/ScreenOverlay.h"
#include "platform/Ticks.h"
#include "platform/VirtualPad.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"
#include "support/ScopedEnvironment.h"

// Pads plugged into SDL as virtual joysticks, reaching the game through
// SDL's events as real ones do.
namespace {

using platform::VirtualPad;
namespace button = platform::padButton;

constexpr int kGreen = 0;
constexpr int kYellow = 1;
constexpr int kBlue = 3;

class GamepadTest : public RunningGame {
protected:
    const PadClaims& claims() { return app().padClaims(); }
    platform::ScreenOverlay& overlay() { return app().display()->overlay(); }

    // A pad plugged in now, already known to the game.
    std::unique_ptr<VirtualPad> plugIn() {
        auto pad = std::make_unique<VirtualPad>();
        drainMessages();
        return pad;
    }
    void tap(VirtualPad& pad, std::uint16_t which) {
        pad.tap(which);
        drainMessages();
    }
    std::string pauseNote() {
        std::string text;
        for (const std::string& line : overlay().note()) text += line + "\n";
        return text;
    }
};

TEST_F(GamepadTest, PadsChooseTheirColoursInTheMenuAndShowWhichTheyPlay) {
    auto first = plugIn();
    auto second = plugIn();
    EXPECT_EQ(PadClaims::kNone, claims().colourOf(1));
    EXPECT_TRUE(overlay().marks().empty());

    tap(*first, button::kA);
    EXPECT_EQ(kYellow, claims().colourOf(1));
    tap(*first, button::kA);  // on to the next free colour; yellow's box stays ticked
    EXPECT_EQ(kBlue, claims().colourOf(1));
    EXPECT_TRUE(app().menu()->isChecked(0, kBlue));
    EXPECT_TRUE(app().menu()->isChecked(0, kYellow));

    tap(*second, button::kA);
    EXPECT_EQ(kYellow, claims().colourOf(2));
    tap(*second, button::kA);  // blue is held: green
    EXPECT_EQ(kGreen, claims().colourOf(2));
    EXPECT_TRUE(app().menu()->isChecked(0, kGreen));
    EXPECT_FALSE(app().menu()->isChecked(1, kGreen));

    // The marks stand right of the PC boxes, in their colours' rows.
    ASSERT_EQ(2u, overlay().marks().size());
    EXPECT_EQ(189, overlay().marks()[0].y);  // green's row
    EXPECT_EQ(2, overlay().marks()[0].pad);
    EXPECT_EQ(165, overlay().marks()[1].y);  // blue's row
    EXPECT_EQ(1, overlay().marks()[1].pad);
    EXPECT_GT(overlay().marks()[0].x, 315);

    // B lets the colour go and never quits; a pad pulled out lets go too.
    tap(*second, button::kB);
    tap(*second, button::kB);
    EXPECT_EQ(0, claims().padOf(kGreen));
    EXPECT_FALSE(quitPosted());
    first->unplug();
    drainMessages();
    EXPECT_EQ(0, claims().padOf(kBlue));
    EXPECT_TRUE(overlay().marks().empty());
    ASSERT_NE(nullptr, app().menu());

    // Plugged in again, it is the first pad again, without a colour.
    auto again = plugIn();
    tap(*again, button::kA);
    EXPECT_EQ(kYellow, claims().colourOf(1));
}

TEST_F(GamepadTest, AGamecontrollerdbInTheConfigFolderMakesAJoystickAPad) {
    scratch.write("gamecontrollerdb.txt",
                  "# a joystick SDL knows nothing of, its buttons in an odd order\n"
                  "ff000000341200007856000000007600,Odd pad,a:b2,b:b0,start:b3,back:b1,"
                  "leftx:a0,lefty:a1,platform:Linux,\n");
    ScopedEnvironment environment;
    environment.set("QUADRILL_CONFIG_DIR", scratch.path());
    restart();
    VirtualPad odd(0x1234, 0x5678);
    drainMessages();
    odd.setJoystickButton(2, true);  // its A
    odd.setJoystickButton(2, false);
    drainMessages();
    EXPECT_EQ(kYellow, claims().colourOf(1));
    odd.setJoystickButton(3, true);  // its Start
    drainMessages();
    EXPECT_TRUE(app().isMatchRunning());
}

// Yellow's paddle, frame by frame, as something holds left and then right.
class PaddleFromPadTest : public GamepadTest {
protected:
    enum class Source { Keyboard, Dpad, Stick };

    std::vector<double> yellowTrack(Source source) {
        restart();
        auto pad = plugIn();
        tap(*pad, button::kA);
        startMatch();
        std::vector<double> track;
        const auto hold = [&](int direction, bool down) {
            const bool left = direction < 0;
            switch (source) {
                case Source::Keyboard:
                    pushed::key(down ? SDL_KEYDOWN : SDL_KEYUP, left ? SDLK_LEFT : SDLK_RIGHT,
                                left ? SDL_SCANCODE_LEFT : SDL_SCANCODE_RIGHT);
                    break;
                case Source::Dpad:
                    if (down) {
                        pad->press(left ? button::kLeft : button::kRight);
                    } else {
                        pad->release(left ? button::kLeft : button::kRight);
                    }
                    break;
                case Source::Stick:
                    pad->moveStick(static_cast<std::int16_t>(down ? direction * 20000 : 0), 0);
                    break;
            }
        };
        for (int frame = 0; frame < 240; ++frame) {
            if (frame == 80) hold(-1, true);
            if (frame == 140) hold(-1, false);
            if (frame == 150) hold(1, true);
            if (frame == 230) hold(1, false);
            frames(1);
            track.push_back(app().combat()->paddle(kYellow).getX());
        }
        return track;
    }
};

TEST_F(PaddleFromPadTest, DpadAndStickMoveThePaddleExactlyAsTheKeysDo) {
    const std::vector<double> keyboard = yellowTrack(Source::Keyboard);
    ASSERT_LT(keyboard[139], keyboard[79]);  // it did move, both ways
    ASSERT_GT(keyboard[229], keyboard[149]);
    EXPECT_EQ(keyboard, yellowTrack(Source::Dpad));
    EXPECT_EQ(keyboard, yellowTrack(Source::Stick));
}

TEST_F(GamepadTest, TheStickInsideItsDeadZoneAndAnotherColoursPadMoveNothing) {
    auto pad = plugIn();
    auto other = plugIn();
    tap(*pad, button::kA);
    tap(*other, button::kA);  // blue, yellow being held
    pushed::click(267, 196);  // green is a person too, whom no pad plays
    drainMessages();
    startMatch();
    frames(80);
    const double yellow = app().combat()->paddle(kYellow).getX();
    const double green = app().combat()->paddle(kGreen).getY();
    pad->moveStick(-7000, -7000);
    other->press(button::kUp);  // not a direction of blue's paddle
    frames(30);
    EXPECT_EQ(yellow, app().combat()->paddle(kYellow).getX());
    EXPECT_EQ(green, app().combat()->paddle(kGreen).getY());
}

TEST_F(GamepadTest, StartStartsTheMatchAndBackLeavesIt) {
    app().playerSetup().iScore[kYellow] = 50;  // a result that a finished match would offer
    auto pad = plugIn();
    tap(*pad, button::kStart);
    ASSERT_TRUE(app().isMatchRunning());
    frames(100);
    tap(*pad, button::kBack);
    frames(1);
    ASSERT_NE(nullptr, app().menu());
    EXPECT_FALSE(app().highScores()->isTyping());
    EXPECT_FALSE(quitPosted());
}

TEST_F(GamepadTest, APadSpellsANameAndTheKeyboardStillTypes) {
    auto pad = plugIn();
    app().playerSetup().bHuman[kYellow] = 1;
    app().playerSetup().iScore[kYellow] = 9;
    app().menu()->offerBestHumanResult();
    HighScoreTable& table = *app().highScores();
    ASSERT_TRUE(table.isTyping());
    const int row = table.editingRow();

    for (std::uint16_t step : {button::kUp, button::kUp, button::kRight,  // B, kept
                               button::kDown, button::kA,                   // Z, kept
                               button::kUp, button::kB,                     // A, taken back
                               button::kLeft}) {                            // Z taken back
        tap(*pad, step);
    }
    EXPECT_EQ("B", table.name(row));
    pushed::text("x");
    tap(*pad, button::kDown);  // a Z being chosen...
    pushed::text("y");         // ...is kept when a key types on
    drainMessages();
    EXPECT_EQ("BxZy", table.name(row));

    tap(*pad, button::kStart);  // confirms the name, as Enter does
    EXPECT_FALSE(table.isTyping());
    EXPECT_EQ("BxZy", table.name(row));
    EXPECT_NE(nullptr, app().menu());
}

TEST_F(GamepadTest, APadPulledOutPausesTheMatchUntilItIsBackOrThePlayersGoOn) {
    auto pad = plugIn();
    tap(*pad, button::kA);
    startMatch();
    frames(100);
    const std::uint32_t stopped = app().clock().now();

    pad->unplug();
    drainMessages();
    ASSERT_TRUE(app().isPaused());
    EXPECT_NE(std::string::npos, pauseNote().find("The yellow pad is unplugged")) << pauseNote();
    platform::testing::advanceTickCount(20000);
    drainMessages();
    EXPECT_FALSE(app().wantsFrames());
    app().frame();  // even a frame run regardless finds the time stood still
    EXPECT_EQ(stopped, app().clock().now());

    // Plugged in again (as a new pad to SDL), it plays yellow once more.
    auto back = plugIn();
    EXPECT_FALSE(app().isPaused());
    EXPECT_TRUE(overlay().note().empty());
    EXPECT_EQ(kYellow, claims().colourOf(1));

    // Pulled out again, Start on another pad plays on without it, and so
    // does P; the keyboard still plays yellow meanwhile.
    auto other = plugIn();
    back->unplug();
    drainMessages();
    ASSERT_TRUE(app().isPaused());
    tap(*other, button::kStart);
    EXPECT_FALSE(app().isPaused());
    tap(*other, button::kStart);  // Start pauses too
    ASSERT_TRUE(app().isPaused());
    pushed::tap(SDLK_p, SDL_SCANCODE_P);
    drainMessages();
    EXPECT_FALSE(app().isPaused());
    EXPECT_TRUE(app().isMatchRunning());
}

}  // namespace
