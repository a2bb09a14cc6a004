#include "menu/MenuFocus.h"

#include <cstdlib>

namespace {

using Kind = MenuFocus::Kind;

// The colours from the top row of the menu down.
constexpr int kRowColours[4] = {1, 3, 0, 2};
constexpr int kRowItems = 3;
constexpr int kColourRows = 4;
// Logo, four colour rows, Default keys and Join a room, Exit and Start.
constexpr int kItems = 1 + kColourRows * kRowItems + 2 + 2;
constexpr int kRows = 1 + kColourRows + 1 + 1;

// Where each kind stands across the menu, for moving up and down between
// rows of different lengths: the nearest item below is the one taken.
int centreOf(Kind kind) {
    switch (kind) {
        case Kind::kLogo: return 341;
        case Kind::kControls: return 150;
        case Kind::kPlayer: return 267;
        case Kind::kComputer: return 308;
        case Kind::kDefaultKeys: return 338;
        // Under Default keys: up and down from the buttons land on Default keys.
        case Kind::kJoinRoom: return 342;
        case Kind::kExit: return 99;
        case Kind::kStart: return 300;
        default: return 0;
    }
}

int wrap(int value, int size) { return ((value % size) + size) % size; }

}  // namespace

int MenuFocus::count() { return kItems; }

MenuFocus::Item MenuFocus::at(int index) {
    index = wrap(index, kItems);
    if (index == 0) return Item{Kind::kLogo, -1};
    if (index <= kColourRows * kRowItems) {
        const int row = (index - 1) / kRowItems;
        static constexpr Kind kinds[kRowItems] = {Kind::kControls, Kind::kPlayer, Kind::kComputer};
        return Item{kinds[(index - 1) % kRowItems], kRowColours[row]};
    }
    static constexpr Kind last[] = {Kind::kDefaultKeys, Kind::kJoinRoom, Kind::kExit, Kind::kStart};
    return Item{last[index - 1 - kColourRows * kRowItems], -1};
}

int MenuFocus::indexOf(Item item) {
    for (int index = 0; index < kItems; ++index) {
        if (at(index) == item) return index;
    }
    return -1;
}

int MenuFocus::rowOf(int index) {
    if (index == 0) return 0;
    if (index <= kColourRows * kRowItems) return 1 + (index - 1) / kRowItems;
    return index < kItems - 2 ? kRows - 2 : kRows - 1;
}

void MenuFocus::move(Move move) {
    const bool forward = move == Move::kNext || move == Move::kDown || move == Move::kRight;
    const int index = indexOf(current);
    if (index < 0) {
        current = at(forward ? 0 : kItems - 1);
        return;
    }
    if (move == Move::kNext || move == Move::kPrevious) {
        current = at(index + (forward ? 1 : -1));
        return;
    }
    const int row = rowOf(index);
    if (move == Move::kLeft || move == Move::kRight) {
        // Round within the row.
        int first = index;
        while (first > 0 && rowOf(first - 1) == row) --first;
        int length = 0;
        while (first + length < kItems && rowOf(first + length) == row) ++length;
        current = at(first + wrap(index - first + (forward ? 1 : -1), length));
        return;
    }
    const int targetRow = wrap(row + (forward ? 1 : -1), kRows);
    const int x = centreOf(current.kind);
    int best = -1;
    for (int candidate = 0; candidate < kItems; ++candidate) {
        if (rowOf(candidate) != targetRow) continue;
        if (best < 0 || std::abs(centreOf(at(candidate).kind) - x) < std::abs(centreOf(at(best).kind) - x)) {
            best = candidate;
        }
    }
    current = at(best);
}
