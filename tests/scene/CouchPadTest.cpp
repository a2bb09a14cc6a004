#include <gtest/gtest.h>

#include <memory>

#include "app/Application.h"
#include "input/PadClaims.h"
#include "menu/Menu.h"
#include "menu/MenuFocus.h"
#include "platform/GamePads.h"
#include "platform/VirtualPad.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"

// A pad that plays no colour steers the menu's focus; one that plays a
// colour keeps choosing colours as before.
namespace {

namespace button = platform::padButton;
using Kind = MenuFocus::Kind;

constexpr int kGreen = 0;
constexpr int kYellow = 1;

class CouchPadTest : public RunningGame {
protected:
    void tap(platform::VirtualPad& pad, std::uint16_t which) {
        pad.tap(which);
        drainMessages();
    }
};

TEST_F(CouchPadTest, AFreePadMovesTheFocusAndTakesTheColourOfThePlayerBoxItActsOn) {
    auto pad = std::make_unique<platform::VirtualPad>();
    drainMessages();
    Menu& menu = *app().menu();
    // Down from nowhere to the logo, down to yellow's PC box, then blue's,
    // green's; left to green's Player box: A ticks it and the pad plays green.
    for (std::uint16_t which : {button::kDown, button::kDown, button::kDown, button::kDown,
                                button::kLeft}) {
        tap(*pad, which);
    }
    ASSERT_TRUE(menu.isFocusShown());
    ASSERT_TRUE(menu.focus().item() == (MenuFocus::Item{Kind::kPlayer, kGreen}));
    tap(*pad, button::kA);
    EXPECT_EQ(kGreen, app().padClaims().colourOf(1));
    EXPECT_TRUE(menu.isChecked(0, kGreen));
    // Now it plays a colour: its D-pad leaves the focus alone and A moves
    // it on to the next free colour, as it always did.
    tap(*pad, button::kUp);
    EXPECT_TRUE(menu.focus().item() == (MenuFocus::Item{Kind::kPlayer, kGreen}));
    tap(*pad, button::kA);
    EXPECT_NE(kGreen, app().padClaims().colourOf(1));
}

}  // namespace
