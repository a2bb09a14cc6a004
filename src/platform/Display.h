#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/BlinkingCaret.h"
#include "platform/Status.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

class FontFace;
class PixelSurface;
class ScreenOverlay;
class SurfaceSet;
class Window;

// The window's picture: every frame is composed in a 400 x 400 back buffer
// in the display's pixel format and handed to the renderer in one piece.
// The renderer scales it by whole steps with no smoothing, centred with
// dark bars, so a window of any size (a scaled desktop, a big screen,
// fullscreen) shows it sharp; only a window too small for the picture gets
// it scaled down smoothly. Mouse positions come back in the picture's own
// coordinates.
//
// A display is started in four steps (open, bindToWindow, createPrimary,
// createBackBuffer), each answering its own status, so that the start-up
// can say which one failed. The test switches of platform/DisplayFaults.h
// make any step, surface creation, the surfaces' memory or the display
// mode fail.
class Display {
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 400;
    // Longest side of an off-screen surface.
    static constexpr int kLargestSurface = 8192;

    Display();
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // The renderer for the window: accelerated with vertical sync where
    // there is one, else the software renderer.
    Status open(Window& window);
    // Fixes the picture's size and its scaling in the window.
    Status bindToWindow();
    // The texture the back buffer is shown through; it fixes the pixel format.
    Status createPrimary();
    Status createBackBuffer();
    // "software renderer on dummy": what the error log names as the device.
    const std::string& description() const { return deviceDescription; }

    // S_OK, DDERR_EXCLUSIVEMODEALREADYSET while another program holds the
    // display, DDERR_WRONGMODE once the mode changed under this display.
    Status cooperativeState();
    // Shows the back buffer, with the caret and the overlay over it.
    Status present();
    // Drawn over every picture shown from now on; the caller keeps it.
    void setOverlay(ScreenOverlay* shownOver) { overlay = shownOver; }
    // The last picture again, for an overlay that changed while nothing
    // was being drawn (a paused match, muting in the menu).
    Status showAgain();
    // Gives lost surfaces their memory back; refilling them is the owner's job.
    Status restoreAll();

    // An off-screen surface in the back buffer's format; null with the
    // failing status.
    std::unique_ptr<PixelSurface> createSurface(int width, int height, bool systemMemory, Status& status);
    // Copies a rectangle of a surface to the back buffer, leaving out the
    // source's colour key. Nothing is clipped: a rectangle outside the
    // source or a place outside the back buffer is refused.
    Status blit(int x, int y, PixelSurface& source, const PixelRect& sourceRect);

    // One line of text blended onto the back buffer and clipped to the
    // rectangle, at its top, left-aligned or centred; the system font when
    // no face is given.
    Status drawText(const FontFace* face, const char* text, const PixelRect& rect, std::uint8_t red,
                    std::uint8_t green, std::uint8_t blue, bool centred);
    Status measureText(const FontFace* face, const char* text, int& width, int& height);

    PixelSurface* backBuffer() const { return back.get(); }
    std::uint32_t pixelFormat() const;
    int bitsPerPixel() const;

    // The caret of the name entry: a block drawn over the presented picture
    // (never into the back buffer) in the inverse of the pixels under it,
    // blinking. Changes show at the next present or refreshCaret.
    void setCaret(bool exists, int x, int y, int width, int height);
    void showCaret();
    void hideCaret();
    // Shows the last picture again when the caret's blink has changed it;
    // the milliseconds until the next change, BlinkingCaret::kNoChange when
    // none is coming, so an idle loop can sleep that long.
    std::uint32_t refreshCaret(std::uint32_t now);
    // What the window shows right now.
    bool caretDrawn() const { return caretOnScreen; }
    PixelRect caretPlace() const { return caretOnScreenPlace; }

private:
    void catchUpWithEvents();
    bool modeChanged() const;
    Status showPicture(std::uint32_t now);
    void fitPictureToOutput();
    // The back buffer's picture onto the window, as the scaling wants; 0 or
    // SDL's failure.
    int copyPicture();
    void drawCaret();
    FontFace* systemFont();

    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    std::shared_ptr<SurfaceSet> surfaces;
    std::unique_ptr<PixelSurface> back;
    std::unique_ptr<FontFace> systemFontFace;
    std::string deviceDescription;
    std::uint32_t lossesSeen = 0;
    std::uint32_t modeAtStart = 0;
    int depth = 32;
    bool pictureShown = false;
    enum class Scaling { WholeSteps, Filled, Smooth };
    Scaling scaling = Scaling::WholeSteps;
    int outputWidth = 0;
    int outputHeight = 0;
    // Fullscreen at a size that is no whole step: the picture enlarged by
    // the next whole step, smoothed down from there.
    SDL_Texture* enlarged = nullptr;
    int enlargedSide = 0;
    BlinkingCaret caret;
    ScreenOverlay* overlay = nullptr;
    bool caretOnScreen = false;
    PixelRect caretOnScreenPlace;
};

}  // namespace platform
