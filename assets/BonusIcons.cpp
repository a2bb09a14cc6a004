#include "BonusIcons.h"

#include <cmath>

#include "Bevel.h"
#include "GlyphMask.h"
#include "MiscSheet.h"
#include "Palette.h"
#include "Shape.h"
#include "TextPainter.h"

namespace {
// Signs are laid out on a 26-pixel tile and scaled to the tile's size.
struct Grid {
    double left, top, scale;
    Point at(double x, double y) const { return Point{left + x * scale, top + y * scale}; }
    double len(double v) const { return v * scale; }
};

Shape triangle(const Grid& g, Point a, Point b, Point c) {
    return Shape::polygon({g.at(a.x, a.y), g.at(b.x, b.y), g.at(c.x, c.y)});
}

const Colour kSignInk = Colour::rgb(62, 38, 12);
}  // namespace

BonusIcons::BonusIcons(TextPainter& comic, TextPainter& narrow) : comic_(comic), narrow_(narrow) {}

void BonusIcons::tile(Canvas& canvas, double left, double top, double size, Colour colour) {
    const double corner = size * 0.22;
    const Shape outer = Shape::roundedRect(left, top, left + size, top + size, corner);
    canvas.fill(outer, colour.scaled(0.38));
    const Shape face = Shape::roundedRect(left + 1, top + 1, left + size - 1, top + size - 1, corner - 1);
    canvas.fill(face, Bevel(size * 0.16).ambient(0.35).shine(0.55, 20).paint(face, colour));
}

void BonusIcons::label(Canvas& canvas, TextPainter& font, double left, double top, double size,
                       const std::string& text, int points, Colour fill, Colour edge) {
    const GlyphMask glyphs = font.render(text, points);
    const GlyphMask outline = glyphs.grown(1);
    // Centre what is inked, not the font's line box.
    const double x = left + (size - (glyphs.inkRight() - glyphs.inkLeft())) / 2 - glyphs.inkLeft();
    const double y = top + (size - (glyphs.inkBottom() - glyphs.inkTop())) / 2 - glyphs.inkTop();
    canvas.stamp(outline, std::round(x) - 1, std::round(y) - 1 + 1, edge.withAlpha(150));
    canvas.stamp(outline, std::round(x) - 1, std::round(y) - 1, edge);
    canvas.stamp(glyphs, std::round(x), std::round(y), fill);
}

void BonusIcons::extraBall(Canvas& canvas, double left, double top, double size) {
    tile(canvas, left, top, size, Colour::rgb(214, 58, 58));
    const Grid g{left, top, size / 26};
    canvas.fill(Shape::circle(g.at(13.6, 14).x, g.at(13.6, 14).y, g.len(7.6)), Colour::rgb(90, 20, 20).withAlpha(110));
    pictures::ball(canvas, g.at(13, 13).x, g.at(13, 13).y, g.len(7.2));
}

void BonusIcons::fastPaddle(Canvas& canvas, double left, double top, double size) {
    tile(canvas, left, top, size, Colour::rgb(240, 206, 52));
    const Grid g{left, top, size / 26};
    // A double-headed arrow: the paddle darts both ways.
    const Shape arrow = Shape::capsule(g.at(9, 13), g.at(17, 13), g.len(1.7))
                            .united(triangle(g, {3.5, 13}, {10.5, 6.5}, {10.5, 19.5}))
                            .united(triangle(g, {22.5, 13}, {15.5, 6.5}, {15.5, 19.5}));
    canvas.fill(arrow.moved(0, g.len(1)), Colour::rgb(255, 246, 200).withAlpha(170));
    canvas.fill(arrow, kSignInk);
}

void BonusIcons::slowPaddle(Canvas& canvas, double left, double top, double size) {
    tile(canvas, left, top, size, Colour::rgb(236, 128, 40));
    const Grid g{left, top, size / 26};
    const Shape glass = triangle(g, {8, 6.5}, {18, 6.5}, {13, 13}).united(triangle(g, {8, 19.5}, {18, 19.5}, {13, 13}));
    canvas.fill(glass.inset(-g.len(1.1)), kSignInk);
    canvas.fill(glass, Colour::rgb(255, 236, 200));
    // Most of the sand has run down already: slow.
    const Shape sandTop = triangle(g, {10.6, 10}, {15.4, 10}, {13, 13});
    const Shape sandBottom = triangle(g, {8, 19.5}, {18, 19.5}, {13, 14.5});
    canvas.fill(sandTop.united(sandBottom), Colour::rgb(196, 120, 36));
    const Shape caps = Shape::roundedRect(g.at(6, 4).x, g.at(6, 4).y, g.at(20, 6.3).x, g.at(20, 6.3).y, g.len(0.8))
                           .united(Shape::roundedRect(g.at(6, 19.7).x, g.at(6, 19.7).y, g.at(20, 22).x,
                                                      g.at(20, 22).y, g.len(0.8)));
    canvas.fill(caps, kSignInk);
}

void BonusIcons::doublePoints(Canvas& canvas, double left, double top, double size) {
    tile(canvas, left, top, size, Colour::rgb(252, 186, 104));
    label(canvas, comic_, left, top, size, "x2", static_cast<int>(std::lround(size * 0.62)), Colour::rgb(150, 40, 16),
          Colour::rgb(255, 240, 214));
}

void BonusIcons::plusFifty(Canvas& canvas, double left, double top, double size) {
    tile(canvas, left, top, size, Colour::rgb(72, 168, 86));
    // Three characters fit the tile only in the narrow face.
    label(canvas, narrow_, left, top, size, "+50", static_cast<int>(std::lround(size * 0.62)), palette::kWhite,
          Colour::rgb(20, 64, 28));
}

void BonusIcons::minusTwenty(Canvas& canvas, double left, double top, double size) {
    tile(canvas, left, top, size, Colour::rgb(70, 118, 206));
    label(canvas, narrow_, left, top, size, "-20", static_cast<int>(std::lround(size * 0.62)), palette::kWhite,
          Colour::rgb(18, 34, 80));
}

void BonusIcons::cross(Canvas& canvas, double left, double top, double size) {
    tile(canvas, left, top, size, Colour::rgb(58, 58, 68));
    const Grid g{left, top, size / 26};
    const Shape x = Shape::capsule(g.at(8, 8), g.at(18, 18), g.len(2.2))
                        .united(Shape::capsule(g.at(18, 8), g.at(8, 18), g.len(2.2)));
    canvas.fill(x.inset(-1), Colour::rgb(20, 10, 12));
    canvas.fill(x, Bevel(g.len(2)).ambient(0.4).shine(0.6, 16).paint(x, Colour::rgb(226, 44, 44)));
}
