#include "platform/MainLoop.h"

#include <utility>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace platform {

#ifdef __EMSCRIPTEN__

namespace {

// The browser calls back into plain functions: the loop it runs is kept here.
struct BrowserLoop {
    std::function<bool()> turn;
    std::function<void()> finish;
};
BrowserLoop* g_browserLoop = nullptr;

void browserTurn() {
    if (g_browserLoop == nullptr) return;
    const double start = emscripten_get_now();
    const bool goesOn = g_browserLoop->turn();
    // How many turns ran and how long they took, for the page's tests and
    // for anyone measuring in the browser's console.
    EM_ASM(
        {
            // The first picture is shown before the first turn: its time
            // (from the page's opening) bounds the time to the first picture.
            var stats = Module["loopStats"] ||
                        (Module["loopStats"] = {turns : 0, busyMs : 0, longestMs : 0, firstTurnAt : performance.now()});
            stats.turns++;
            stats.busyMs += $0;
            if ($0 > stats.longestMs) stats.longestMs = $0;
        },
        emscripten_get_now() - start);
    if (goesOn) return;
    emscripten_cancel_main_loop();
    BrowserLoop* ended = g_browserLoop;
    g_browserLoop = nullptr;
    ended->finish();
    delete ended;
    // The page says the game is over instead of showing its last picture.
    EM_ASM({
        if (Module["onGameEnded"]) Module["onGameEnded"]();
    });
}

}  // namespace

void runMainLoop(std::function<bool()> turn, std::function<void()> finish) {
    g_browserLoop = new BrowserLoop{std::move(turn), std::move(finish)};
    // 0 frames a second: at the display's own rate, through requestAnimationFrame.
    // Not simulating an endless loop lets the caller return normally.
    emscripten_set_main_loop(browserTurn, 0, 0);
}

bool loopPacedByDisplay() { return true; }

#else

void runMainLoop(std::function<bool()> turn, std::function<void()> finish) {
    while (turn()) {
    }
    finish();
}

bool loopPacedByDisplay() { return false; }

#endif

}  // namespace platform
