#include "physics/MatchTrig.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "physics/DoubleDouble.h"
#include "physics/WideFixed.h"

namespace {

// 2/pi in binary, 32 bits a limb from the first after the point: enough for
// the largest doubles, whose low bits of x * 2/pi decide the quarter turn.
constexpr std::uint32_t kTwoOverPi[72] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041,
    0xFE5163AB, 0xDEBBC561, 0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C,
    0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484, 0xE99C7026, 0xB45F7E41,
    0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D,
    0x7527BAC7, 0xEBE5F17B, 0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08,
    0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D, 0xA9E39161, 0x5EE61B08,
    0x6599855F, 0x14A06840, 0x8DFFD880, 0x4D732731, 0x06061556, 0xCA73A8C9,
    0x60E27BC0, 0x8C6B47C4, 0x19C367CD, 0xDCE8092A, 0x8359C476, 0x8B961CA6,
    0xDDAF44D1, 0x5719053E, 0xA5FF0705, 0x3F7E33E8, 0x32C2DE4F, 0x98327DBB,
    0xC33D26EF, 0x6B1E5EF8, 0x9F3A1F35, 0xCAF27F1D, 0x87F12190, 0x7C7C246A,
    0xFA6ED577, 0x2D30433B, 0x15C614B5, 0x9D19C3C2, 0xC4AD414D, 0x2C5D000C,
};
constexpr int kTwoOverPiLimbs = 72;

// pi/2: the whole limb, then 39 limbs after the point.
constexpr std::uint32_t kHalfPi[40] = {
    0x00000001, 0x921FB544, 0x42D18469, 0x898CC517, 0x01B839A2, 0x52049C11,
    0x14CF98E8, 0x04177D4C, 0x76273644, 0xA29410F3, 0x1C6809BB, 0xDF2A3367,
    0x9A748636, 0x605614DB, 0xE4BE286E, 0x9FC26ADA, 0xDAA3848B, 0xC90B6AEC,
    0xC4BCFD8D, 0xE89885D3, 0x4C6FDAD6, 0x17FEB96D, 0xE80D6FDB, 0xDC70D7F6,
    0xB5133F4B, 0x5D3E4822, 0xF8963FCC, 0x9250CCA3, 0xD9C8B67B, 0x8400F971,
    0x42C77E0B, 0x31B4906C, 0x38ABA734, 0xD22C7F51, 0xFA499EBF, 0x06CABA47,
    0xB9475B2C, 0x38C5E6AC, 0x410AA577, 0x3DAA520E,
};
constexpr int kHalfPiLimbs = 40;

// (-1)^j / (2j + 1)! and (-1)^j / (2j)!, each the double-double nearest.
constexpr int kTerms = 15;
constexpr int kFirstPlainTerm = 9;
constexpr DoubleDouble kSinTerms[kTerms] = {
    {0x1.0000000000000p+0, 0x0.0p+0},  // +1/1!
    {-0x1.5555555555555p-3, -0x1.5555555555555p-57},  // -1/3!
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},  // +1/5!
    {-0x1.a01a01a01a01ap-13, -0x1.a01a01a01a01ap-73},  // -1/7!
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73},  // +1/9!
    {-0x1.ae64567f544e4p-26, 0x1.c062e06d1f209p-80},  // -1/11!
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},  // +1/13!
    {-0x1.ae7f3e733b81fp-41, -0x1.1d8656b0ee8cbp-97},  // -1/15!
    {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},  // +1/17!
    {-0x1.2f49b46814157p-57, -0x1.2650f61dbdcb4p-112},  // -1/19!
    {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},  // +1/21!
    {-0x1.761b41316381ap-75, 0x1.3423c7d91404fp-130},  // -1/23!
    {0x1.3f3ccdd165fa9p-84, -0x1.58ddadf344487p-139},  // +1/25!
    {-0x1.d1ab1c2dccea3p-94, -0x1.054d0c78aea14p-149},  // -1/27!
    {0x1.259f98b4358adp-103, 0x1.eaf8c39dd9bc5p-157},  // +1/29!
};
constexpr DoubleDouble kCosTerms[kTerms] = {
    {0x1.0000000000000p+0, 0x0.0p+0},  // +1/0!
    {-0x1.0000000000000p-1, 0x0.0p+0},  // -1/2!
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},  // +1/4!
    {-0x1.6c16c16c16c17p-10, 0x1.f49f49f49f49fp-65},  // -1/6!
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},  // +1/8!
    {-0x1.27e4fb7789f5cp-22, -0x1.cbbc05b4fa99ap-76},  // -1/10!
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},  // +1/12!
    {-0x1.93974a8c07c9dp-37, -0x1.05d6f8a2efd1fp-92},  // -1/14!
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},  // +1/16!
    {-0x1.6827863b97d97p-53, -0x1.eec01221a8b0bp-107},  // -1/18!
    {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},  // +1/20!
    {-0x1.0ce396db7f853p-70, 0x1.aebcdbd20331cp-124},  // -1/22!
    {0x1.f2cf01972f578p-80, -0x1.9ada5fcc1ab14p-135},  // +1/24!
    {-0x1.88e85fc6a4e5ap-89, 0x1.71c37ebd16540p-143},  // -1/26!
    {0x1.0a18a2635085dp-98, 0x1.b9e2e28e1aa54p-153},  // +1/28!
};

