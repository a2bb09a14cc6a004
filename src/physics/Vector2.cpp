#include "physics/Vector2.h"

#include <cmath>
#include <limits>

Vector2 add(const Vector2& a, const Vector2& b) { return Vector2{a.x + b.x, a.y + b.y}; }

Vector2 subtract(const Vector2& a, const Vector2& b) { return Vector2{a.x - b.x, a.y - b.y}; }

Vector2 scale(const Vector2& v, double s) { return Vector2{v.x * s, v.y * s}; }

Vector2 scale(const Vector2& v, std::uint32_t n) {
    const double factor = static_cast<double>(n);
    return Vector2{v.x * factor, v.y * factor};
}

Vector2& addInPlace(Vector2& v, const Vector2& w) {
    v.x += w.x;
    v.y += w.y;
    return v;
}

double dot(const Vector2& a, const Vector2& b) { return a.x * b.x + a.y * b.y; }

int testLineContact(const Vector2& p0, const Vector2& p1, double r, const Vector2& a, const Vector2& n,
                    Vector2& contact) {
    const double d0 = dot(subtract(p0, a), n);
    // The extra pixel lets a circle that stopped on the line, or a little
    // inside it, count as touching in the next frame.
    if (std::fabs(d0) <= r + 1) return kTouching;
    const double d1 = dot(subtract(p1, a), n);
    // Behind the line: it can only be approached from the normal's side.
    if (d0 <= r) return kNoContact;
    if (d1 >= r) return kNoContact;
    const double t = (d0 - r) / (d0 - d1);
    contact = add(scale(p0, 1 - t), scale(p1, t));
    return kCrossing;
}

std::int32_t truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}
