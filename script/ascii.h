#pragma once

// ASCII character rules of the language: names and keywords ignore case,
// and &H / &O numbers use the digits 0-9 and A-F in either case. The C
// library's versions depend on the locale, which script text must not.

#include <string_view>

namespace ondrix::script {

inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether `text` spells `lowerWord` (given in lower case), ignoring case.
inline bool EqualsIgnoringCase(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lowerWord[i]) return false;
    }
    return true;
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
