#include "script/date_time.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <system_error>

#include "script/ascii.h"
#include "script/number_text.h"

namespace ondrix::script::date_time {
namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr int kSecondsPerDay = 86400;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;
constexpr int kHoursPerHalfDay = 12;
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;
// Two-digit years below this are 20xx, the others 19xx.
constexpr int kTwoDigitYearPivot = 30;
constexpr int kMaxDigits = 4;

constexpr sys_days kDayZero = sys_days{std::chrono::year{1899} / 12 / 30};
constexpr double kFirstSerial =
    (sys_days{std::chrono::year{kFirstYear} / 1 / 1} - kDayZero).count();
constexpr double kEndSerial =
    (sys_days{std::chrono::year{kLastYear + 1} / 1 / 1} - kDayZero).count();

// The day count of a calendar date from day 0.
double DaySerial(const year_month_day& date) {
    return static_cast<double>((sys_days{date} - kDayZero).count());
}

// A time of day as a fraction of the day.
double DayFraction(int hour, int minute, int second) {
    return static_cast<double>(hour * kSecondsPerHour + minute * kSecondsPerMinute + second) /
           kSecondsPerDay;
}

// Spaces and tabs stand between the date, the time and AM/PM.
bool IsPartSeparator(char c) {
    return c == ' ' || c == '\t';
}

// Reads 1 to kMaxDigits decimal digits; `count` receives how many.
bool ReadNumber(std::string_view t, std::size_t& pos, int& value, int& count) {
    const char* start = t.data() + pos;
    unsigned digits = 0;
    auto [end, error] = std::from_chars(start, t.data() + t.size(), digits);
    count = static_cast<int>(end - start);
    if (error != std::errc() || count > kMaxDigits) return false;
    value = static_cast<int>(digits);
    pos += static_cast<std::size_t>(count);
    return true;
}

// Up to three numbers joined by one of `separators`, the same each time
// ("1/2/2000", "12:30"): how many were read, 0 when a separator is not
// followed by a number.
int ReadFields(std::string_view t, std::size_t& p, std::string_view separators, int (&n)[3],
               int (&count)[3]) {
    int fields = 0;
    for (char separator = 0; fields < 3; ++fields) {
        if (fields > 0) {
            if (p >= t.size() || separators.find(t[p]) == std::string_view::npos ||
                (separator != 0 && t[p] != separator))
                break;
            separator = t[p++];
        }
        if (!ReadNumber(t, p, n[fields], count[fields])) return 0;
    }
    return fields;
}

// The day count of a date read from text: a year of one or two digits
// means 1930 to 2029; false for a date that does not exist or lies beyond
// the years the subtype holds.
bool DayOf(int year, int yearDigits, int month, int dayOfMonth, double& day) {
    if (yearDigits <= 2) year += year < kTwoDigitYearPivot ? 2000 : 1900;
    if (year < kFirstYear || year > kLastYear) return false;
    year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                        std::chrono::day{static_cast<unsigned>(dayOfMonth)}};
    if (!date.ok()) return false;
    day = DaySerial(date);
    return true;
}

// "m/d/y" or "y-m-d" (either separator, the order told by a year of three or
// four digits first) into a day count from day 0.
bool ReadNumericDate(std::string_view t, std::size_t& pos, double& day) {
    std::size_t p = pos;
    int n[3], count[3];
    if (ReadFields(t, p, "/-", n, count) != 3) return false;
    bool yearFirst = count[0] > 2;
    if (count[1] > 2 || (yearFirst && count[2] > 2)) return false;
    bool ok =
        yearFirst ? DayOf(n[0], count[0], n[1], n[2], day) : DayOf(n[2], count[2], n[0], n[1], day);
    if (ok) pos = p;
    return ok;
}

constexpr std::string_view kMonthNames[] = {"january",   "february", "march",    "april",
                                            "may",       "june",     "july",     "august",
                                            "september", "october",  "november", "december"};
constexpr std::size_t kShortMonthName = 3;

// An English month name, whole or its first three letters, in any case:
// the month's number, or 0 for any other word.
int ReadMonthName(std::string_view t, std::size_t& pos) {
    std::size_t end = pos;
    while (end < t.size() && AsciiLower(t[end]) != AsciiUpper(t[end])) ++end;  // letters
    std::string_view word = t.substr(pos, end - pos);
    for (std::size_t m = 0; m < std::size(kMonthNames); ++m) {
        std::string_view name = kMonthNames[m];
        if (EqualsIgnoringCase(word, name) ||
            (word.size() == kShortMonthName &&
             EqualsIgnoringCase(word, name.substr(0, kShortMonthName)))) {
            pos = end;
            return static_cast<int>(m + 1);
        }
    }
    return 0;
}

// Skips blanks; whether there were any.
bool SkipPartSeparators(std::string_view t, std::size_t& pos) {
    std::size_t start = pos;
    while (pos < t.size() && IsPartSeparator(t[pos])) ++pos;
    return pos > start;
}

