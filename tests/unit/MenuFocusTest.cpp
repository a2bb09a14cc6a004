#include <gtest/gtest.h>

#include "menu/MenuFocus.h"

namespace {

using Kind = MenuFocus::Kind;
using Move = MenuFocus::Move;
using Item = MenuFocus::Item;

TEST(MenuFocusTest, BackwardMovesStartFromTheEndAndEveryMoveWrapsRound) {
    MenuFocus focus;
    EXPECT_FALSE(focus.isShown());
    focus.move(Move::kPrevious);
    EXPECT_TRUE(focus.item() == (Item{Kind::kStart, -1}));
    focus.move(Move::kRight);
    EXPECT_TRUE(focus.item() == (Item{Kind::kExit, -1})) << "right of Start is round to Exit";
    focus.move(Move::kUp);
    EXPECT_TRUE(focus.item() == (Item{Kind::kDefaultKeys, -1}));
    focus.move(Move::kUp);
    EXPECT_TRUE(focus.item() == (Item{Kind::kComputer, 2})) << "up from Default keys to red's PC box, nearest";
    focus.move(Move::kRight);
    EXPECT_TRUE(focus.item() == (Item{Kind::kControls, 2}));
    focus.move(Move::kLeft);
    EXPECT_TRUE(focus.item() == (Item{Kind::kComputer, 2}));

    focus.clear();
    focus.move(Move::kUp);
    EXPECT_TRUE(focus.item() == (Item{Kind::kStart, -1}));
    focus.move(Move::kNext);
    EXPECT_TRUE(focus.item() == (Item{Kind::kLogo, -1}));
    focus.move(Move::kPrevious);
    EXPECT_TRUE(focus.item() == (Item{Kind::kStart, -1}));
    // Every item is reached by Tab exactly once in a round.
    for (int i = 0; i < MenuFocus::count(); ++i) {
        for (int j = i + 1; j < MenuFocus::count(); ++j) EXPECT_TRUE(MenuFocus::at(i) != MenuFocus::at(j));
    }
}

}  // namespace
