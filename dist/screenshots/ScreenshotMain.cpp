// quadrill-screenshots <outdir>
//
// Composes the two frames the software centre shows, headless, with the
// game's own classes: the menu as a new player first sees it, and a match
// of four computer players some seconds in. Writes menu.png and match.png,
// each frame doubled to 800 x 800 pixel for pixel (the size it has on a
// display at twice the usual scale), the same on every run.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PngWriter.h"
#include "app/Application.h"
#include "combat/Combat.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "platform/Ticks.h"
#include "platform/Window.h"

namespace {

constexpr int kSide = 400;
constexpr int kScale = 2;
constexpr std::uint32_t kStartTime = 1000;
constexpr std::uint32_t kFrameMs = 16;
// Far enough into the first serves that balls, paddles and scores all show.
constexpr int kMatchFrames = 900;

bool savePicture(const DisplayDevice& display, const std::string& path) {
    const int side = kSide * kScale;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(side) * side * 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            std::uint8_t red = 0, green = 0, blue = 0;
            if (!display.readBackBufferPixel(x / kScale, y / kScale, red, green, blue)) return false;
            unsigned char* pixel = &rgba[(static_cast<std::size_t>(y) * side + x) * 4];
            pixel[0] = red;
            pixel[1] = green;
            pixel[2] = blue;
            pixel[3] = 255;
        }
    }
    const bool written = files::writePng(side, side, rgba, path);
    if (!written) std::fprintf(stderr, "quadrill-screenshots: cannot write %s\n", path.c_str());
    return written;
}

// Every folder the game might read a player's table or settings from
// points into an empty scratch folder, so the pictures show the defaults
// whoever builds them.
class ScratchHome {
public:
    ScratchHome() {
        char pattern[] = "/tmp/quadrill-screenshots.XXXXXX";
        if (mkdtemp(pattern) == nullptr) return;
        path_ = pattern;
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME",
                                 "QUADRILL_DATA_DIR", "QUADRILL_CONFIG_DIR"}) {
            setenv(name, path_.c_str(), 1);
        }
        if (chdir(path_.c_str()) != 0) path_.clear();
    }
    ~ScratchHome() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;
    bool ready() const { return !path_.empty(); }

private:
    std::string path_;
};

bool composeAndSave(const std::string& dir) {
    ErrorLogger logger;
    if (!logger.init()) return false;
    platform::Window window;
    if (!window.create("Quadrill", kSide, kSide, false)) return false;
    Application app(window, logger);
    app.skipSavingHighScores();
    if (!app.initDisplayAndMenu() || !app.drawScene()) return false;
    if (!savePicture(*app.display(), dir + "/menu.png")) return false;

    // Yellow's PC box, then Enter: the computer plays all four sides.
    app.onClick(308, 148);
    app.onChar('\r');
    Combat* combat = app.combat();
    if (combat == nullptr) return false;
    const std::uint8_t keys[256] = {};
    for (int frame = 0; frame < kMatchFrames; ++frame) {
        if (!combat->update(keys, kFrameMs)) break;
    }
    combat->compose();
    return savePicture(*app.display(), dir + "/match.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quadrill-screenshots <outdir>\n");
        return 2;
    }
    char* absolute = realpath(argv[1], nullptr);
    if (absolute == nullptr) {
        std::fprintf(stderr, "quadrill-screenshots: no folder %s\n", argv[1]);
        return 1;
    }
    const std::string dir = absolute;
    std::free(absolute);

    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ScratchHome home;
    if (!home.ready()) {
        std::fprintf(stderr, "quadrill-screenshots: cannot make a scratch folder\n");
        return 1;
    }
    platform::testing::setTickCount(kStartTime);
    if (!composeAndSave(dir)) {
        std::fprintf(stderr, "quadrill-screenshots: the frames could not be composed\n");
        return 1;
    }
    return 0;
}
