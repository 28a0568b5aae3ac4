#include "script/lexer.h"

#include <algorithm>

#include "script/ascii.h"
#include "script/date_time.h"
#include "script/errors.h"
#include "script/number_text.h"

namespace ondrix::script {
namespace {

// The keywords in the order of Kw from kAnd to kXor, then the words reserved
// for statements this engine does not have (all Kw::kReserved).
constexpr std::string_view kKeywords[] = {
    "and",  "byref",   "byval", "call",  "const",    "dim",    "else",  "elseif", "empty",
    "end",  "eqv",     "exit",  "false", "function", "if",     "imp",   "is",     "mod",
    "not",  "nothing", "null",  "or",    "private",  "public", "sub",   "then",   "true",
    "xor",  "case",    "class", "do",    "each",     "for",    "goto",  "in",     "let",
    "loop", "me",      "new",   "next",  "on",       "option", "redim", "select", "set",
    "stop", "to",      "until", "wend",  "while",    "with"};
static_assert(kKeywords[static_cast<std::size_t>(Kw::kXor) - 1] == "xor" &&
              static_cast<std::size_t>(Kw::kReserved) == static_cast<std::size_t>(Kw::kXor) + 1);

Kw KeywordOf(std::string_view word) {
    for (std::size_t i = 0; i < std::size(kKeywords); ++i) {
        if (EqualsIgnoringCase(word, kKeywords[i]))
            return static_cast<Kw>(std::min(i + 1, static_cast<std::size_t>(Kw::kReserved)));
    }
    return Kw::kNone;
}

// The base the letter after "&" names: 16 for H, 8 for O, else 0.
int RadixOf(char letter) {
    char r = AsciiLower(letter);
    return r == 'h' ? 16 : r == 'o' ? 8 : 0;
}

void SkipToLineEnd(std::string_view s, std::size_t& pos) {
    while (pos < s.size() && s[pos] != '\n' && s[pos] != '\r') ++pos;
}

// "_" followed by blanks and a line end (or the end of the text) joins lines.
bool SkipContinuation(std::string_view s, std::size_t& pos) {
    std::size_t p = std::min(s.find_first_not_of(" \t", pos + 1), s.size());
    if (p < s.size() && s[p] != '\n' && s[p] != '\r') return false;
    if (p < s.size() && s[p] == '\r') ++p;
    if (p < s.size() && s[p] == '\n') ++p;
    pos = p;
    return true;
}

// Reads the number literal at s[pos], which Tokenize has seen to begin with a
// digit, "." and a digit, or "&H" / "&O" and a digit of that base; advances
// pos past it.
void LexNumber(std::string_view s, std::size_t& pos, Token& token) {
    token.whole = true;
    if (s[pos] == '&') {
        int base = RadixOf(s[pos + 1]);
        std::size_t start = pos + 2, q = start;
        while (q < s.size() && RadixDigitValue(s[q], base) >= 0) ++q;
        bool suffix = q < s.size() && s[q] == '&';
        std::int32_t v;
        if (ReadRadixDigits(s.substr(start, q - start), base, suffix, v) != TextNumber::kOk)
            Raise(kOverflow);
        pos = suffix ? q + 1 : q;
        token.number = v;
        return;
    }
    auto digitsEnd = [s](std::size_t p) {
        return std::min(s.find_first_not_of("0123456789", p), s.size());
    };
    std::size_t p = digitsEnd(pos);
    if (p < s.size() && s[p] == '.') {
        token.whole = false;
        p = digitsEnd(p + 1);
    }
    if (p < s.size() && AsciiLower(s[p]) == 'e') {
        std::size_t q = p + 1;
        if (q < s.size() && (s[q] == '+' || s[q] == '-')) ++q;
        if (q == s.size() || !IsDigit(s[q])) Raise(kSyntaxError);
        token.whole = false;
        p = digitsEnd(q);
    }
    if (ParseNumberText(s.substr(pos, p - pos), '.', token.number) == TextNumber::kOverflow)
        Raise(kOverflow);
    pos = p;
}

// The punctuation and operators, two-character spellings first.
struct Spelling {
    std::string_view text;
    Tok kind;
};
constexpr Spelling kSymbols[] = {{"<>", Tok::kNe},        {"><", Tok::kNe},   {"<=", Tok::kLe},
                                 {"=<", Tok::kLe},        {">=", Tok::kGe},   {"=>", Tok::kGe},
                                 {"=", Tok::kEq},         {"<", Tok::kLt},    {">", Tok::kGt},
                                 {":", Tok::kColon},      {",", Tok::kComma}, {"(", Tok::kLParen},
                                 {")", Tok::kRParen},     {".", Tok::kDot},   {"+", Tok::kPlus},
                                 {"-", Tok::kMinus},      {"*", Tok::kStar},  {"/", Tok::kSlash},
                                 {"\\", Tok::kBackslash}, {"^", Tok::kCaret}, {"&", Tok::kAmp}};

}  // namespace

bool IsReservedWord(std::string_view word) {
    return KeywordOf(word) != Kw::kNone || EqualsIgnoringCase(word, "rem");
}

std::string StringLiteral(std::string_view source, const Token& token) {
    std::string_view body = source.substr(token.offset + 1, token.length - 2);
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        out += body[i];
        if (body[i] == '"') ++i;  // "" stands for one quote
    }
    return out;
}

