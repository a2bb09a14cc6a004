#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "app/Application.h"
#include "app/EntryPoint.h"
#include "app/Shell.h"
#include "errors/ErrorLogger.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "platform/Audio.h"
#include "platform/DisplayFaults.h"
#include "platform/EventPump.h"
#include "platform/File.h"
#include "platform/KeyboardTable.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"
#include "platform/Window.h"
#include "support/PlatformFaults.h"
#include "support/PushedEvents.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace {

using platform::testing::recordedMessages;

const std::string kDefaultFile("\x02" "Ball\0\x05\0" "Bead\0\x02\0" "Blob\0\0\0", 22);


class ApplicationStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetQuit();
        ASSERT_EQ(1, logger.init());
        logger.enableLog();
    }
    void TearDown() override {
        endGame();
        resetQuit();
    }

    bool logSays(const std::string& text) const { return scratch.read("logError.txt").find(text) != std::string::npos; }

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    platform::Window window;
};

TEST_F(ApplicationStartTest, StartsInTheMenuAndEscapeQuitsKeepingTheTable) {
    ASSERT_EQ(1, startGame(logger, window));
    ASSERT_NE(nullptr, g_pApplication);
    EXPECT_NE(nullptr, g_pApplication->menu());
    EXPECT_FALSE(g_pApplication->isMatchRunning());
    EXPECT_TRUE(recordedMessages().empty());
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(nullptr, g_pApplication);
    EXPECT_EQ(kDefaultFile, scratch.read("Quadrill.dat"));
}

TEST_F(ApplicationStartTest, TickingPcForYellowAndQuittingStoresBitOneAsZero) {
    ASSERT_EQ(1, startGame(logger, window));
    pushed::click(308, 148);
    pushed::click(99, 390);  // Exit
    drainMessages();
    EXPECT_TRUE(quitPosted());
    const std::string stored = scratch.read("Quadrill.dat");
    ASSERT_EQ(22u, stored.size());
    EXPECT_EQ(0, stored[0]);
    EXPECT_EQ(kDefaultFile.substr(1), stored.substr(1));
}

TEST_F(ApplicationStartTest, StoredTableAndPlayersComeBack) {
    scratch.write("Quadrill.dat", std::string("\x0F" "Ann\0\x09\0" "\0\x03\0" "Zed\0\x01\0", 16));
    ASSERT_EQ(1, startGame(logger, window));
    Menu* menu = g_pApplication->menu();
    ASSERT_NE(nullptr, menu);
    for (int colour = 0; colour < 4; ++colour) EXPECT_TRUE(menu->isChecked(0, colour));
    endGame();
    EXPECT_EQ(std::string("\x0F" "Ann\0\x09\0" "\0\x03\0" "Zed\0\x01\0", 16), scratch.read("Quadrill.dat"));
}

TEST_F(ApplicationStartTest, GarbledFileStillGivesAWorkingMenu) {
    scratch.write("Quadrill.dat", std::string("\xFF" "abcdefghijklmnopqrstuvwxyz", 27));
    ASSERT_EQ(1, startGame(logger, window));
    ASSERT_NE(nullptr, g_pApplication->menu());
    EXPECT_EQ(1, g_pApplication->drawScene());
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    const std::string stored = scratch.read("Quadrill.dat");
    EXPECT_EQ(std::string("\x0F" "abcde\0\0\0" "\0\0\0" "\0\0\0", 15), stored);
}

TEST_F(ApplicationStartTest, LogoHandsTheHowToPlayPageToTheOpener) {
    const std::string opener = scratch.path() + "/xdg-open";
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\necho \"$@\" > " << scratch.path() << "/opened.txt\n";
    }
    ASSERT_EQ(0, std::system(("chmod +x " + opener).c_str()));
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (scratch.path() + ":" + path).c_str(), 1);
    setenv("XDG_CACHE_HOME", scratch.path().c_str(), 1);
    ASSERT_EQ(1, startGame(logger, window));
    pushed::click(341, 50);
    drainMessages();
    std::string opened;
    for (int i = 0; i < 100 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        opened = scratch.read("opened.txt");
    }
    setenv("PATH", path.c_str(), 1);
    unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ("file://" + scratch.path() + "/quadrill/how-to-play.html\n", opened);
    EXPECT_NE(std::string::npos, scratch.read("quadrill/how-to-play.html").find("<title>Quadrill: how to play</title>"));
    // The menu stays and the game goes on.
    EXPECT_FALSE(quitPosted());
    ASSERT_NE(nullptr, g_pApplication);
    EXPECT_NE(nullptr, g_pApplication->menu());
}

