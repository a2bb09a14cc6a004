#pragma once
#include <functional>
#include <vector>

struct Point {
    double x = 0;
    double y = 0;
};

// A filled region given by its signed distance: negative inside, positive
// outside, in pixels. Distances rather than masks let one description give
// a hard edge for a colour-keyed sprite, a smooth edge on an opaque picture,
// an outline (a thin band of the distance) and the slope a bevel is lit by.
// The bounds only limit which pixels are visited.
class Shape {
public:
    using Distance = std::function<double(double, double)>;

    Shape(Distance distance, double left, double top, double right, double bottom);

    static Shape circle(double cx, double cy, double radius);
    // Edges in picture coordinates: a rectangle 0 0 65 13 covers pixels 0..64.
    static Shape roundedRect(double left, double top, double right, double bottom, double radius);
    static Shape capsule(Point from, Point to, double radius);
    // Any simple polygon, corners in order (either winding).
    static Shape polygon(std::vector<Point> corners);

    Shape united(const Shape& other) const;
    Shape intersected(const Shape& other) const;
    Shape without(const Shape& other) const;
    // Shrinks (positive amount) or grows the region along its normal.
    Shape inset(double amount) const;
    // The band of the given width just inside the edge: an outline that never
    // reaches outside the shape.
    Shape rim(double width) const;
    Shape moved(double dx, double dy) const;

    double distance(double x, double y) const { return distance_(x, y); }
    double left() const { return left_; }
    double top() const { return top_; }
    double right() const { return right_; }
    double bottom() const { return bottom_; }

private:
    Distance distance_;
    double left_;
    double top_;
    double right_;
    double bottom_;
};
