#include "menu/Menu.h"

#include <cmath>
#include <string>

#include "combat/PlayerSetup.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "input/KeyBindings.h"
#include "input/PadClaims.h"
#include "menu/HighScoreFile.h"
#include "menu/HighScoreTable.h"
#include "menu/LobbySeats.h"
#include "menu/MenuDecorations.h"
#include "menu/MenuNavigation.h"
#include "platform/EventPump.h"
#include "platform/GamePads.h"
#include "platform/ScreenOverlay.h"
#include "platform/Ticks.h"
#include "resources/LayoutRows.h"
#include "resources/TextFileReader.h"
#include "sound/Sound.h"
#include "sound/SoundDevice.h"

using namespace platform::status;

namespace {

// The table places its caret by measuring with the font it is drawn with,
// which is ours; it may use it only while we are there to own it.
class FontLoan {
public:
    FontLoan(HighScoreTable& table, const Font& font) : table(table) { table.setFont(&font); }
    ~FontLoan() { table.setFont(nullptr); }
    FontLoan(const FontLoan&) = delete;
    FontLoan& operator=(const FontLoan&) = delete;

private:
    HighScoreTable& table;
};

constexpr std::uint8_t kEnter = 13;
constexpr std::uint8_t kEscape = 27;
constexpr std::uint8_t kSpace = 32;
// Long enough to hear the button before the scene changes.
constexpr std::uint32_t kButtonPauseMs = 150;
constexpr std::uint32_t kDisplayBusyPauseMs = 10;
// The Controls text a click takes: beside the name, up to the Player box.
constexpr std::int32_t kControlsLeft = 108;
constexpr std::int32_t kControlsRight = 252;

}  // namespace

Menu::Menu(ErrorLogger& errorLogger, DisplayDevice& displayDevice, SoundDevice* sound, Surface& miscSurface,
           HighScoreTable& table, PlayerSetup& playerSetup, PadClaims* padClaims, KeyBindings* bindings)
    : logger(errorLogger),
      display(displayDevice),
      pSound(sound),
      misc(miscSurface),
      highScores(table),
      setup(playerSetup),
      pClaims(padClaims),
      pBindings(bindings),
      pDecorations(std::make_unique<MenuDecorations>(displayDevice)) {
    font.create("arial narrow", 20);
}

Menu::~Menu() {
    display.overlay().setPadMarks({});
    display.overlay().setTakenMarks({});
    display.overlay().setStatus({});
    display.resetFont();
    if (klik) klik->release();
    if (tlacitko) tlacitko->release();
    if (okraj) okraj->release();
    pBackground.reset();
    font.destroy();
}

int Menu::load(bool first, bool abandoned) {
    if (first && !highScoreFile::load(highScores, setup, logger, bKeepOldFile)) return 0;
    TextFileReader reader;
    const int opened = reader.openText("txtMenu", "TextFile");
    if (opened != 0) {
        logger.reportMissingResource("txtMenu", opened);
        return 0;
    }
    rcBack = readRect(reader);
    for (CircleButton& button : buttons) {
        button.pt.x = reader.readInt();
        button.pt.y = reader.readInt();
        button.iRadius = reader.readInt();
    }
    const Rect tick = readRect(reader);
    for (int row = 0; row < 2; ++row) {
        for (int colour = 0; colour < 4; ++colour) {
            CheckBox& box = boxes[row * 4 + colour];
            box.rcDst = readRect(reader);
            box.rcSrc = tick;
            const bool human = setup.bHuman[colour] != 0;
            box.checked = (row == 0) == human ? 1 : 0;
        }
    }
    reader.close();

    loadSounds();
    if (!createBackground()) return 0;
    if (!first && !abandoned) offerBestHumanResult();
    return 1;
}

void Menu::attachSound(SoundDevice* sound) {
    if (pSound || !sound) return;
    pSound = sound;
    loadSounds();
}

void Menu::loadSounds() {
    if (!pSound) return;
    klik = std::make_unique<Sound>();
    tlacitko = std::make_unique<Sound>();
    okraj = std::make_unique<Sound>();
    pSound->loadWave("klik", klik.get());
    pSound->loadWave("tlacitko", tlacitko.get());
    pSound->loadWave("okraj", okraj.get());
}

int Menu::createBackground() {
    pBackground = std::make_unique<Surface>();
    if (!display.createOffscreen(*pBackground, rcBack.right, rcBack.bottom, "picMenu", logger)) {
        pBackground.reset();
        return 0;
    }
    pBackground->loadBitmap("picMenu", 0, 0);
    return 1;
}

int Menu::recreateSurfaces() {
    highScores.reapplyCaret();
    return createBackground();
}