// Precision of the reduced argument, in limbs of 32 bits after the point:
// 160 bits for the quick way; the exact way doubles its precision until it
// decides.
constexpr int kQuickLimbs = 5;
constexpr int kExactLimbs[] = {10, 18, 34};
constexpr int kExactSteps = 3;
// The reduced argument is off by less than this many of its last units.
constexpr std::uint32_t kReductionErrorUnits = 6;
// The quick evaluation's own relative error, the double-double arithmetic
// and the series cut short together (below 2^-101), with room to spare.
constexpr double kQuickError = 0x1p-96;

// |x| = (4n + quadrant) * pi/2 + r, with r = +-reduced (negative when
// `minus`) and 0 <= reduced <= pi/4 (plus a hair).
struct Reduced {
    int quadrant;
    bool minus;
    WideFixed reduced;
};

// Payne and Hanek's reduction, exactly: |x| = whole * 2^exponent, and only
// the limbs of 2/pi that give a fraction or the last two bits of the
// integer part of x * 2/pi count; the limbs left out at the low end change
// the fraction by less than 2^(116 - 32 * windowLimbs).
Reduced reduce(double ax, int limbs) {
    Reduced out{0, false, WideFixed(limbs)};
    if (ax < 0.75) {
        // Already within a quarter turn of zero: exact as it stands.
        out.reduced = WideFixed::fromDouble(ax, limbs);
        return out;
    }
    int binaryExponent = 0;
    const double mantissa = std::frexp(ax, &binaryExponent);
    const auto whole = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    // ax >= 0.75 keeps exponent >= -53, so the limb step is at least -2.
    const int exponent = binaryExponent - 53;
    const int limbStep = exponent >= 0 ? exponent / 32 : -((-exponent + 31) / 32);
    const int shift = exponent - 32 * limbStep;
    // whole << shift, in three limbs, least significant first.
    const std::uint64_t low = whole & 0xffffffffu;
    const std::uint64_t high = whole >> 32;
    std::uint32_t shifted[3] = {static_cast<std::uint32_t>(low), static_cast<std::uint32_t>(high), 0};
    if (shift != 0) {
        shifted[0] = static_cast<std::uint32_t>(low << shift);
        shifted[1] = static_cast<std::uint32_t>((low >> (32 - shift)) | (high << shift));
        shifted[2] = static_cast<std::uint32_t>(high >> (32 - shift));
    }
    const int windowLimbs = limbs + 4;
    const int first = limbStep >= 1 ? limbStep - 1 : 0;
    std::array<std::uint32_t, WideFixed::kMaxFractionLimbs + 4> window{};
    for (int i = 0; i < windowLimbs; ++i) {
        const int index = first + i;
        window[static_cast<std::size_t>(windowLimbs - 1 - i)] = index < kTwoOverPiLimbs ? kTwoOverPi[index] : 0;
    }
    std::array<std::uint32_t, WideFixed::kMaxFractionLimbs + 7> product{};
    for (int i = 0; i < 3; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < windowLimbs; ++j) {
            const std::uint64_t sum = std::uint64_t{shifted[i]} * window[static_cast<std::size_t>(j)] +
                                      product[static_cast<std::size_t>(i + j)] + carry;
            product[static_cast<std::size_t>(i + j)] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
        product[static_cast<std::size_t>(i + windowLimbs)] = static_cast<std::uint32_t>(carry);
    }
    // The product weighs 2^(32 * (limbStep - first - windowLimbs)).
    const int fractionLimbs = windowLimbs + first - limbStep;
    out.quadrant = static_cast<int>(product[static_cast<std::size_t>(fractionLimbs)] & 3u);
    WideFixed turns(limbs);
    for (int i = 0; i < limbs; ++i) turns.setLimb(i, product[static_cast<std::size_t>(fractionLimbs - limbs + i)]);
    if (turns.fractionAtLeastHalf()) {
        turns = turns.oneMinus();
        out.quadrant = (out.quadrant + 1) & 3;
        out.minus = true;
    }
    out.reduced = turns.times(WideFixed::fromLimbs(kHalfPi, kHalfPiLimbs, limbs));
    return out;
}

// Which function of the reduced argument gives sin or cos of |x|, and
// whether the result changes sign.
struct Plan {
    bool useSin;
    bool negate;
};

Plan plan(bool wantSin, const Reduced& reduced) {
    const int q = reduced.quadrant;
    const bool useSin = wantSin ? (q % 2 == 0) : (q % 2 == 1);
    bool negate = wantSin ? q >= 2 : (q == 1 || q == 2);
    // sin(-r) = -sin(r); cos(-r) = cos(r).
    if (useSin && reduced.minus) negate = !negate;
    return Plan{useSin, negate};
}

