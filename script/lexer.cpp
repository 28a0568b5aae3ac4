#include "script/lexer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "script/ascii.h"
#include "script/conversions.h"
#include "script/date_time.h"
#include "script/errors.h"
#include "script/number_text.h"

namespace ondrix::script {
namespace {

struct KeywordEntry {
    std::string_view word;
    Kw keyword;
};

constexpr std::array kKeywords = {
    KeywordEntry{"and", Kw::kAnd},         KeywordEntry{"byref", Kw::kByRef},
    KeywordEntry{"byval", Kw::kByVal},     KeywordEntry{"call", Kw::kCall},
    KeywordEntry{"const", Kw::kConst},     KeywordEntry{"dim", Kw::kDim},
    KeywordEntry{"else", Kw::kElse},       KeywordEntry{"elseif", Kw::kElseIf},
    KeywordEntry{"empty", Kw::kEmpty},     KeywordEntry{"end", Kw::kEnd},
    KeywordEntry{"eqv", Kw::kEqv},         KeywordEntry{"exit", Kw::kExit},
    KeywordEntry{"false", Kw::kFalse},     KeywordEntry{"function", Kw::kFunction},
    KeywordEntry{"if", Kw::kIf},           KeywordEntry{"imp", Kw::kImp},
    KeywordEntry{"is", Kw::kIs},           KeywordEntry{"mod", Kw::kMod},
    KeywordEntry{"not", Kw::kNot},         KeywordEntry{"nothing", Kw::kNothing},
    KeywordEntry{"null", Kw::kNull},       KeywordEntry{"or", Kw::kOr},
    KeywordEntry{"private", Kw::kPrivate}, KeywordEntry{"public", Kw::kPublic},
    KeywordEntry{"sub", Kw::kSub},         KeywordEntry{"then", Kw::kThen},
    KeywordEntry{"true", Kw::kTrue},       KeywordEntry{"xor", Kw::kXor},
    KeywordEntry{"case", Kw::kReserved},   KeywordEntry{"class", Kw::kReserved},
    KeywordEntry{"do", Kw::kReserved},     KeywordEntry{"each", Kw::kReserved},
    KeywordEntry{"for", Kw::kReserved},    KeywordEntry{"goto", Kw::kReserved},
    KeywordEntry{"in", Kw::kReserved},     KeywordEntry{"let", Kw::kReserved},
    KeywordEntry{"loop", Kw::kReserved},   KeywordEntry{"me", Kw::kReserved},
    KeywordEntry{"new", Kw::kReserved},    KeywordEntry{"next", Kw::kReserved},
    KeywordEntry{"on", Kw::kReserved},     KeywordEntry{"option", Kw::kReserved},
    KeywordEntry{"redim", Kw::kReserved},  KeywordEntry{"select", Kw::kReserved},
    KeywordEntry{"set", Kw::kReserved},    KeywordEntry{"stop", Kw::kReserved},
    KeywordEntry{"to", Kw::kReserved},     KeywordEntry{"until", Kw::kReserved},
    KeywordEntry{"wend", Kw::kReserved},   KeywordEntry{"while", Kw::kReserved},
    KeywordEntry{"with", Kw::kReserved},
};

constexpr std::size_t kShortestKeyword = 2;
constexpr std::size_t kLongestKeyword = 8;

Kw KeywordOf(std::string_view word) {
    if (word.size() < kShortestKeyword || word.size() > kLongestKeyword) return Kw::kNone;
    char lower[kLongestKeyword];
    for (std::size_t i = 0; i < word.size(); ++i) lower[i] = AsciiLower(word[i]);
    std::string_view w(lower, word.size());
    for (const auto& k : kKeywords) {
        if (k.word == w) return k.keyword;
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
    std::size_t p = pos + 1;
    while (p < s.size() && (s[p] == ' ' || s[p] == '\t')) ++p;
    if (p < s.size() && s[p] != '\n' && s[p] != '\r') return false;
    if (p < s.size() && s[p] == '\r') ++p;
    if (p < s.size() && s[p] == '\n') ++p;
    pos = p;
    return true;
}

}  // namespace

bool IsReservedWord(std::string_view word) {
    return KeywordOf(word) != Kw::kNone || EqualsIgnoringCase(word, "rem");
}

bool LexNumber(std::string_view s, std::size_t& pos, Token& token) {
    std::size_t p = pos;
    if (s[p] == '&') {
        if (p + 2 > s.size()) return false;
        int base = RadixOf(s[p + 1]);
        if (base == 0) return false;
        std::size_t start = p + 2, q = start;
        while (q < s.size() && RadixDigitValue(s[q], base) >= 0) ++q;
        if (q == start) return false;
        bool suffix = q < s.size() && s[q] == '&';
        std::int32_t v;
        if (ReadRadixDigits(s.substr(start, q - start), base, suffix, v) != TextNumber::kOk)
            Raise(kOverflow);
        pos = suffix ? q + 1 : q;
        token.number = v;
        token.whole = true;
        return true;
    }
    bool real = false;
    while (p < s.size() && IsDigit(s[p])) ++p;
    if (p < s.size() && s[p] == '.') {
        real = true;
        ++p;
        while (p < s.size() && IsDigit(s[p])) ++p;
    }
    if (p == pos || (p == pos + 1 && s[pos] == '.')) return false;
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < s.size() && (s[q] == '+' || s[q] == '-')) ++q;
        if (q < s.size() && IsDigit(s[q])) {
            while (q < s.size() && IsDigit(s[q])) ++q;
            real = true;
            p = q;
        } else {
            Raise(kSyntaxError);
        }
    }
    double v = 0;
    if (ParseNumberText(s.substr(pos, p - pos), '.', v) == TextNumber::kOverflow) Raise(kOverflow);
    token.number = v;
    token.whole = !real;
    pos = p;
    return true;
}

