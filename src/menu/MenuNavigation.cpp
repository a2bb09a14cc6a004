#include "menu/MenuNavigation.h"

#include "input/KeyBindings.h"
#include "input/KeyCodes.h"
#include "input/PadClaims.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "platform/GamePads.h"
#include "platform/KeyNames.h"
#include "sound/Sound.h"

void MenuNavigation::moveFocus(Menu& m, MenuFocus::Move move) {
    // The first key shows the ring where the last click left it, or on the
    // first (or last) item.
    if (!m.bFocusShown && m.keyFocus.isShown()) {
        m.bFocusShown = true;
    } else {
        m.bFocusShown = true;
        m.keyFocus.move(move);
        // Join a room is passed over where it is not offered (online).
        if (m.keyFocus.item().kind == MenuFocus::Kind::kJoinRoom && !m.showsJoinItem()) m.keyFocus.move(move);
    }
    m.draw();
}

std::int8_t MenuNavigation::onKey(Menu& m, std::uint8_t code, char letter) {
    if (m.prompt.isOpen()) {
        if (!m.pBindings) return Menu::kNothing;
        const KeyPrompt::Answer answer = m.prompt.offer(code, letter, *m.pBindings);
        m.playAndRecover(answer == KeyPrompt::Answer::kRefused ? m.okraj.get() : m.klik.get());
        m.draw();
        return Menu::kNothing;
    }
    if (m.highScores.isTyping()) return Menu::kNothing;
    using Move = MenuFocus::Move;
    switch (code) {
        case keys::DIK_TAB:
            moveFocus(m, platform::isShiftHeld() ? Move::kPrevious : Move::kNext);
            break;
        case keys::DIK_UP:
            moveFocus(m, Move::kUp);
            break;
        case keys::DIK_DOWN:
            moveFocus(m, Move::kDown);
            break;
        case keys::DIK_LEFT:
            moveFocus(m, Move::kLeft);
            break;
        case keys::DIK_RIGHT:
            moveFocus(m, Move::kRight);
            break;
        default:
            break;
    }
    return Menu::kNothing;
}

std::int8_t MenuNavigation::charAnswer(std::int8_t clickAnswer) {
    switch (clickAnswer) {
        case Menu::kExit:
            return Menu::kQuit;
        case Menu::kStart:
            return Menu::kStartMatch;
        case Menu::kLogo:
            return Menu::kHowToPlay;
        case Menu::kJoinRoom:
            return Menu::kJoinPage;
        default:
            return Menu::kNothing;
    }
}

std::int8_t MenuNavigation::onPad(Menu& m, int pad, std::uint16_t pressed) {
    namespace button = platform::padButton;
    const bool freePad = !m.pClaims || m.pClaims->colourOf(pad) == PadClaims::kNone;
    if (freePad) {
        switch (pressed) {
            case button::kUp:
                moveFocus(m, MenuFocus::Move::kUp);
                return Menu::kNothing;
            case button::kDown:
                moveFocus(m, MenuFocus::Move::kDown);
                return Menu::kNothing;
            case button::kLeft:
                moveFocus(m, MenuFocus::Move::kLeft);
                return Menu::kNothing;
            case button::kRight:
                moveFocus(m, MenuFocus::Move::kRight);
                return Menu::kNothing;
            case button::kA:
                if (m.bFocusShown && m.keyFocus.isShown()) return charAnswer(m.actOn(m.keyFocus.item(), pad));
                break;
            default:
                break;
        }
    }
    if (!m.pClaims) return Menu::kNothing;
    if (pressed == button::kA) {
        int colour = m.pClaims->claimNext(pad);
        // Colours other machines play are passed over.
        for (int tries = 0; tries < PadClaims::kColours && colour != PadClaims::kNone && m.isTaken(colour); ++tries) {
            colour = m.pClaims->claimNext(pad);
        }
        if (colour != PadClaims::kNone && m.isTaken(colour)) {
            m.pClaims->release(pad);
            colour = PadClaims::kNone;
        }
        if (colour == PadClaims::kNone) return Menu::kNothing;
        // A colour already ticked is not ticked again, but the pad's mark moved.
        if (m.boxes[colour].checked) {
            m.draw();
        } else {
            m.tick(0, colour);
        }
    } else if (pressed == button::kB && m.pClaims->colourOf(pad) != PadClaims::kNone) {
        m.pClaims->release(pad);
        m.draw();
    }
    return Menu::kNothing;
}
