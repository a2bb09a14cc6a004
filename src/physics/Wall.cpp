#include "physics/Wall.h"

#include "resources/TextFileReader.h"

namespace {
Vector2 readPoint(TextFileReader& reader) {
    Vector2 point;
    point.x = reader.readInt();
    point.y = reader.readInt();
    return point;
}
}  // namespace

void loadWalls(TextFileReader& reader, Wall (&walls)[4]) {
    for (Wall& wall : walls) {
        wall.vecBound[0] = readPoint(reader);
        wall.vecBound[1] = readPoint(reader);
    }
    for (Wall& wall : walls) {
        for (Vector2& normal : wall.normals) normal = readPoint(reader);
    }
}

double cornerSelection(const Wall (&walls)[4]) {
    const double left = walls[kWallBottomLeft].bound(0).x;
    return left + (walls[kWallBottomRight].bound(1).x - left) / 2;
}

WallEndLimits wallEndLimits(const Wall (&walls)[4]) {
    WallEndLimits limits;
    limits.left = walls[kWallBottomLeft].bound(0).x;
    limits.bottom = walls[kWallBottomLeft].bound(1).y;
    limits.right = walls[kWallBottomRight].bound(1).x;
    limits.top = walls[kWallTopRight].bound(0).y;
    return limits;
}
