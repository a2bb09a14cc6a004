#include "MiscSheet.h"

#include <algorithm>

#include "Bevel.h"
#include "BonusIcons.h"
#include "Palette.h"
#include "Shape.h"

namespace pictures {

void paddle(Canvas& canvas, double left, double top, double right, double bottom, Colour base) {
    const bool across = right - left >= bottom - top;
    const double thickness = across ? bottom - top : right - left;
    // The dark holder fills the whole sprite, corners included, in nearly
    // the tone of the arena's lanes, so the bright bar inside reads as a
    // pill with rounded ends while it slides along its lane.
    const Shape holder = Shape::roundedRect(left, top, right, bottom, 1.6);
    canvas.fill(holder, palette::kSlot.scaled(1.5).mixed(base, 0.1));
    const Shape bar = Shape::roundedRect(left + 1, top + 1, right - 1, bottom - 1, (thickness - 2) / 2);
    canvas.fill(bar, Bevel(thickness / 2 - 1).ambient(0.3).shine(0.6, 24).paint(bar, base));
    // Darker caps at both ends, like the bumpers of a bat.
    const double cap = 6;
    for (int end = 0; end < 2; ++end) {
        const Shape band = across ? (end == 0 ? Shape::roundedRect(left, top, left + 1 + cap, bottom, 0)
                                              : Shape::roundedRect(right - 1 - cap, top, right, bottom, 0))
                                  : (end == 0 ? Shape::roundedRect(left, top, right, top + 1 + cap, 0)
                                              : Shape::roundedRect(left, bottom - 1 - cap, right, bottom, 0));
        const Shape capShape = bar.intersected(band);
        canvas.fill(capShape, Bevel(thickness / 2 - 1).ambient(0.3).shine(0.5, 24).paint(bar, base.scaled(0.72)));
    }
    // A fine highlight along the lit side of the bar.
    const Shape gleam = across ? Shape::capsule({left + 5, top + 3.2}, {right - 5, top + 3.2}, 0.6)
                               : Shape::capsule({left + 3.2, top + 5}, {left + 3.2, bottom - 5}, 0.6);
    canvas.fill(gleam, palette::kWhite.withAlpha(120));
}

void ball(Canvas& canvas, double cx, double cy, double radius) {
    const Shape disc = Shape::circle(cx, cy, radius);
    canvas.fill(disc, palette::kInk);
    const Shape body = Shape::circle(cx, cy, radius - 1);
    canvas.fill(body, Bevel(radius - 1).ambient(0.45).shine(0.9, 18).paint(body, Colour::rgb(222, 226, 236)));
}

namespace {

void tickKnob(Canvas& canvas) {
    const double cx = 58, cy = 35;
    canvas.fill(Shape::circle(cx, cy, 6), Colour::rgb(40, 42, 48));
    const Shape body = Shape::circle(cx, cy, 5);
    canvas.fill(body, Bevel(5).ambient(0.4).shine(0.7, 20).paint(body, Colour::rgb(172, 176, 186)));
}

}  // namespace

Canvas miscSheet(TextPainter& comic, TextPainter& narrow) {
    Canvas sheet = Canvas::keyed(65, 204);
    paddle(sheet, 0, 0, 65, 13, palette::kYellow);
    paddle(sheet, 0, 14, 65, 27, palette::kBlue);
    paddle(sheet, 0, 28, 13, 93, palette::kRed);
    paddle(sheet, 14, 28, 27, 93, palette::kGreen);
    ball(sheet, 58, 50, 7);
    tickKnob(sheet);

    BonusIcons icons(comic, narrow);
    icons.extraBall(sheet, 0, 97, 26);
    icons.fastPaddle(sheet, 27, 97, 26);
    icons.slowPaddle(sheet, 27, 124, 26);
    icons.doublePoints(sheet, 27, 151, 26);
    icons.fastPaddle(sheet, 28, 28, 22);
    icons.slowPaddle(sheet, 28, 51, 22);
    icons.doublePoints(sheet, 28, 74, 22);
    icons.plusFifty(sheet, 0, 124, 26);
    icons.minusTwenty(sheet, 0, 151, 26);
    icons.cross(sheet, 0, 178, 26);
    return sheet;
}

}  // namespace pictures
