#pragma once

// A colour with straight (not premultiplied) alpha, every channel 0 to 255.
// Kept in doubles so that shading and blending do not band before the
// final rounding to bytes.
struct Colour {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 255;

    static Colour rgb(double red, double green, double blue, double alpha = 255) {
        return Colour{red, green, blue, alpha};
    }
    // Brighter (factor > 1) or darker (factor < 1); alpha is kept.
    Colour scaled(double factor) const { return Colour{r * factor, g * factor, b * factor, a}; }
    // The straight mix towards other: 0 gives this colour, 1 gives other.
    Colour mixed(const Colour& other, double t) const {
        return Colour{r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t, a + (other.a - a) * t};
    }
    Colour withAlpha(double alpha) const { return Colour{r, g, b, alpha}; }
    bool operator==(const Colour& other) const {
        return r == other.r && g == other.g && b == other.b && a == other.a;
    }
};
