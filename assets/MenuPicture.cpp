#include "MenuPicture.h"

#include <cmath>
#include <string>

#include "Bevel.h"
#include "GlyphMask.h"
#include "IconPictures.h"
#include "MiscSheet.h"
#include "Palette.h"
#include "Shape.h"
#include "TextPainter.h"

namespace {

const Colour kHeadText = Colour::rgb(176, 190, 214);
const Colour kKeyText = Colour::rgb(226, 230, 238);

enum class Align { Left, Centre };

// Text with a dark outline and a soft drop shadow, its ink placed at x
// (left edge or centre) with its line box's top at y.
void write(Canvas& canvas, TextPainter& font, const std::string& text, int size, double x, double y, Align align,
           const Paint& fill, int outline = 1) {
    const GlyphMask glyphs = font.render(text, size);
    const double inkWidth = glyphs.inkRight() - glyphs.inkLeft();
    const double left = std::round((align == Align::Left ? x : x - inkWidth / 2) - glyphs.inkLeft());
    const double top = std::round(y);
    const GlyphMask edge = glyphs.grown(outline);
    canvas.stamp(edge, left - outline + 1, top - outline + 2, Colour::rgb(0, 0, 0, 110));
    canvas.stamp(edge, left - outline, top - outline, palette::kInk);
    canvas.stamp(glyphs, left, top, fill);
}

void write(Canvas& canvas, TextPainter& font, const std::string& text, int size, double x, double y, Align align,
           const Colour& colour, int outline = 1) {
    write(canvas, font, text, size, x, y, align, [colour](double, double) { return colour; }, outline);
}

void background(Canvas& canvas) {
    canvas.fill(Shape::roundedRect(0, 0, 400, 400, 0),
                gradient::linear({0, 0}, Colour::rgb(40, 50, 70), {0, 400}, Colour::rgb(18, 22, 32)));
    for (int i = 20; i < 400; i += 20) {
        const Colour line = palette::kWhite.withAlpha(7);
        canvas.fill(Shape::roundedRect(i - 0.5, 0, i + 0.5, 400, 0), line);
        canvas.fill(Shape::roundedRect(0, i - 0.5, 400, i + 0.5, 0), line);
    }
}

void title(Canvas& canvas, TextPainter& comic) {
    const Paint gold = gradient::linear({0, 22}, Colour::rgb(255, 236, 150), {0, 70}, Colour::rgb(236, 150, 44));
    write(canvas, comic, "Quadrill", 60, 16, 4, Align::Left, gold, 2);
    // The four players' colours under the name.
    const Colour colours[] = {palette::kYellow, palette::kBlue, palette::kGreen, palette::kRed};
    for (int i = 0; i < 4; ++i) {
        const double left = 22 + i * 58;
        const Shape bar = Shape::roundedRect(left, 84, left + 50, 90, 3);
        canvas.fill(bar.inset(-1), palette::kInk);
        canvas.fill(bar, Bevel(3).ambient(0.35).shine(0.5, 20).paint(bar, colours[i]));
    }
}

void checkBox(Canvas& canvas, double left, double top) {
    // The knob is blitted onto exactly this 14 x 14 square, so the frame
    // lies just outside it and the inside stays a plain dark well.
    const Shape frame = Shape::roundedRect(left - 3, top - 3, left + 17, top + 17, 4);
    canvas.fill(frame.inset(-1), palette::kInk);
    canvas.fill(frame, Bevel(2.5).ambient(0.4).shine(0.6, 16).paint(frame, palette::kSteel.scaled(0.85)));
    const Shape well = Shape::roundedRect(left, top, left + 14, top + 14, 0.6);
    canvas.fill(well, Bevel(3).sunken(true).ambient(0.55).shine(0, 1).paint(well, Colour::rgb(38, 42, 52)));
}

void playerRows(Canvas& canvas, TextPainter& comic) {
    write(canvas, comic, "Color", 17, 20, 110, Align::Left, kHeadText);
    write(canvas, comic, "Controls", 17, 112, 110, Align::Left, kHeadText);
    write(canvas, comic, "Player", 17, 267, 110, Align::Centre, kHeadText);
    write(canvas, comic, "PC", 17, 308, 110, Align::Centre, kHeadText);
    canvas.fill(Shape::roundedRect(14, 134.5, 330, 135.5, 0.5), kHeadText.withAlpha(90));

    const struct {
        const char* name;
        const char* keys;
        Colour colour;
        double top;
    } rows[] = {
        {"Yellow", "<- - ->", palette::kYellow, 141},
        {"Blue", "C - V", palette::kBlue, 165},
        {"Green", "Q - A", palette::kGreen, 189},
        {"Red", "Pg Up - Pg Dn", palette::kRed, 213},
    };
    for (int i = 0; i < 4; ++i) {
        const auto& row = rows[i];
        if (i % 2 == 0) {
            canvas.fill(Shape::roundedRect(12, row.top - 4, 332, row.top + 18, 5), palette::kWhite.withAlpha(12));
        }
        const Shape swatch = Shape::roundedRect(18, row.top + 4, 32, row.top + 10, 3);
        canvas.fill(swatch.inset(-1), palette::kInk);
        canvas.fill(swatch, Bevel(3).ambient(0.35).shine(0.5, 20).paint(swatch, row.colour));
        write(canvas, comic, row.name, 17, 38, row.top - 4, Align::Left, row.colour);
        write(canvas, comic, row.keys, 16, 112, row.top - 3, Align::Left, kKeyText);
        checkBox(canvas, 260, row.top);
        checkBox(canvas, 301, row.top);
    }
}

void scorePanel(Canvas& canvas, TextPainter& narrow) {
    const Shape frame = Shape::roundedRect(135, 236, 285, 322, 9);
    canvas.fill(frame.inset(-1.5), palette::kInk);
    canvas.fill(frame, Bevel(3).ambient(0.4).shine(0.6, 16).paint(frame, palette::kSteel.scaled(0.8)));
    const Shape inside = frame.inset(3.5);
    canvas.fill(inside, Bevel(4).sunken(true).ambient(0.6).shine(0, 1)
                            .paint(inside, Colour::rgb(16, 20, 30)));
    const Paint gold = gradient::linear({0, 240}, Colour::rgb(255, 230, 150), {0, 252}, Colour::rgb(230, 160, 60));
    // In the face the results themselves are written in.
    write(canvas, narrow, "Best results", 15, 210, 237, Align::Centre, gold);
    canvas.fill(Shape::roundedRect(146, 255, 274, 256, 0.5), palette::kPaleText.withAlpha(60));
}

// A big round button rising from the bottom edge: a steel rim, a domed
// face with a glossy top and its word on the part that shows.
void roundButton(Canvas& canvas, TextPainter& comic, double cx, double cy, double radius, Colour face,
                 const std::string& word) {
    canvas.fill(Shape::circle(cx, cy + 2, radius + 4), Colour::rgb(0, 0, 0, 90));
    const Shape rim = Shape::circle(cx, cy, radius);
    canvas.fill(rim.inset(-1.5), palette::kInk);
    canvas.fill(rim, Bevel(5).ambient(0.4).shine(0.7, 18).paint(rim, palette::kSteel));
    const Shape body = Shape::circle(cx, cy, radius - 6);
    canvas.fill(body.inset(-1), palette::kInk.withAlpha(200));
    canvas.fill(body, Bevel(16).height(0.6).ambient(0.45).shine(0.5, 14).paint(body, face));
    // Gloss: a pale lens across the top of the dome.
    const Shape gloss = body.inset(5).intersected(Shape::circle(cx, cy + radius * 0.55, radius * 1.2).inset(0));
    canvas.fill(gloss.without(Shape::circle(cx, cy + radius * 0.42, radius * 1.16)),
                gradient::linear({cx, cy - radius}, palette::kWhite.withAlpha(110), {cx, cy - radius + 30},
                                 palette::kWhite.withAlpha(0)));
    write(canvas, comic, word, 30, cx, cy - radius + 20, Align::Centre, palette::kWhite, 2);
}

void logo(Canvas& canvas) {
    const double cx = 341, cy = 50, radius = 65;
    canvas.fill(Shape::circle(cx, cy + 2, radius + 4), Colour::rgb(0, 0, 0, 90));
    const Shape rim = Shape::circle(cx, cy, radius);
    canvas.fill(rim.inset(-1.5), palette::kInk);
    canvas.fill(rim, Bevel(5).ambient(0.4).shine(0.7, 18).paint(rim, palette::kSteel));
    const Shape face = Shape::circle(cx, cy, radius - 6);
    canvas.fill(face.inset(-1), palette::kInk);
    canvas.fill(face, Bevel(10).height(0.5).ambient(0.55).shine(0.3, 14).paint(face, palette::kField));
    // Sits low and left in the disc, the part the window does not cut off.
    pictures::emblem(canvas, cx - 4, cy + 6, 50);
}

}  // namespace

namespace pictures {

Canvas menu(TextPainter& comic, TextPainter& narrow) {
    Canvas canvas(400, 400, palette::kField);
    background(canvas);
    logo(canvas);
    title(canvas, comic);
    playerRows(canvas, comic);
    scorePanel(canvas, narrow);
    roundButton(canvas, comic, 99, 406, 85, Colour::rgb(196, 58, 62), "Exit");
    roundButton(canvas, comic, 300, 406, 85, Colour::rgb(56, 160, 88), "Start");
    return canvas;
}

}  // namespace pictures
