#include "Bevel.h"

#include <algorithm>
#include <cmath>

namespace {
struct Vec3 {
    double x, y, z;
};

Vec3 normalised(Vec3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0 ? Vec3{v.x / length, v.y / length, v.z / length} : Vec3{0, 0, 1};
}

double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Light from the top left and towards the viewer, the same for every
// picture so the whole game looks lit by one lamp.
const Vec3 kLight = normalised(Vec3{-0.55, -0.75, 1.0});
const Vec3 kHalfway = normalised(Vec3{kLight.x, kLight.y, kLight.z + 1.0});
}  // namespace

Bevel::Bevel(double width)
    : width_(std::max(width, 0.01)), ambient_(0.35), shineStrength_(0.45), shineSharpness_(30), height_(1),
      sunken_(false) {}

Bevel& Bevel::ambient(double value) {
    ambient_ = value;
    return *this;
}

Bevel& Bevel::shine(double strength, double sharpness) {
    shineStrength_ = strength;
    shineSharpness_ = sharpness;
    return *this;
}

Bevel& Bevel::height(double value) {
    height_ = value;
    return *this;
}

Bevel& Bevel::sunken(bool value) {
    sunken_ = value;
    return *this;
}

Paint Bevel::paint(const Shape& shape, Colour base) const {
    const Bevel style = *this;
    return [style, shape, base](double x, double y) {
        const double e = 0.35;
        double gx = (shape.distance(x + e, y) - shape.distance(x - e, y)) / (2 * e);
        double gy = (shape.distance(x, y + e) - shape.distance(x, y - e)) / (2 * e);
        const double g = std::hypot(gx, gy);
        if (g > 0) {
            gx /= g;
            gy /= g;
        }
        // Quarter-round profile: steep at the edge, level at the bevel's end.
        const double t = std::clamp(-shape.distance(x, y) / style.width_, 0.02, 1.0);
        const double u = 1 - t;
        double slope = style.height_ * u / std::sqrt(std::max(1 - u * u, 1e-4));
        if (style.sunken_) slope = -slope;
        const Vec3 normal = normalised(Vec3{gx * slope, gy * slope, 1});
        const double diffuse = std::max(0.0, dot(normal, kLight)) / kLight.z;
        const double light = style.ambient_ + (1 - style.ambient_) * diffuse;
        const double glint = style.shineStrength_ *
                            std::pow(std::max(0.0, dot(normal, kHalfway)), style.shineSharpness_);
        // The flat top also catches the highlight; take that part out so a
        // plain area keeps exactly the base colour.
        const double flatGlint = style.shineStrength_ * std::pow(kHalfway.z, style.shineSharpness_);
        const double extra = std::max(0.0, glint - flatGlint) * 255;
        return Colour{base.r * light + extra, base.g * light + extra, base.b * light + extra, base.a};
    };
}

namespace gradient {

Paint linear(Point p0, Colour c0, Point p1, Colour c1) {
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    const double lengthSquared = std::max(dx * dx + dy * dy, 1e-9);
    return [=](double x, double y) {
        const double t = std::clamp(((x - p0.x) * dx + (y - p0.y) * dy) / lengthSquared, 0.0, 1.0);
        return c0.mixed(c1, t);
    };
}

Paint radial(Point centre, double radius, Colour inner, Colour outer) {
    return [=](double x, double y) {
        const double t = std::clamp(std::hypot(x - centre.x, y - centre.y) / std::max(radius, 1e-9), 0.0, 1.0);
        return inner.mixed(outer, t);
    };
}

}  // namespace gradient
