#pragma once
#include <cstdint>
#include <string>

#include "graphics/Rect.h"
#include "platform/Status.h"

class DigitFont;
class DisplayDevice;
class Font;
class TextFileReader;

// A text placed in a rectangle of the window, read from a layout row
// (rcPos, szText, dwColor, dwStyle). It can be hidden, given another text,
// or serve as a signed counter whose text is always the counter in decimal
// (the scores).
class TextLabel {
public:
    TextLabel();

    void load(TextFileReader& reader);
    void loadCounter(TextFileReader& reader);

    void setText(const char* text);
    const std::string& getText() const { return szText; }
    Point getTopLeft() const { return Point{rcPos.left, rcPos.top}; }
    const Rect& getRect() const { return rcPos; }
    std::uint32_t getColour() const { return dwColor; }

    void setVisible(bool visible) { bVisible = visible ? 1 : 0; }
    bool isVisible() const { return bVisible != 0; }

    void addToValue(std::int32_t n);
    // A counter set outright: its text is the value in decimal.
    void setCounter(std::int32_t value);
    std::int32_t getValue() const { return iValue; }

    // dwColor is a colour and dwStyle the format for font drawing...
    platform::Status drawText(DisplayDevice& display, const Font& font) const;
    // ...and dwColor is the digit font's colour row for digit drawing.
    void drawDigits(DigitFont& digits) const;

private:
    std::string szText;
    Rect rcPos;
    std::uint32_t dwColor;
    std::uint32_t dwStyle;
    std::int32_t bVisible;
    std::int32_t iValue;
};
