#include "IconPictures.h"

#include "Bevel.h"
#include "MiscSheet.h"
#include "Palette.h"
#include "Shape.h"

namespace pictures {

void emblem(Canvas& canvas, double cx, double cy, double radius) {
    const double reach = radius * 0.62;     // from the centre to each paddle
    const double half = radius * 0.33;      // half a paddle's length
    const double thick = radius * 0.155;    // half a paddle's thickness
    const struct {
        double dx, dy;
        Colour colour;
    } paddles[] = {
        {0, -1, palette::kBlue}, {1, 0, palette::kRed}, {0, 1, palette::kYellow}, {-1, 0, palette::kGreen}};
    for (const auto& p : paddles) {
        const double px = cx + p.dx * reach;
        const double py = cy + p.dy * reach;
        const Shape bar = p.dx == 0 ? Shape::roundedRect(px - half, py - thick, px + half, py + thick, thick)
                                    : Shape::roundedRect(px - thick, py - half, px + thick, py + half, thick);
        canvas.fill(bar.inset(-radius * 0.03 - 0.5), palette::kInk);
        canvas.fill(bar, Bevel(thick).ambient(0.35).shine(0.6, 20).paint(bar, p.colour));
    }
    // The corner walls, short steel strokes across the diagonals.
    for (int sx = -1; sx <= 1; sx += 2) {
        for (int sy = -1; sy <= 1; sy += 2) {
            const double d = radius * 0.60;
            const Shape wall = Shape::capsule({cx + sx * d, cy + sy * d * 0.45}, {cx + sx * d * 0.45, cy + sy * d},
                                              radius * 0.045 + 0.3);
            canvas.fill(wall, palette::kSteel.scaled(0.8));
        }
    }
    ball(canvas, cx + radius * 0.08, cy - radius * 0.05, radius * 0.2 + 0.6);
}

namespace {

// Shaded and smooth, for 64 pixels and up: the 64-pixel drawing's
// measures grown with the size.
Canvas smoothIcon(int size) {
    const double unit = size / 64.0;
    Canvas canvas(size, size, Colour::rgb(0, 0, 0, 0));
    const Shape tile = Shape::roundedRect(unit, unit, size - unit, size - unit, 13 * unit);
    canvas.fill(tile, palette::kInk);
    const Shape face = tile.inset(2 * unit);
    canvas.fill(face, Bevel(6 * unit).ambient(0.5).shine(0.3, 14).paint(face, palette::kField));
    emblem(canvas, size / 2.0, size / 2.0, 30 * unit);
    return canvas;
}

// Whole-pixel measures of a small icon. Paddles, ball and tile are centred,
// so every length has the size's parity.
struct SmallIconLayout {
    int size;
    int corner;     // the tile's corner radius
    int gap;        // from the tile's edge to a paddle's outer side
    int thick;      // a paddle's thickness
    int length;     // a paddle's length
    int ballSide;   // the ball's width
    int wall;       // the corner walls' width; none on the smallest sizes
};

constexpr SmallIconLayout kSmallIcons[] = {
    {16, 3, 2, 2, 6, 4, 0},
    {24, 4, 3, 3, 8, 6, 0},
    {32, 6, 4, 4, 10, 8, 1},
    {48, 9, 6, 6, 16, 12, 2},
};

Shape box(int left, int top, int right, int bottom) { return Shape::roundedRect(left, top, right, bottom, 0); }

// A wall across one corner, staircases of whole pixels side by side, each
// next one a pixel nearer the middle.
void cornerWall(Canvas& canvas, int x, int y, int dx, int dy, int steps, int width) {
    for (int line = 0; line < width; ++line) {
        for (int i = 0; i < steps; ++i) canvas.set(x + (i + line) * dx, y + i * dy, palette::kSteel.scaled(0.9));
    }
}

Canvas pixelIcon(const SmallIconLayout& layout) {
    const int size = layout.size;
    Canvas canvas(size, size, Colour::rgb(0, 0, 0, 0));
    const Shape tile = Shape::roundedRect(0, 0, size, size, layout.corner);
    canvas.fill(tile, palette::kInk);
    canvas.fill(tile.inset(1), palette::kField);

    const int near = layout.gap;                 // outer side of the top and left paddles
    const int far = size - layout.gap;           // outer side of the bottom and right paddles
    const int from = (size - layout.length) / 2;  // where each paddle starts along its side
    const int to = from + layout.length;
    // The walls run from one paddle's end to the next, under the paddles.
    const int steps = from - near;
    cornerWall(canvas, near + 1, from - 1, 1, -1, steps, layout.wall);
    cornerWall(canvas, far - 2, from - 1, -1, -1, steps, layout.wall);
    cornerWall(canvas, near + 1, to, 1, 1, steps, layout.wall);
    cornerWall(canvas, far - 2, to, -1, 1, steps, layout.wall);
    // Outlines and lit edges only where there is room for them.
    const bool outlined = layout.wall > 0;
    const struct {
        int left, top, right, bottom;
        Colour colour;
    } paddles[] = {
        {from, near, to, near + layout.thick, palette::kBlue},
        {far - layout.thick, from, far, to, palette::kRed},
        {from, far - layout.thick, to, far, palette::kYellow},
        {near, from, near + layout.thick, to, palette::kGreen},
    };
    for (const auto& p : paddles) {
        if (outlined) {
            canvas.fill(box(p.left - 1, p.top - 1, p.right + 1, p.bottom + 1), palette::kInk);
            canvas.fill(box(p.left, p.top, p.right, p.bottom), p.colour.scaled(0.85));
            canvas.fill(box(p.left, p.top, p.right, p.top + 1), p.colour.mixed(palette::kWhite, 0.45));
        } else {
            canvas.fill(box(p.left, p.top, p.right, p.bottom), p.colour);
        }
    }

    const int ballFrom = (size - layout.ballSide) / 2;
    const int ballTo = ballFrom + layout.ballSide;
    const Colour silver = Colour::rgb(222, 226, 236);
    if (outlined) {
        canvas.fill(Shape::circle(size / 2.0, size / 2.0, layout.ballSide / 2.0 + 1), palette::kInk);
        canvas.fill(Shape::circle(size / 2.0, size / 2.0, layout.ballSide / 2.0), silver);
        canvas.set(ballFrom + layout.ballSide / 4, ballFrom + layout.ballSide / 4, palette::kWhite);
    } else {
        // A square with its corners cut reads as round at this size.
        canvas.fill(box(ballFrom + 1, ballFrom, ballTo - 1, ballTo), silver);
        canvas.fill(box(ballFrom, ballFrom + 1, ballTo, ballTo - 1), silver);
    }
    return canvas;
}

}  // namespace

Canvas icon(int size) {
    for (const SmallIconLayout& layout : kSmallIcons) {
        if (layout.size == size) return pixelIcon(layout);
    }
    return smoothIcon(size);
}

Canvas cursor() {
    Canvas canvas(32, 32, Colour::rgb(0, 0, 0, 0));
    // Drawn one pixel in, so that grown by its outline the tip covers (0, 0).
    const Shape arrow = Shape::polygon({{1, 1}, {1, 21}, {6, 16.6}, {9.6, 25}, {13, 23.6}, {9.4, 15.4},
                                        {15.8, 15.4}});
    canvas.fill(arrow.inset(-1.5).moved(1.2, 1.2), Colour::rgb(0, 0, 0, 90));
    canvas.fill(arrow.inset(-1.5), palette::kInk);
    const Shape inner = arrow.inset(0.4);
    canvas.fill(inner, gradient::linear({2, 2}, Colour::rgb(255, 255, 250), {10, 24}, Colour::rgb(255, 214, 110)));
    return canvas;
}

}  // namespace pictures
