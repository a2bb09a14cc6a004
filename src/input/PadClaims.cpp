#include "input/PadClaims.h"

namespace {
// The colours from the top of the menu down.
constexpr int kMenuOrder[PadClaims::kColours] = {1, 3, 0, 2};

int menuPlace(int colour) {
    for (int place = 0; place < PadClaims::kColours; ++place) {
        if (kMenuOrder[place] == colour) return place;
    }
    return -1;
}
}  // namespace

PadClaims::PadClaims() : aPadOf{0, 0, 0, 0}, aWaiting{false, false, false, false} {}

int PadClaims::colourOf(int pad) const {
    if (pad <= 0) return kNone;
    for (int colour = 0; colour < kColours; ++colour) {
        if (aPadOf[colour] == pad) return colour;
    }
    return kNone;
}

int PadClaims::claimNext(int pad) {
    if (pad <= 0) return kNone;
    const int own = colourOf(pad);
    const int start = own == kNone ? 0 : menuPlace(own) + 1;
    for (int step = 0; step < kColours; ++step) {
        const int colour = kMenuOrder[(start + step) % kColours];
        if (!isFree(colour)) continue;
        if (own != kNone) aPadOf[own] = 0;
        aPadOf[colour] = pad;
        return colour;
    }
    return own;
}

bool PadClaims::claim(int pad, int colour) {
    if (pad <= 0 || !validColour(colour)) return false;
    if (aPadOf[colour] == pad) return true;
    if (!isFree(colour)) return false;
    release(pad);
    aPadOf[colour] = pad;
    return true;
}

void PadClaims::release(int pad) {
    const int colour = colourOf(pad);
    if (colour != kNone) aPadOf[colour] = 0;
}

void PadClaims::holdForReturn(int pad) {
    const int colour = colourOf(pad);
    if (colour == kNone) return;
    aPadOf[colour] = 0;
    aWaiting[colour] = true;
}

int PadClaims::adoptWaiting(int pad) {
    if (pad <= 0 || colourOf(pad) != kNone) return kNone;
    for (const int colour : kMenuOrder) {
        if (!aWaiting[colour]) continue;
        aWaiting[colour] = false;
        aPadOf[colour] = pad;
        return colour;
    }
    return kNone;
}

void PadClaims::dropWaiting() {
    for (bool& waiting : aWaiting) waiting = false;
}

bool PadClaims::anyWaiting() const {
    for (const bool waiting : aWaiting) {
        if (waiting) return true;
    }
    return false;
}
