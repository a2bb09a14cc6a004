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

    // A colour another machine of an online room plays: its Player box is
    // veiled, and the machine's number and round trip stand beside it.
    struct TakenMark {
        int boxLeft = 0;
        int boxTop = 0;
        int boxSize = 0;
        int x = 0;  // top left of the words
        int y = 0;
        std::string text;
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
    void setTakenMarks(const std::vector<TakenMark>& marks) { takenMarks = marks; }
    const std::vector<TakenMark>& taken() const { return takenMarks; }
    // A few short lines low on the left of the menu: the online room.
    void setStatus(const std::vector<std::string>& lines) { statusLines = lines; }
    const std::vector<std::string>& status() const { return statusLines; }
    // Whether a click at x, y (the picture's coordinates) fell on those lines.
    static bool inStatusArea(int x, int y);

    void draw(SDL_Renderer* renderer);

private:
    void drawNote(SDL_Renderer* renderer);
    void drawSpeaker(SDL_Renderer* renderer) const;
    void drawPadMark(SDL_Renderer* renderer, const PadMark& mark);
    void drawTakenMark(SDL_Renderer* renderer, const TakenMark& mark);
    void drawStatus(SDL_Renderer* renderer);
    // The line as it is, or cut with "..." to fit the width.
    static std::string fitted(const FontFace& font, const std::string& line, int width);
    // A long line broken between words into rows that fit the width.
    static std::vector<std::string> wrapped(const FontFace& font, const std::string& line, int width);
    void drawText(SDL_Renderer* renderer, FontFace* face, const std::string& text, int x, int y, bool centred,
                 const unsigned char (&colour)[3]);
    FontFace* face(std::unique_ptr<FontFace>& slot, const char* name, int height);

    std::vector<std::string> noteLines;
    bool muted;
    std::vector<PadMark> padMarks;
    std::vector<TakenMark> takenMarks;
    std::vector<std::string> statusLines;
    std::unique_ptr<FontFace> titleFace;
    std::unique_ptr<FontFace> textFace;
    std::unique_ptr<FontFace> smallFace;
};

}  // namespace platform
