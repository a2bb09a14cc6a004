#pragma once
#include <cstdint>
#include <string>

union SDL_Event;
struct _SDL_GameController;

namespace platform {

// The buttons of a pad the game reads, whatever the pad itself calls them.
// The four directions come from the D-pad or from the left stick.
namespace padButton {
constexpr std::uint16_t kUp = 0x01;
constexpr std::uint16_t kDown = 0x02;
constexpr std::uint16_t kLeft = 0x04;
constexpr std::uint16_t kRight = 0x08;
constexpr std::uint16_t kA = 0x10;  // the south face button
constexpr std::uint16_t kB = 0x20;  // the east face button
constexpr std::uint16_t kStart = 0x40;
constexpr std::uint16_t kBack = 0x80;
}  // namespace padButton

// SDL's number of the button on a pad of its standard layout, -1 for none.
int standardButtonOf(std::uint16_t button);

// Pads are numbered from 1 in the order they come, a pad taking the lowest
// number free; one unplugged and plugged in again usually gets its old
// number back. Pads beyond the last number are left alone.
constexpr int kMaxPads = 8;

// Past a quarter of its travel the stick counts as a held direction.
constexpr std::int16_t kStickDeadZone = 8192;
std::uint16_t stickDirections(std::int16_t x, std::int16_t y);

// What an event did to the pads, for the event pump to pass on.
struct PadChange {
    enum class Kind { None, Added, Removed, Pressed };
    Kind kind = Kind::None;
    int pad = 0;
    std::uint16_t button = 0;
};

// Every pad plugged in, as SDL's game-controller layer maps it, kept from
// SDL's events: which buttons each holds, with a press that was let go
// again before the match looked still counted once, as a key's is.
class GamePads {
public:
    GamePads();

    // SDL's controller support with its own database of pads, then the
    // player's gamecontrollerdb.txt in that folder when there is one; the
    // SDL_GAMECONTROLLERCONFIG variable is read by SDL itself. Pads already
    // plugged in arrive as events. False when there is no pad support.
    bool start(const std::string& configFolder);
    // Closes every pad.
    void stop();
    bool isStarted() const { return bStarted; }

    PadChange handleEvent(const SDL_Event& event);
    // Buttons held, and pressed since the last poll.
    std::uint16_t buttons(int pad) const;
    void notePolled();
    bool isConnected(int pad) const;
    // Everything let go: the window lost the focus, and pad events with it.
    void releaseAll();

private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        std::int32_t instance = -1;
        std::uint16_t fromButtons = 0;
        std::uint16_t fromStick = 0;
        std::uint16_t unpolled = 0;
        std::uint16_t releasePending = 0;
        std::int16_t stickX = 0;
        std::int16_t stickY = 0;
    };

    Pad* find(std::int32_t instance);
    PadChange add(int deviceIndex);
    PadChange remove(std::int32_t instance);
    PadChange update(Pad& pad, std::uint16_t fromButtons, std::uint16_t fromStick);
    int numberOf(const Pad& pad) const { return static_cast<int>(&pad - aPads) + 1; }

    Pad aPads[kMaxPads];
    bool bStarted;
};

// The one set of pads of the program.
GamePads& systemPads();

}  // namespace platform
