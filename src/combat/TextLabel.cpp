#include "combat/TextLabel.h"

#include <cstdint>
#include <string>

#include "graphics/DigitFont.h"
#include "graphics/DisplayDevice.h"
#include "resources/LayoutRows.h"
#include "resources/TextFileReader.h"

TextLabel::TextLabel() : dwColor(0), dwStyle(0), bVisible(0), iValue(0) {}

void TextLabel::load(TextFileReader& reader) {
    rcPos = readRect(reader);
    szText = reader.readString();
    dwColor = static_cast<std::uint32_t>(reader.readInt());
    dwStyle = static_cast<std::uint32_t>(reader.readInt());
    bVisible = 1;
}

void TextLabel::loadCounter(TextFileReader& reader) {
    load(reader);
    iValue = 0;
}

void TextLabel::setText(const char* text) { szText = text ? text : ""; }

void TextLabel::addToValue(std::int32_t n) {
    // Wrapping like the 32-bit counter it is, without signed overflow.
    setCounter(static_cast<std::int32_t>(static_cast<std::uint32_t>(iValue) + static_cast<std::uint32_t>(n)));
}

void TextLabel::setCounter(std::int32_t value) {
    iValue = value;
    szText = std::to_string(iValue);
}

platform::Status TextLabel::drawText(DisplayDevice& display, const Font& font) const {
    if (!bVisible) return platform::status::S_OK;
    return display.drawText(font, szText.c_str(), rcPos, dwColor, dwStyle);
}

void TextLabel::drawDigits(DigitFont& digits) const {
    if (!bVisible) return;
    digits.drawNumber(szText.c_str(), static_cast<std::int32_t>(dwColor), rcPos);
}
