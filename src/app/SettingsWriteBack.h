#pragma once

class ErrorLogger;
struct Settings;
namespace platform {
class Window;
}

// At the end of a run, what changed in the settings the game started with
// (the window's size, fullscreen, mute) is written back; a failure is told.
// Unchanged settings are not written: a start that never got far, or a
// read-only folder, costs the player no message.
void writeBackSettings(const Settings& started, const platform::Window& window, bool muted, ErrorLogger& logger);
