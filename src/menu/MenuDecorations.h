#pragma once
#include <cstdint>
#include <string>

#include "graphics/Colour.h"
#include "graphics/Font.h"
#include "graphics/Rect.h"
#include "menu/MenuFocus.h"

class DisplayDevice;
class Menu;
class Surface;

// What the menu draws over its picture, in the picture's own style: the
// keys a colour has chosen (or the prompt for them) in the Controls
// column, the computer's strength beside a PC box, the Default keys item
// and the focus ring. All of it goes into the back buffer after the
// picture; nothing is drawn into the picture itself.
class MenuDecorations {
public:
    // The Default keys item's place, right of the table of best results.
    static constexpr Rect kDefaultKeys{292, 238, 392, 262};
    // Join a room, under it, clear of the Start disc.
    static constexpr Rect kJoinRoom{292, 266, 392, 290};

    explicit MenuDecorations(DisplayDevice& display);
    ~MenuDecorations();
    MenuDecorations(const MenuDecorations&) = delete;
    MenuDecorations& operator=(const MenuDecorations&) = delete;

    // Everything above that the menu shows now; the ring goes over the table too.
    void drawExtras(const Menu& menu);
    void drawRing(const Menu& menu);
    // The pads' marks and the room's seats, which the screen's overlay shows.
    void showPadMarks(const Menu& menu);

    // The Controls column of the row whose boxes stand at rowTop, cleared
    // back to the picture's ground (taken from the background) and written
    // anew: the chosen keys in the column's pale ink, a prompt in gold, a
    // refusal in red. Returns the right edge of the text written.
    std::int32_t controls(Surface& background, std::int32_t rowTop, const std::string& text, ColourRef colour);
    // The strength of a computer colour, small, at (x, y).
    void label(std::int32_t x, std::int32_t y, const std::string& text);
    void defaultKeysItem();
    void joinRoomItem();
    // The item drawn here (Default keys, Join a room) under a click, if it shows.
    static MenuFocus::Item extraItemAt(const Menu& menu, std::int32_t x, std::int32_t y);

    // The focus ring: round a rectangle (with rounded corners) or a disc.
    void ringAround(const Rect& rect, double cornerRadius);
    void ringAroundDisc(std::int32_t centreX, std::int32_t centreY, std::int32_t radius);

    static constexpr ColourRef kKeyInk = makeColour(226, 230, 238);
    static constexpr ColourRef kPromptInk = makeColour(255, 214, 96);
    static constexpr ColourRef kRefusalInk = makeColour(255, 112, 100);

private:
    static std::string controlsText(const Menu& menu, int colour);
    // An item's words, centred in its place in the headings' ink.
    void centred(const Rect& place, const char* text);
    void outlined(const Font& font, const std::string& text, std::int32_t x, std::int32_t y, ColourRef colour);
    // Lays the ring's colour over each pixel in proportion to how near it
    // is to the outline whose distance the function gives.
    template <typename Distance>
    void paintRing(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, Distance distance);

    DisplayDevice& display;
    Font keysFont;
    Font labelFont;
};