// A date with its month's name: "October 19, 1962" or "Oct 19 1962" (the
// comma may be left out), or the day first, "19 October 1962" or
// "19-Oct-62".
bool ReadNamedDate(std::string_view t, std::size_t& pos, double& day) {
    std::size_t p = pos;
    int month, dayOfMonth, year, dayDigits, yearDigits;
    if ((month = ReadMonthName(t, p)) != 0) {
        if (!SkipPartSeparators(t, p) || !ReadNumber(t, p, dayOfMonth, dayDigits)) return false;
        SkipPartSeparators(t, p);
        if (p < t.size() && t[p] == ',') ++p;
        SkipPartSeparators(t, p);
    } else {
        // The day first: the same separator, blanks or "-", on both sides of
        // the name.
        if (!ReadNumber(t, p, dayOfMonth, dayDigits)) return false;
        bool dash = p < t.size() && t[p] == '-';
        auto separator = [&] {
            if (!dash) return SkipPartSeparators(t, p);
            if (p >= t.size() || t[p] != '-') return false;
            ++p;
            return true;
        };
        if (!separator() || (month = ReadMonthName(t, p)) == 0 || !separator()) return false;
    }
    if (dayDigits > 2 || !ReadNumber(t, p, year, yearDigits) ||
        !DayOf(year, yearDigits, month, dayOfMonth, day))
        return false;
    pos = p;
    return true;
}

bool ReadDate(std::string_view t, std::size_t& pos, double& day) {
    return ReadNumericDate(t, pos, day) || ReadNamedDate(t, pos, day);
}

// "AM" or "PM" in any case, given as "am" or "pm".
bool ReadWord(std::string_view t, std::size_t& pos, std::string_view lowerWord) {
    if (!EqualsIgnoringCase(t.substr(pos, lowerWord.size()), lowerWord)) return false;
    pos += lowerWord.size();
    return true;
}

// "h:mm[:ss][ AM|PM]" into a fraction of a day.
bool ReadTime(std::string_view t, std::size_t& pos, double& fraction) {
    std::size_t p = pos;
    int part[3] = {0, 0, 0}, count[3] = {0, 0, 0};
    if (ReadFields(t, p, ":", part, count) < 2 || std::max({count[0], count[1], count[2]}) > 2)
        return false;
    std::size_t q = p;
    SkipPartSeparators(t, q);
    bool am = ReadWord(t, q, "am");
    bool pm = !am && ReadWord(t, q, "pm");
    int hour = part[0];
    if (am || pm) {
        if (hour < 1 || hour > kHoursPerHalfDay) return false;
        hour = hour % kHoursPerHalfDay + (pm ? kHoursPerHalfDay : 0);
        p = q;
    } else if (hour >= 2 * kHoursPerHalfDay) {
        return false;
    }
    if (part[1] >= kSecondsPerMinute || part[2] >= kSecondsPerMinute) return false;
    fraction = DayFraction(hour, part[1], part[2]);
    pos = p;
    return true;
}

}  // namespace

bool InRange(double serial) {
    // The last day's times lie below kEndSerial; the first day's, counting
    // forward from its midnight, above kFirstSerial - 1.
    return serial > kFirstSerial - 1 && serial < kEndSerial;
}

bool Parse(std::string_view text, double& serial) {
    std::string_view t = TrimBlanks(text);
    std::size_t pos = 0;
    double day = 0, fraction = 0;
    bool hasDate = ReadDate(t, pos, day);
    if (hasDate && pos < t.size() && !SkipPartSeparators(t, pos)) return false;
    if ((!hasDate || pos < t.size()) && !ReadTime(t, pos, fraction)) return false;
    if (pos != t.size()) return false;
    serial = day < 0 ? day - fraction : day + fraction;
    return true;
}

void AppendText(std::string& out, double serial) {
    double whole = std::trunc(serial);
    auto seconds = static_cast<long>(std::round(std::fabs(serial - whole) * kSecondsPerDay));
    if (seconds == kSecondsPerDay) {  // rounds up to the next midnight
        seconds = 0;
        whole += serial < 0 ? -1 : 1;
    }
    // Day 0 shows its time alone (midnight too); other days their date,
    // then the time unless it is midnight.
    bool showDate = whole != 0;
    bool showTime = seconds != 0 || whole == 0;
    if (showDate) {
        year_month_day date{kDayZero + days{static_cast<long>(whole)}};
        AppendDigits(out, static_cast<unsigned>(date.month()));
        out += '/';
        AppendDigits(out, static_cast<unsigned>(date.day()));
        out += '/';
        AppendDigits(out, static_cast<int>(date.year()));
    }
    if (showDate && showTime) out += ' ';
    if (showTime) {
        long hour = seconds / kSecondsPerHour;
        AppendDigits(out,
                     hour % kHoursPerHalfDay == 0 ? kHoursPerHalfDay : hour % kHoursPerHalfDay);
        out += ':';
        AppendDigits(out, seconds / kSecondsPerMinute % kSecondsPerMinute, 2);
        out += ':';
        AppendDigits(out, seconds % kSecondsPerMinute, 2);
        out += hour < kHoursPerHalfDay ? " AM" : " PM";
    }
}

double Now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    year_month_day date{std::chrono::year{local.tm_year + 1900},
                        std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                        std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    return DaySerial(date) +
           DayFraction(local.tm_hour, local.tm_min,
                       std::min(local.tm_sec, kSecondsPerMinute - 1));  // no leap second
}

}  // namespace ondrix::script::date_time
