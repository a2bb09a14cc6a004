#include "platform/EventPump.h"

#include <SDL.h>

#include <deque>

#include "platform/DisplayFaults.h"
#include "platform/GamePads.h"
#include "platform/HeldKeys.h"
#include "platform/KeyboardTable.h"

namespace platform {
namespace {

bool g_closeRequested = false;
HeldKeys g_heldKeys;
// The rest of a text event that typed several characters at once.
std::deque<Message> g_pendingChars;

// What a character the 8-bit game cannot show becomes, as a system does
// for a character outside its code page.
constexpr std::int32_t kUnmappable = '?';

Message make(MessageType type, std::int32_t value = 0, std::int32_t x = 0, std::int32_t y = 0) {
    Message message;
    message.type = type;
    message.value = value;
    message.x = x;
    message.y = y;
    return message;
}

// The characters of UTF-8 text, one value each: its code when it fits the
// game's eight bits, kUnmappable when it does not. Bytes that are no valid
// UTF-8 are skipped.
std::deque<std::int32_t> decodeText(const char* text, std::size_t capacity) {
    std::deque<std::int32_t> characters;
    std::size_t i = 0;
    while (i < capacity && text[i] != '\0') {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        std::int32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        } else {
            ++i;
            continue;
        }
        bool valid = i + static_cast<std::size_t>(length) <= capacity;
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            ++i;
            continue;
        }
        characters.push_back(code <= 0xFF ? code : kUnmappable);
        i += static_cast<std::size_t>(length);
    }
    return characters;
}

// A key that switches something (pause, sound) acts once per press, not
// again at every repeat while it is held.
bool translateKey(const SDL_KeyboardEvent& key, Message& message) {
    if (key.repeat) return false;
    const std::uint8_t code = scanCodeOf(key.keysym.scancode);
    if (code == 0) return false;
    const SDL_Keycode symbol = key.keysym.sym;
    const std::int32_t letter = symbol >= SDLK_a && symbol <= SDLK_z ? static_cast<std::int32_t>(symbol) : 0;
    message = make(MessageType::Key, code, letter);
    return true;
}

bool translatePad(const SDL_Event& event, Message& message) {
    const PadChange change = systemPads().handleEvent(event);
    switch (change.kind) {
        case PadChange::Kind::Added:
            message = make(MessageType::PadAdded, change.pad);
            return true;
        case PadChange::Kind::Removed:
            message = make(MessageType::PadRemoved, change.pad);
            return true;
        case PadChange::Kind::Pressed:
            message = make(MessageType::PadPress, change.pad, change.button);
            return true;
        default:
            return false;
    }
}

// Characters the name entry and the menu understand; anything else typed
// is of no use to them.
bool translate(const SDL_Event& event, Message& message) {
    switch (event.type) {
        case SDL_QUIT:
            message = make(MessageType::Close);
            return true;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    message = make(MessageType::Activate, 1);
                    return true;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    message = make(MessageType::Activate, 0);
                    return true;
                case SDL_WINDOWEVENT_MINIMIZED:
                    message = make(MessageType::Minimised);
                    return true;
                case SDL_WINDOWEVENT_RESTORED:
                    message = make(MessageType::Restored);
                    return true;
                case SDL_WINDOWEVENT_MOVED:
                case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                    message = make(MessageType::Moved);
                    return true;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    message = make(MessageType::Paint);
                    return true;
                case SDL_WINDOWEVENT_CLOSE:
                    message = make(MessageType::Close);
                    return true;
                default:
                    return false;
            }
        case SDL_KEYDOWN:
            switch (event.key.keysym.sym) {
                case SDLK_F11:
                    // Held down it would flip back and forth.
                    if (event.key.repeat) return false;
                    message = make(MessageType::ToggleFullscreen);
                    return true;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    if (event.key.keysym.mod & KMOD_ALT) {
                        // Alt+Enter is the fullscreen key, never also an Enter.
                        if (event.key.repeat) return false;
                        message = make(MessageType::ToggleFullscreen);
                        return true;
                    }
                    message = make(MessageType::Char, 13);
                    return true;
                case SDLK_BACKSPACE:
                    message = make(MessageType::Char, 8);
                    return true;
                case SDLK_ESCAPE:
                    message = make(MessageType::Char, 27);
                    return true;
                default:
                    return translateKey(event.key, message);
            }
        case SDL_TEXTINPUT: {
            // An input method or a compose key may commit several characters
            // in one event: each becomes a message of its own.
            for (const std::int32_t ch : decodeText(event.text.text, sizeof event.text.text)) {
                g_pendingChars.push_back(make(MessageType::Char, ch));
            }
            if (g_pendingChars.empty()) return false;
            message = g_pendingChars.front();
            g_pendingChars.pop_front();
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) return false;
            message = make(MessageType::Click, 0, event.button.x, event.button.y);
            return true;
        default:
            return translatePad(event, message);
    }
}

// The keyboard table and the display watch the raw events themselves; the
// focus going takes every pad's buttons with it, as it does the keys.
void observe(const SDL_Event& event) {
    handleKeyboardEvent(event);
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        systemPads().releaseAll();
    }
    if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
        noteRenderEvent(event.type);
    }
}

bool deliver(const SDL_Event& event, Message& message) {
    observe(event);
    if (!g_heldKeys.admits(event)) return false;
    return translate(event, message);
}

}  // namespace

bool peekMessage(Message& message) {
    if (g_closeRequested) {
        g_closeRequested = false;
        message = make(MessageType::Close);
        return true;
    }
    if (!g_pendingChars.empty()) {
        message = g_pendingChars.front();
        g_pendingChars.pop_front();
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (deliver(event, message)) return true;
    }
    return false;
}

bool waitMessage(Message& message, std::uint32_t timeoutMs) {
    if (peekMessage(message)) return true;
    SDL_Event event;
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        const Uint32 spent = SDL_GetTicks() - start;
        if (spent >= timeoutMs) return false;
        if (!SDL_WaitEventTimeout(&event, static_cast<int>(timeoutMs - spent))) return false;
        if (deliver(event, message)) return true;
        if (g_closeRequested) return peekMessage(message);
    }
}

void ignoreHeldKeys() { g_heldKeys.beginScene(); }

void requestClose() { g_closeRequested = true; }
bool closeRequested() { return g_closeRequested; }
void clearCloseRequest() { g_closeRequested = false; }

namespace testing {
void clearEventPump() {
    g_heldKeys.clear();
    g_pendingChars.clear();
}
}  // namespace testing

}  // namespace platform
