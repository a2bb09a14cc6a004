#include "FontSheet.h"

#include "Palette.h"

namespace {

// Pixel digits 7 wide and 11 high with two-pixel strokes: at this size a
// drawn face reads better than any outline font squeezed into the cell.
const char* const kDigits[10][11] = {
    {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##",
     ".#####."},
    {"...##..", "..###..", ".####..", "...##..", "...##..", "...##..", "...##..", "...##..", "...##..", "...##..",
     ".######"},
    {".#####.", "##...##", ".....##", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "##.....",
     "#######"},
    {".#####.", "##...##", ".....##", ".....##", ".....##", "..####.", ".....##", ".....##", ".....##", "##...##",
     ".#####."},
    {"....##.", "...###.", "..####.", ".##.##.", "##..##.", "##..##.", "#######", "....##.", "....##.", "....##.",
     "....##."},
    {"#######", "##.....", "##.....", "##.....", "######.", ".....##", ".....##", ".....##", ".....##", "##...##",
     ".#####."},
    {"..####.", ".##....", "##.....", "##.....", "######.", "##...##", "##...##", "##...##", "##...##", "##...##",
     ".#####."},
    {"#######", ".....##", ".....##", "....##.", "....##.", "...##..", "...##..", "..##...", "..##...", "..##...",
     "..##..."},
    {".#####.", "##...##", "##...##", "##...##", ".#####.", "##...##", "##...##", "##...##", "##...##", "##...##",
     ".#####."},
    {".#####.", "##...##", "##...##", "##...##", "##...##", ".######", ".....##", ".....##", ".....##", "....##.",
     ".####.."},
};

// Glyphs start one column into the cell: with the shadow they take columns
// 1 to 8, so the cell's outer columns stay clear and neighbours never touch.
const int kLeft = 1;
const int kTop = 1;

bool on(int digit, int x, int y) {
    if (x < 0 || y < 0 || x >= 7 || y >= 11) return false;
    return kDigits[digit][y][x] == '#';
}

void digit(Canvas& canvas, int digitValue, int cellX, int cellY, const Colour& colour) {
    for (int y = 0; y <= 11; ++y) {
        for (int x = 0; x <= 7; ++x) {
            const int px = cellX + kLeft + x;
            const int py = cellY + kTop + y;
            if (on(digitValue, x, y)) {
                canvas.set(px, py, colour);
            } else if (on(digitValue, x - 1, y - 1) || on(digitValue, x, y - 1)) {
                // A dark shadow under and right of each stroke lifts the
                // digits off the corner plates.
                canvas.set(px, py, colour.scaled(0.42));
            }
        }
    }
}

void minus(Canvas& canvas, int cellX, int cellY, const Colour& colour) {
    for (int x = 0; x < 7; ++x) {
        canvas.set(cellX + kLeft + x, cellY + 6, colour);
        canvas.set(cellX + kLeft + x, cellY + 7, colour.scaled(0.42));
    }
}

}  // namespace

namespace pictures {

Canvas fontSheet() {
    Canvas sheet = Canvas::keyed(110, 56);
    const Colour rows[4] = {palette::kYellow, palette::kRed, palette::kBlue, palette::kGreen};
    for (int row = 0; row < 4; ++row) {
        const int y = row * 14;
        minus(sheet, 0, y, rows[row]);
        for (int value = 0; value <= 9; ++value) digit(sheet, value, 10 * (value + 1), y, rows[row]);
    }
    return sheet;
}

}  // namespace pictures
