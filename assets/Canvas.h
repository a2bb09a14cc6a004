#pragma once
#include <functional>
#include <vector>

#include "Colour.h"

class GlyphMask;
class Shape;

// Colour of a fill at a point in picture coordinates.
using Paint = std::function<Colour(double, double)>;

// A picture being drawn. Fills are smooth-edged, except on a canvas with a
// colour key: there a pixel that still shows the key is either covered
// completely or left alone, because a half-covered key pixel would turn
// into a visible green fringe once the game keys the sprite out.
class Canvas {
public:
    Canvas(int width, int height, Colour background);
    // A canvas filled with pure green that keeps its edges hard against it.
    static Canvas keyed(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Transparent black outside the picture.
    Colour at(int x, int y) const;
    bool showsKey(int x, int y) const;

    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, const Colour& colour);
    // Lays rendered text or any coverage mask with its top-left at (x, y).
    void stamp(const GlyphMask& mask, double x, double y, const Paint& paint);
    void stamp(const GlyphMask& mask, double x, double y, const Colour& colour);
    // Covers one pixel by a fraction of the paint, over what is there.
    void blend(int x, int y, const Colour& colour, double coverage);
    void set(int x, int y, const Colour& colour);

    // Channels rounded and clamped to bytes, row by row from the top.
    std::vector<unsigned char> rgba() const;

private:
    int width_;
    int height_;
    bool keyed_;
    std::vector<Colour> pixels_;
};
