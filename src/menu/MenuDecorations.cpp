#include "menu/MenuDecorations.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "combat/PlayerSetup.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "input/KeyBindings.h"
#include "input/PadClaims.h"
#include "menu/LobbySeats.h"
#include "menu/Menu.h"
#include "platform/Display.h"
#include "platform/KeyNames.h"
#include "platform/PixelSurface.h"
#include "platform/ScreenOverlay.h"

namespace {

// The Controls column runs from its heading to just short of the Player
// box's frame; a row's band is the 24 pixels between the rows above and below.
constexpr std::int32_t kControlsLeft = 100;
constexpr std::int32_t kControlsRight = 256;
constexpr std::int32_t kTextLeft = 112;
constexpr std::int32_t kBandAbove = 5;
constexpr std::int32_t kBandHeight = 24;
// A stretch of every row's ground with nothing written on it, one period
// of the picture's faint grid wide, so copies of it side by side join up.
constexpr std::int32_t kCleanLeft = 220;
constexpr std::int32_t kGridStep = 20;

// Where a pad's mark stands in a colour's row: right of the PC box; a
// strength's label makes room for the mark and its number.
constexpr std::int32_t kPadMarkGap = 8;
constexpr std::int32_t kPadMarkWidth = 40;
// The Controls text's ring spans the column beside the colour's name.
constexpr std::int32_t kControlsRingLeft = 106;
constexpr std::int32_t kControlsRingRight = 252;
const char* const kStrengthNames[] = {"Easy", "Normal", "Hard"};

const ColourRef kInk = makeColour(22, 24, 30);
const ColourRef kHeadInk = makeColour(176, 190, 214);

// The ring: a gold line with a dark edge, like the picture's outlined shapes.
constexpr double kRingHalfWidth = 1.1;
constexpr double kEdgeWidth = 1.0;
const std::uint8_t kRingColour[3] = {255, 206, 84};

std::uint8_t red(ColourRef c) { return static_cast<std::uint8_t>(c & 0xFF); }
std::uint8_t green(ColourRef c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
std::uint8_t blue(ColourRef c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

std::uint8_t mix(std::uint8_t under, std::uint8_t over, double amount) {
    return static_cast<std::uint8_t>(std::lround(under + (over - under) * amount));
}

double clamp01(double value) { return std::min(1.0, std::max(0.0, value)); }

}  // namespace

MenuDecorations::MenuDecorations(DisplayDevice& displayDevice) : display(displayDevice) {
    keysFont.create("comic sans", 20);
    labelFont.create("arial narrow", 16);
}

MenuDecorations::~MenuDecorations() {
    display.resetFont();
    keysFont.destroy();
    labelFont.destroy();
}

void MenuDecorations::outlined(const Font& font, const std::string& text, std::int32_t x, std::int32_t y,
                               ColourRef colour) {
    const char* chars = text.c_str();
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx == 0 && dy == 0) continue;
            display.drawText(font, chars, Rect{x + dx, y + dy, x + dx + 300, y + dy + 30}, kInk, 0);
        }
    }
    display.drawText(font, chars, Rect{x, y, x + 300, y + 30}, colour, 0);
}

std::int32_t MenuDecorations::controls(Surface& background, std::int32_t rowTop, const std::string& text,
                                       ColourRef colour) {
    const std::int32_t top = rowTop - kBandAbove;
    for (std::int32_t x = kControlsLeft; x < kControlsRight; x += kGridStep) {
        const std::int32_t width = std::min(kGridStep, kControlsRight - x);
        display.blitFast(x, top, &background, Rect{kCleanLeft, top, kCleanLeft + width, top + kBandHeight});
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    display.measureText(keysFont, text.c_str(), width, height);
    // A long prompt is squeezed into the column rather than written over the boxes.
    const Font& font = kTextLeft + width <= kControlsRight - 4 ? keysFont : labelFont;
    if (&font == &labelFont) display.measureText(labelFont, text.c_str(), width, height);
    outlined(font, text, kTextLeft, rowTop - 4 + (&font == &labelFont ? 2 : 0), colour);
    return kTextLeft + width;
}

void MenuDecorations::label(std::int32_t x, std::int32_t y, const std::string& text) {
    outlined(labelFont, text, x, y, makeColour(253, 232, 179));
}

void MenuDecorations::centred(const Rect& r, const char* text) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    display.measureText(keysFont, text, width, height);
    outlined(keysFont, text, (r.left + r.right - width) / 2, r.top + (r.bottom - r.top - height) / 2, kHeadInk);
}

