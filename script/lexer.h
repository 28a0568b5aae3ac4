#pragma once

// Splits VBScript source into tokens. Comments (' and Rem) and line
// continuations (" _" before a line end) are dropped here.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix::script {

enum class Tok : std::uint8_t {
    kEnd,
    kNewline,
    kColon,
    kComma,
    kLParen,
    kRParen,
    kDot,
    kNumber,
    kString,
    kName,
    kKeyword,
    kPlus,       // +
    kMinus,      // -
    kStar,       // *
    kSlash,      // /
    kBackslash,  // backslash
    kCaret,      // ^
    kAmp,        // &
    kEq,         // =
    kNe,         // <> or ><
    kLt,         // <
    kGt,         // >
    kLe,         // <= or =<
    kGe,         // >= or =>
};

// Reserved words. kReserved covers those the language reserves but this
// engine has no statement for (loops, classes, ...): they are syntax errors.
enum class Kw : std::uint8_t {
    kNone,
    kAnd,
    kByRef,
    kByVal,
    kCall,
    kConst,
    kDim,
    kElse,
    kElseIf,
    kEmpty,
    kEnd,
    kEqv,
    kExit,
    kFalse,
    kFunction,
    kIf,
    kImp,
    kIs,
    kMod,
    kNot,
    kNothing,
    kNull,
    kOr,
    kPrivate,
    kPublic,
    kSub,
    kThen,
    kTrue,
    kXor,
    kReserved,
};

struct Token {
    Tok kind = Tok::kEnd;
    Kw keyword = Kw::kNone;
    std::uint32_t offset = 0;  // into the source
    std::uint32_t length = 0;
    // Numbers: the literal's value, and whether it is written as a whole
    // number (no point, no exponent), which with its size decides its subtype;
    // a date literal (#1/1/2000#) is a number marked `date`, its serial.
    double number = 0;
    bool whole = false;
    bool date = false;
};

// Tokenizes the whole text. Raises 1032 for a character outside the language,
// 1033 for a string without its closing quote, 1002 for a malformed number
// or date literal.
std::vector<Token> Tokenize(std::string_view source);

// Whether the word is reserved (a keyword or Rem) and so cannot name a
// variable.
bool IsReservedWord(std::string_view word);

// The characters of names and numbers, ASCII only as in VBScript source.
inline bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool IsNameChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_';
}

// The text of a string literal token with its quotes removed and "" undone.
std::string StringLiteral(std::string_view source, const Token& token);

}  // namespace ondrix::script
