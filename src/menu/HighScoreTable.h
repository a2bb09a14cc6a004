#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "combat/TextLabel.h"
#include "menu/Caret.h"

class DisplayDevice;
class Font;
class TextFileReader;

// The three best results, a name of up to five letters and a score each,
// shown as nine labels on the menu: ranks 0 to 2, names 3 to 5, scores 6
// to 8. A new result that beats a row is inserted there and its name typed
// at a blinking caret.
class HighScoreTable {
public:
    static constexpr std::size_t kLongestName = 5;
    static constexpr std::int8_t kNoEntry = -1;

    explicit HighScoreTable(DisplayDevice& display);

    void load(TextFileReader& reader);

    // Names longer than five letters are cut to five.
    void setName(int row, const char* text);
    void setScore(int row, std::int16_t value);
    const std::string& name(int row) const;
    std::int16_t score(int row) const;
    int rows() const { return static_cast<int>(scores.size()); }

    void draw(const Font& font);
    // The font the table is drawn with, for measuring where the caret goes.
    void setFont(const Font* font) { pFont = font; }

    // 1 when the value was inserted and a name entry began, -1 otherwise.
    int offerResult(std::int16_t value);
    // -1 not used, 1 the entry was confirmed with Enter, 2 the name changed
    // (or a Backspace came).
    int onChar(std::uint8_t ch);
    // 1 when an entry was in progress and has been ended, -1 otherwise.
    int endEntry();

    // A pad spells a name one letter at a time: the letter at the caret is
    // chosen with Previous and Next (A to Z, going round), kept with Keep,
    // and TakeBack takes it, or the last letter kept, away again.
    enum class PadLetter { Previous, Next, Keep, TakeBack };
    // 2 when the name or the caret changed, -1 when nothing changed or no
    // name is being typed.
    int onPadLetter(PadLetter step);

    // After the display was rebuilt, the caret of a name being typed.
    void reapplyCaret() { theCaret.reapply(); }
    bool isTyping() const { return theCaret.exists(); }
    // The row whose name is being typed, or the last one typed.
    int editingRow() const { return editRow; }
    const Caret& caret() const { return theCaret; }
    const TextLabel& label(int index) const { return labels[static_cast<std::size_t>(index)]; }

private:
    void placeCaret();
    bool validRow(int row) const { return row >= 0 && row < rows(); }
    TextLabel& nameLabel(int row) { return labels[static_cast<std::size_t>(rows() + row)]; }
    TextLabel& scoreLabel(int row) { return labels[static_cast<std::size_t>(2 * rows() + row)]; }

    DisplayDevice& display;
    Caret theCaret;
    const Font* pFont = nullptr;
    std::int8_t cTexts = 0;
    std::vector<TextLabel> labels;
    std::vector<std::int16_t> scores;
    std::vector<std::string> names;
    std::int8_t editRow = kNoEntry;
    // The last letter of the name is still being chosen on a pad.
    bool bLetterOpen = false;
};
