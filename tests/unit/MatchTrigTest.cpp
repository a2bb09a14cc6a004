#include <gtest/gtest.h>
#include <mpfr.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "physics/MatchTrig.h"
#include "physics/Vector2.h"

namespace {

// Fewer arguments where every operation is checked by the sanitizers; the
// full count in the ordinary build.
#ifdef QUADRILL_SANITIZED_BUILD
constexpr long kScale = 50;
#else
constexpr long kScale = 1;
#endif

// MPFR's correctly rounded sine and cosine, the reference.
struct Reference {
    Reference() {
        mpfr_init2(argument, 53);
        mpfr_init2(sine, 53);
        mpfr_init2(cosine, 53);
    }
    ~Reference() {
        mpfr_clear(argument);
        mpfr_clear(sine);
        mpfr_clear(cosine);
    }
    void of(double x) {
        mpfr_set_d(argument, x, MPFR_RNDN);
        mpfr_sin_cos(sine, cosine, argument, MPFR_RNDN);
        sin = mpfr_get_d(sine, MPFR_RNDN);
        cos = mpfr_get_d(cosine, MPFR_RNDN);
    }
    mpfr_t argument, sine, cosine;
    double sin = 0.0;
    double cos = 0.0;
};

bool sameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Checks sin and cos of each argument (and of its negative), the quick way
// with the exact one behind it, or the exact way alone; reports the first
// few that differ.
class Checker {
public:
    explicit Checker(bool exactOnly = false) : exact(exactOnly) {}
    void check(double x) {
        for (double y : {x, -x}) {
            reference.of(y);
            const double s = exact ? MatchTrig::exactSin(y) : MatchTrig::sin(y);
            const double c = exact ? MatchTrig::exactCos(y) : MatchTrig::cos(y);
            ++checked;
            if (sameDouble(s, reference.sin) && sameDouble(c, reference.cos)) continue;
            if (++failures <= 10) {
                ADD_FAILURE() << std::hexfloat << "x = " << y << ": sin " << s << " (MPFR " << reference.sin
                              << "), cos " << c << " (MPFR " << reference.cos << ")";
            }
        }
    }
    long checked = 0;
    long failures = 0;

private:
    bool exact;
    Reference reference;
};

// Arguments whose sine or cosine lies closest to halfway between two
// doubles, from V. Lefevre's tables of hard cases for correct rounding
// (46 to 59 identical bits after the rounding bit).
const double kHardForSin[] = {
    0x1.005023d32fee5p+1, 0x1.0192deafac33fp+0, 0x1.034c2318b3f2dp+0, 0x1.043e268ba402ap+1, 0x1.04394261cffa6p-1,
    0x1.05149eefb774ap-1, 0x1.0518fffe634f2p-2, 0x1.057e5c72ad274p+0, 0x1.05eeb68fa23d4p-1, 0x1.05f9d4d29a671p-1,
    0x1.065665ef772cbp-1, 0x1.07d5978b896fcp+0, 0x1.07edc73037d32p+1, 0x1.08c495b034a31p+0, 0x1.093026e62d889p+1,
    0x1.0aedf4dd4ccf8p-2, 0x1.0ba1b997d2e32p+0, 0x1.0c907e3aeb72cp-2, 0x1.0d80ff9981295p+0, 0x1.0e9f8bb095163p+1,
    0x1.0eb0a4929f5afp-1, 0x1.0f94413988ba3p-1, 0x1.104614176463ep+0, 0x1.1065078d33361p+1, 0x1.10b4048d92a67p+1,
    0x1.1398b2271821p+0, 0x1.156eb7ebe052ep-1, 0x1.164149539c81dp+1, 0x1.17ea5cdc2dfabp-2, 0x1.191e692fcac47p-2,
    0x1.1da5d5a23306dp+0, 0x1.1fa6b462b1c81p+1, 0x1.00874a5f9fc33p-13, 0x1.184a0aa58191dp-24,
    0x1.06800e629d672p-23,
};
const double kHardForCos[] = {
    0x1.00147eec5cfa5p+0, 0x1.00786b0bf421p-2, 0x1.0155dcbae56fdp-2, 0x1.0203b71ba100fp-1, 0x1.062a2f8ff7e5p+0,
    0x1.065be6e6ee03cp-1, 0x1.06beb681df3acp-3, 0x1.0813eb8986375p-1, 0x1.090379dc5cdf1p-2, 0x1.0bfbedfb16285p+0,
    0x1.0c86069092edcp+0, 0x1.0d55af1ee4d59p-2, 0x1.0d726986bc5f6p-1, 0x1.0f16c6f632009p+0, 0x1.0fb6b9c0eec57p-1,
    0x1.103de347f44b2p-2, 0x1.11a08114c99bcp+0, 0x1.11ba803f22334p-1, 0x1.146de9a66c2e3p+0, 0x1.15842cb04f9cep-2,
    0x1.1baf00b2f6b01p-1, 0x1.1c2d9650ac5f2p+0, 0x1.1e400c741b302p+0, 0x1.1f7ef6ffd562p+0, 0x1.21745c6355307p-1,
    0x1.217532b8faae7p+0, 0x1.21c6f0699a3fdp+0, 0x1.22b826533dc99p+0, 0x1.0f876ccdf6cd6p-25, 0x1.2c2fc595456a4p-25,
};

TEST(MatchTrigTest, EqualsMpfrOnTenMillionArgumentsOverTheMatchsAngles) {
    // The match's angles stay within a few turns of zero; far beyond that
    // here, and densely next to every multiple of pi/2 in it, where the
    // reduction must keep its precision.
    std::mt19937_64 random(20);
    std::uniform_real_distribution<double> angle(-64.0, 64.0);
    Checker checker;
    const long count = 5000000 / kScale;  // twice each: x and -x
    for (long i = 0; i < count; ++i) checker.check(angle(random));
    for (int quarter = 0; quarter <= 40; ++quarter) {
        const double near = quarter * 1.5707963267948966;
        double below = near;
        double above = near;
        for (int step = 0; step < 200; ++step) {
            checker.check(below);
            checker.check(above);
            below = std::nextafter(below, -1e300);
            above = std::nextafter(above, 1e300);
        }
    }
    EXPECT_GE(checker.checked * kScale, 10000000);
    EXPECT_EQ(checker.failures, 0);
}

TEST(MatchTrigTest, EqualsMpfrOnTheHardestArgumentsToRound) {
    Checker quick;
    Checker exactOnly(true);
    for (double x : kHardForSin) {
        quick.check(x);
        exactOnly.check(x);
    }
    for (double x : kHardForCos) {
        quick.check(x);
        exactOnly.check(x);
    }
    EXPECT_EQ(quick.failures + exactOnly.failures, 0);
}

TEST(MatchTrigTest, EqualsMpfrOverEveryFiniteDouble) {
    // Any bit pattern: huge arguments need 2/pi to many hundred bits, tiny
    // ones must not lose their sign or be flushed.
    std::mt19937_64 random(21);
    Checker checker;
    Checker exactOnly(true);
    for (long i = 0; i < 500000 / kScale; ++i) {
        const std::uint64_t bits = random();
        double x = 0.0;
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x)) continue;
        checker.check(x);
        if (i % 20 == 0) exactOnly.check(x);
    }
    for (double x : {0.0, DBL_MIN, DBL_TRUE_MIN, DBL_MAX, 0x1p-26, 0x1p-27, 0x1.fffffffffffffp-27, 0x1p-28, 0.75,
                     std::nextafter(0.75, 0.0), 1e22, 0x1.5bb0e2e8d8d0cp+1023}) {
        checker.check(x);
        exactOnly.check(x);
    }
    EXPECT_EQ(checker.failures + exactOnly.failures, 0);
    EXPECT_TRUE(std::signbit(MatchTrig::sin(-0.0)));
    const double infinity = std::numeric_limits<double>::infinity();
    for (double bad : {infinity, -infinity, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(MatchTrig::sin(bad)));
        EXPECT_TRUE(std::isnan(MatchTrig::cos(bad)));
    }
}

