#pragma once

// The logo opens the game's own page on how to play in the browser. The
// page travels inside the executable and is written out as a local file
// first, so it works from the build tree as well as when installed.
// Returns false when the page could not be written or no opener ran.
bool openHowToPlayPage();
