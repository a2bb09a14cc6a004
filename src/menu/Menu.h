#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/Font.h"
#include "graphics/Rect.h"
#include "menu/KeyPrompt.h"
#include "menu/MenuFocus.h"
#include "platform/Status.h"

class DisplayDevice;
class ErrorLogger;
class HighScoreTable;
class KeyBindings;
class MenuDecorations;
struct LobbySeats;
class PadClaims;
class Sound;
class SoundDevice;
class Surface;
struct PlayerSetup;

// The menu scene: the menu picture, the Exit, Start and logo buttons, the
// Player and PC boxes of each colour, and the table of best results with
// its name entry. It is drawn on events only; between them nothing changes.
class Menu {
public:
    // Results of onClick.
    static constexpr std::int8_t kNothing = -1;
    static constexpr std::int8_t kExit = 0;
    static constexpr std::int8_t kStart = 1;
    static constexpr std::int8_t kLogo = 2;
    static constexpr std::int8_t kJoinRoom = 3;
    // Results of onChar besides kNothing.
    static constexpr std::int8_t kStartMatch = 0;
    static constexpr std::int8_t kQuit = 1;
    static constexpr std::int8_t kHowToPlay = 2;  // the logo, acted on from the keyboard or a pad
    static constexpr std::int8_t kJoinPage = 3;   // Join a room, acted on from the keyboard or a pad

    // With the pads' claims, pads can choose their colours here and the menu
    // shows which pad plays which colour; with the key bindings, the
    // players can choose their keys.
    Menu(ErrorLogger& logger, DisplayDevice& display, SoundDevice* sound, Surface& misc, HighScoreTable& highScores,
         PlayerSetup& setup, PadClaims* padClaims = nullptr, KeyBindings* bindings = nullptr);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // first: the menu made at program start, which reads the high-score
    // file; abandoned: the match before was left with Escape.
    int load(bool first, bool abandoned);
    platform::Status draw();
    std::int8_t onClick(std::int32_t x, std::int32_t y);
    // Enter or Space act on the focused item as a click would (kStartMatch,
    // kQuit or kHowToPlay for the buttons); with nothing focused they start.
    std::int8_t onChar(std::uint8_t ch);
    // A key pressed (not its repeat): Tab, Shift+Tab and the arrows move the
    // focus; while a colour's keys are asked for, the key offered.
    std::int8_t onKey(std::uint8_t code, char letter);
    // A button pressed on a pad (platform/GamePads.h): as onChar answers.
    // A chooses the pad's next free colour and ticks its Player box, B lets
    // the colour go, Start starts the match; while a name is being typed,
    // the pad spells it and Start confirms it, as Enter does. A pad without
    // a colour moves the focus with its D-pad, and once the focus shows, A
    // acts on it (on a Player box, the pad takes that colour).
    std::int8_t onPad(int pad, std::uint16_t button);
    // In an online room: the colours other machines play, which are
    // shown as theirs and cannot be ticked here. Null offline.
    void setLobby(const LobbySeats* seats);
    // Ticks a colour's Player or PC box as the room decided, without a
    // sound and without drawing.
    void setPerson(int colour, bool person);
    // A room can be joined by its code from here (offline, and not in a
    // test's bare menu): the Join a room item comes with the focus ring.
    void offerJoin(bool offered) { bJoinOffered = offered; }
    bool showsJoinItem() const { return bJoinOffered && bFocusShown; }

    // The sound device came up after the menu was first shown: its clicks
    // are heard from now on. A menu that has its sound keeps it.
    void attachSound(SoundDevice* sound);

    int recreateSurfaces();
    void restoreSurfaces();
    void reloadSounds();
    void offerBestHumanResult();

    // The colours whose Player box is ticked, as the high-score file keeps them.
    std::uint8_t playerBits() const;
    bool isChecked(int row, int colour) const { return boxes[row * 4 + colour].checked != 0; }
    // The first menu found a high-score file it could not read: the file
    // must be left as it is at the end.
    bool keepsOldHighScoreFile() const { return bKeepOldFile; }
    const MenuFocus& focus() const { return keyFocus; }
    bool isFocusShown() const { return bFocusShown; }
    // A colour's keys are being asked for: letters are keys then, not the mute.
    bool isAskingKeys() const { return prompt.isOpen(); }
    const KeyPrompt& keyPrompt() const { return prompt; }

private:
    friend class MenuDecorations;
    friend class MenuNavigation;

    struct CircleButton {
        Point pt;
        std::int32_t iRadius = 0;
    };
    struct CheckBox {
        Rect rcSrc;
        Rect rcDst;
        std::int32_t checked = 0;
    };

    int createBackground();
    void loadSounds();
    void handOver();
    // Ticks the box and clears its partner, as a click on it does.
    void tick(int row, int colour);
    bool isTaken(int colour) const;
    void playAndRecover(Sound* sound);
    // What a click, Space, Enter or a pad's A does to an item; pad 0 is
    // not a pad. Returns onClick's answer.
    std::int8_t actOn(MenuFocus::Item item, int pad);
    std::int8_t pressButton(std::int8_t button);
    void actOnBox(int row, int colour, int pad);
    MenuFocus::Item itemAt(std::int32_t x, std::int32_t y) const;
    bool showsDefaultKeys() const;
    bool showsStrengths() const;

    ErrorLogger& logger;
    DisplayDevice& display;
    SoundDevice* pSound;
    std::unique_ptr<Sound> klik;
    std::unique_ptr<Sound> tlacitko;
    std::unique_ptr<Sound> okraj;  // a key refused
    Rect rcBack;
    std::unique_ptr<Surface> pBackground;
    CircleButton buttons[3];
    CheckBox boxes[8];
    Surface& misc;
    Font font;
    HighScoreTable& highScores;
    PlayerSetup& setup;
    bool bKeepOldFile = false;
    PadClaims* pClaims;
    const LobbySeats* pSeats = nullptr;
    KeyBindings* pBindings;
    MenuFocus keyFocus;
    bool bFocusShown = false;
    bool bStrengthsShown = false;
    bool bJoinOffered = false;
    KeyPrompt prompt;
    std::unique_ptr<MenuDecorations> pDecorations;
};
