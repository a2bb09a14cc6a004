#pragma once
#include <memory>
#include <string>
#include <vector>

struct SDL_Renderer;

namespace platform {

class FontFace;

// What is shown over the game's picture and never drawn into it: a note
// over the darkened picture (the pause), the mark of muted sound, and
// which pad plays which colour in the menu. The display draws it after
// every picture it shows, in the picture's own 400 x 400 coordinates.
class ScreenOverlay {
public:
    struct PadMark {
        int x = 0;  // top left of the mark; its number follows on the right
        int y = 0;
        int pad = 0;
    };

    ScreenOverlay();
    ~ScreenOverlay();
    ScreenOverlay(const ScreenOverlay&) = delete;
    ScreenOverlay& operator=(const ScreenOverlay&) = delete;

    // The first line is the title; no lines, no note.
    void setNote(const std::vector<std::string>& lines) { noteLines = lines; }
    const std::vector<std::string>& note() const { return noteLines; }
    void setMuted(bool on) { muted = on; }
    bool showsMuted() const { return muted; }
    void setPadMarks(const std::vector<PadMark>& marks) { padMarks = marks; }
    const std::vector<PadMark>& marks() const { return padMarks; }

    void draw(SDL_Renderer* renderer);

private:
    void drawNote(SDL_Renderer* renderer);
    void drawSpeaker(SDL_Renderer* renderer) const;
    void drawPadMark(SDL_Renderer* renderer, const PadMark& mark);
    void drawText(SDL_Renderer* renderer, FontFace* face, const std::string& text, int x, int y, bool centred,
                 const unsigned char (&colour)[3]);
    FontFace* face(std::unique_ptr<FontFace>& slot, const char* name, int height);

    std::vector<std::string> noteLines;
    bool muted;
    std::vector<PadMark> padMarks;
    std::unique_ptr<FontFace> titleFace;
    std::unique_ptr<FontFace> textFace;
};

}  // namespace platform
