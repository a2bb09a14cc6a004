#pragma once
#include <functional>
#include <string>

// What differs when the game runs in a web browser page rather than on the
// desktop. The game asks these plain questions instead of knowing where it
// was built for.
namespace platform {

bool runsInBrowser();
// Online play needs UDP, which a browser page cannot speak.
bool onlinePlayAvailable();

// Files saved so far reach lasting storage. On the desktop a save is lasting
// once renamed into place; in a browser the files live in memory, and this
// copies them whole into the browser's IndexedDB.
void persistSavedFiles();

// A picture is being shown for the first time: a page notes when (the time
// to the first picture is one of its promises). Nothing on the desktop.
void notePictureShown();

// The page hands the game a replay file the player opened (written to the
// in-memory files first): the game is told its path. The last function
// given is the one told.
void onReplayFileOpened(std::function<void(const std::string& path)> handler);

namespace testing {
// What the page does when the player opens a replay.
void openReplayFile(const char* path);
}  // namespace testing

}  // namespace platform