void MenuDecorations::defaultKeysItem() { centred(kDefaultKeys, "Default keys"); }

void MenuDecorations::joinRoomItem() { centred(kJoinRoom, "Join a room"); }

MenuFocus::Item MenuDecorations::extraItemAt(const Menu& m, std::int32_t x, std::int32_t y) {
    const auto inside = [x, y](const Rect& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
    if (m.showsDefaultKeys() && inside(kDefaultKeys)) return MenuFocus::Item{MenuFocus::Kind::kDefaultKeys, -1};
    if (m.showsJoinItem() && inside(kJoinRoom)) return MenuFocus::Item{MenuFocus::Kind::kJoinRoom, -1};
    return MenuFocus::Item{};
}

template <typename Distance>
void MenuDecorations::paintRing(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                                Distance distance) {
    platform::Display* screen = display.platformDisplay();
    platform::PixelSurface* back = screen ? screen->backBuffer() : nullptr;
    if (!back) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, back->width());
    bottom = std::min(bottom, back->height());
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            const double from = std::fabs(distance(x + 0.5, y + 0.5));
            const double ring = clamp01(kRingHalfWidth + 0.5 - from);
            const double edge = clamp01(kRingHalfWidth + kEdgeWidth + 0.5 - from) * 0.7;
            if (edge <= 0.0) continue;
            std::uint8_t r = 0;
            std::uint8_t g = 0;
            std::uint8_t b = 0;
            if (!back->readPixel(x, y, r, g, b)) continue;
            r = mix(r, red(kInk), edge);
            g = mix(g, green(kInk), edge);
            b = mix(b, blue(kInk), edge);
            back->writePixel(x, y, mix(r, kRingColour[0], ring), mix(g, kRingColour[1], ring),
                             mix(b, kRingColour[2], ring));
        }
    }
}

void MenuDecorations::ringAround(const Rect& rect, double cornerRadius) {
    // The line runs along the rectangle's edge pixels.
    const double cx = (rect.left + rect.right) / 2.0;
    const double cy = (rect.top + rect.bottom) / 2.0;
    const double halfW = (rect.right - rect.left) / 2.0 - kRingHalfWidth;
    const double halfH = (rect.bottom - rect.top) / 2.0 - kRingHalfWidth;
    const auto distance = [=](double x, double y) {
        const double qx = std::fabs(x - cx) - (halfW - cornerRadius);
        const double qy = std::fabs(y - cy) - (halfH - cornerRadius);
        const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - cornerRadius;
    };
    const std::int32_t pad = 3;
    paintRing(rect.left - pad, rect.top - pad, rect.right + pad, rect.bottom + pad, distance);
}

void MenuDecorations::ringAroundDisc(std::int32_t centreX, std::int32_t centreY, std::int32_t radius) {
    const double ringRadius = radius + 3.0;
    const auto distance = [=](double x, double y) { return std::hypot(x - centreX, y - centreY) - ringRadius; };
    const std::int32_t reach = radius + 7;
    paintRing(centreX - reach, centreY - reach, centreX + reach, centreY + reach, distance);
}

std::string MenuDecorations::controlsText(const Menu& m, int colour) {
    return platform::keyNameOf(m.pBindings->key(colour, 0)) + " - " + platform::keyNameOf(m.pBindings->key(colour, 1));
}

