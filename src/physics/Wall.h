#pragma once
#include "physics/Vector2.h"

class TextFileReader;

// One of the four 45-degree walls across the arena's corners. The walls
// are part of the arena picture; this is only what a ball bounces off.
class Wall {
public:
    // The first end point has the smaller x.
    const Vector2& bound(int end) const { return vecBound[end & 1]; }
    // normal(0) is across the diagonal, pointing into the arena and sqrt(2)
    // long; normal(1) and normal(2) belong to the faces at the wall's ends.
    const Vector2& normal(int which) const { return normals[which >= 0 && which < 3 ? which : 0]; }

    friend void loadWalls(TextFileReader& reader, Wall (&walls)[4]);

private:
    Vector2 vecBound[2];
    Vector2 normals[3];
};

// Wall indices, in the order of the layout rows.
constexpr int kWallBottomLeft = 0;
constexpr int kWallBottomRight = 1;
constexpr int kWallTopRight = 2;
constexpr int kWallTopLeft = 3;

// Reads the two wall blocks of txtGame: the end points of all four walls,
// then their normals.
void loadWalls(TextFileReader& reader, Wall (&walls)[4]);

// The line, on both axes, that splits the arena into the quarters whose
// corner wall a ball is tested against: halfway between the outer ends of
// the bottom walls (199.5 with our layout, not 200).
double cornerSelection(const Wall (&walls)[4]);

// Where the corner blocks end beyond the paddles' faces; always taken from
// the same walls, whichever wall a ball is touching.
struct WallEndLimits {
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
    double top = 0.0;
};
WallEndLimits wallEndLimits(const Wall (&walls)[4]);
