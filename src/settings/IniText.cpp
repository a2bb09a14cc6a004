#include "settings/IniText.h"

#include <strings.h>

#include <utility>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool same(const std::string& a, const std::string& b) { return ::strcasecmp(a.c_str(), b.c_str()) == 0; }

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::size_t skipSpaces(const std::string& text, std::size_t from, std::size_t end) {
    while (from < end && isSpace(text[from])) ++from;
    return from;
}

std::size_t trimEnd(const std::string& text, std::size_t start, std::size_t end) {
    while (end > start && isSpace(text[end - 1])) --end;
    return end;
}

}  // namespace

IniText::IniText(std::string text) : sText(std::move(text)) {
    const std::size_t firstBreak = sText.find('\n');
    if (firstBreak != std::string::npos && firstBreak > 0 && sText[firstBreak - 1] == '\r') sLineBreak = "\r\n";
    parse();
}

void IniText::parse() {
    values.clear();
    headings.clear();
    std::string section;
    std::size_t lineStart = sText.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
    while (lineStart < sText.size()) {
        std::size_t lineEnd = sText.find('\n', lineStart);
        lineEnd = lineEnd == std::string::npos ? sText.size() : lineEnd + 1;
        const std::size_t start = skipSpaces(sText, lineStart, lineEnd);
        const std::size_t end = trimEnd(sText, start, lineEnd - (sText[lineEnd - 1] == '\n' ? 1 : 0));
        const char first = start < end ? sText[start] : ';';
        if (first == '[') {
            const std::size_t close = sText.find(']', start);
            if (close < end) {
                const std::size_t nameStart = skipSpaces(sText, start + 1, close);
                section = sText.substr(nameStart, trimEnd(sText, nameStart, close) - nameStart);
                headings.push_back({section, lineEnd});
            }
        } else if (first != ';' && first != '#') {
            std::size_t separator = start;
            while (separator < end && sText[separator] != '=' && sText[separator] != ':') ++separator;
            if (separator < end) {
                const std::string key = sText.substr(start, trimEnd(sText, start, separator) - start);
                const std::size_t valueStart = skipSpaces(sText, separator + 1, end);
                std::size_t valueEnd = valueStart;
                while (valueEnd < end && !(sText[valueEnd] == ';' && valueEnd > valueStart &&
                                           isSpace(sText[valueEnd - 1]))) {
                    ++valueEnd;
                }
                valueEnd = trimEnd(sText, valueStart, valueEnd);
                values.push_back({section, key, sText.substr(valueStart, valueEnd - valueStart), valueStart, lineEnd});
            }
        }
        lineStart = lineEnd;
    }
}

const IniText::Value* IniText::lastOf(const std::string& section, const std::string& key) const {
    for (auto value = values.rbegin(); value != values.rend(); ++value) {
        if (same(value->section, section) && same(value->key, key)) return &*value;
    }
    return nullptr;
}

const std::string* IniText::find(const std::string& section, const std::string& key) const {
    const Value* value = lastOf(section, key);
    return value ? &value->value : nullptr;
}

void IniText::insertLine(std::size_t at, const std::string& line) {
    // A last line without its break gets one first.
    if (at == sText.size() && !sText.empty() && sText.back() != '\n') {
        sText += sLineBreak;
        at = sText.size();
    }
    sText.insert(at, line + sLineBreak);
}

void IniText::set(const std::string& section, const std::string& key, const std::string& value) {
    if (const Value* old = lastOf(section, key)) {
        sText.replace(old->valueStart, old->value.size(), value);
    } else {
        // After the section's last key, or its last heading when it has none.
        std::size_t at = std::string::npos;
        for (const Value& other : values) {
            if (same(other.section, section)) at = other.lineEnd;
        }
        if (at == std::string::npos) {
            for (const Heading& heading : headings) {
                if (same(heading.section, section)) at = heading.lineEnd;
            }
        }
        if (at == std::string::npos && section.empty()) {
            // Keys before any heading are the nameless section's.
            at = sText.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
        }
        if (at == std::string::npos) {
            if (!sText.empty()) insertLine(sText.size(), "");
            insertLine(sText.size(), "[" + section + "]");
            at = sText.size();
        }
        insertLine(at, key + " = " + value);
    }
    parse();
}
