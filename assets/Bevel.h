#pragma once
#include "Canvas.h"
#include "Shape.h"

// Lights a shape as if it were a raised, rounded slab: flat in the middle,
// curving down to its edge over the bevel width, lit from the top left.
// A bevel as wide as a circle's radius turns the circle into a ball.
class Bevel {
public:
    explicit Bevel(double width);

    Bevel& ambient(double value);
    Bevel& shine(double strength, double sharpness);
    // Below 1 the slope is gentler, a cushion rather than a half-round.
    Bevel& height(double value);
    // Sunken instead of raised: a dent or a slot.
    Bevel& sunken(bool value);

    // The paint of a shape in base colour; the flat middle keeps the base.
    Paint paint(const Shape& shape, Colour base) const;

private:
    double width_;
    double ambient_;
    double shineStrength_;
    double shineSharpness_;
    double height_;
    bool sunken_;
};

namespace gradient {
// From c0 at p0 to c1 at p1, constant across.
Paint linear(Point p0, Colour c0, Point p1, Colour c1);
// From inner at the centre to outer at radius and beyond.
Paint radial(Point centre, double radius, Colour inner, Colour outer);
}  // namespace gradient
