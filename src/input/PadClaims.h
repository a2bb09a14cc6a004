#pragma once
#include <cstdint>

// Which pad plays which colour. Colours are numbered as in the match (0
// green, 1 yellow, 2 red, 3 blue), pads by the numbers the platform gives
// them, from 1. A colour is held by one pad at most; the keyboard keeps
// working for every colour whether a pad holds it or not.
class PadClaims {
public:
    static constexpr int kNone = -1;
    static constexpr int kColours = 4;

    PadClaims();

    // The pad's next colour: the first one no pad holds, in the menu's order
    // (yellow, blue, green, red), starting after the pad's own colour when
    // it has one. When every other colour is held the pad keeps its own,
    // or stays without one; the answer is the colour it holds after.
    int claimNext(int pad);
    void release(int pad);
    // The pad takes this very colour, letting its own go; false, nothing
    // changed, when another pad holds it or it waits for its pad.
    bool claim(int pad, int colour);

    // A pad pulled out during a match: its colour waits for a pad to be
    // plugged in, which takes it over.
    void holdForReturn(int pad);
    // The first colour waiting, now this pad's; kNone when none waits.
    int adoptWaiting(int pad);
    // Back in the menu nobody waits any more: the colours are free again.
    void dropWaiting();
    bool isWaiting(int colour) const { return validColour(colour) && aWaiting[colour]; }
    bool anyWaiting() const;

    int colourOf(int pad) const;
    // The pad that holds the colour, 0 when none does.
    int padOf(int colour) const { return validColour(colour) ? aPadOf[colour] : 0; }

private:
    static bool validColour(int colour) { return colour >= 0 && colour < kColours; }
    bool isFree(int colour) const { return aPadOf[colour] == 0 && !aWaiting[colour]; }

    int aPadOf[kColours];
    bool aWaiting[kColours];
};
