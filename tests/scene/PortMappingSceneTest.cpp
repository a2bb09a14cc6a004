#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Shell.h"
#include "graphics/DisplayDevice.h"
#include "net/transport/PortMapping.h"
#include "platform/Clipboard.h"
#include "platform/ScreenOverlay.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"

// The host's room as the menu shows it when the home router answers, or
// refuses, and the router's mapping taken back when the game closes.
namespace {

struct RouterLog {
    std::atomic<int> port{0};
    std::atomic<int> unmaps{0};
};

class ScriptedRouter : public net::PortMapper {
public:
    ScriptedRouter(std::shared_ptr<RouterLog> log, bool grants) : log(std::move(log)), grants(grants) {}
    Answer map(std::uint16_t port, std::uint32_t lease, std::uint32_t) override {
        log->port = port;
        Answer answer;
        answer.mapped = grants;
        answer.externalAddress = "203.0.113.7";
        answer.externalPort = port;
        answer.leaseSeconds = lease;
        answer.reason = "no UPnP router answered";
        return answer;
    }
    void unmap() override { ++log->unmaps; }

private:
    std::shared_ptr<RouterLog> log;
    bool grants;
};

class PortMappingSceneTest : public RunningGame {
protected:
    void TearDown() override {
        RunningGame::TearDown();
        // The other tests' hosts find no router, as on any test machine.
        net::PortMapping::useMappersForTests([] { return net::PortMapping::Mappers(); });
    }
    // Hosting on a port the system chooses, behind a router that grants
    // it or refuses it.
    void hostBehind(bool grants, bool mapping = true) {
        auto log = router;
        net::PortMapping::useMappersForTests([log, grants] {
            net::PortMapping::Mappers mappers;
            mappers.push_back(std::make_unique<ScriptedRouter>(log, grants));
            return mappers;
        });
        CommandLine options;
        options.netRole = CommandLine::NetRole::Host;
        options.netPort = 0;
        options.portMapping = mapping;
        ASSERT_TRUE(app().goOnline(options));
    }
    // Turns of the main loop until the room's lines hold `line`, for up to
    // a second: the router answers on a thread of its own.
    bool linesShow(const std::string& line) {
        for (int i = 0; i < 100 && g_pApplication; ++i) {
            drainMessages();
            app().receiveNetwork();
            for (const std::string& shown : app().display()->overlay().status()) {
                if (shown == line) return true;
            }
            SDL_Delay(10);
        }
        return false;
    }
    // The port the router was asked for, once it has been asked (the
    // asking thread may not have started yet).
    std::string port() const {
        for (int i = 0; i < 100 && router->port.load() == 0; ++i) SDL_Delay(10);
        return std::to_string(router->port.load());
    }

    std::shared_ptr<RouterLog> router = std::make_shared<RouterLog>();
};

}  // namespace

TEST_F(PortMappingSceneTest, TheAddressOthersJoinWithIsShownCopiedAndTheMappingTakenBackOnEscape) {
    hostBehind(true);
    ASSERT_TRUE(linesShow("C or a click here copies it"));
    const std::string address = "203.0.113.7:" + port();
    EXPECT_TRUE(linesShow("Others join with " + address));
    pushed::tap(SDLK_c, SDL_SCANCODE_C);
    drainMessages();
    EXPECT_EQ(address, platform::clipboardText());
    EXPECT_TRUE(linesShow("Copied to the clipboard"));
    // A click on the room's lines copies it too.
    SDL_SetClipboardText("");
    ASSERT_TRUE(platform::ScreenOverlay::inStatusArea(40, 260));
    pushed::click(40, 260);
    drainMessages();
    EXPECT_EQ(address, platform::clipboardText());
    // Escape in the menu closes the game, and the router is told.
    EXPECT_EQ(0, router->unmaps.load());
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    EXPECT_EQ(nullptr, g_pApplication.get());
    EXPECT_EQ(1, router->unmaps.load());
}

TEST_F(PortMappingSceneTest, ARefusingRouterIsToldInOneLineAndTheRoomStaysOpen) {
    hostBehind(false);
    ASSERT_TRUE(linesShow("Forward UDP port " + port() + " to this machine, or use a relay"));
    EXPECT_TRUE(app().isOnline());
    // Nothing to copy: the clipboard keeps what it had.
    SDL_SetClipboardText("before");
    pushed::tap(SDLK_c, SDL_SCANCODE_C);
    drainMessages();
    EXPECT_EQ("before", platform::clipboardText());
}

TEST_F(PortMappingSceneTest, TurnedOffTheRouterIsNotAsked) {
    hostBehind(true, false);
    EXPECT_FALSE(linesShow("C or a click here copies it"));
    EXPECT_EQ(0, router->port.load());
}