DoubleDouble series(const DoubleDouble& r, bool useSin) {
    const DoubleDouble* terms = useSin ? kSinTerms : kCosTerms;
    const DoubleDouble z = double_double::multiply(r, r);
    // The terms from z^9 on add up to under 2^-58 of the sum: plain doubles
    // carry them to well within 2^-106.
    double tail = terms[kTerms - 1].hi;
    for (int j = kTerms - 2; j >= kFirstPlainTerm; --j) tail = terms[j].hi + z.hi * tail;
    DoubleDouble sum{tail, 0.0};
    for (int j = kFirstPlainTerm - 1; j >= 0; --j) sum = double_double::add(terms[j], double_double::multiply(z, sum));
    return useSin ? double_double::multiply(r, sum) : sum;
}

// Is every number within `error` of hi + lo (hi > 0) nearer to hi than to
// its neighbours? The differences are taken 0.1% short, which covers their
// own rounding, so a yes is certain.
bool roundsToHi(double hi, double lo, double error) {
    const double above = std::nextafter(hi, INFINITY) - hi;
    const double below = hi - std::nextafter(hi, 0.0);
    return error < (0.5 * above - lo) * 0.999 && error < (0.5 * below + lo) * 0.999;
}

// The quick way; false when it cannot decide.
bool quick(double ax, bool wantSin, double& result) {
    const Reduced reduced = reduce(ax, kQuickLimbs);
    DoubleDouble r{ax, 0.0};
    double reducedError = 0.0;
    if (ax >= 0.75) {
        reduced.reduced.toDoubleDouble(r.hi, r.lo);
        // Too near a multiple of pi/2 for 160 bits to say much: none of
        // the match's arguments are; the exact way takes any such.
        if (!(r.hi > 0x1p-80)) return false;
        // The reduction's units over |r|, and the conversion to two doubles.
        reducedError = kReductionErrorUnits * 0x1.01p-160 / r.hi + 0x1p-103;
    }
    const Plan how = plan(wantSin, reduced);
    const DoubleDouble value = series(r, how.useSin);
    // Both functions turn a relative error in r into at most the same one
    // in the result; the evaluation adds its own.
    const double error = (kQuickError + 3 * reducedError) * value.hi * 1.01;
    if (!roundsToHi(value.hi, value.lo, error)) return false;
    result = how.negate ? -value.hi : value.hi;
    return true;
}

// The exact way: the series summed in wide fixed point, each term and the
// sum off by a known number of units, widened until the whole interval
// rounds to one double. sin and cos of a non-zero double are never exactly
// halfway between two doubles, and the hardest doubles known need about
// 120 bits: the first width decides, the wider ones are there for safety.
double exact(double ax, bool wantSin) {
    double value = 0.0;
    for (int step = 0; step < kExactSteps; ++step) {
        const int limbs = kExactLimbs[step];
        const Reduced reduced = reduce(ax, limbs);
        const Plan how = plan(wantSin, reduced);
        const WideFixed& r = reduced.reduced;
        const WideFixed z = r.times(r);
        WideFixed term = r;
        int n = 1;
        if (!how.useSin) {
            term = WideFixed(limbs);
            term.setLimb(limbs, 1);
            n = 0;
        }
        WideFixed sum = term;
        std::uint32_t terms = 1;
        for (bool subtract = true;; subtract = !subtract) {
            term = term.times(z);
            term.divideBy(static_cast<std::uint32_t>((n + 1) * (n + 2)));
            n += 2;
            if (term.isZero()) break;
            // Alternating terms that shrink: every partial sum stays above 0.
            if (subtract) {
                sum.subtract(term);
            } else {
                sum.add(term);
            }
            ++terms;
        }
        // Each term is off by under 4 units, r by 6, the tail by 2.
        const std::uint32_t error = 16 * terms + 64;
        WideFixed lowest = sum;
        WideFixed highest = sum;
        highest.addUnits(error);
        value = how.negate ? -sum.nearestDouble() : sum.nearestDouble();
        if (lowest.subtractUnits(error) && lowest.nearestDouble() == highest.nearestDouble()) return value;
    }
    return value;
}

// sin x rounds to x below 2^-26, where x^3/6 is under half an ulp of x;
// cos x rounds to 1 below 2^-27, where x^2/2 is under 2^-55.
double sinOf(double x, bool quickFirst) {
    if (!std::isfinite(x)) return x - x;
    const double ax = std::fabs(x);
    if (ax < 0x1p-26) return x;
    double value = 0.0;
    if (!quickFirst || !quick(ax, true, value)) value = exact(ax, true);
    return x < 0 ? -value : value;
}

double cosOf(double x, bool quickFirst) {
    if (!std::isfinite(x)) return x - x;
    const double ax = std::fabs(x);
    if (ax < 0x1p-27) return 1.0;
    double value = 0.0;
    if (!quickFirst || !quick(ax, false, value)) value = exact(ax, false);
    return value;
}

}  // namespace

double MatchTrig::sin(double x) { return sinOf(x, true); }
double MatchTrig::cos(double x) { return cosOf(x, true); }
double MatchTrig::exactSin(double x) { return sinOf(x, false); }
double MatchTrig::exactCos(double x) { return cosOf(x, false); }