TEST_F(ApplicationStartTest, NoSoundDeviceIsToldOnceAndTheGameGoesOnSilently) {
    platform::testing::setAudioFault(platform::AudioStep::Device, platform::status::DSERR_NODRIVER);
    ASSERT_EQ(1, startGame(logger, window));
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("DirectSound error!", recordedMessages()[0].caption);
    EXPECT_EQ("Unable to create IDirectSound8 instance!\r\nError: DSERR_NODRIVER", recordedMessages()[0].text);
    EXPECT_TRUE(logSays("Error: DSERR_NODRIVER"));
    EXPECT_NE(nullptr, g_pApplication->menu());
    pushed::click(301, 141);  // a check box: no sound, no trouble
    drainMessages();
    EXPECT_TRUE(g_pApplication->menu()->isChecked(1, 1));
    EXPECT_EQ(1u, recordedMessages().size());
}

// Every start-up failure is shown and logged, ends the program with exit
// code 0 and never writes the table: the old file, if any, stays as it was.
class StartUpFailureTest : public ApplicationStartTest {
protected:
    void expectFailure(const char* caption, const char* text) {
        scratch.write("Quadrill.dat", "old");
        EXPECT_EQ(0, startGame(logger, window));
        EXPECT_EQ(nullptr, g_pApplication);
        ASSERT_FALSE(recordedMessages().empty());
        EXPECT_EQ(caption, recordedMessages().back().caption);
        EXPECT_EQ(text, recordedMessages().back().text);
        EXPECT_TRUE(logSays(std::string("Error: ") + text));
        EXPECT_EQ("old", scratch.read("Quadrill.dat"));
    }
};

TEST_F(StartUpFailureTest, Display) {
    platform::testing::failDisplayStep(platform::testing::DisplayStep::Device, platform::status::DDERR_NODIRECTDRAWHW);
    expectFailure("DirectDraw error!", "Unable to create IDirectDraw7 instance!\r\nError: DDERR_NODIRECTDRAWHW");
}

TEST_F(StartUpFailureTest, MainTable) {
    platform::testing::setResourceFault("txtMain", platform::ResourceResult::NotLocked);
    expectFailure("General error!", "Unable to open internal file: \"txtMain\"!");
    EXPECT_TRUE(logSays("Description: Unable to lock resource"));
}

TEST_F(StartUpFailureTest, SpriteSurface) {
    platform::testing::failVideoMemory(true);
    platform::testing::failSystemMemory(platform::status::E_OUTOFMEMORY);
    expectFailure("DirectDraw error!", "Unable to create off screen surface for \"picMisc\"!\r\nError: E_OUTOFMEMORY");
}

TEST_F(StartUpFailureTest, FirstMenu) {
    platform::testing::setResourceFault("txtMenu", platform::ResourceResult::NotFound);
    expectFailure("General error!", "Unable to open internal file: \"txtMenu\"!");
}

TEST_F(StartUpFailureTest, Input) {
    platform::testing::setKeyboardFault(platform::KeyboardStep::InputSystem, platform::status::E_FAIL);
    expectFailure("DirectInput error!", "Unable to create IDirectInput8 instance!\r\nError: E_FAIL");
}

TEST_F(StartUpFailureTest, KeyboardAcquire) {
    platform::testing::setKeyboardFault(platform::KeyboardStep::Acquire, platform::status::E_ACCESSDENIED);
    expectFailure("DirectInput error!", "Unable to acquire keyboard!\r\nError: E_ACCESSDENIED");
}

TEST_F(StartUpFailureTest, WindowSystemKeepsItsReasonInTheLog) {
    ScopedEnvironment environment;
    environment.set("SDL_VIDEODRIVER", "nosuchdriver");
    expectFailure("General error!", "Unable to register window class!");
    EXPECT_TRUE(logSays("Description: nosuchdriver not available")) << scratch.read("logError.txt");
}

