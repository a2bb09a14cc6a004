#pragma once
#include <memory>
#include <string>

#include "app/scenes/Scene.h"

class Menu;
struct Stage;

// The menu, alone or as the online room's lobby: the boxes, the table with
// its name entry, and the buttons. It starts a match here, or online the
// room's match, and hands over to it.
class MenuScene : public Scene {
public:
    // How the menu comes to be shown.
    enum class Arrival {
        kStart,      // the first menu, which reads the table
        kAbandoned,  // back from a match that was left or cut short
        kMatchOver,  // back from a match that ended by itself: its result is offered
    };

    // keptReplay: the name of the ended match's replay in the replays
    // folder, kept for good when its result enters the table.
    MenuScene(Stage& stage, Arrival arrival, std::string keptReplay = "");
    ~MenuScene() override;

    // Back to the menu after a match.
    static SceneChange after(Stage& stage, bool abandoned, const std::string& keptReplay);

    int enter() override;
    void leave() override;
    platform::Status draw() override;
    int recreateSurfaces() override;

    SceneChange onKey(std::uint8_t code, char letter) override;
    SceneChange onChar(std::uint8_t ch) override;
    SceneChange onClick(std::int16_t x, std::int16_t y) override;
    SceneChange onPad(int pad, std::uint16_t button) override;
    SceneChange onNetwork(const net::SessionEvent& event) override;
    SceneChange afterNetwork() override;
    void roomOpened() override;
    void padsChanged() override;
    void soundArrived() override;
    bool takesLetters() const override;

    Menu& menu() { return *pMenu; }
    // The room's claims, seats and notes shown in the menu.
    void showLobby();

private:
    SceneChange act(std::int8_t action);
    SceneChange startMatch();
    SceneChange openJoinPage(bool byKey = false);
    void keepReplayForGood();

    Stage& stage;
    Arrival arrival;
    std::string sKeptReplay;
    std::unique_ptr<Menu> pMenu;
};
