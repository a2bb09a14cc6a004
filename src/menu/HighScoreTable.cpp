#include "menu/HighScoreTable.h"

#include <string>

#include "graphics/DisplayDevice.h"
#include "graphics/Font.h"
#include "resources/TextFileReader.h"

namespace {
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kEnter = 13;
constexpr std::int32_t kCaretWidth = 8;
constexpr std::int32_t kCaretHeight = 2;

bool isLetter(std::uint8_t ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }
}  // namespace

HighScoreTable::HighScoreTable(DisplayDevice& displayDevice) : display(displayDevice), theCaret(displayDevice) {}

void HighScoreTable::load(TextFileReader& reader) {
    // Three labels a row; a count that is no multiple of three, or absurd,
    // must not leave a row without its labels.
    std::int32_t count = reader.readInt();
    if (count < 0) count = 0;
    if (count > 126) count = 126;
    count -= count % 3;
    cTexts = static_cast<std::int8_t>(count);
    labels.assign(static_cast<std::size_t>(count), TextLabel());
    for (TextLabel& label : labels) label.load(reader);
    scores.assign(static_cast<std::size_t>(count / 3), 0);
    names.assign(static_cast<std::size_t>(count / 3), std::string());
}

void HighScoreTable::setName(int row, const char* text) {
    if (!validRow(row)) return;
    std::string cut = text ? text : "";
    if (cut.size() > kLongestName) cut.resize(kLongestName);
    names[static_cast<std::size_t>(row)] = cut;
    nameLabel(row).setText(cut.c_str());
}

void HighScoreTable::setScore(int row, std::int16_t value) {
    if (!validRow(row)) return;
    scores[static_cast<std::size_t>(row)] = value;
    scoreLabel(row).setText(std::to_string(value).c_str());
}

const std::string& HighScoreTable::name(int row) const {
    static const std::string kNone;
    return validRow(row) ? names[static_cast<std::size_t>(row)] : kNone;
}

std::int16_t HighScoreTable::score(int row) const { return validRow(row) ? scores[static_cast<std::size_t>(row)] : 0; }

void HighScoreTable::draw(const Font& font) {
    for (const TextLabel& label : labels) label.drawText(display, font);
}

int HighScoreTable::offerResult(std::int16_t value) {
    // After a name confirmed with Enter the next offer starts at the row just
    // filled: every row above it holds a score at least as high.
    const int start = editRow == kNoEntry ? 0 : editRow;
    for (int r = start; r < rows(); ++r) {
        if (value <= scores[static_cast<std::size_t>(r)]) continue;
        for (int k = rows() - 1; k > r; --k) {
            setName(k, names[static_cast<std::size_t>(k - 1)].c_str());
            setScore(k, scores[static_cast<std::size_t>(k - 1)]);
        }
        setName(r, "");
        setScore(r, value);
        editRow = static_cast<std::int8_t>(r);
        bLetterOpen = false;
        theCaret.create(kCaretWidth, kCaretHeight);
        placeCaret();
        theCaret.show();
        return 1;
    }
    editRow = kNoEntry;
    return -1;
}

void HighScoreTable::placeCaret() {
    if (!validRow(editRow)) return;
    TextLabel& label = nameLabel(editRow);
    std::int32_t width = 0;
    std::int32_t height = 0;
    static const Font kSystemFont;
    // A letter still being chosen on a pad has the caret under it.
    std::string before = label.getText();
    if (bLetterOpen && !before.empty()) before.pop_back();
    display.measureText(pFont ? *pFont : kSystemFont, before.c_str(), width, height);
    const Point topLeft = label.getTopLeft();
    theCaret.setPosition(topLeft.x + width, topLeft.y + height - 2);
}

int HighScoreTable::onChar(std::uint8_t ch) {
    if (editRow == kNoEntry) return -1;
    std::string& typed = names[static_cast<std::size_t>(editRow)];
    // Whatever the keyboard does, the letter chosen on a pad is settled
    // first: kept, or taken back by Backspace.
    const bool letterWasOpen = bLetterOpen;
    bLetterOpen = false;
    if (letterWasOpen && ch != kBackspace) placeCaret();
    if (ch == kBackspace) {
        if (!typed.empty()) {
            typed.pop_back();
            nameLabel(editRow).setText(typed.c_str());
            placeCaret();
        }
        return 2;
    }
    if (ch == kEnter) {
        // editRow stays: the next person's offer starts from it.
        theCaret.hide();
        theCaret.destroy();
        return 1;
    }
    if (isLetter(ch)) {
        if (typed.size() >= kLongestName) return -1;
        typed.push_back(static_cast<char>(ch));
        nameLabel(editRow).setText(typed.c_str());
        placeCaret();
        return 2;
    }
    return -1;
}

int HighScoreTable::onPadLetter(PadLetter step) {
    if (editRow == kNoEntry) return -1;
    std::string& typed = names[static_cast<std::size_t>(editRow)];
    switch (step) {
        case PadLetter::Previous:
        case PadLetter::Next: {
            const bool next = step == PadLetter::Next;
            if (bLetterOpen) {
                char& letter = typed.back();
                letter = static_cast<char>(next ? (letter >= 'Z' ? 'A' : letter + 1) : (letter <= 'A' ? 'Z' : letter - 1));
            } else {
                if (typed.size() >= kLongestName) return -1;
                typed.push_back(next ? 'A' : 'Z');
                bLetterOpen = true;
            }
            break;
        }
        case PadLetter::Keep:
            if (!bLetterOpen) return -1;
            bLetterOpen = false;
            break;
        case PadLetter::TakeBack:
            if (typed.empty()) return -1;
            typed.pop_back();
            bLetterOpen = false;
            break;
    }
    nameLabel(editRow).setText(typed.c_str());
    placeCaret();
    return 2;
}

int HighScoreTable::endEntry() {
    if (editRow == kNoEntry) return -1;
    bLetterOpen = false;
    editRow = kNoEntry;
    theCaret.hide();
    theCaret.destroy();
    return 1;
}
