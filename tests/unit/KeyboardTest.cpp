#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "errors/ErrorLogger.h"
#include "input/InputDevice.h"
#include "input/KeyCodes.h"
#include "input/Keyboard.h"
#include "platform/KeyboardTable.h"
#include "platform/MessageBox.h"
#include "support/PlatformFaults.h"

namespace {

using platform::testing::deliverPendingEvents;
using namespace platform::status;

// Keys pressed by pushing SDL events, as the window system would send them.
class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_EVENTS));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        ASSERT_EQ(1, logger.init());
        ASSERT_GE(input.create(), 0);
        ASSERT_EQ(1, input.createKeyboard(nullptr, &keyboard, logger));
    }
    void TearDown() override {
        keyboard.release();
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }

    static void pushKey(SDL_Scancode scancode, bool down, SDL_Keycode symbol = SDLK_UNKNOWN) {
        SDL_Event event;
        std::memset(&event, 0, sizeof event);
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = symbol != SDLK_UNKNOWN ? symbol : SDL_GetKeyFromScancode(scancode);
        ASSERT_EQ(1, SDL_PushEvent(&event));
    }

    static void pushFocus(bool gained) {
        SDL_Event event;
        std::memset(&event, 0, sizeof event);
        event.type = SDL_WINDOWEVENT;
        event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        ASSERT_EQ(1, SDL_PushEvent(&event));
    }

    platform::Status poll() {
        std::memset(state, 0xFF, sizeof state);
        return keyboard.getState(sizeof state, state);
    }

    int keysDown() const {
        int count = 0;
        for (std::uint8_t byte : state) count += (byte & 0x80) ? 1 : 0;
        return count;
    }

    PlatformFaults faults;
    ErrorLogger logger;
    InputDevice input;
    Keyboard keyboard;
    std::uint8_t state[256] = {};
};

TEST_F(KeyboardTest, TheGamesKeysShowAtTheirScanCodesWhileDown) {
    const struct {
        SDL_Scancode key;
        std::uint8_t code;
    } keys[] = {{SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_Q, 0x10},      {SDL_SCANCODE_A, 0x1E},
                {SDL_SCANCODE_C, 0x2E},      {SDL_SCANCODE_V, 0x2F},      {SDL_SCANCODE_PAGEUP, 0xC9},
                {SDL_SCANCODE_PAGEDOWN, 0xD1}, {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD}};
    for (const auto& key : keys) pushKey(key.key, true);
    deliverPendingEvents();
    ASSERT_EQ(S_OK, poll());
    for (const auto& key : keys) EXPECT_EQ(0x80, state[key.code]) << std::hex << int(key.code);
    EXPECT_EQ(9, keysDown());
    EXPECT_EQ(0x00, state[0]);
    EXPECT_TRUE(keys::isDown(state, keys::DIK_ESCAPE));
    EXPECT_TRUE(keys::isDown(state, keys::DIK_NEXT));

    for (const auto& key : keys) pushKey(key.key, false);
    deliverPendingEvents();
    ASSERT_EQ(S_OK, poll());
    EXPECT_EQ(0, keysDown());
}

TEST_F(KeyboardTest, ATapBetweenTwoPollsIsSeenOnce) {
    // Escape pressed and let go between two frames must still leave the match.
    pushKey(SDL_SCANCODE_ESCAPE, true);
    pushKey(SDL_SCANCODE_ESCAPE, false);
    deliverPendingEvents();
    ASSERT_EQ(S_OK, poll());
    EXPECT_TRUE(keys::isDown(state, keys::DIK_ESCAPE));
    ASSERT_EQ(S_OK, poll());
    EXPECT_FALSE(keys::isDown(state, keys::DIK_ESCAPE));

    // A key held across a poll goes up with its release, as usual.
    pushKey(SDL_SCANCODE_Q, true);
    deliverPendingEvents();
    ASSERT_EQ(S_OK, poll());
    pushKey(SDL_SCANCODE_Q, false);
    deliverPendingEvents();
    ASSERT_EQ(S_OK, poll());
    EXPECT_EQ(0, keysDown());
}

TEST_F(KeyboardTest, KeysAreReadByPlaceNotByTheLetterTheLayoutPrints) {
    // On a French keyboard the key in the place of Q types 'a'; green's
    // paddle must still move with the key printed on the menu's place.
    pushKey(SDL_SCANCODE_Q, true, SDLK_a);
    deliverPendingEvents();
    ASSERT_EQ(S_OK, poll());
    EXPECT_EQ(0x80, state[keys::DIK_Q]);
    EXPECT_EQ(0x00, state[keys::DIK_A]);
}