std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> tokens;
    std::size_t pos = 0;
    // Adds the token that runs from start to pos.
    auto push = [&](Tok kind, std::size_t start, Token t = {}) {
        t.kind = kind;
        t.offset = static_cast<std::uint32_t>(start);
        t.length = static_cast<std::uint32_t>(pos - start);
        tokens.push_back(t);
    };
    while (pos < s.size()) {
        char c = s[pos];
        std::size_t start = pos;
        if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
            ++pos;
        } else if (c == '\n' || c == '\r') {
            pos += (c == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n') ? 2 : 1;
            push(Tok::kNewline, start);
        } else if (c == '\'') {
            SkipToLineEnd(s, pos);
        } else if (c == '_') {
            if (!SkipContinuation(s, pos)) Raise(kInvalidCharacter);
        } else if (IsLetter(c)) {
            while (pos < s.size() && IsNameChar(s[pos])) ++pos;
            std::string_view word = s.substr(start, pos - start);
            if (EqualsIgnoringCase(word, "rem")) {
                SkipToLineEnd(s, pos);
                continue;
            }
            Token t;
            t.keyword = KeywordOf(word);
            push(t.keyword == Kw::kNone ? Tok::kName : Tok::kKeyword, start, t);
        } else if (IsDigit(c) || (c == '.' && pos + 1 < s.size() && IsDigit(s[pos + 1])) ||
                   (c == '&' && pos + 2 < s.size() &&
                    RadixDigitValue(s[pos + 2], RadixOf(s[pos + 1])) >= 0)) {
            Token t;
            LexNumber(s, pos, t);
            push(Tok::kNumber, start, t);
        } else if (c == '#') {
            // A date literal: the text up to the next "#" on the line.
            std::size_t close = s.find_first_of("#\r\n", pos + 1);
            if (close == std::string_view::npos || s[close] != '#') Raise(kSyntaxError);
            Token t;
            t.date = true;
            if (!date_time::Parse(s.substr(pos + 1, close - pos - 1), t.number) ||
                !date_time::InRange(t.number))
                Raise(kSyntaxError);
            pos = close + 1;
            push(Tok::kNumber, start, t);
        } else if (c == '"') {
            // Up to the next quote on the line that is not doubled ("" is one quote).
            do {
                std::size_t close = s.find_first_of("\"\r\n", pos + 1);
                if (close == std::string_view::npos || s[close] != '"') Raise(kUnterminatedString);
                pos = close + 1;
            } while (pos < s.size() && s[pos] == '"');
            push(Tok::kString, start);
        } else {
            auto symbol = std::ranges::find_if(
                kSymbols, [&](const Spelling& sp) { return s.substr(pos).starts_with(sp.text); });
            if (symbol == std::end(kSymbols)) Raise(kInvalidCharacter);
            pos += symbol->text.size();
            push(symbol->kind, start);
        }
    }
    push(Tok::kEnd, pos);
    return tokens;
}

}  // namespace ondrix::script
