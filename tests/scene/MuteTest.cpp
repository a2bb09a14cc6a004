#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/Application.h"
#include "app/EntryPoint.h"
#include "graphics/DisplayDevice.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "platform/Audio.h"
#include "platform/ScreenOverlay.h"
#include "support/DiskAudioCapture.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"

// Muting, heard through SDL's disk audio driver, which writes what the
// sound card would play into a file.
namespace {

class MuteTest : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        ASSERT_TRUE(capture.start());
    }

    void pressM() {
        pushed::key(SDL_KEYDOWN, SDLK_m, SDL_SCANCODE_M);
        pushed::text("m");
        pushed::key(SDL_KEYUP, SDLK_m, SDL_SCANCODE_M);
        drainMessages();
    }

    // Clicks that each play the menu's click, then what the card played,
    // once the sound is closed.
    std::vector<std::int16_t> heardAfterClicks() {
        for (int i = 0; i < 4; ++i) {
            pushed::click(i % 2 ? 267 : 308, 148);  // yellow: PC, Player, ...
            drainMessages();
            EXPECT_TRUE(capture.waitForSilence(5000));
        }
        endGame();
        return capture.samples();
    }

    static bool silent(const std::vector<std::int16_t>& samples) {
        for (const std::int16_t sample : samples) {
            if (sample != 0) return false;
        }
        return true;
    }

    // Made before the game starts its sound, in the scratch folder.
    DiskAudioCapture capture{scratch.path() + "/heard.raw"};
};

TEST_F(MuteTest, NothingIsHeardWhileMutedAndTheMarkShows) {
    pressM();
    EXPECT_TRUE(app().isMuted());
    EXPECT_TRUE(platform::Audio::isMuted());
    EXPECT_TRUE(app().display()->overlay().showsMuted());
    const std::vector<std::int16_t> muted = heardAfterClicks();
    ASSERT_GT(muted.size(), 4 * DiskAudioCapture::kTurnSamples) << "the disk driver wrote nothing";
    EXPECT_TRUE(silent(muted));
}

TEST_F(MuteTest, TheSameClicksAreHeardWithSoundOn) {
    pressM();
    pressM();
    EXPECT_FALSE(app().isMuted());
    EXPECT_FALSE(app().display()->overlay().showsMuted());
    EXPECT_FALSE(silent(heardAfterClicks()));
}

TEST_F(MuteTest, MuteIsKeptForTheNextRun) {
    pressM();
    restart();
    EXPECT_TRUE(app().isMuted());
    EXPECT_TRUE(app().display()->overlay().showsMuted());
    pressM();
    restart();
    EXPECT_FALSE(app().isMuted());
}

TEST_F(MuteTest, MIsALetterWhileANameIsTyped) {
    app().playerSetup().bHuman[1] = 1;
    app().playerSetup().iScore[1] = 9;
    app().menu()->offerBestHumanResult();
    HighScoreTable& table = *app().highScores();
    ASSERT_TRUE(table.isTyping());
    pressM();
    EXPECT_FALSE(app().isMuted());
    EXPECT_EQ("m", table.name(table.editingRow()));
    // In a match it mutes, and the next match is muted still.
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(app().isMatchRunning());
    pressM();
    EXPECT_TRUE(app().isMuted());
    EXPECT_TRUE(app().display()->overlay().showsMuted());
}

}  // namespace
