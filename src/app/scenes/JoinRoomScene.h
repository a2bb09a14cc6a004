#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/scenes/Scene.h"
#include "graphics/Colour.h"
#include "graphics/Font.h"
#include "graphics/Rect.h"

class Sound;
class Surface;
struct Stage;

// The page that joins a room on a relay by its code, from a menu that
// started without online options: the six letters of the code and the
// relay's address (the last one used, from the settings) are typed here.
// Tab moves between the two, Enter joins as `--join CODE@HOST[:PORT]`
// would and goes back to the menu, now the room's; Escape goes back
// without joining.
class JoinRoomScene : public Scene {
public:
    // openedByKey: the page came with the J key, whose typed letter follows
    // the key press and is not the code's first letter.
    explicit JoinRoomScene(Stage& stage, bool openedByKey = false);
    ~JoinRoomScene() override;

    int enter() override;
    platform::Status draw() override;
    int recreateSurfaces() override;
    SceneChange onKey(std::uint8_t code, char letter) override;
    SceneChange onChar(std::uint8_t ch) override;
    SceneChange onClick(std::int16_t x, std::int16_t y) override;
    // A pad that came here through the menu's focus ring leaves with B.
    SceneChange onPad(int pad, std::uint16_t button) override;
    void soundArrived() override;
    // Letters are the code's and the address's here, never the mute.
    bool takesLetters() const override { return true; }

    enum class Field { kCode, kRelay };
    Field field() const { return current; }
    const std::string& code() const { return sCode; }
    const std::string& relay() const { return sRelay; }
    // What went wrong, as the page shows it; empty when nothing did.
    const std::string& message() const { return sMessage; }

    static constexpr std::size_t kCodeLength = 6;

private:
    SceneChange join();
    SceneChange backToMenu();
    void type(std::uint8_t ch);
    void refuse(const std::string& why);
    void saveRelay();
    int createBackground();
    void loadSound();
    void darken(const Rect& area, double amount);
    void frame(const Rect& area, ColourRef colour);
    void text(const Font& font, const std::string& words, std::int32_t x, std::int32_t y, ColourRef colour);
    void fieldText(const Rect& box, std::string words, bool focused);

    Stage& stage;
    bool bSwallowOpeningLetter;
    Field current = Field::kCode;
    std::string sCode;
    std::string sRelay;
    std::string sMessage;
    std::unique_ptr<Surface> pBackground;
    std::unique_ptr<Sound> refusal;
    Font titleFont;
    Font fieldFont;
    Font smallFont;
};
