#pragma once

// ASCII character rules of the language: names and keywords ignore case,
// and &H / &O numbers use the digits 0-9 and A-F in either case. The C
// library's versions depend on the locale, which script text must not.

#include <algorithm>
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
    return std::ranges::equal(text, lowerWord, [](char c, char w) { return AsciiLower(c) == w; });
}

// The text without the blanks (space, tab, line ends, vertical tab, form
// feed) around it, as a number or a Boolean word read from text may have.
inline std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    std::size_t b = text.find_first_not_of(kBlanks);
    if (b == std::string_view::npos) return text.substr(text.size());
    return text.substr(b, text.find_last_not_of(kBlanks) + 1 - b);
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
