// quadrill-assets <outdir> <ComicNeue-Bold.otf> <LiberationSansNarrow-Bold.ttf>
//
// Draws every picture and synthesises every sound effect of the game into
// <outdir>, byte for byte the same on every run; the build embeds them.
// The desktop's icons, hicolor-<size>.png, are installed beside the game.
#include <SDL_ttf.h>

#include <cstdio>
#include <string>

#include "ArenaPicture.h"
#include "FileWriters.h"
#include "FontSheet.h"
#include "IconPictures.h"
#include "KeyCheck.h"
#include "MenuPicture.h"
#include "MiscSheet.h"
#include "PngWriter.h"
#include "SoundEffects.h"
#include "TextPainter.h"

namespace {

// SDL_ttf for exactly as long as the fonts are in use.
class TtfSession {
public:
    TtfSession() : ok_(TTF_Init() == 0) {}
    ~TtfSession() {
        if (ok_) TTF_Quit();
    }
    TtfSession(const TtfSession&) = delete;
    TtfSession& operator=(const TtfSession&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};

bool report(bool ok, const std::string& what) {
    if (!ok) std::fprintf(stderr, "quadrill-assets: %s\n", what.c_str());
    return ok;
}

bool generate(const std::string& dir, TextPainter& comic, TextPainter& narrow) {
    // Try both faces before drawing anything, so a wrong path fails at once.
    comic.render("Q", 12);
    narrow.render("Q", 12);
    if (!report(comic.good() && narrow.good(), "cannot open the fonts given")) return false;
    const Canvas misc = pictures::miscSheet(comic, narrow);
    const Canvas font = pictures::fontSheet();
    if (!report(keycheck::clean(misc), "picMisc has sprite pixels that would key out or fringe")) return false;
    if (!report(keycheck::clean(font), "picFont has glyph pixels that would key out or fringe")) return false;
    const Canvas arena = pictures::arena();
    const Canvas menu = pictures::menu(comic, narrow);
    if (!report(comic.good() && narrow.good(), "cannot render text with the given fonts")) return false;

    bool ok = true;
    auto wrote = [&](bool written, const char* name) {
        ok = report(written, std::string("cannot write ") + dir + "/" + name) && ok;
    };
    wrote(files::writeBmp24(misc, dir + "/picMisc.bmp"), "picMisc.bmp");
    wrote(files::writeBmp24(font, dir + "/picFont.bmp"), "picFont.bmp");
    wrote(files::writeBmp24(arena, dir + "/picCombat.bmp"), "picCombat.bmp");
    wrote(files::writeBmp24(menu, dir + "/picMenu.bmp"), "picMenu.bmp");
    wrote(files::writeBmp32(pictures::windowIcon(), dir + "/icon.bmp"), "icon.bmp");
    wrote(files::writeBmp32(pictures::cursor(), dir + "/cur.bmp"), "cur.bmp");
    for (int size : pictures::kIconSizes) {
        const Canvas icon = pictures::icon(size);
        const std::string name = "hicolor-" + std::to_string(size) + ".png";
        wrote(files::writePng(icon.width(), icon.height(), icon.rgba(), dir + "/" + name), name.c_str());
    }
    wrote(files::writeWave(sounds::micek(), dir + "/micek.wav"), "micek.wav");
    wrote(files::writeWave(sounds::odpal(), dir + "/odpal.wav"), "odpal.wav");
    wrote(files::writeWave(sounds::okraj(), dir + "/okraj.wav"), "okraj.wav");
    wrote(files::writeWave(sounds::klik(), dir + "/klik.wav"), "klik.wav");
    wrote(files::writeWave(sounds::tlacitko(), dir + "/tlacitko.wav"), "tlacitko.wav");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: quadrill-assets <outdir> <ComicNeue-Bold.otf> <LiberationSansNarrow-Bold.ttf>\n");
        return 2;
    }
    TtfSession ttf;
    if (!report(ttf.ok(), std::string("cannot start SDL_ttf: ") + TTF_GetError())) return 1;
    TextPainter comic(argv[2]);
    TextPainter narrow(argv[3]);
    return generate(argv[1], comic, narrow) ? 0 : 1;
}
