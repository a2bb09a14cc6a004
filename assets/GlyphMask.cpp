#include "GlyphMask.h"

#include <algorithm>
#include <cmath>
#include <utility>

GlyphMask::GlyphMask() : width_(0), height_(0) {}

GlyphMask::GlyphMask(int width, int height, std::vector<double> coverage)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), coverage_(std::move(coverage)) {
    coverage_.resize(static_cast<std::size_t>(width_) * height_, 0.0);
    findInk();
}

double GlyphMask::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return coverage_[static_cast<std::size_t>(y) * width_ + x];
}

void GlyphMask::findInk() {
    int left = width_, top = height_, right = 0, bottom = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (at(x, y) <= 0.05) continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + 1);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (right == 0) left = top = 0;
    inkLeft_ = left;
    inkTop_ = top;
    inkRight_ = right;
    inkBottom_ = bottom;
}

GlyphMask GlyphMask::grown(int radius) const {
    radius = std::max(radius, 0);
    const int w = width_ + 2 * radius;
    const int h = height_ + 2 * radius;
    std::vector<double> out(static_cast<std::size_t>(w) * h, 0.0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double best = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    // The brush's own edge is soft so the outline stays smooth.
                    const double reach = std::clamp(radius + 0.5 - std::hypot(dx, dy), 0.0, 1.0);
                    if (reach > 0) best = std::max(best, reach * at(x - radius + dx, y - radius + dy));
                }
            }
            out[static_cast<std::size_t>(y) * w + x] = best;
        }
    }
    return GlyphMask(w, h, std::move(out));
}
