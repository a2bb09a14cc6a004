#pragma once
#include <string>
#include <vector>

// The text of an INI file, kept as the player left it. Reading finds the
// values; setting one changes the bytes of that value alone, so comments,
// blank lines, other keys and the file's own spelling and spacing stay as
// they stood, and what is written reads back as what was read.
//
// A line is "key = value" (or "key: value"), "[section]", a comment (";" or
// "#" first) or blank; an inline comment starts at a ";" after a space.
// Lines that are none of these are passed over. Sections and keys match
// whatever their case; when a key is set more than once, the last counts.
class IniText {
public:
    explicit IniText(std::string text = "");

    // The value the file gives a key, or nullptr when it gives none.
    const std::string* find(const std::string& section, const std::string& key) const;
    // Changes the key's value where the file gives it; a key the file lacks
    // joins the end of its section, or a new section at the end.
    void set(const std::string& section, const std::string& key, const std::string& value);
    const std::string& text() const { return sText; }

private:
    struct Value {
        std::string section;
        std::string key;
        std::string value;
        std::size_t valueStart;  // where the value's bytes are in the text
        std::size_t lineEnd;     // just past the line's end, its line break included
    };
    struct Heading {
        std::string section;
        std::size_t lineEnd;
    };

    void parse();
    const Value* lastOf(const std::string& section, const std::string& key) const;
    void insertLine(std::size_t at, const std::string& line);

    std::string sText;
    std::string sLineBreak = "\n";
    std::vector<Value> values;
    std::vector<Heading> headings;
};