// Where the table lives and what happens when it cannot be read or saved.
class HighScoreFileStartTest : public ApplicationStartTest {
protected:
    void startAndQuit() {
        ASSERT_EQ(1, startGame(logger, window));
        endGame();
    }

    const std::string kStored{"\x0F" "Ann\0\x09\0" "\0\x03\0" "Zed\0\x01\0", 16};
    ScopedEnvironment environment;
};

TEST_F(HighScoreFileStartTest, TheTableGoesToTheDataFolderUnlessTheWorkingDirectoryHasOne) {
    environment.unset("QUADRILL_DATA_DIR");
    environment.set("XDG_DATA_HOME", scratch.path() + "/data");
    environment.set("XDG_STATE_HOME", scratch.path() + "/state");
    startAndQuit();
    EXPECT_EQ(kDefaultFile, scratch.read("data/quadrill/Quadrill.dat"));
    EXPECT_FALSE(scratch.exists("Quadrill.dat"));

    // Players who always kept their table beside the game keep it there.
    scratch.write("Quadrill.dat", kStored);
    startAndQuit();
    EXPECT_EQ(kStored, scratch.read("Quadrill.dat"));
    EXPECT_EQ(kDefaultFile, scratch.read("data/quadrill/Quadrill.dat"));
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(HighScoreFileStartTest, ATableThatCannotBeReadIsToldAndNeverOverwritten) {
    scratch.write("Quadrill.dat", kStored);
    platform::testing::failRead(true);
    ASSERT_EQ(1, startGame(logger, window));
    platform::testing::failRead(false);
    ASSERT_EQ(1u, recordedMessages().size());
    const std::string told = "Could not read the high scores from " + scratch.path() + "/Quadrill.dat: Input/output error.";
    EXPECT_EQ(0u, recordedMessages()[0].text.find(told)) << recordedMessages()[0].text;
    EXPECT_TRUE(logSays("Error: " + told));
    EXPECT_TRUE(logSays("Description: Input/output error"));
    EXPECT_EQ("Ball", g_pApplication->highScores()->name(0));
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    EXPECT_EQ(kStored, scratch.read("Quadrill.dat"));
    EXPECT_EQ(1u, recordedMessages().size());
}

TEST_F(HighScoreFileStartTest, AFolderNamedLikeTheTableIsLeftAlone) {
    ASSERT_EQ(0, mkdir((scratch.path() + "/Quadrill.dat").c_str(), 0700));
    startAndQuit();
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_NE(std::string::npos, recordedMessages()[0].text.find("/Quadrill.dat: Is a directory."));
    EXPECT_TRUE(scratch.names("Quadrill.dat").empty());
}

TEST_F(HighScoreFileStartTest, AFailedSaveIsToldOnceAndKeepsTheOldFile) {
    scratch.write("Quadrill.dat", kStored);
    ASSERT_EQ(1, startGame(logger, window));
    pushed::click(308, 148);  // PC for yellow: the table to save differs from the file
    drainMessages();
    platform::testing::failRename(true);
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    platform::testing::failRename(false);
    // The settings, saved at the same moment, fail too and say so in their own words.
    ASSERT_EQ(2u, recordedMessages().size());
    EXPECT_EQ(0u, recordedMessages()[0].text.find("Could not save the settings to "));
    const std::string told = "Could not save the high scores to " + scratch.path() +
                             "/Quadrill.dat: Input/output error. The old file, if any, was left as it was.";
    EXPECT_EQ("General error!", recordedMessages()[1].caption);
    EXPECT_EQ(told, recordedMessages()[1].text);
    EXPECT_TRUE(logSays("Error: " + told + "\r\n\r\nDescription: Input/output error"));
    EXPECT_EQ(kStored, scratch.read("Quadrill.dat"));
}

TEST(MessageTableFailureTest, IsToldWithTheBuiltInTextAndNothingIsLogged) {
    PlatformFaults faults;
    ScratchDirectory scratch;
    platform::testing::setResourceFault("txtErrors", platform::ResourceResult::NotFound);
    char name[] = "quadrill";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(0, runQuadrill(1, argv));
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("Error!", recordedMessages()[0].caption);
    EXPECT_EQ("Unable to initialize Error logger!", recordedMessages()[0].text);
    EXPECT_FALSE(scratch.exists("logError.txt"));
    EXPECT_FALSE(scratch.exists("Quadrill.dat"));
}

}  // namespace
