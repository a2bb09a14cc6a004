#pragma once
#include <vector>

// Coverage from 0 to 1 per pixel: rendered text, ready to be laid onto a
// canvas in any paint. Knows where its ink is, so text can be centred by
// what is seen rather than by the font's line box.
class GlyphMask {
public:
    GlyphMask();
    GlyphMask(int width, int height, std::vector<double> coverage);

    int width() const { return width_; }
    int height() const { return height_; }
    double at(int x, int y) const;

    // Ink bounds, right and bottom exclusive; all 0 for an empty mask.
    int inkLeft() const { return inkLeft_; }
    int inkTop() const { return inkTop_; }
    int inkRight() const { return inkRight_; }
    int inkBottom() const { return inkBottom_; }

    // Grown by a round brush of the given radius, one pixel margin per unit:
    // the outline behind a word. The ink moves by the margin.
    GlyphMask grown(int radius) const;

private:
    void findInk();

    int width_;
    int height_;
    std::vector<double> coverage_;
    int inkLeft_ = 0;
    int inkTop_ = 0;
    int inkRight_ = 0;
    int inkBottom_ = 0;
};
