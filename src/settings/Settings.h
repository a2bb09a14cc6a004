#pragma once
#include <string>
#include <vector>

// The player's choices that outlive a run, in configDir()/settings.ini:
//
//   [window]
//   width = 800
//   height = 800
//   fullscreen = false
//   [sound]
//   muted = false
//
// Everything else in the file (keys of a later version, keys a player added)
// is written back as it was found; comments and sections without keys are
// not kept.
class Settings {
public:
    // The window's size when not fullscreen, in desktop units; 0 lets the
    // game choose from the desktop.
    int windowWidth = 0;
    int windowHeight = 0;
    bool fullscreen = false;
    bool muted = false;

    // Reads the file. A value that is missing or makes no sense keeps its
    // default, so a missing, empty, cut or garbled file gives the defaults.
    // False only when a file is there but cannot be read: then save() leaves
    // it alone too.
    bool load();
    // Writes the file the careful way (platform::saveFileSafely), making
    // the folder if needed. False, with the reason, when the old file was
    // left as it was.
    bool save(std::string& reason);

    static std::string path();

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };

    static int keep(void* self, const char* section, const char* key, const char* value);
    Entry* find(const char* section, const char* key);
    void put(const char* section, const char* key, const std::string& value);
    std::string text() const;

    std::vector<Entry> entries;  // every key of the file, in the file's order
    bool bUnreadable = false;
};
