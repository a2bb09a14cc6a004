#include "app/SettingsWriteBack.h"

#include <string>

#include "app/scenes/Stage.h"
#include "platform/Window.h"
#include "settings/Settings.h"

void writeBackSettings(const Settings& started, const platform::Window& window, bool muted, ErrorLogger& logger) {
    if (!started.cameFromTheFile()) return;
    Settings now = started;
    window.windowedSize(now.windowWidth, now.windowHeight);
    now.fullscreen = window.isFullscreen();
    now.muted = muted;
    if (!now.hasChanges()) return;
    std::string reason;
    if (!now.save(reason)) {
        Stage::tellFailedSave(logger, "Could not save the settings to " + Settings::path() + ": " + reason + ".",
                              reason);
    }
}
