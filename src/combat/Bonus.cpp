#include "combat/Bonus.h"

#include "graphics/DisplayDevice.h"
#include "resources/LayoutRows.h"
#include "resources/TextFileReader.h"

Bonus::Bonus() : xBound(0.0), yBound(0.0), iDuration(0) {}

void Bonus::load(TextFileReader& reader) {
    rcSrc = readRect(reader);
    rcLittle = readRect(reader);
    xBound = reader.readInt();
    yBound = reader.readInt();
    ptDst.x = reader.readInt();
    ptDst.y = reader.readInt();
    iDuration = reader.readInt();
}

void Bonus::draw(DisplayDevice& display, Surface& sprites) const {
    display.blitFast(truncateToInt(ptDst.x), truncateToInt(ptDst.y), &sprites, rcSrc);
}

void Bonus::drawLittle(DisplayDevice& display, Surface& sprites, const Point& at) const {
    display.blitFast(at.x, at.y, &sprites, rcLittle);
}

bool Bonus::hitTest(const Vector2& p0, const Vector2& p1, double r) const {
    // Growing the box by the radius lets the centre's path stand for the
    // whole disc; the grown box keeps its square corners.
    const double left = ptDst.x - r;
    const double right = ptDst.x + xBound + r;
    const double top = ptDst.y - r;
    const double bottom = ptDst.y + yBound + r;

    // Only a path that crosses a side from outside counts, so a ball served
    // from inside the box never takes it on its way out.
    if (p0.y < top && p1.y > top) {
        const double x = p0.x + (p1.x - p0.x) * (top - p0.y) / (p1.y - p0.y);
        if (left <= x && x <= right) return true;
    }
    if (p0.y > bottom && p1.y < bottom) {
        const double x = p0.x + (p1.x - p0.x) * (p0.y - bottom) / (p0.y - p1.y);
        if (left <= x && x <= right) return true;
    }
    if (p0.x < left && p1.x > left) {
        const double y = p0.y + (p1.y - p0.y) * (left - p0.x) / (p1.x - p0.x);
        if (top <= y && y <= bottom) return true;
    }
    if (p0.x > right && p1.x < right) {
        const double y = p0.y + (p1.y - p0.y) * (p0.x - right) / (p0.x - p1.x);
        if (top <= y && y <= bottom) return true;
    }
    return false;
}