platform::Status Menu::draw() {
    const platform::Status state = display.cooperativeState();
    if (state == DDERR_EXCLUSIVEMODEALREADYSET) {
        platform::sleepMilliseconds(kDisplayBusyPauseMs);
        return state;
    }
    if (state == DDERR_WRONGMODE) {
        pBackground.reset();
        return state;
    }
    display.blitFast(0, 0, pBackground.get(), rcBack);
    for (const CheckBox& box : boxes) {
        if (box.checked) display.blitFast(box.rcDst.left, box.rcDst.top, &misc, box.rcSrc);
    }
    pDecorations->drawExtras(*this);
    highScores.draw(font);
    pDecorations->drawRing(*this);
    pDecorations->showPadMarks(*this);
    if (platform::failed(display.present())) restoreSurfaces();
    return S_OK;
}

void Menu::restoreSurfaces() {
    display.restoreAll();
    if (pBackground) pBackground->loadBitmap("picMenu", 0, 0);
    misc.loadBitmap("picMisc", 0, 0);
    misc.keyColour(kKeyGreen);
}

void Menu::reloadSounds() {
    if (!pSound) return;
    const struct {
        Sound* sound;
        const char* name;
    } sounds[] = {{klik.get(), "klik"}, {tlacitko.get(), "tlacitko"}, {okraj.get(), "okraj"}};
    for (const auto& entry : sounds) {
        if (!entry.sound) continue;
        entry.sound->restore();
        pSound->loadWave(entry.name, entry.sound);
    }
}

void Menu::playAndRecover(Sound* sound) {
    if (!pSound || !sound) return;
    // A lost buffer costs this click its sound; both come back for the next.
    if (sound->play() == DSERR_BUFFERLOST) reloadSounds();
}

void Menu::handOver() {
    for (int colour = 0; colour < 4; ++colour) setup.bHuman[colour] = static_cast<std::uint8_t>(boxes[colour].checked);
}

std::int8_t Menu::onClick(std::int32_t x, std::int32_t y) {
    highScores.endEntry();
    // A click anywhere gives up the keys being asked for, as Escape does.
    prompt.close();
    draw();
    const MenuFocus::Item item = itemAt(x, y);
    if (item.kind == MenuFocus::Kind::kNone) return kNothing;
    keyFocus.focus(item);
    const std::int8_t action = actOn(item, 0);
    if (bFocusShown) draw();
    return action;
}

MenuFocus::Item Menu::itemAt(std::int32_t x, std::int32_t y) const {
    using Kind = MenuFocus::Kind;
    for (int i = 0; i < 3; ++i) {
        const double dx = static_cast<double>(x) - buttons[i].pt.x;
        const double dy = static_cast<double>(y) - buttons[i].pt.y;
        if (std::sqrt(dx * dx + dy * dy) > buttons[i].iRadius) continue;
        static constexpr Kind kinds[3] = {Kind::kExit, Kind::kStart, Kind::kLogo};
        return MenuFocus::Item{kinds[i], -1};
    }
    for (int row = 0; row < 2; ++row) {
        for (int colour = 0; colour < 4; ++colour) {
            const Rect& r = boxes[row * 4 + colour].rcDst;
            if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) {
                return MenuFocus::Item{row == 0 ? Kind::kPlayer : Kind::kComputer, colour};
            }
            if (row == 0 && pBindings && x >= kControlsLeft && x < kControlsRight && y >= r.top - 4 &&
                y < r.top + 18) {
                return MenuFocus::Item{Kind::kControls, colour};
            }
        }
    }
    return MenuDecorations::extraItemAt(*this, x, y);
}

std::int8_t Menu::pressButton(std::int8_t button) {
    if (pSound) {
        playAndRecover(tlacitko.get());
        platform::sleepMilliseconds(kButtonPauseMs);
    }
    if (button == kStart) handOver();
    return button;
}

std::int8_t Menu::actOn(MenuFocus::Item item, int pad) {
    using Kind = MenuFocus::Kind;
    switch (item.kind) {
        case Kind::kExit:
            return pressButton(kExit);
        case Kind::kStart:
            return pressButton(kStart);
        case Kind::kLogo:
            return pressButton(kLogo);
        case Kind::kJoinRoom:
            return showsJoinItem() ? pressButton(kJoinRoom) : kNothing;
        case Kind::kPlayer:
            actOnBox(0, item.colour, pad);
            break;
        case Kind::kComputer:
            actOnBox(1, item.colour, pad);
            break;
        case Kind::kControls:
            if (!pBindings) break;
            highScores.endEntry();
            prompt.open(item.colour);
            playAndRecover(klik.get());
            draw();
            break;
        case Kind::kDefaultKeys:
            if (!showsDefaultKeys()) break;
            prompt.close();
            pBindings->resetAll();
            playAndRecover(klik.get());
            draw();
            break;
        default:
            break;
    }
    return kNothing;
}

void Menu::actOnBox(int row, int colour, int pad) {
    if (isTaken(colour)) return;
    if (row == 0) {
        // A pad that ticks a Player box plays that colour.
        if (pad > 0 && pClaims && !pClaims->claim(pad, colour)) return;
        if (boxes[colour].checked) {
            draw();
        } else {
            tick(0, colour);
        }
        return;
    }
    if (!boxes[4 + colour].checked) {
        tick(1, colour);
        return;
    }
    // Acted on again, a computer colour plays at its next strength.
    setup.levels.cycle(colour);
    bStrengthsShown = true;
    playAndRecover(klik.get());
    draw();
}

