#pragma once

// ASCII character rules of the language: names and keywords ignore case,
// and &H / &O numbers use the digits 0-9 and A-F in either case. The C
// library's versions depend on the locale, which script text must not.

#include <string>
#include <string_view>

namespace ondrix::script {

inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with A-Z turned to a-z: the key names are found by.
inline std::string AsciiLowerCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

// Whether `text` spells `lowerWord` (given in lower case), ignoring case.
inline bool EqualsIgnoringCase(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lowerWord[i]) return false;
    }
    return true;
}

// The text without the blanks (space, tab, line ends, vertical tab, form
// feed) around it, as a number or a Boolean word read from text may have.
inline std::string_view TrimBlanks(std::string_view text) {
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    std::size_t b = 0, e = text.size();
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// The value of a digit of base 8 or 16, or -1 when `c` is none in `base`.
inline int RadixDigitValue(char c, int base) {
    int d = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : -1;
    return d < base ? d : -1;
}

}  // namespace ondrix::script
