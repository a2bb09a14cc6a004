#pragma once

// Where the keyboard's (or a free pad's) attention is in the menu: one of
// its boxes, texts or buttons, or nowhere until a key moves it. Items are
// laid out as the menu shows them: the logo at the top, a row per colour
// (yellow, blue, green, red: Controls, Player, PC), the Default keys item
// and Join a room beside it, then Exit and Start. Tab walks them in that reading order, the arrows
// move across the rows and between them; every move wraps round.
class MenuFocus {
public:
    enum class Kind { kNone, kLogo, kControls, kPlayer, kComputer, kDefaultKeys, kJoinRoom, kExit, kStart };
    enum class Move { kNext, kPrevious, kUp, kDown, kLeft, kRight };

    struct Item {
        Kind kind = Kind::kNone;
        int colour = -1;  // for the items of a colour's row, else -1
        bool operator==(const Item& other) const { return kind == other.kind && colour == other.colour; }
        bool operator!=(const Item& other) const { return !(*this == other); }
    };

    static int count();
    // The items in reading order.
    static Item at(int index);

    bool isShown() const { return current.kind != Kind::kNone; }
    Item item() const { return current; }
    // From nowhere, forward moves land on the first item, backward ones on the last.
    void move(Move move);
    void focus(Item item) { current = item; }
    void clear() { current = Item{}; }

private:
    static int indexOf(Item item);
    static int rowOf(int index);

    Item current;
};
