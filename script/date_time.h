#pragma once

// The Date subtype: a Double count of days since 30 December 1899, the time
// of day as its fraction. Before that day the fraction still counts forward
// from midnight: -1.25 is 29 December 1899, 6:00 AM.

#include <string>
#include <string_view>

namespace ondrix::script::date_time {

// Whether a serial lies between 1 January 100 and 31 December 9999, the
// dates the subtype holds.
bool InRange(double serial);

// Reads a date and/or a time of day: "m/d/yyyy" or "yyyy-mm-dd" (a one- or
// two-digit year means 1930 to 2029) or a date with an English month name
// ("October 19, 1962", "Oct 19 1962", "19 October 1962", "19-Oct-62"),
// then optionally "h:mm" or "h:mm:ss"
// with an optional "AM" or "PM"; or such a time alone (day 0). Blanks around
// are allowed. Returns false for any other text and for a day, month or time
// that does not exist.
bool Parse(std::string_view text, double& serial);

// The en-US text form: "1/1/2000", "1/1/2000 1:30:00 PM", a time alone on
// day 0 ("1:30:00 PM"), and midnight of day 0 as "12:00:00 AM". The time is
// rounded to whole seconds.
void AppendText(std::string& out, double serial);

// The local date and time now, to the second.
double Now();

}  // namespace ondrix::script::date_time
