#pragma once

// The match's sine and cosine: the double nearest to the true value, for
// every finite double, computed the same way on every processor by the
// game itself. The C library's own sin and cos differ by a last bit from
// one processor to another, which was enough for two machines playing the
// same match to drift apart. Infinities and NaN give NaN.
//
// Most arguments take the quick way (double-double arithmetic with a proven
// error bound); the rare one whose value lies too close to the middle
// between two doubles for that bound to decide is done again exactly.
// docs/match-trig.md carries the error argument.
class MatchTrig {
public:
    static double sin(double x);
    static double cos(double x);

    // The same values by the exact way alone, which is otherwise taken only
    // when the quick one cannot decide: for tests.
    static double exactSin(double x);
    static double exactCos(double x);
};
