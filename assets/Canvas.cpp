#include "Canvas.h"

#include <algorithm>
#include <cmath>

#include "GlyphMask.h"
#include "Shape.h"

namespace {
const Colour kKey = Colour::rgb(0, 255, 0);

unsigned char toByte(double value) { return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0, 255.0))); }
}  // namespace

Canvas::Canvas(int width, int height, Colour background)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), keyed_(false),
      pixels_(static_cast<std::size_t>(width_) * height_, background) {}

Canvas Canvas::keyed(int width, int height) {
    Canvas canvas(width, height, kKey);
    canvas.keyed_ = true;
    return canvas;
}

Colour Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Colour::rgb(0, 0, 0, 0);
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

bool Canvas::showsKey(int x, int y) const { return keyed_ && at(x, y) == kKey; }

void Canvas::fill(const Shape& shape, const Paint& paint) {
    const int x0 = std::max(0, static_cast<int>(std::floor(shape.left())) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(shape.top())) - 1);
    const int x1 = std::min(width_, static_cast<int>(std::ceil(shape.right())) + 1);
    const int y1 = std::min(height_, static_cast<int>(std::ceil(shape.bottom())) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            // Half a pixel either side of the edge is the smooth ramp.
            const double coverage = std::clamp(0.5 - shape.distance(cx, cy), 0.0, 1.0);
            if (coverage > 0) blend(x, y, paint(cx, cy), coverage);
        }
    }
}

void Canvas::fill(const Shape& shape, const Colour& colour) {
    fill(shape, [colour](double, double) { return colour; });
}

void Canvas::stamp(const GlyphMask& mask, double x, double y, const Paint& paint) {
    const int left = static_cast<int>(std::lround(x));
    const int top = static_cast<int>(std::lround(y));
    for (int my = 0; my < mask.height(); ++my) {
        for (int mx = 0; mx < mask.width(); ++mx) {
            const double coverage = mask.at(mx, my);
            if (coverage > 0) blend(left + mx, top + my, paint(left + mx + 0.5, top + my + 0.5), coverage);
        }
    }
}

void Canvas::stamp(const GlyphMask& mask, double x, double y, const Colour& colour) {
    stamp(mask, x, y, [colour](double, double) { return colour; });
}

void Canvas::blend(int x, int y, const Colour& colour, double coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Colour& dst = pixels_[static_cast<std::size_t>(y) * width_ + x];
    double srcA = std::clamp(colour.a / 255.0 * coverage, 0.0, 1.0);
    if (keyed_ && dst == kKey) {
        if (srcA < 0.5) return;
        dst = colour.withAlpha(255);
        return;
    }
    const double dstA = dst.a / 255.0;
    const double outA = srcA + dstA * (1 - srcA);
    if (outA <= 0) return;
    const double keep = dstA * (1 - srcA);
    dst.r = (colour.r * srcA + dst.r * keep) / outA;
    dst.g = (colour.g * srcA + dst.g * keep) / outA;
    dst.b = (colour.b * srcA + dst.b * keep) / outA;
    dst.a = outA * 255;
}

void Canvas::set(int x, int y, const Colour& colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

std::vector<unsigned char> Canvas::rgba() const {
    std::vector<unsigned char> bytes;
    bytes.reserve(pixels_.size() * 4);
    for (const Colour& c : pixels_) {
        bytes.push_back(toByte(c.r));
        bytes.push_back(toByte(c.g));
        bytes.push_back(toByte(c.b));
        bytes.push_back(toByte(c.a));
    }
    return bytes;
}
