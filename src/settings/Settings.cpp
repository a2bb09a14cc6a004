#include "settings/Settings.h"

#include <strings.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/File.h"
#include "platform/SafeSave.h"
#include "settings/DataFolders.h"

namespace {

// A settings file this long is not one we wrote; what is beyond is not
// read, and the file is never written back, or that would be lost.
constexpr std::size_t kLongestFile = 64 * 1024;
// Sides beyond any desktop are a garbled value, not a wish.
constexpr long kLargestWindow = 32768;

bool same(const std::string& a, const char* b) { return ::strcasecmp(a.c_str(), b) == 0; }

int sizeFrom(const std::string& text, int fallback) {
    if (text.empty()) return fallback;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < 0 || value > kLargestWindow) return fallback;
    return static_cast<int>(value);
}

bool flagFrom(const std::string& text, bool fallback) {
    for (const char* yes : {"true", "yes", "on", "1"}) {
        if (same(text, yes)) return true;
    }
    for (const char* no : {"false", "no", "off", "0"}) {
        if (same(text, no)) return false;
    }
    return fallback;
}

const char* flagText(bool on) { return on ? "true" : "false"; }

// The colours' names as the file writes them, green, yellow, red, blue.
const char* const kColourKeys[4] = {"green", "yellow", "red", "blue"};

bool sameLevels(const ComputerLevels& a, const ComputerLevels& b) {
    for (int colour = 0; colour < 4; ++colour) {
        if (a.of(colour) != b.of(colour)) return false;
    }
    return true;
}

bool sameKeys(const KeyBindings& a, const KeyBindings& b, int colour) {
    return a.key(colour, 0) == b.key(colour, 0) && a.key(colour, 1) == b.key(colour, 1);
}

}  // namespace

std::string Settings::path() { return dataFolders::configDir() + "/settings.ini"; }

bool Settings::load() {
    *this = Settings();
    std::string bytes;
    std::string reason;
    const platform::ReadResult read = platform::readWholeFile(path(), kLongestFile + 1, bytes, reason);
    if (read == platform::ReadResult::Failed) {
        bUnreadable = true;
        return false;
    }
    if (bytes.size() > kLongestFile) {
        bTooLong = true;
        bytes.resize(kLongestFile);
    }
    file = IniText(bytes);
    const std::string* width = file.find("window", "width");
    const std::string* height = file.find("window", "height");
    if (width && height) {
        // Both or neither: half a size is no size the player chose.
        windowWidth = sizeFrom(*width, 0);
        windowHeight = sizeFrom(*height, 0);
        if (windowWidth == 0 || windowHeight == 0) windowWidth = windowHeight = 0;
    }
    if (const std::string* full = file.find("window", "fullscreen")) fullscreen = flagFrom(*full, fullscreen);
    if (const std::string* mute = file.find("sound", "muted")) muted = flagFrom(*mute, muted);
    if (const std::string* mapping = file.find("network", "port_mapping")) {
        portMapping = flagFrom(*mapping, portMapping);
    }
    // An address no relay has is no address: an over-long one is dropped.
    if (const std::string* address = file.find("network", "relay")) {
        if (address->size() <= kLongestRelay) relay = *address;
    }
    readKeysAndLevels();
    saved = current();
    bLoaded = true;
    return true;
}

void Settings::readKeysAndLevels() {
    for (int colour = 0; colour < 4; ++colour) {
        if (const std::string* entry = file.find("keys", kColourKeys[colour])) {
            std::uint8_t first = 0;
            std::uint8_t second = 0;
            if (KeyBindings::parse(*entry, first, second)) {
                keys.set(colour, first, second);
            } else {
                std::fprintf(stderr,
                             "quadrill: %s: the keys of %s (\"%s\") make no sense; %s plays with its own keys\n",
                             path().c_str(), kColourKeys[colour], entry->c_str(), kColourKeys[colour]);
            }
        }
        if (const std::string* entry = file.find("computer", kColourKeys[colour])) {
            ComputerLevel strength = ComputerLevel::kNormal;
            if (parseComputerLevel(entry->c_str(), strength)) levels.set(colour, strength);
        }
    }
    const unsigned putBack = keys.resolveClashes();
    for (int colour = 0; colour < 4; ++colour) {
        if (putBack & (1u << colour)) {
            std::fprintf(stderr, "quadrill: %s: %s shares its keys with another colour; %s plays with its own keys\n",
                         path().c_str(), kColourKeys[colour], kColourKeys[colour]);
        }
    }
}

Settings::Values Settings::current() const {
    Values now;
    now.width = windowWidth;
    now.height = windowHeight;
    now.fullscreen = fullscreen;
    now.muted = muted;
    now.relay = relay;
    now.keys = keys;
    now.levels = levels;
    return now;
}

bool Settings::hasChanges() const {
    const Values now = current();
    if (now.width != saved.width || now.height != saved.height || now.fullscreen != saved.fullscreen ||
        now.muted != saved.muted || now.relay != saved.relay || !sameLevels(now.levels, saved.levels)) {
        return true;
    }
    for (int colour = 0; colour < 4; ++colour) {
        if (!sameKeys(now.keys, saved.keys, colour)) return true;
    }
    return false;
}

bool Settings::save(std::string& reason) {
    if (bUnreadable || !bLoaded) {
        reason = "the file could not be read, so it is left as it is";
        return false;
    }
    if (!hasChanges()) return true;
    const Values now = current();
    if (bTooLong) {
        reason = "the file is larger than 64 KiB, more than settings ever take, so it is left as it is";
        return false;
    }
    IniText changed = file;
    // A size is both sides or none, so both are written when either changed.
    if (now.width != saved.width || now.height != saved.height) {
        changed.set("window", "width", std::to_string(now.width));
        changed.set("window", "height", std::to_string(now.height));
    }
    if (now.fullscreen != saved.fullscreen) changed.set("window", "fullscreen", flagText(now.fullscreen));
    if (now.muted != saved.muted) changed.set("sound", "muted", flagText(now.muted));
    if (now.relay != saved.relay) changed.set("network", "relay", now.relay);
    for (int colour = 0; colour < 4; ++colour) {
        if (!sameKeys(now.keys, saved.keys, colour)) changed.set("keys", kColourKeys[colour], now.keys.textOf(colour));
        if (now.levels.of(colour) != saved.levels.of(colour)) {
            changed.set("computer", kColourKeys[colour], computerLevelName(now.levels.of(colour)));
        }
    }
    if (!dataFolders::makeFolders(dataFolders::configDir(), reason) ||
        !platform::saveFileSafely(path(), changed.text(), reason)) {
        return false;
    }
    file = changed;
    saved = now;
    return true;
}
