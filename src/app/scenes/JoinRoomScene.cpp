#include "app/scenes/JoinRoomScene.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "app/CommandLine.h"
#include "app/scenes/MenuScene.h"
#include "app/scenes/Stage.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "input/KeyCodes.h"
#include "net/RelayWire.h"
#include "platform/Browser.h"
#include "platform/Display.h"
#include "platform/GamePads.h"
#include "platform/PixelSurface.h"
#include "settings/Settings.h"
#include "sound/Sound.h"
#include "sound/SoundDevice.h"

using namespace platform::status;

namespace {

constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kTab = 9;
constexpr std::uint8_t kEnter = 13;
constexpr std::uint8_t kEscape = 27;

// The page lies over the menu's picture, darkened where it writes.
constexpr Rect kPanel{24, 96, 376, 336};
constexpr Rect kCodeBox{48, 166, 352, 196};
constexpr Rect kRelayBox{48, 236, 352, 266};
constexpr std::int32_t kLeft = 48;

// The menu's own inks: gold for what has the attention, the pale ink of
// the chosen keys, red for a refusal, and the outline's near-black.
const ColourRef kGold = makeColour(255, 214, 96);
const ColourRef kPale = makeColour(226, 230, 238);
const ColourRef kHead = makeColour(176, 190, 214);
const ColourRef kRed = makeColour(255, 112, 100);
const ColourRef kInk = makeColour(22, 24, 30);

std::uint8_t channel(ColourRef c, int shift) { return static_cast<std::uint8_t>((c >> shift) & 0xFF); }

bool inside(const Rect& r, std::int32_t x, std::int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

JoinRoomScene::JoinRoomScene(Stage& theStage, bool openedByKey)
    : stage(theStage), bSwallowOpeningLetter(openedByKey) {}

JoinRoomScene::~JoinRoomScene() {
    stage.display.resetFont();
    titleFont.destroy();
    fieldFont.destroy();
    smallFont.destroy();
    if (refusal) refusal->release();
}

int JoinRoomScene::enter() {
    titleFont.create("comic sans", 28);
    fieldFont.create("comic sans", 20);
    smallFont.create("arial narrow", 16);
    if (stage.settings) sRelay = stage.settings->relay;
    // The browser's page speaks no UDP: said at once rather than after typing.
    if (!platform::onlinePlayAvailable()) sMessage = "Online play needs the desktop game";
    loadSound();
    return createBackground();
}

int JoinRoomScene::createBackground() {
    pBackground = std::make_unique<Surface>();
    if (!stage.display.createOffscreen(*pBackground, 400, 400, "picMenu", stage.logger)) {
        pBackground.reset();
        return 0;
    }
    pBackground->loadBitmap("picMenu", 0, 0);
    return 1;
}

int JoinRoomScene::recreateSurfaces() {
    if (!createBackground()) return 0;
    draw();
    return 1;
}

void JoinRoomScene::loadSound() {
    if (!stage.sound || refusal) return;
    refusal = std::make_unique<Sound>();
    stage.sound->loadWave("okraj", refusal.get());
}

void JoinRoomScene::soundArrived() { loadSound(); }

SceneChange JoinRoomScene::onKey(std::uint8_t code, char) {
    // Any other key pressed first: the J's letter is not coming.
    bSwallowOpeningLetter = false;
    if (code == keys::DIK_TAB) {
        current = current == Field::kCode ? Field::kRelay : Field::kCode;
        draw();
    }
    return SceneChange::stay();
}

SceneChange JoinRoomScene::onChar(std::uint8_t ch) {
    const bool openingLetter = bSwallowOpeningLetter && (ch == 'j' || ch == 'J');
    bSwallowOpeningLetter = false;
    if (openingLetter) return SceneChange::stay();
    switch (ch) {
        case kEscape:
            return backToMenu();
        case kEnter:
            return join();
        case kTab:
            return SceneChange::stay();  // moved on by its key
        default:
            type(ch);
            draw();
            return SceneChange::stay();
    }
}

SceneChange JoinRoomScene::onClick(std::int16_t x, std::int16_t y) {
    if (inside(kCodeBox, x, y)) current = Field::kCode;
    if (inside(kRelayBox, x, y)) current = Field::kRelay;
    draw();
    return SceneChange::stay();
}

SceneChange JoinRoomScene::onPad(int, std::uint16_t button) {
    return button == platform::padButton::kB ? backToMenu() : SceneChange::stay();
}

void JoinRoomScene::type(std::uint8_t ch) {
    std::string& text = current == Field::kCode ? sCode : sRelay;
    if (ch == kBackspace) {
        if (!text.empty()) text.pop_back();
        sMessage.clear();
        return;
    }
    if (current == Field::kRelay) {
        // HOST, HOST:PORT or [V6ADDRESS]:PORT: printable, no spaces.
        if (ch <= ' ' || ch > '~' || sRelay.size() >= Settings::kLongestRelay) return refuse("");
        sRelay.push_back(static_cast<char>(ch));
        sMessage.clear();
        return;
    }
    const char letter = static_cast<char>(std::toupper(ch));
    // The codes leave out the letters that pass for digits or for each other.
    if (!std::isalpha(ch) || std::strchr(net::RelayWire::kAlphabet, letter) == nullptr) {
        return refuse(std::isalpha(ch) ? "Codes have no O, I or L" : "Codes are letters only");
    }
    if (sCode.size() >= kCodeLength) return refuse("Codes have six letters");
    sCode.push_back(letter);
    sMessage.clear();
}

void JoinRoomScene::refuse(const std::string& why) {
    if (!why.empty()) sMessage = why;
    if (refusal && refusal->play() == DSERR_BUFFERLOST) {
        refusal->release();
        refusal.reset();
        loadSound();
    }
}

SceneChange JoinRoomScene::join() {
    if (!platform::onlinePlayAvailable()) {
        refuse("Online play needs the desktop game");
    } else if (sCode.size() != kCodeLength) {
        refuse("Type the room's six letters");
    } else if (sRelay.empty()) {
        refuse("Type the relay's address: HOST or HOST:PORT");
    } else {
        // Read as the command line's --join would read it, so both agree.
        const std::string room = sCode + "@" + sRelay;
        const char* const argv[] = {"quadrill", "--join", room.c_str()};
        const CommandLine options = parseCommandLine(3, argv);
        if (options.action != CommandLine::Action::Play) {
            refuse("The relay's address is HOST or HOST:PORT");
        } else if (!stage.goOnline || !stage.goOnline(options)) {
            refuse("The relay at " + sRelay + " cannot be reached");
        } else {
            saveRelay();
            return backToMenu();
        }
    }
    draw();
    return SceneChange::stay();
}

void JoinRoomScene::saveRelay() {
    Settings* settings = stage.settings;
    if (!settings || settings->relay == sRelay) return;
    settings->relay = sRelay;
    // Settings that belong to no file (a tool's, a test's) are not written.
    std::string reason;
    if (settings->cameFromTheFile() && !settings->save(reason)) {
        stage.tellFailedSave("The relay's address could not be saved in " + Settings::path(), reason);
    }
}

SceneChange JoinRoomScene::backToMenu() {
    // No match was played: the menu has no result to offer.
    return SceneChange::to(std::make_unique<MenuScene>(stage, MenuScene::Arrival::kAbandoned));
}

void JoinRoomScene::darken(const Rect& area, double amount) {
    platform::Display* screen = stage.display.platformDisplay();
    platform::PixelSurface* back = screen ? screen->backBuffer() : nullptr;
    if (!back) return;
    for (std::int32_t y = std::max(area.top, 0); y < std::min(area.bottom, back->height()); ++y) {
        for (std::int32_t x = std::max(area.left, 0); x < std::min(area.right, back->width()); ++x) {
            std::uint8_t r = 0;
            std::uint8_t g = 0;
            std::uint8_t b = 0;
            if (!back->readPixel(x, y, r, g, b)) continue;
            const auto mix = [amount](std::uint8_t under, std::uint8_t over) {
                return static_cast<std::uint8_t>(std::lround(under + (over - under) * amount));
            };
            back->writePixel(x, y, mix(r, channel(kInk, 0)), mix(g, channel(kInk, 8)), mix(b, channel(kInk, 16)));
        }
    }
}

void JoinRoomScene::frame(const Rect& area, ColourRef colour) {
    platform::Display* screen = stage.display.platformDisplay();
    platform::PixelSurface* back = screen ? screen->backBuffer() : nullptr;
    if (!back) return;
    const std::uint8_t r = channel(colour, 0);
    const std::uint8_t g = channel(colour, 8);
    const std::uint8_t b = channel(colour, 16);
    for (std::int32_t x = area.left; x < area.right; ++x) {
        back->writePixel(x, area.top, r, g, b);
        back->writePixel(x, area.bottom - 1, r, g, b);
    }
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        back->writePixel(area.left, y, r, g, b);
        back->writePixel(area.right - 1, y, r, g, b);
    }
}

void JoinRoomScene::text(const Font& font, const std::string& words, std::int32_t x, std::int32_t y,
                         ColourRef colour) {
    // SDL_ttf renders no empty text.
    if (words.empty()) return;
    // Outlined, as the menu writes over its picture.
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0) {
                stage.display.drawText(font, words.c_str(), Rect{x + dx, y + dy, x + dx + 340, y + dy + 36}, kInk, 0);
            }
        }
    }
    stage.display.drawText(font, words.c_str(), Rect{x, y, x + 340, y + 36}, colour, 0);
}

