#include "combat/WinnerLine.h"

#include "graphics/DisplayDevice.h"
#include "graphics/Rect.h"

namespace {

// As the menu names the colours; green, yellow, red, blue.
const char* const kNames[4] = {"Green", "Yellow", "Red", "Blue"};
// The players' own tones, as the paddles and the score digits show them.
constexpr ColourRef kTones[4] = {makeColour(130, 200, 84), makeColour(235, 215, 90), makeColour(226, 95, 101),
                                 makeColour(129, 187, 227)};
constexpr ColourRef kShared = makeColour(255, 255, 255);
constexpr ColourRef kShadow = makeColour(22, 24, 30);
// Room for the line between the score panels and the corner walls.
constexpr std::int32_t kLeft = 30;
constexpr std::int32_t kRight = 370;

int winnersOf(const std::int32_t (&scores)[4], bool (&won)[4]) {
    std::int32_t best = scores[0];
    for (std::int32_t score : scores) best = score > best ? score : best;
    int count = 0;
    for (int colour = 0; colour < 4; ++colour) {
        won[colour] = scores[colour] == best;
        count += won[colour] ? 1 : 0;
    }
    return count;
}

// "Green", then "green" after the first word.
std::string nameOf(int colour, bool first) {
    std::string name = kNames[colour];
    if (!first) name[0] = static_cast<char>(name[0] - 'A' + 'a');
    return name;
}

}  // namespace

WinnerLine::WinnerLine() {
    hFont.create("comic sans", 30);
    hSmallFont.create("comic sans", 22);
}

std::string WinnerLine::textFor(const std::int32_t (&scores)[4]) {
    bool won[4];
    const int count = winnersOf(scores, won);
    std::string line;
    int named = 0;
    for (int colour = 0; colour < 4; ++colour) {
        if (!won[colour]) continue;
        if (named > 0) line += named == count - 1 ? " and " : ", ";
        line += nameOf(colour, named == 0);
        ++named;
    }
    return line + (count == 1 ? " wins" : " share the win");
}

ColourRef WinnerLine::colourFor(const std::int32_t (&scores)[4]) {
    bool won[4];
    if (winnersOf(scores, won) > 1) return kShared;
    for (int colour = 0; colour < 4; ++colour) {
        if (won[colour]) return kTones[colour];
    }
    return kShared;
}

platform::Status WinnerLine::draw(DisplayDevice& display, const std::int32_t (&scores)[4]) {
    const std::string text = textFor(scores);
    std::int32_t width = 0;
    std::int32_t height = 0;
    display.measureText(hFont, text.c_str(), width, height);
    const Font& font = width > kRight - kLeft ? hSmallFont : hFont;
    const Rect shadow{kLeft + 2, kTop + 2, kRight + 2, kBottom + 2};
    const platform::Status state = display.drawText(font, text.c_str(), shadow, kShadow, kTextCentred);
    if (platform::failed(state)) return state;
    return display.drawText(font, text.c_str(), Rect{kLeft, kTop, kRight, kBottom}, colourFor(scores), kTextCentred);
}
