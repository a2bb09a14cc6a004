#pragma once
#include <cfloat>

// Doubles must round every operation to double: no wider registers (x87)
// and no contraction of a * b + c into one rounding, or the exact splits
// below are no longer exact and the match no longer the same everywhere.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "the match needs double arithmetic evaluated in double (SSE2 on 32-bit x86: -msse2 -mfpmath=sse)"
#endif
#if defined(__FAST_MATH__)
#error "the match must not be built with fast-math options"
#endif

// A number carried as the unevaluated sum hi + lo of two doubles with
// |lo| <= ulp(hi) / 2: about 106 bits. Relative error bounds, with
// u = 2^-53 (Joldes, Muller and Popescu, "Tight and rigorous error bounds
// for basic building blocks of double-word arithmetic", ACM TOMS 2017):
// a sum within 3u^2 of the exact sum, a product within 8u^2 (the product
// of the heads is exact, the cross terms are two roundings, the product of
// the tails is left out).
struct DoubleDouble {
    double hi = 0.0;
    double lo = 0.0;
};

namespace double_double {

// s + e == a + b exactly, whatever their sizes.
inline DoubleDouble twoSum(double a, double b) {
    const double s = a + b;
    const double bPart = s - a;
    const double aPart = s - bPart;
    return DoubleDouble{s, (a - aPart) + (b - bPart)};
}

// s + e == a + b exactly when |a| >= |b|.
inline DoubleDouble fastTwoSum(double a, double b) {
    const double s = a + b;
    return DoubleDouble{s, b - (s - a)};
}

// p + e == a * b exactly (Dekker, through Veltkamp's split; no fused
// multiply-add, which not every processor has), for products far from
// overflow and underflow.
inline DoubleDouble twoProduct(double a, double b) {
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double aScaled = kSplitter * a;
    const double aHigh = aScaled - (aScaled - a);
    const double aLow = a - aHigh;
    const double bScaled = kSplitter * b;
    const double bHigh = bScaled - (bScaled - b);
    const double bLow = b - bHigh;
    const double p = a * b;
    const double e = ((aHigh * bHigh - p) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
    return DoubleDouble{p, e};
}

inline DoubleDouble add(const DoubleDouble& x, const DoubleDouble& y) {
    const DoubleDouble s = twoSum(x.hi, y.hi);
    const DoubleDouble t = twoSum(x.lo, y.lo);
    const DoubleDouble v = fastTwoSum(s.hi, s.lo + t.hi);
    return fastTwoSum(v.hi, t.lo + v.lo);
}

inline DoubleDouble multiply(const DoubleDouble& x, const DoubleDouble& y) {
    const DoubleDouble p = twoProduct(x.hi, y.hi);
    const double cross = x.hi * y.lo + x.lo * y.hi;
    return fastTwoSum(p.hi, p.lo + cross);
}

}  // namespace double_double
