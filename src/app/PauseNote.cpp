#include "app/PauseNote.h"

#include "app/scenes/Scene.h"
#include "input/PadClaims.h"

std::vector<std::string> pauseNoteLines(const Scene& scene, const PadClaims& claims) {
    static const char* const kColourNames[PadClaims::kColours] = {"green", "yellow", "red", "blue"};
    std::vector<std::string> lines;
    if (!scene.isPausable() || !scene.isPaused()) return lines;
    lines.push_back("Paused");
    if (scene.pausesRoom()) lines.push_back("Every machine waits");
    for (int colour = 0; colour < PadClaims::kColours; ++colour) {
        if (claims.isWaiting(colour)) lines.push_back(std::string("The ") + kColourNames[colour] + " pad is unplugged");
    }
    lines.push_back(claims.anyWaiting() ? "Plug it back in, or press P or Start to play on"
                                        : "Press P, or Start on a pad, to play on");
    lines.push_back("Escape leaves the match");
    return lines;
}
