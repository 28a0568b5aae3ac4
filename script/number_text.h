#pragma once

// Numbers to text and text to numbers, the way VBScript writes and reads them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ondrix::script {

// Significant digits VBScript writes for a Double and for a Single.
inline constexpr int kDoubleDigits = 15;
inline constexpr int kSingleDigits = 7;

// Longest text WriteRealText produces.
inline constexpr std::size_t kMaxRealTextLength = 32;

// Writes the CStr form of a real number at `out` and returns the end: at most
// `digits` significant digits (kDoubleDigits, or kSingleDigits for a Single;
// seven digits of any finite Double are its own, never narrowed to a Single),
// rounded from the exact binary value with halves to even, trailing zeros
// dropped, "0" for both zeros, exponent form ("1E+20",
// "3.33333333333333E-02") from 10^digits upwards and when the fixed form
// would need more than `digits` places after the point. `separator` stands
// between the whole and the fractional part. Needs kMaxRealTextLength bytes.
// When `shown` is given it receives the number the text reads back as, or an
// infinity when the text overflows.
char* WriteRealText(char* out, double value, int digits, char separator, double* shown);

inline void AppendRealText(std::string& out, double value, int digits, char separator) {
    char buf[kMaxRealTextLength];
    out.append(buf, WriteRealText(buf, value, digits, separator, nullptr));
}
inline std::string DoubleText(double value, char separator) {
    std::string s;
    AppendRealText(s, value, kDoubleDigits, separator);
    return s;
}
// At most seven significant digits, as a Single prints, of any Double.
inline std::string SevenDigitText(double value, char separator) {
    std::string s;
    AppendRealText(s, value, kSingleDigits, separator);
    return s;
}

// The number the 15-digit text of `value` reads back as (an infinity when the
// digits round beyond the range), and whether that text is a whole number
// (neither separator nor exponent), without the text.
struct ShownDouble {
    double number;
    bool whole;
};
ShownDouble ReadBackDoubleText(double value);

// Appends the digits of a whole number, with zeros in front up to
// `minDigits` ("07").
void AppendDigits(std::string& out, std::int64_t value, int minDigits = 1);

// The Str form: "." always, a blank where the sign of a non-negative value
// would stand (" 2.5", "-16.68").
std::string StrText(double value);

enum class TextNumber { kOk, kNotNumber, kOverflow };

// Reads text as a number: blanks around it, an optional sign (blanks may
// follow it), digits with the given decimal separator, an optional exponent
// (E or D), or the &H / &O forms. On kOk `out` holds the value.
TextNumber ParseNumberText(std::string_view text, char separator, double& out);

// Reads the digits of a &H (base 16) or &O (base 8) number. `hasLongSuffix`
// is true for a trailing "&". The value wraps like VBScript's: up to 16 bits
// read as an Integer unless suffixed, otherwise 32 bits. kNotNumber for no
// digits or a character that is no digit of the base, kOverflow beyond 32
// bits.
TextNumber ReadRadixDigits(std::string_view digits, int base, bool hasLongSuffix,
                           std::int32_t& out);

}  // namespace ondrix::script