bool Menu::showsStrengths() const {
    // Every computer at Normal, as the game always had it, needs no word
    // until the keyboard or a click on a ticked PC box asks about strengths.
    return bFocusShown || bStrengthsShown || !setup.levels.allNormal();
}

bool Menu::showsDefaultKeys() const {
    // Kept out of the first picture: it comes with the keyboard's focus, or
    // with keys that are not the defaults.
    return pBindings && (bFocusShown || prompt.isOpen() || !pBindings->allDefault());
}

void Menu::tick(int row, int colour) {
    CheckBox& box = boxes[row * 4 + colour];
    if (box.checked) return;
    playAndRecover(klik.get());
    box.checked = 1;
    boxes[(1 - row) * 4 + colour].checked = 0;
    draw();
}

bool Menu::isTaken(int colour) const { return pSeats != nullptr && pSeats->taken[colour & 3]; }

void Menu::setLobby(const LobbySeats* seats) {
    pSeats = seats;
    for (int colour = 0; colour < 4; ++colour) {
        if (isTaken(colour)) setPerson(colour, false);
    }
}

void Menu::setPerson(int colour, bool person) {
    boxes[colour & 3].checked = person ? 1 : 0;
    boxes[4 + (colour & 3)].checked = person ? 0 : 1;
}

std::int8_t Menu::onPad(int pad, std::uint16_t pressed) {
    // Spelt out: the menu's own kStart is the Start disc.
    namespace button = platform::padButton;
    if (pressed == button::kStart) {
        // Start starts, wherever the focus is.
        prompt.close();
        if (highScores.isTyping()) return onChar(kEnter);
        handOver();
        return kStartMatch;
    }
    if (highScores.isTyping()) {
        int changed = -1;
        {
            FontLoan loan(highScores, font);
            switch (pressed) {
                case button::kUp:
                    changed = highScores.onPadLetter(HighScoreTable::PadLetter::Next);
                    break;
                case button::kDown:
                    changed = highScores.onPadLetter(HighScoreTable::PadLetter::Previous);
                    break;
                case button::kRight:
                case button::kA:
                    changed = highScores.onPadLetter(HighScoreTable::PadLetter::Keep);
                    break;
                case button::kLeft:
                case button::kB:
                    changed = highScores.onPadLetter(HighScoreTable::PadLetter::TakeBack);
                    break;
                default:
                    break;
            }
        }
        if (changed == 2) draw();
        return kNothing;
    }
    return MenuNavigation::onPad(*this, pad, pressed);
}

std::int8_t Menu::onKey(std::uint8_t code, char letter) { return MenuNavigation::onKey(*this, code, letter); }

std::int8_t Menu::onChar(std::uint8_t ch) {
    if (prompt.isOpen()) {
        // The keys themselves come to onKey; as characters only Escape and
        // Enter count here, and the typed letters of those keys are passed over.
        if (ch == kEscape) {
            prompt.close();
            draw();
        } else if (ch == kEnter) {
            prompt.refuseGameKey();
            playAndRecover(okraj.get());
            draw();
        }
        return kNothing;
    }
    int typed;
    {
        FontLoan loan(highScores, font);
        typed = highScores.onChar(ch);
    }
    switch (typed) {
        case 1:
            // Enter confirmed a name; held on, it must not also start a match.
            platform::ignoreHeldKeys();
            offerBestHumanResult();
            draw();
            return kNothing;
        case 2:
            draw();
            return kNothing;
        default:
            break;
    }
    if ((ch == kEnter || ch == kSpace) && bFocusShown && keyFocus.isShown()) {
        return MenuNavigation::charAnswer(actOn(keyFocus.item(), 0));
    }
    if (ch == kEnter || ch == kSpace) {
        if (highScores.endEntry() == 1) draw();
        handOver();
        return kStartMatch;
    }
    if (ch == kEscape) return kQuit;
    return kNothing;
}

void Menu::offerBestHumanResult() {
    std::int16_t best = 0;
    int colour = -1;
    for (int c = 0; c < 4; ++c) {
        if (setup.bHuman[c] && setup.iScore[c] > best) {
            // The table keeps 16-bit scores; a larger one stays the largest.
            best = static_cast<std::int16_t>(setup.iScore[c] > 32767 ? 32767 : setup.iScore[c]);
            colour = c;
        }
    }
    if (colour >= 0) setup.iScore[colour] = 0;
    int offered;
    {
        FontLoan loan(highScores, font);
        offered = highScores.offerResult(best);
    }
    if (offered == 1) draw();
}

std::uint8_t Menu::playerBits() const {
    std::uint8_t bits = 0;
    for (int c = 0; c < 4; ++c) {
        if (boxes[c].checked) bits |= static_cast<std::uint8_t>(1u << c);
    }
    return bits;
}
