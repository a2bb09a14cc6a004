#pragma once
#include <string>

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

private:
    struct Values {
        int width = 0;
        int height = 0;
        bool fullscreen = false;
        bool muted = false;
    };

    IniText file;
    Values saved;  // as the file on disk has them
    bool bLoaded = false;  // a file never read is never written over
    bool bUnreadable = false;
    bool bTooLong = false;
};
