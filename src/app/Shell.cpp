#include "app/Shell.h"

#include <new>

#include "app/Application.h"
#include "graphics/DisplayDevice.h"
#include "platform/BlinkingCaret.h"
#include "platform/Display.h"
#include "platform/FramePacer.h"
#include "platform/Ticks.h"
#include "platform/Window.h"

platform::Window* g_hMainWnd = nullptr;
std::int32_t g_bAppActive = 0;
std::unique_ptr<Application> g_pApplication;

namespace {

bool g_quitPosted = false;

// An idle turn sleeps until the next message, or until the caret blinks.
constexpr std::uint32_t kIdleWaitMs = 60000;
// Online, the menu is the room's lobby: it listens to the room this often.
// Claims and the start show on the others' screens within a frame of it,
// and a machine that hears the start a little late catches up with the
// host's clock.
constexpr std::uint32_t kOnlineWaitMs = 15;

std::uint32_t idleWait(Application* app) {
    if (app == nullptr || app->display() == nullptr) return kIdleWaitMs;
    platform::Display* screen = app->display()->platformDisplay();
    if (screen == nullptr) return kIdleWaitMs;
    const std::uint32_t untilBlink = screen->refreshCaret(platform::tickCount());
    return untilBlink == platform::BlinkingCaret::kNoChange || untilBlink > kIdleWaitMs ? kIdleWaitMs : untilBlink;
}

void destroyApplication() {
    g_pApplication.reset();
    g_quitPosted = true;
}

// Running out of memory ends the operation that ran out: the player has
// been told and the window asked to close, which the next turn carries out.
template <typename Operation>
void guarded(Operation operation) {
    try {
        operation();
    } catch (const std::bad_alloc&) {
        platform::requestClose();
    }
}

}  // namespace

void windowProc(const platform::Message& message) {
    Application* app = g_pApplication.get();
    switch (message.type) {
        case platform::MessageType::Activate:
            g_bAppActive = message.value;
            if (app) app->onFocus(message.value != 0);
            break;
        case platform::MessageType::Minimised:
            if (app) {
                app->onFocus(false);
                app->onWindowMoved();
            }
            break;
        case platform::MessageType::Restored:
            if (app) {
                app->onFocus(true);
                app->skipTime();
                app->onWindowMoved();
            }
            break;
        case platform::MessageType::Moved:
            if (app) app->onWindowMoved();
            break;
        case platform::MessageType::Paint:
            if (app && !app->drawScene()) platform::requestClose();
            break;
        case platform::MessageType::Char:
            if (app) app->onChar(static_cast<std::uint8_t>(message.value & 0xFF));
            break;
        case platform::MessageType::Click:
            if (app) app->onClick(static_cast<std::int16_t>(message.x), static_cast<std::int16_t>(message.y));
            break;
        case platform::MessageType::Close:
            destroyApplication();
            break;
        case platform::MessageType::ToggleFullscreen:
            if (g_hMainWnd) g_hMainWnd->setFullscreen(!g_hMainWnd->isFullscreen());
            // The moments the screen took to switch are no match time.
            if (app) app->skipTime();
            break;
        case platform::MessageType::Key:
            if (app) app->onKey(static_cast<std::uint8_t>(message.value & 0xFF), static_cast<char>(message.x));
            break;
        case platform::MessageType::PadAdded:
            if (app) app->onPadAdded(message.value);
            break;
        case platform::MessageType::PadRemoved:
            if (app) app->onPadRemoved(message.value);
            break;
        case platform::MessageType::PadPress:
            if (app) app->onPadPress(message.value, static_cast<std::uint16_t>(message.x));
            break;
    }
}

namespace {

void dispatch(const platform::Message& message, platform::FramePacer& pacer) {
    guarded([&] { windowProc(message); });
    // A window moved onto another display follows that display's refresh.
    if (message.type == platform::MessageType::Moved && g_hMainWnd) pacer.useRefreshRateOf(g_hMainWnd->sdlWindow());
}

}  // namespace

bool mainLoopTurn(platform::FramePacer& pacer) {
    if (g_quitPosted) return false;
    platform::Message message;
    if (platform::peekMessage(message)) {
        dispatch(message, pacer);
        return !g_quitPosted;
    }
    Application* app = g_pApplication.get();
    const bool online = app && app->isOnline();
    if (online) guarded([&] { app->receiveNetwork(); });
    app = g_pApplication.get();
    // An online match runs on in the background: the others do not wait.
    if (app && app->wantsFrames() && (g_bAppActive || app->runsInBackground())) {
        guarded([&] { app->frame(); });
        if (online && g_pApplication) guarded([&] { g_pApplication->sendNetwork(); });
        pacer.waitForNextFrame();
        return !g_quitPosted;
    }
    if (online && app) guarded([&] { app->sendNetwork(); });
    // The menu and a paused match have nothing to do between events, and
    // an inactive game nothing at all: sleep until something happens. Online
    // the room is listened to every frame or so.
    const std::uint32_t wait = online ? kOnlineWaitMs : idleWait(app);
    if (platform::waitMessage(message, wait)) dispatch(message, pacer);
    return !g_quitPosted;
}

bool refreshTurn() {
    if (g_quitPosted) return false;
    platform::Message message;
    bool playerActed = false;
    while (platform::peekMessage(message)) {
        guarded([&] { windowProc(message); });
        if (g_quitPosted) return false;
        playerActed = playerActed || message.type == platform::MessageType::Char ||
                      message.type == platform::MessageType::Click || message.type == platform::MessageType::Key;
    }
    // A page has no orderly end: what the player did in the menu (a name
    // typed into the table, a box ticked, the sound muted) is kept at once.
    if (playerActed && g_pApplication && !g_pApplication->isMatchRunning()) {
        guarded([] { g_pApplication->keepPlayersFiles(); });
    }
    Application* app = g_pApplication.get();
    if (app && app->wantsFrames() && (g_bAppActive || app->runsInBackground())) {
        guarded([&] { app->frame(); });
    } else {
        idleWait(app);  // the caret blinks on
    }
    return !g_quitPosted;
}

int runMainLoop() {
    platform::FramePacer pacer;
    if (g_hMainWnd) pacer.useRefreshRateOf(g_hMainWnd->sdlWindow());
    while (mainLoopTurn(pacer)) {
    }
    return 0;
}

bool quitPosted() { return g_quitPosted; }

void resetQuit() {
    g_quitPosted = false;
    platform::clearCloseRequest();
}