Value NumberValue(const Token& token) {
    if (token.date) return Value::Date(token.number);
    return LiteralValue(token.number, token.whole);
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
    auto push = [&](Tok kind, std::size_t start, std::size_t end) {
        Token t;
        t.kind = kind;
        t.offset = static_cast<std::uint32_t>(start);
        t.length = static_cast<std::uint32_t>(end - start);
        tokens.push_back(t);
    };
    while (pos < s.size()) {
        char c = s[pos];
        std::size_t start = pos;
        if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
            ++pos;
        } else if (c == '\n' || c == '\r') {
            pos += (c == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n') ? 2 : 1;
            push(Tok::kNewline, start, pos);
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
            push(Tok::kName, start, pos);
            Kw k = KeywordOf(word);
            if (k != Kw::kNone) {
                tokens.back().kind = Tok::kKeyword;
                tokens.back().keyword = k;
            }
        } else if (IsDigit(c) || (c == '.' && pos + 1 < s.size() && IsDigit(s[pos + 1])) ||
                   (c == '&' && pos + 2 < s.size() &&
                    RadixDigitValue(s[pos + 2], RadixOf(s[pos + 1])) >= 0)) {
            Token t;
            if (!LexNumber(s, pos, t)) Raise(kSyntaxError);
            t.kind = Tok::kNumber;
            t.offset = static_cast<std::uint32_t>(start);
            t.length = static_cast<std::uint32_t>(pos - start);
            tokens.push_back(t);
        } else if (c == '#') {
            // A date literal: the text up to the next "#" on the line.
            std::size_t close = s.find_first_of("#\r\n", pos + 1);
            if (close == std::string_view::npos || s[close] != '#') Raise(kSyntaxError);
            Token t;
            if (!date_time::Parse(s.substr(pos + 1, close - pos - 1), t.number) ||
                !date_time::InRange(t.number))
                Raise(kSyntaxError);
            pos = close + 1;
            t.kind = Tok::kNumber;
            t.date = true;
            t.offset = static_cast<std::uint32_t>(start);
            t.length = static_cast<std::uint32_t>(pos - start);
            tokens.push_back(t);
        } else if (c == '"') {
            ++pos;
            for (;;) {
                if (pos >= s.size() || s[pos] == '\n' || s[pos] == '\r') Raise(kUnterminatedString);
                if (s[pos] == '"') {
                    if (pos + 1 < s.size() && s[pos + 1] == '"') {
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                ++pos;
            }
            push(Tok::kString, start, pos);
        } else {
            Tok kind;
            std::size_t len = 1;
            char n = pos + 1 < s.size() ? s[pos + 1] : '\0';
            switch (c) {
                case ':':
                    kind = Tok::kColon;
                    break;
                case ',':
                    kind = Tok::kComma;
                    break;
                case '(':
                    kind = Tok::kLParen;
                    break;
                case ')':
                    kind = Tok::kRParen;
                    break;
                case '.':
                    kind = Tok::kDot;
                    break;
                case '+':
                    kind = Tok::kPlus;
                    break;
                case '-':
                    kind = Tok::kMinus;
                    break;
                case '*':
                    kind = Tok::kStar;
                    break;
                case '/':
                    kind = Tok::kSlash;
                    break;
                case '\\':
                    kind = Tok::kBackslash;
                    break;
                case '^':
                    kind = Tok::kCaret;
                    break;
                case '&':
                    kind = Tok::kAmp;
                    break;
                case '=':
                    kind = n == '<' ? Tok::kLe : n == '>' ? Tok::kGe : Tok::kEq;
                    if (kind != Tok::kEq) len = 2;
                    break;
                case '<':
                    kind = n == '>' ? Tok::kNe : n == '=' ? Tok::kLe : Tok::kLt;
                    if (kind != Tok::kLt) len = 2;
                    break;
                case '>':
                    kind = n == '<' ? Tok::kNe : n == '=' ? Tok::kGe : Tok::kGt;
                    if (kind != Tok::kGt) len = 2;
                    break;
                default:
                    Raise(kInvalidCharacter);
            }
            pos += len;
            push(kind, start, pos);
        }
    }
    push(Tok::kEnd, pos, pos);
    return tokens;
}

}  // namespace ondrix::script
