#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"
#include "app/Shell.h"
#include "app/scenes/JoinRoomScene.h"
#include "app/scenes/MenuScene.h"
#include "menu/Menu.h"
#include "menu/MenuFocus.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"

// A room on a relay joined from a menu that started without options: the
// page for the code and the relay's address, and what it leaves behind.
namespace {

class JoinRoomSceneTest : public RunningGame {
protected:
    JoinRoomScene* page() { return dynamic_cast<JoinRoomScene*>(app().scene()); }
    bool inMenu() { return dynamic_cast<MenuScene*>(app().scene()) != nullptr; }
    // J as a person presses it: the key, then the letter it types.
    void pressJ() {
        pushed::key(SDL_KEYDOWN, SDLK_j, SDL_SCANCODE_J);
        pushed::text("j");
        pushed::key(SDL_KEYUP, SDLK_j, SDL_SCANCODE_J);
        drainMessages();
    }
    void tap(SDL_Keycode key, SDL_Scancode scancode) {
        pushed::tap(key, scancode);
        drainMessages();
    }
    void type(const char* text) {
        pushed::text(text);
        drainMessages();
    }
    std::string title() const { return SDL_GetWindowTitle(window.sdlWindow()); }
};

TEST_F(JoinRoomSceneTest, TheCodeAndAddressTypedJoinTheRoomAndTheRelayIsRemembered) {
    pressJ();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ("", page()->code()) << "the J that opened the page typed itself";
    EXPECT_EQ("", page()->relay()) << "no relay used before";
    // Look-alikes and digits are refused; the rest is upper-cased.
    type("aObIc1dLef");
    EXPECT_EQ("ABCDEF", page()->code());
    type("g");
    EXPECT_EQ("ABCDEF", page()->code()) << "a seventh letter";
    EXPECT_EQ("Codes have six letters", page()->message());
    // Enter without a relay says what is missing.
    tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    ASSERT_NE(nullptr, page());
    EXPECT_EQ("Type the relay's address: HOST or HOST:PORT", page()->message());
    EXPECT_FALSE(app().isOnline());

    tap(SDLK_TAB, SDL_SCANCODE_TAB);
    EXPECT_EQ(JoinRoomScene::Field::kRelay, page()->field());
    type("127.0.0.1:99999");
    tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    ASSERT_NE(nullptr, page());
    EXPECT_EQ("The relay's address is HOST or HOST:PORT", page()->message());
    tap(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    tap(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    tap(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ("127.0.0.1:99", page()->relay());
    tap(SDLK_RETURN, SDL_SCANCODE_RETURN);

    // In the room as --join ABCDEF@127.0.0.1:99 puts a machine, back in the menu.
    ASSERT_TRUE(inMenu());
    EXPECT_TRUE(app().isOnline());
    EXPECT_EQ("Quadrill - joined room ABCDEF on 127.0.0.1", title());
    EXPECT_NE(std::string::npos, scratch.read("settings.ini").find("relay = 127.0.0.1:99"))
        << scratch.read("settings.ini");
    // Already in a room: neither J nor the focus ring reaches another.
    pressJ();
    EXPECT_TRUE(inMenu());
    for (int i = 0; i < MenuFocus::count(); ++i) {
        tap(SDLK_TAB, SDL_SCANCODE_TAB);
        EXPECT_NE(MenuFocus::Kind::kJoinRoom, app().menu()->focus().item().kind);
    }

    // The next start offers the same relay; Escape goes back untouched.
    restart();
    pressJ();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ("127.0.0.1:99", page()->relay());
    tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(inMenu());
    EXPECT_FALSE(app().isOnline());

    // An address longer than any relay's is no address.
    scratch.write("settings.ini", "[network]\nrelay = " + std::string(300, 'a') + "\n");
    restart();
    pressJ();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ("", page()->relay());
}

TEST_F(JoinRoomSceneTest, TheJoinItemComesWithTheFocusRingAndOpensThePage) {
    // Not in the first picture, as Default keys: a click there does nothing.
    pushed::click(342, 278);
    drainMessages();
    EXPECT_TRUE(inMenu());
    while (app().menu()->focus().item().kind != MenuFocus::Kind::kJoinRoom) {
        tap(SDLK_TAB, SDL_SCANCODE_TAB);
        ASSERT_NE(MenuFocus::Kind::kStart, app().menu()->focus().item().kind) << "Join a room not in the ring";
    }
    tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    ASSERT_NE(nullptr, page());
    tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(inMenu());
    // Once the ring shows, the item is clicked too.
    tap(SDLK_TAB, SDL_SCANCODE_TAB);
    pushed::click(342, 278);
    drainMessages();
    EXPECT_NE(nullptr, page());
}

}  // namespace