TEST(ScanCodeTest, ExtendedKeysHaveBitSevenAndTheirTwinsDoNot) {
    const struct {
        int key;
        std::uint8_t code;
    } keys[] = {{SDL_SCANCODE_UP, 0xC8},       {SDL_SCANCODE_KP_8, 0x48},     {SDL_SCANCODE_DOWN, 0xD0},
                {SDL_SCANCODE_HOME, 0xC7},     {SDL_SCANCODE_END, 0xCF},      {SDL_SCANCODE_INSERT, 0xD2},
                {SDL_SCANCODE_DELETE, 0xD3},   {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RETURN, 0x1C},
                {SDL_SCANCODE_RCTRL, 0x9D},    {SDL_SCANCODE_LCTRL, 0x1D},    {SDL_SCANCODE_RALT, 0xB8},
                {SDL_SCANCODE_LALT, 0x38},     {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_SLASH, 0x35},
                // Keys a PC keyboard does not have, and numbers that are no key.
                {SDL_SCANCODE_UNKNOWN, 0},     {SDL_SCANCODE_KP_HEXADECIMAL, 0}, {-1, 0}, {100000, 0}};
    for (const auto& key : keys) EXPECT_EQ(key.code, platform::scanCodeOf(key.key)) << key.key;
}

TEST_F(KeyboardTest, LosingTheFocusFailsThePollUntilAcquiredAgain) {
    pushKey(SDL_SCANCODE_LEFT, true);
    pushFocus(false);
    deliverPendingEvents();
    EXPECT_TRUE(platform::failed(poll()));
    // Still in the background: the frame's recovery cannot get it back yet.
    EXPECT_TRUE(platform::failed(keyboard.acquire()));
    EXPECT_TRUE(platform::failed(poll()));

    pushFocus(true);
    deliverPendingEvents();
    EXPECT_EQ(S_OK, keyboard.acquire());
    ASSERT_EQ(S_OK, poll());
    // The release of Left went to another window; it must not stay down.
    EXPECT_EQ(0, keysDown());
}

TEST_F(KeyboardTest, AFocusLostAndRegainedBetweenPollsStillCostsOneFrame) {
    pushFocus(false);
    pushFocus(true);
    deliverPendingEvents();
    EXPECT_EQ(DIERR_INPUTLOST, poll());
    EXPECT_EQ(S_OK, keyboard.acquire());
    EXPECT_EQ(S_OK, poll());
}

TEST_F(KeyboardTest, PressesWithoutTheFocusAreNotKept) {
    pushFocus(false);
    pushKey(SDL_SCANCODE_A, true);
    pushFocus(true);
    deliverPendingEvents();
    ASSERT_EQ(S_OK, keyboard.acquire());
    ASSERT_EQ(S_OK, poll());
    EXPECT_EQ(0, keysDown());
}

TEST_F(KeyboardTest, AnUnacquiredKeyboardCannotBeRead) {
    pushKey(SDL_SCANCODE_ESCAPE, true);
    deliverPendingEvents();
    ASSERT_GE(keyboard.unacquire(), 0);
    EXPECT_EQ(DIERR_NOTACQUIRED, poll());
    EXPECT_EQ(S_OK, keyboard.acquire());
    ASSERT_EQ(S_OK, poll());
    // The menu's keys were still followed while it was not acquired.
    EXPECT_EQ(0x80, state[keys::DIK_ESCAPE]);
}

TEST_F(KeyboardTest, AWrongSizeOrNoBufferIsRefusedWithoutWriting) {
    std::uint8_t small[16];
    std::memset(small, 0x55, sizeof small);
    EXPECT_TRUE(platform::failed(keyboard.getState(sizeof small, small)));
    for (std::uint8_t byte : small) EXPECT_EQ(0x55, byte);
    EXPECT_TRUE(platform::failed(keyboard.getState(256, nullptr)));
}

TEST_F(KeyboardTest, WithoutADeviceEveryCallAnswersInvalidPointer) {
    keyboard.release();
    EXPECT_EQ(E_POINTER, poll());
    EXPECT_EQ(E_POINTER, keyboard.acquire());
    EXPECT_EQ(E_POINTER, keyboard.unacquire());

    Keyboard other;
    InputDevice notCreated;
    EXPECT_EQ(E_POINTER, notCreated.createKeyboard(nullptr, &other, logger));
    EXPECT_EQ(E_POINTER, input.createKeyboard(nullptr, nullptr, logger));
    EXPECT_TRUE(platform::testing::recordedMessages().empty());
}

}  // namespace
