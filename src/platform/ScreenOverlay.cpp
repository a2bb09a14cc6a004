#include "platform/ScreenOverlay.h"

#include <SDL.h>

#include "platform/FontFace.h"

namespace platform {
namespace {

constexpr int kPicture = 400;
constexpr int kTitleHeight = 40;
constexpr int kTextHeight = 20;
constexpr int kLineGap = 4;
constexpr int kNoteMargin = 14;
constexpr int kSmallHeight = 16;
// The room's lines stand left of the table of best results, in the space
// between the colours' rows and the Exit button; longer lines are cut.
constexpr int kStatusLeft = 8;
constexpr int kStatusTop = 242;
constexpr int kStatusWidth = 124;
constexpr int kStatusLines = 4;

const unsigned char kPale[3] = {253, 232, 179};  // the menu's table colour
const unsigned char kWhite[3] = {255, 255, 255};

void fill(SDL_Renderer* renderer, int x, int y, int w, int h) {
    const SDL_Rect rect{x, y, w, h};
    SDL_RenderFillRect(renderer, &rect);
}

}  // namespace

ScreenOverlay::ScreenOverlay() : muted(false) {}

ScreenOverlay::~ScreenOverlay() = default;

FontFace* ScreenOverlay::face(std::unique_ptr<FontFace>& slot, const char* name, int height) {
    if (!slot) slot = FontFace::open(name, height);
    return slot.get();
}

void ScreenOverlay::draw(SDL_Renderer* renderer) {
    if (renderer == nullptr) return;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    for (const PadMark& mark : padMarks) drawPadMark(renderer, mark);
    for (const TakenMark& mark : takenMarks) drawTakenMark(renderer, mark);
    if (!statusLines.empty()) drawStatus(renderer);
    if (!noteLines.empty()) drawNote(renderer);
    if (muted) drawSpeaker(renderer);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

void ScreenOverlay::drawText(SDL_Renderer* renderer, FontFace* font, const std::string& text, int x, int y,
                             bool centred, const unsigned char (&colour)[3]) {
    if (font == nullptr || text.empty()) return;
    SDL_Surface* image = font->rendered(text.c_str(), colour[0], colour[1], colour[2]);
    if (image == nullptr) return;
    // Made for each showing: the overlay is shown seldom, and a texture
    // kept would not outlive a rebuilt display.
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, image);
    if (texture == nullptr) return;
    const SDL_Rect place{centred ? x - image->w / 2 : x, y, image->w, image->h};
    SDL_RenderCopy(renderer, texture, nullptr, &place);
    SDL_DestroyTexture(texture);
}

void ScreenOverlay::drawNote(SDL_Renderer* renderer) {
    // The match stays visible under the note, dimmed, so the players see
    // where everything stood when they come back to it.
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 160);
    fill(renderer, 0, 0, kPicture, kPicture);
    FontFace* title = face(titleFace, "comic sans", kTitleHeight);
    FontFace* text = face(textFace, "arial narrow", kTextHeight);
    const int height = kTitleHeight + static_cast<int>(noteLines.size() - 1) * (kTextHeight + kLineGap);
    int y = (kPicture - height) / 2;
    // A darker band under the words, which may fall on the pale centre.
    SDL_SetRenderDrawColor(renderer, 10, 12, 24, 200);
    fill(renderer, kNoteMargin, y - kNoteMargin, kPicture - 2 * kNoteMargin, height + 2 * kNoteMargin);
    drawText(renderer, title, noteLines[0], kPicture / 2, y, true, kWhite);
    y += kTitleHeight + kLineGap;
    for (std::size_t line = 1; line < noteLines.size(); ++line) {
        drawText(renderer, text, noteLines[line], kPicture / 2, y, true, kPale);
        y += kTextHeight + kLineGap;
    }
}

