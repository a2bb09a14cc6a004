#pragma once
#include <cstdint>

// A point or a displacement in arena pixels, y growing downwards, or a
// velocity in pixels per millisecond.
struct Vector2 {
    double x = 0.0;
    double y = 0.0;
};

// The game's own value of pi, used for every angle the physics makes; the
// full-precision constant would shift every bounce by a hair.
constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;
constexpr double kThreePi = 9.4247779605;

Vector2 add(const Vector2& a, const Vector2& b);
Vector2 subtract(const Vector2& a, const Vector2& b);
Vector2 scale(const Vector2& v, double s);
// Frame times are unsigned milliseconds; a long one is still a long step
// forward, never a step backwards.
Vector2 scale(const Vector2& v, std::uint32_t n);
Vector2& addInPlace(Vector2& v, const Vector2& w);
double dot(const Vector2& a, const Vector2& b);

// Results of testLineContact.
constexpr int kTouching = 1;
constexpr int kCrossing = 2;
constexpr int kNoContact = -1;

// Does a circle of radius r, moving from p0 to p1 this frame, touch the
// line through a with normal n now (kTouching), or run into it on the way
// (kCrossing, contact = the centre at first touch)? The normal is taken as
// stored, so a longer normal scales the distances; the line has no ends.
int testLineContact(const Vector2& p0, const Vector2& p1, double r, const Vector2& a, const Vector2& n,
                    Vector2& contact);

// A double as a pixel coordinate, the fraction dropped; values no pixel
// could have stick at the int limits and NaN gives 0 instead of undefined
// behaviour.
std::int32_t truncateToInt(double value);
