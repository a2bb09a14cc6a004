#include "app/EntryPoint.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Shell.h"
#include "app/WindowSize.h"
#include "errors/ErrorLogger.h"
#include "platform/Browser.h"
#include "platform/EventPump.h"
#include "platform/MainLoop.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/Window.h"
#include "replay/ReplayReader.h"
#include "settings/Settings.h"

namespace {

// A start-up failure of the windowing system: shown, and logged with the
// system's own words for it.
int windowFailure(ErrorLogger& logger, int textId) {
    // The message box puts its own words in the system's error text (or
    // clears it), so the reason is taken before the box is shown.
    const std::string reason = platform::lastSystemError();
    logger.showMessage(0, textId);
    logger.writeLog(reason.c_str(), textId);
    return 0;
}

}  // namespace

int startGame(ErrorLogger& logger, platform::Window& window) {
    if (!platform::startWindowSystem()) return windowFailure(logger, 1);
    // A settings file that is missing or garbled gives the defaults.
    Settings settings;
    settings.load();
    int width = 0;
    int height = 0;
    firstWindowSize(settings.windowWidth, settings.windowHeight, platform::usableDesktopHeight(),
                    platform::usableDesktopWidth(), width, height);
    const bool created = window.create("Quadrill", width, height, false);
    platform::stopWindowSystem();  // the window holds its own start now
    if (!created) return windowFailure(logger, 2);
    window.setIcon();
    window.setCursor();
    window.centre();
    if (settings.fullscreen) window.setFullscreen(true);
    g_hMainWnd = &window;

    g_pApplication = std::make_unique<Application>(window, logger);
    g_pApplication->keepSettings(settings);
    // The first picture comes first: the menu needs neither sound nor pads
    // to be seen, and they come up right after it.
    if (!g_pApplication->initDisplayAndMenu()) {
        g_pApplication.reset();
        g_hMainWnd = nullptr;
        return 0;
    }
    window.show();
    // Showing the window makes the game the active application; the focus
    // messages that follow keep this up to date.
    g_bAppActive = 1;
    if (!g_pApplication->drawScene()) platform::requestClose();
    if (!g_pApplication->initInput()) {
        g_pApplication->skipSavingHighScores();
        g_pApplication.reset();
        g_hMainWnd = nullptr;
        return 0;
    }
    g_pApplication->initSound();
    g_pApplication->initPads();
    return 1;
}

void endGame() {
    g_pApplication.reset();
    g_hMainWnd = nullptr;
    g_bAppActive = 0;
}

namespace {

// What a game needs from its start to its end. A browser runs the game's
// loop after playGame has returned, so the loop owns it.
struct GameRun {
    ErrorLogger logger;
    platform::Window window;
};

// A replay the player opened in the page is watched in place of the menu
// or the match on screen; one that cannot be read is said on the console.
void watchOpenedReplay(const std::string& path) {
    if (!g_pApplication) return;
    replay::Replay opened;
    std::string error;
    if (!replay::loadReplay(path, opened, error)) {
        std::fprintf(stderr, "quadrill: %s: %s\n", path.c_str(), error.c_str());
        return;
    }
    g_pApplication->watchReplay(opened);
}

// `watch`, when there is one, is shown instead of the menu at the start;
// online, the room is opened once the menu is there.
int playGame(const replay::Replay* watch, const CommandLine& options) {
    auto run = std::make_shared<GameRun>();
    if (!run->logger.init()) {
        // There is no message table yet, so this one text lives in the program.
        platform::showErrorMessage("Error!", "Unable to initialize Error logger!");
        return 0;
    }
    run->logger.enableLog();
    int exitCode = 0;
    try {
        if (startGame(run->logger, run->window)) {
            if (watch) g_pApplication->watchReplay(*watch);
            if (options.netRole != CommandLine::NetRole::None && !g_pApplication->goOnline(options)) {
                exitCode = 1;
            } else if (platform::loopPacedByDisplay()) {
                platform::onReplayFileOpened(watchOpenedReplay);
                // The page turns the loop from now on; the run ends with it.
                platform::runMainLoop(refreshTurn, [run] { endGame(); });
                return 0;
            } else {
                exitCode = runMainLoop();
            }
        }
    } catch (const std::bad_alloc&) {
        // Out of memory while starting: the player has been told. What was
        // made is taken down in order below, and a table read whole is kept.
        exitCode = 0;
    }
    endGame();
    return exitCode;
}

}  // namespace

int runQuadrill(int argc, char** argv) {
    const CommandLine options = parseCommandLine(argc, argv);
    switch (options.action) {
        case CommandLine::Action::Help:
            std::fputs(commandLineUsage(), stdout);
            return 0;
        case CommandLine::Action::Version:
            std::printf("%s\n", versionLine());
            return 0;
        case CommandLine::Action::Usage:
            std::fprintf(stderr, "quadrill: %s\n%s", options.error.c_str(), commandLineUsage());
            return 2;
        case CommandLine::Action::Play:
            break;
    }
    replay::Replay watch;
    if (!options.replayPath.empty()) {
        std::string error;
        if (!replay::loadReplay(options.replayPath, watch, error)) {
            std::fprintf(stderr, "quadrill: %s: %s\n", options.replayPath.c_str(), error.c_str());
            return 1;
        }
    }
    try {
        return playGame(options.replayPath.empty() ? nullptr : &watch, options);
    } catch (const std::bad_alloc&) {
        // Before there was anything to keep (the message table, the logger).
        return 0;
    }
}