void ScreenOverlay::drawSpeaker(SDL_Renderer* renderer) const {
    // Top left, where neither the menu nor the arena shows anything: a
    // loudspeaker on a dark ground, struck through.
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 170);
    fill(renderer, 1, 1, 20, 16);
    SDL_SetRenderDrawColor(renderer, 230, 230, 230, 255);
    fill(renderer, 4, 7, 3, 5);
    for (int step = 0; step < 5; ++step) fill(renderer, 7 + step, 7 - step, 1, 5 + 2 * step);
    SDL_SetRenderDrawColor(renderer, 235, 60, 50, 255);
    for (int step = 0; step < 13; ++step) fill(renderer, 4 + step, 2 + step, 2, 2);
}

void ScreenOverlay::drawPadMark(SDL_Renderer* renderer, const PadMark& mark) {
    const int x = mark.x;
    const int y = mark.y;
    // A pad seen from above: the body and its two grips, the cross on the
    // left and two buttons on the right.
    SDL_SetRenderDrawColor(renderer, 215, 218, 228, 255);
    fill(renderer, x + 2, y + 2, 14, 7);
    fill(renderer, x, y + 5, 5, 7);
    fill(renderer, x + 13, y + 5, 5, 7);
    SDL_SetRenderDrawColor(renderer, 40, 44, 60, 255);
    fill(renderer, x + 4, y + 3, 1, 5);
    fill(renderer, x + 2, y + 5, 5, 1);
    fill(renderer, x + 12, y + 3, 2, 2);
    fill(renderer, x + 14, y + 6, 2, 2);
    FontFace* text = face(textFace, "arial narrow", kTextHeight);
    drawText(renderer, text, std::to_string(mark.pad), x + 21, y - 3, false, kPale);
}

void ScreenOverlay::drawTakenMark(SDL_Renderer* renderer, const TakenMark& mark) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 150);
    fill(renderer, mark.boxLeft - 1, mark.boxTop - 1, mark.boxSize + 2, mark.boxSize + 2);
    drawText(renderer, face(smallFace, "arial narrow", kSmallHeight), mark.text, mark.x, mark.y, false, kPale);
}

void ScreenOverlay::drawStatus(SDL_Renderer* renderer) {
    FontFace* text = face(smallFace, "arial narrow", kSmallHeight);
    if (text == nullptr) return;
    std::vector<std::string> rows;
    for (const std::string& line : statusLines) {
        for (const std::string& row : wrapped(*text, line, kStatusWidth)) rows.push_back(row);
    }
    int y = kStatusTop;
    const std::size_t shown = rows.size() < kStatusLines ? rows.size() : kStatusLines;
    for (std::size_t i = 0; i < shown; ++i) {
        drawText(renderer, text, rows[i], kStatusLeft, y, false, kPale);
        y += kSmallHeight + 2;
    }
}

bool ScreenOverlay::inStatusArea(int x, int y) {
    return x >= kStatusLeft && x < kStatusLeft + kStatusWidth && y >= kStatusTop &&
           y < kStatusTop + kStatusLines * (kSmallHeight + 2);
}

std::vector<std::string> ScreenOverlay::wrapped(const FontFace& font, const std::string& line, int width) {
    std::vector<std::string> rows;
    std::string row;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t space = line.find(' ', start);
        if (space == std::string::npos) space = line.size();
        const std::string word = line.substr(start, space - start);
        const std::string longer = row.empty() ? word : row + " " + word;
        int w = 0;
        int h = 0;
        if (!row.empty() && font.measure(longer.c_str(), w, h) && w > width) {
            rows.push_back(fitted(font, row, width));
            row = word;
        } else {
            row = longer;
        }
        start = space + 1;
    }
    if (!row.empty() || rows.empty()) rows.push_back(fitted(font, row, width));
    return rows;
}

std::string ScreenOverlay::fitted(const FontFace& font, const std::string& line, int width) {
    int w = 0;
    int h = 0;
    if (!font.measure(line.c_str(), w, h) || w <= width) return line;
    std::string cut = line;
    while (!cut.empty()) {
        cut.pop_back();
        if (font.measure((cut + "...").c_str(), w, h) && w <= width) break;
    }
    return cut + "...";
}

}  // namespace platform