void MenuDecorations::drawExtras(const Menu& m) {
    for (int colour = 0; colour < 4; ++colour) {
        const std::int32_t top = m.boxes[colour].rcDst.top;
        if (m.pBackground && m.prompt.colourAsked() == colour) {
            controls(*m.pBackground, top, m.prompt.text(), m.prompt.lastRefused() ? kRefusalInk : kPromptInk);
        } else if (m.pBackground && m.pBindings && !m.pBindings->isDefault(colour)) {
            controls(*m.pBackground, top, controlsText(m, colour), kKeyInk);
        }
        if (!m.showsStrengths() || !m.boxes[4 + colour].checked || m.isTaken(colour)) continue;
        const Rect& pcBox = m.boxes[4 + colour].rcDst;
        std::int32_t x = pcBox.right + kPadMarkGap;
        if (m.pClaims && m.pClaims->padOf(colour) != 0) x += kPadMarkWidth;
        label(x, pcBox.top - 2, kStrengthNames[static_cast<int>(m.setup.levels.of(colour))]);
    }
    if (m.showsDefaultKeys()) defaultKeysItem();
    if (m.showsJoinItem()) joinRoomItem();
}

void MenuDecorations::drawRing(const Menu& m) {
    if (!m.bFocusShown || !m.keyFocus.isShown()) return;
    using Kind = MenuFocus::Kind;
    const MenuFocus::Item item = m.keyFocus.item();
    const int button = item.kind == Kind::kExit ? 0 : item.kind == Kind::kStart ? 1 : item.kind == Kind::kLogo ? 2 : -1;
    if (button >= 0) {
        ringAroundDisc(m.buttons[button].pt.x, m.buttons[button].pt.y, m.buttons[button].iRadius);
    } else if (item.kind == Kind::kPlayer || item.kind == Kind::kComputer) {
        const Rect& r = m.boxes[(item.kind == Kind::kPlayer ? 0 : 4) + (item.colour & 3)].rcDst;
        ringAround(Rect{r.left - 6, r.top - 6, r.left + 20, r.top + 20}, 6);
    } else if (item.kind == Kind::kControls) {
        const std::int32_t top = m.boxes[item.colour & 3].rcDst.top;
        ringAround(Rect{kControlsLeft - 2, top - 5, kControlsRight, top + 19}, 7);
    } else if (item.kind == Kind::kDefaultKeys) {
        ringAround(kDefaultKeys, 8);
    } else if (item.kind == Kind::kJoinRoom && m.showsJoinItem()) {
        ringAround(kJoinRoom, 8);
    }
}

void MenuDecorations::showPadMarks(const Menu& m) {
    std::vector<platform::ScreenOverlay::TakenMark> taken;
    for (int colour = 0; colour < 4; ++colour) {
        if (!m.isTaken(colour)) continue;
        const Rect& playerBox = m.boxes[colour].rcDst;
        const Rect& pcBox = m.boxes[4 + colour].rcDst;
        taken.push_back(platform::ScreenOverlay::TakenMark{playerBox.left, playerBox.top,
                                                           playerBox.right - playerBox.left + 1,
                                                           pcBox.right + kPadMarkGap, pcBox.top - 1,
                                                           m.pSeats->mark[colour]});
    }
    display.overlay().setTakenMarks(taken);
    display.overlay().setStatus(m.pSeats ? m.pSeats->status : std::vector<std::string>());
    std::vector<platform::ScreenOverlay::PadMark> marks;
    for (int colour = 0; m.pClaims && colour < PadClaims::kColours; ++colour) {
        const int pad = m.pClaims->padOf(colour);
        if (pad == 0) continue;
        const Rect& pcBox = m.boxes[4 + colour].rcDst;
        marks.push_back(platform::ScreenOverlay::PadMark{pcBox.right + kPadMarkGap, pcBox.top, pad});
    }
    display.overlay().setPadMarks(marks);
}
