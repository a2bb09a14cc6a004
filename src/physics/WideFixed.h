#pragma once
#include <array>
#include <cstdint>

// A non-negative number in binary fixed point, exact as far as its limbs
// go: one whole 32-bit limb, then `fractionLimbs` limbs of 32 bits after
// the point. The last limb's weight, 2^(-32 * fractionLimbs), is one
// "unit"; every operation that cannot be exact drops what falls below a
// unit (truncation), so it is off by less than one unit, always downwards.
// It is the slow but sure arithmetic behind the match's sine and cosine,
// which must come out the same on every processor: nothing here touches
// floating point except the final conversions, which are exact or
// correctly rounded by construction.
class WideFixed {
public:
    static constexpr int kMaxFractionLimbs = 40;

    explicit WideFixed(int fractionLimbs);

    // Limbs given most significant first, starting with the whole limb;
    // limbs beyond `count` are zero, limbs beyond the precision dropped.
    static WideFixed fromLimbs(const std::uint32_t* limbs, int count, int fractionLimbs);
    // A non-negative finite double, truncated to the precision.
    static WideFixed fromDouble(double value, int fractionLimbs);

    int fractionLimbs() const { return fraction; }
    // Limb i counted from the least significant (0) to the whole limb.
    std::uint32_t limb(int i) const { return digits[static_cast<std::size_t>(i)]; }
    void setLimb(int i, std::uint32_t value) { digits[static_cast<std::size_t>(i)] = value; }
    bool isZero() const;
    // Is the fraction part at least one half?
    bool fractionAtLeastHalf() const;

    // this * other at this number's precision (both must share it);
    // a whole part past 2^32 is lost.
    WideFixed times(const WideFixed& other) const;
    void divideBy(std::uint32_t divisor);
    void add(const WideFixed& other);
    // Requires this >= other.
    void subtract(const WideFixed& other);
    // 1 - this, for a number in [0, 1].
    WideFixed oneMinus() const;
    void addUnits(std::uint32_t units);
    // False (and the number unchanged) when it would go below zero.
    bool subtractUnits(std::uint32_t units);

    // The double nearest to the number (ties to even); 0 for zero.
    double nearestDouble() const;
    // hi + lo within a relative 2^-103 of the number, |lo| <= ulp(hi) / 2;
    // both 0 for zero.
    void toDoubleDouble(double& hi, double& lo) const;

private:
    int topLimb() const { return fraction; }
    // Global bit index of the leading one (bit 0 is the last limb's
    // lowest); -1 for zero.
    int leadingBit() const;
    // The 32 bits from bit index `low` up; bits outside the number are 0.
    std::uint32_t bits32(int low) const;
    // The 64 bits whose highest is bit index `high`.
    std::uint64_t bits64(int high) const { return (std::uint64_t{bits32(high - 31)} << 32) | bits32(high - 63); }
    bool anyBitBelow(int bit) const;

    int fraction;
    std::array<std::uint32_t, kMaxFractionLimbs + 1> digits;
};