void JoinRoomScene::fieldText(const Rect& box, std::string words, bool focused) {
    darken(box, 0.5);
    frame(box, focused ? kGold : kHead);
    if (focused) words += "_";
    // A long address shows its end, where the typing is.
    std::int32_t width = 0;
    std::int32_t height = 0;
    const std::int32_t room = box.right - box.left - 16;
    while (!words.empty() && stage.display.measureText(fieldFont, words.c_str(), width, height) == S_OK &&
           width > room) {
        words.erase(0, 1);
    }
    text(fieldFont, words, box.left + 8, box.top + 2, kPale);
}

platform::Status JoinRoomScene::draw() {
    if (!pBackground) return S_OK;
    stage.display.blitFast(0, 0, pBackground.get(), Rect{0, 0, 400, 400});
    darken(kPanel, 0.86);
    text(titleFont, "Join a room", kLeft, kPanel.top + 10, kGold);
    text(smallFont, "Room code (six letters)", kLeft, kCodeBox.top - 22, kHead);
    fieldText(kCodeBox, sCode, current == Field::kCode);
    text(smallFont, "Relay: HOST or HOST:PORT", kLeft, kRelayBox.top - 22, kHead);
    fieldText(kRelayBox, sRelay, current == Field::kRelay);
    text(smallFont, sMessage, kLeft, kRelayBox.bottom + 8, kRed);
    text(smallFont, "Tab: next    Enter: join    Escape: back", kLeft, kPanel.bottom - 28, kHead);
    if (platform::failed(stage.display.present())) {
        stage.display.restoreAll();
        pBackground->loadBitmap("picMenu", 0, 0);
        stage.misc.loadBitmap("picMisc", 0, 0);
        stage.misc.keyColour(kKeyGreen);
    }
    return S_OK;
}
