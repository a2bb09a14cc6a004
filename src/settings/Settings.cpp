#include "settings/Settings.h"

#include <ini.h>
#include <strings.h>

#include <cerrno>
#include <cstdlib>

#include "platform/File.h"
#include "platform/SafeSave.h"
#include "settings/DataFolders.h"

namespace {

// A settings file this long is not one we wrote; what is beyond is not read.
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

int Settings::keep(void* self, const char* section, const char* key, const char* value) {
    static_cast<Settings*>(self)->put(section, key, value ? value : "");
    return 1;
}

Settings::Entry* Settings::find(const char* section, const char* key) {
    for (Entry& entry : entries) {
        if (same(entry.section, section) && same(entry.key, key)) return &entry;
    }
    return nullptr;
}

void Settings::put(const char* section, const char* key, const std::string& value) {
    if (Entry* entry = find(section, key)) {
        entry->value = value;
        return;
    }
    // A new key joins its section as the file already spells it.
    std::string heading = section;
    for (const Entry& entry : entries) {
        if (same(entry.section, section)) heading = entry.section;
    }
    entries.push_back({heading, key, value});
}

bool Settings::load() {
    *this = Settings();
    std::string bytes;
    std::string reason;
    const platform::ReadResult read = platform::readWholeFile(path(), kLongestFile, bytes, reason);
    if (read == platform::ReadResult::Failed) {
        bUnreadable = true;
        return false;
    }
    // Lines the reader cannot make sense of are skipped; it goes on after them.
    if (read == platform::ReadResult::Read) ini_parse_string(bytes.c_str(), &Settings::keep, this);
    const Entry* width = find("window", "width");
    const Entry* height = find("window", "height");
    if (width && height) {
        // Both or neither: half a size is no size the player chose.
        windowWidth = sizeFrom(width->value, 0);
        windowHeight = sizeFrom(height->value, 0);
        if (windowWidth == 0 || windowHeight == 0) windowWidth = windowHeight = 0;
    }
    if (const Entry* full = find("window", "fullscreen")) fullscreen = flagFrom(full->value, fullscreen);
    if (const Entry* mute = find("sound", "muted")) muted = flagFrom(mute->value, muted);
    return true;
}

std::string Settings::text() const {
    // Keys before any section heading come first, as they must; then each
    // section with all its keys, in the order the sections first appeared.
    std::vector<std::string> sections(1, "");
    for (const Entry& entry : entries) {
        bool known = false;
        for (const std::string& section : sections) known = known || section == entry.section;
        if (!known) sections.push_back(entry.section);
    }
    std::string out;
    for (const std::string& section : sections) {
        if (!section.empty()) out += (out.empty() ? "[" : "\n[") + section + "]\n";
        for (const Entry& entry : entries) {
            if (entry.section == section) out += entry.key + " = " + entry.value + "\n";
        }
    }
    return out;
}

bool Settings::save(std::string& reason) {
    if (bUnreadable) {
        reason = "the file could not be read, so it is left as it is";
        return false;
    }
    put("window", "width", std::to_string(windowWidth));
    put("window", "height", std::to_string(windowHeight));
    put("window", "fullscreen", flagText(fullscreen));
    put("sound", "muted", flagText(muted));
    return dataFolders::makeFolders(dataFolders::configDir(), reason) &&
           platform::saveFileSafely(path(), text(), reason);
}
