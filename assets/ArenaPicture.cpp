#include "ArenaPicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Bevel.h"
#include "Palette.h"
#include "Shape.h"

namespace {

struct Rect {
    double left, top, right, bottom;
};

// One corner: the block's outline (its diagonal lies on the wall the ball
// bounces off), the wall's end points, the player whose score sits there,
// and where the score digits and the held-bonus icon are drawn over it.
struct Corner {
    std::vector<Point> block;
    Point wallFrom, wallTo;
    Colour colour;
    Rect scoreSlot, iconSlot;
    Rect markAcross, markAlong;
};

std::vector<Corner> corners() {
    return {
        // Top left, blue.
        {{{0, 0}, {79, 0}, {79, 17}, {17, 79}, {0, 79}},
         {18, 78}, {78, 18}, palette::kBlue,
         {11, 7, 52, 25}, {13, 24, 39, 50},
         {56, 6, 74, 11}, {6, 56, 11, 74}},
        // Top right, red.
        {{{321, 0}, {400, 0}, {400, 79}, {382, 79}, {321, 18}},
         {321, 18}, {381, 78}, palette::kRed,
         {352, 7, 393, 25}, {361, 24, 387, 50},
         {326, 6, 344, 11}, {389, 56, 394, 74}},
        // Bottom left, green.
        {{{0, 321}, {18, 321}, {79, 382}, {79, 400}, {0, 400}},
         {18, 321}, {78, 381}, palette::kGreen,
         {11, 373, 52, 393}, {13, 350, 39, 376},
         {56, 389, 74, 394}, {6, 326, 11, 344}},
        // Bottom right, yellow.
        {{{400, 321}, {400, 400}, {321, 400}, {321, 381}, {381, 321}},
         {321, 381}, {381, 321}, palette::kYellow,
         {352, 373, 393, 393}, {361, 350, 387, 376},
         {326, 389, 344, 394}, {389, 326, 394, 344}},
    };
}

Shape box(const Rect& r, double radius) { return Shape::roundedRect(r.left, r.top, r.right, r.bottom, radius); }

void floor(Canvas& canvas) {
    canvas.fill(Shape::roundedRect(0, 0, 400, 400, 0),
                gradient::radial({200, 200}, 290, palette::kField, palette::kFieldEdge));
    // A faint tiled floor gives the ball's speed something to pass over.
    for (int i = 20; i < 400; i += 20) {
        const Colour line = palette::kWhite.withAlpha(9);
        canvas.fill(Shape::roundedRect(i - 0.5, 0, i + 0.5, 400, 0), line);
        canvas.fill(Shape::roundedRect(0, i - 0.5, 400, i + 0.5, 0), line);
    }
}

// The grooves the paddles slide in, and a thin line in the player's colour
// along the window edge: the side that player guards.
void lanes(Canvas& canvas) {
    const struct {
        Rect groove;
        Rect goal;
        Colour colour;
    } sides[] = {
        {{3, 77, 22, 323}, {0, 79, 2, 321}, palette::kGreen},
        {{77, 378, 323, 397}, {79, 398, 321, 400}, palette::kYellow},
        {{378, 77, 397, 323}, {398, 79, 400, 321}, palette::kRed},
        {{77, 3, 323, 22}, {79, 0, 321, 2}, palette::kBlue},
    };
    for (const auto& side : sides) {
        const Shape groove = box(side.groove, 4);
        canvas.fill(groove, Bevel(3).sunken(true).ambient(0.5).shine(0, 1).paint(groove, palette::kSlot.scaled(1.5)));
        canvas.fill(box(side.goal, 0), side.colour.scaled(0.75));
    }
}

void centre(Canvas& canvas) {
    const Shape halo = Shape::circle(200, 200, 70);
    canvas.fill(halo, gradient::radial({200, 200}, 70, palette::kCentre.withAlpha(60), palette::kCentre.withAlpha(0)));
    // Four arcs in the players' colours, each facing its side.
    const Shape ring = Shape::circle(200, 200, 66).without(Shape::circle(200, 200, 62));
    const struct {
        std::vector<Point> wedge;
        Colour colour;
    } quarters[] = {
        {{{200, 200}, {100, 103}, {100, 297}}, palette::kGreen},
        {{{200, 200}, {103, 300}, {297, 300}}, palette::kYellow},
        {{{200, 200}, {300, 103}, {300, 297}}, palette::kRed},
        {{{200, 200}, {103, 100}, {297, 100}}, palette::kBlue},
    };
    canvas.fill(ring, palette::kInk);
    for (const auto& q : quarters) {
        const Shape arc = ring.inset(0.6).intersected(Shape::polygon(q.wedge));
        canvas.fill(arc, Bevel(2).ambient(0.5).paint(arc, q.colour));
    }
    const Shape disc = Shape::circle(200, 200, 61);
    canvas.fill(disc, gradient::radial({188, 184}, 80, palette::kCentre.scaled(1.03), palette::kCentre.scaled(0.88)));
    // The spot where bonuses appear and balls are served.
    canvas.fill(Shape::circle(200, 202, 19).without(Shape::circle(200, 202, 17.5)), palette::kInk.withAlpha(40));
    canvas.fill(Shape::circle(200, 202, 2.5), palette::kInk.withAlpha(40));
}

void block(Canvas& canvas, const Corner& corner) {
    const Shape body = Shape::polygon(corner.block);
    // A soft shadow on the floor along the wall gives the block its height.
    const Shape shade = body.inset(-7);
    canvas.fill(shade.without(body), [body](double x, double y) {
        const double t = std::clamp(body.distance(x, y) / 7, 0.0, 1.0);
        return Colour::rgb(0, 0, 0, 110 * (1 - t) * (1 - t));
    });
    canvas.fill(body, Bevel(6).ambient(0.5).shine(0.25, 12).paint(body, palette::kBlock));
    // Fine grooves across the plate, parallel to the wall.
    const double dx = corner.wallTo.x - corner.wallFrom.x;
    const double dy = corner.wallTo.y - corner.wallFrom.y;
    const double length = std::hypot(dx, dy);
    const Point unit{dx / length, dy / length};
    const Point normal{-unit.y, unit.x};
    canvas.fill(body.inset(2), [=](double x, double y) {
        const double across = (x - corner.wallFrom.x) * normal.x + (y - corner.wallFrom.y) * normal.y;
        const double phase = std::fabs(std::fmod(std::fabs(across), 5.0) - 2.5);
        return Colour::rgb(0, 0, 0, phase < 0.7 ? 40 : 0);
    });

    // The wall: a steel edge lying exactly along the diagonal, inside the block.
    const Point along{unit.x * 30, unit.y * 30};
    const Shape edgeBand = Shape::capsule({corner.wallFrom.x - along.x, corner.wallFrom.y - along.y},
                                          {corner.wallTo.x + along.x, corner.wallTo.y + along.y}, 4.5);
    const Shape wall = body.intersected(edgeBand);
    canvas.fill(wall, Bevel(3).ambient(0.45).shine(0.9, 12).paint(wall, palette::kSteel));

    // Plain, dark slots where the score and the held bonus are drawn.
    const Shape slot = box(corner.scoreSlot, 4).united(box(corner.iconSlot, 4));
    canvas.fill(slot.inset(-1.2), palette::kSteel.scaled(0.55));
    canvas.fill(slot, Bevel(2.5).sunken(true).ambient(0.6).shine(0, 1).paint(slot, palette::kSlot));

    for (const Rect& r : {corner.markAcross, corner.markAlong}) {
        const Shape mark = box(r, 2.5);
        canvas.fill(mark.inset(-1), palette::kInk);
        canvas.fill(mark, Bevel(2.5).ambient(0.35).shine(0.6, 20).paint(mark, corner.colour));
    }
}

}  // namespace

namespace pictures {

Canvas arena() {
    Canvas canvas(400, 400, palette::kField);
    floor(canvas);
    lanes(canvas);
    centre(canvas);
    for (const Corner& corner : corners()) block(canvas, corner);
    return canvas;
}

}  // namespace pictures
