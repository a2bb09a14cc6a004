#include "settings/Settings.h"

#include <strings.h>

#include <cerrno>
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
    saved = Values{windowWidth, windowHeight, fullscreen, muted};
    bLoaded = true;
    return true;
}

bool Settings::save(std::string& reason) {
    if (bUnreadable || !bLoaded) {
        reason = "the file could not be read, so it is left as it is";
        return false;
    }
    const Values now{windowWidth, windowHeight, fullscreen, muted};
    if (now.width == saved.width && now.height == saved.height && now.fullscreen == saved.fullscreen &&
        now.muted == saved.muted) {
        return true;
    }
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
    if (!dataFolders::makeFolders(dataFolders::configDir(), reason) ||
        !platform::saveFileSafely(path(), changed.text(), reason)) {
        return false;
    }
    file = changed;
    saved = now;
    return true;
}
