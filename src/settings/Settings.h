#pragma once
#include <cstddef>
#include <string>

#include "combat/ComputerLevel.h"
#include "input/KeyBindings.h"
#include "settings/IniText.h"

// The player's choices that outlive a run, in configDir()/settings.ini:
//
//   [window]
//   width = 800
//   height = 800
//   fullscreen = false
//   [sound]
//   muted = false
//   [network]
//   port_mapping = true
//   relay = relay.example.org   (the relay last joined by code, HOST or HOST:PORT)
//   [keys]
//   yellow = 36 38       (the colour's two keys by PC scan code: J and L)
//   [computer]
//   green = hard         (easy, normal or hard)
//
// Saving changes the values that changed and nothing else: comments, blank
// lines and keys of a later version or of a player's own stay as they were
// written.
class Settings {
public:
    // The window's size when not fullscreen, in desktop units; 0 lets the
    // game choose from the desktop.
    int windowWidth = 0;
    int windowHeight = 0;
    bool fullscreen = false;
    bool muted = false;
    // Hosting asks the home router to forward the port; only read.
    bool portMapping = true;
    // The relay's address the last room joined by code was on; empty at first.
    std::string relay;
    static constexpr std::size_t kLongestRelay = 255;
    // Each colour's keys; a garbled entry, or one whose keys another colour
    // has, gives that colour its defaults and is told on stderr.
    KeyBindings keys;
    // The strength of each colour when the computer plays it.
    ComputerLevels levels;

    // Reads the file. A value that is missing or makes no sense keeps its
    // default, so a missing, empty, cut or garbled file gives the defaults.
    // False only when a file is there but cannot be read: then save() leaves
    // it alone too.
    bool load();
    // Writes the values that changed since load() (or the last save) into
    // the file the careful way (platform::saveFileSafely), making the folder
    // if needed; nothing changed writes nothing. False, with the reason, when
    // the old file was left as it was: it could not be written, could not be
    // read, or is larger than a settings file ever is.
    bool save(std::string& reason);

    // Whether load() was asked at all. Settings made without it (the
    // tools, tests) belong to no file and are not written back.
    bool cameFromTheFile() const { return bLoaded || bUnreadable; }

    static std::string path();
    // Something differs from the file as it was read or last saved.
    bool hasChanges() const;

private:
    struct Values {
        int width = 0;
        int height = 0;
        bool fullscreen = false;
        bool muted = false;
        std::string relay;
        KeyBindings keys;
        ComputerLevels levels;
    };
    Values current() const;
    void readKeysAndLevels();

    IniText file;
    Values saved;  // as the file on disk has them
    bool bLoaded = false;  // a file never read is never written over
    bool bUnreadable = false;
    bool bTooLong = false;
};
