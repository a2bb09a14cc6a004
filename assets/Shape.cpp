#include "Shape.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

Shape::Shape(Distance distance, double left, double top, double right, double bottom)
    : distance_(std::move(distance)), left_(left), top_(top), right_(right), bottom_(bottom) {}

Shape Shape::circle(double cx, double cy, double radius) {
    return Shape([=](double x, double y) { return std::hypot(x - cx, y - cy) - radius; }, cx - radius, cy - radius,
                 cx + radius, cy + radius);
}

Shape Shape::roundedRect(double left, double top, double right, double bottom, double radius) {
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double halfW = (right - left) / 2 - radius;
    const double halfH = (bottom - top) / 2 - radius;
    return Shape(
        [=](double x, double y) {
            const double qx = std::fabs(x - cx) - halfW;
            const double qy = std::fabs(y - cy) - halfH;
            const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
            return outside + std::min(std::max(qx, qy), 0.0) - radius;
        },
        left, top, right, bottom);
}

Shape Shape::capsule(Point from, Point to, double radius) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double lengthSquared = dx * dx + dy * dy;
    return Shape(
        [=](double x, double y) {
            const double px = x - from.x;
            const double py = y - from.y;
            double t = lengthSquared > 0 ? (px * dx + py * dy) / lengthSquared : 0;
            t = std::clamp(t, 0.0, 1.0);
            return std::hypot(px - dx * t, py - dy * t) - radius;
        },
        std::min(from.x, to.x) - radius, std::min(from.y, to.y) - radius, std::max(from.x, to.x) + radius,
        std::max(from.y, to.y) + radius);
}

Shape Shape::polygon(std::vector<Point> corners) {
    double left = corners.empty() ? 0 : corners[0].x;
    double right = left;
    double top = corners.empty() ? 0 : corners[0].y;
    double bottom = top;
    for (const Point& p : corners) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    auto points = std::make_shared<const std::vector<Point>>(std::move(corners));
    return Shape(
        [points](double x, double y) {
            const std::vector<Point>& v = *points;
            if (v.size() < 3) return 1e9;
            // Nearest edge gives the distance; counting edge crossings of a
            // ray gives the side.
            double best = 1e18;
            bool inside = false;
            for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
                const double ex = v[j].x - v[i].x;
                const double ey = v[j].y - v[i].y;
                const double wx = x - v[i].x;
                const double wy = y - v[i].y;
                const double lengthSquared = ex * ex + ey * ey;
                const double t = lengthSquared > 0 ? std::clamp((wx * ex + wy * ey) / lengthSquared, 0.0, 1.0) : 0.0;
                const double bx = wx - ex * t;
                const double by = wy - ey * t;
                best = std::min(best, bx * bx + by * by);
                if ((v[i].y > y) != (v[j].y > y) && x < v[i].x + ex * (y - v[i].y) / ey) inside = !inside;
            }
            const double d = std::sqrt(best);
            return inside ? -d : d;
        },
        left, top, right, bottom);
}

Shape Shape::united(const Shape& other) const {
    Distance a = distance_;
    Distance b = other.distance_;
    return Shape([a, b](double x, double y) { return std::min(a(x, y), b(x, y)); }, std::min(left_, other.left_),
                 std::min(top_, other.top_), std::max(right_, other.right_), std::max(bottom_, other.bottom_));
}

Shape Shape::intersected(const Shape& other) const {
    Distance a = distance_;
    Distance b = other.distance_;
    return Shape([a, b](double x, double y) { return std::max(a(x, y), b(x, y)); }, std::max(left_, other.left_),
                 std::max(top_, other.top_), std::min(right_, other.right_), std::min(bottom_, other.bottom_));
}

Shape Shape::without(const Shape& other) const {
    Distance a = distance_;
    Distance b = other.distance_;
    return Shape([a, b](double x, double y) { return std::max(a(x, y), -b(x, y)); }, left_, top_, right_, bottom_);
}

Shape Shape::inset(double amount) const {
    Distance a = distance_;
    return Shape([a, amount](double x, double y) { return a(x, y) + amount; }, left_ + std::min(amount, 0.0),
                 top_ + std::min(amount, 0.0), right_ - std::min(amount, 0.0), bottom_ - std::min(amount, 0.0));
}

Shape Shape::rim(double width) const { return without(inset(width)); }

Shape Shape::moved(double dx, double dy) const {
    Distance a = distance_;
    return Shape([a, dx, dy](double x, double y) { return a(x - dx, y - dy); }, left_ + dx, top_ + dy, right_ + dx,
                 bottom_ + dy);
}
