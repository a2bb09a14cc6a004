#include "input/KeyBindings.h"

#include <cerrno>
#include <cstdlib>

#include "input/KeyCodes.h"

namespace {

// The keys printed on the menu: Q and A for green, the arrows for yellow,
// Page Up and Page Down for red, C and V for blue.
constexpr std::uint8_t kDefaults[KeyBindings::kColours][2] = {
    {keys::DIK_Q, keys::DIK_A},
    {keys::DIK_LEFT, keys::DIK_RIGHT},
    {keys::DIK_PRIOR, keys::DIK_NEXT},
    {keys::DIK_C, keys::DIK_V},
};

constexpr std::uint8_t kGameKeys[] = {
    keys::DIK_ESCAPE, 0x1C /* Enter */, 0x9C /* keypad Enter */, keys::DIK_SPACE, 0x0F /* Tab */,
    0x0E /* Backspace */, 0x19 /* P */, keys::DIK_PAUSE, 0x32 /* M */, 0x57 /* F11 */,
};

bool validColour(int colour) { return colour >= 0 && colour < KeyBindings::kColours; }

bool readCode(const char*& text, std::uint8_t& code) {
    while (*text == ' ' || *text == '\t' || *text == ',') ++text;
    if (*text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || value < 1 || value > 255) return false;
    code = static_cast<std::uint8_t>(value);
    text = end;
    return true;
}

}  // namespace

KeyBindings::KeyBindings() { resetAll(); }

std::uint8_t KeyBindings::key(int colour, int which) const {
    return validColour(colour) ? aKeys[colour][which != 0 ? 1 : 0] : 0;
}

std::uint8_t KeyBindings::defaultKey(int colour, int which) {
    return validColour(colour) ? kDefaults[colour][which != 0 ? 1 : 0] : 0;
}

bool KeyBindings::isDefault(int colour) const {
    return !validColour(colour) ||
           (aKeys[colour][0] == kDefaults[colour][0] && aKeys[colour][1] == kDefaults[colour][1]);
}

bool KeyBindings::allDefault() const {
    for (int colour = 0; colour < kColours; ++colour) {
        if (!isDefault(colour)) return false;
    }
    return true;
}

void KeyBindings::set(int colour, std::uint8_t first, std::uint8_t second) {
    if (!validColour(colour)) return;
    aKeys[colour][0] = first;
    aKeys[colour][1] = second;
}

void KeyBindings::reset(int colour) {
    if (validColour(colour)) set(colour, kDefaults[colour][0], kDefaults[colour][1]);
}

void KeyBindings::resetAll() {
    for (int colour = 0; colour < kColours; ++colour) reset(colour);
}

int KeyBindings::holderOf(std::uint8_t key) const {
    for (int colour = 0; colour < kColours; ++colour) {
        if (aKeys[colour][0] == key || aKeys[colour][1] == key) return colour;
    }
    return kNobody;
}

bool KeyBindings::isGameKey(std::uint8_t key) {
    for (std::uint8_t own : kGameKeys) {
        if (own == key) return true;
    }
    return false;
}

void KeyBindings::apply(std::uint8_t* keys) const {
    if (allDefault()) return;
    // All read before any is written: a colour may have moved onto a key
    // that is another colour's default.
    std::uint8_t held[kColours][2];
    for (int colour = 0; colour < kColours; ++colour) {
        for (int which = 0; which < 2; ++which) held[colour][which] = keys[aKeys[colour][which]];
    }
    for (int colour = 0; colour < kColours; ++colour) {
        for (int which = 0; which < 2; ++which) keys[kDefaults[colour][which]] = held[colour][which];
    }
}

std::string KeyBindings::textOf(int colour) const {
    return std::to_string(key(colour, 0)) + " " + std::to_string(key(colour, 1));
}

bool KeyBindings::parse(const std::string& text, std::uint8_t& first, std::uint8_t& second) {
    const char* at = text.c_str();
    if (!readCode(at, first) || !readCode(at, second)) return false;
    while (*at == ' ' || *at == '\t') ++at;
    return *at == '\0' && first != second && !isGameKey(first) && !isGameKey(second);
}

unsigned KeyBindings::resolveClashes() {
    unsigned putBack = 0;
    // Defaults never clash with each other, so each turn puts back a
    // colour that had keys of its own, and four turns at most settle it.
    for (bool clash = true; clash;) {
        clash = false;
        for (int a = 0; a < kColours && !clash; ++a) {
            for (int b = a + 1; b < kColours && !clash; ++b) {
                for (int which = 0; which < 2 && !clash; ++which) {
                    const std::uint8_t k = aKeys[b][which];
                    clash = aKeys[a][0] == k || aKeys[a][1] == k;
                }
                if (!clash) continue;
                const int loser = isDefault(b) ? a : b;
                reset(loser);
                putBack |= 1u << loser;
            }
        }
    }
    return putBack;
}