TEST(MatchTrigTest, TheExactWayAloneEqualsMpfr) {
    // Normally it only sees the rare argument the quick way cannot decide.
    std::mt19937_64 random(22);
    std::uniform_real_distribution<double> angle(-64.0, 64.0);
    Checker exactOnly(true);
    for (long i = 0; i < 50000 / kScale; ++i) exactOnly.check(angle(random));
    EXPECT_EQ(exactOnly.failures, 0);
}

// Every angle the ball is given, made as the match makes it: a serve,
// a paddle's bounce, and the walls' reflections of both.
std::vector<double> anglesOfTheMatch() {
    std::vector<double> made;
    // A serve: -32 to +31 degrees off one of the four sides.
    for (int side = 0; side < 4; ++side) {
        for (int offset = 0; offset < 64; ++offset) made.push_back((offset + 90 * side - 32) * kPi / 180);
    }
    // A paddle's bounce, by where along it (0 to 1, a little beyond at the
    // ends) the ball touches, with the nudge off straight back.
    const double nudgeLow[4] = {-0.0005, -1.571, -3.142, -4.713};
    const double nudgeHigh[4] = {0.0005, -1.57, -3.141, -4.712};
    for (int index = 0; index < 4; ++index) {
        for (int step = -400; step <= 4400; ++step) {
            const double turn = (step / 4000.0) * 130;
            const double degrees[4] = {-(65 - turn), -(155 - turn), -(turn + 115), -(turn + 205)};
            double angle = degrees[index] * kPi / 180;
            if (angle > nudgeLow[index] && angle < nudgeHigh[index]) angle += 0.01;
            made.push_back(angle);
        }
    }
    // Up to three wall bounces after either.
    const std::size_t firstMade = made.size();
    std::vector<double> layer(made.begin(), made.end());
    for (int depth = 0; depth < 3; ++depth) {
        std::vector<double> next;
        for (std::size_t i = 0; i < layer.size(); i += depth == 0 ? 1 : 7) {
            const double a = layer[i];
            for (double turned : {kTwoPi - a, kThreePi - a, 2.5 * kPi - a, 1.5 * kPi - a}) next.push_back(turned);
        }
        made.insert(made.end(), next.begin(), next.end());
        layer.swap(next);
    }
    EXPECT_GT(made.size(), firstMade);
    return made;
}

TEST(MatchTrigTest, EveryAngleTheMatchMakesRoundsCorrectly) {
    Checker checker;
    const std::vector<double> angles = anglesOfTheMatch();
    // Every one in the ordinary build; a sample under the sanitizers.
    const std::size_t stride = kScale > 1 ? 10 : 1;
    for (std::size_t i = 0; i < angles.size(); i += stride) checker.check(angles[i]);
    EXPECT_GT(angles.size(), 50000u);
    EXPECT_EQ(checker.failures, 0);
}

}  // namespace
