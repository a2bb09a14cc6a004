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

Canvas windowIcon() {
    Canvas canvas(64, 64, Colour::rgb(0, 0, 0, 0));
    const Shape tile = Shape::roundedRect(1, 1, 63, 63, 13);
    canvas.fill(tile, palette::kInk);
    const Shape face = tile.inset(2);
    canvas.fill(face, Bevel(6).ambient(0.5).shine(0.3, 14).paint(face, palette::kField));
    emblem(canvas, 32, 32, 30);
    return canvas;
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
