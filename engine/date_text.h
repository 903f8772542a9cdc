// Date and time texts of GETDATE and GETTIME: the Japanese calendar with its eras, Japanese weekday
// names and the separators "/" and ":", whatever the locale of the machine.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/host.h"

namespace kubrix {

// The patterns GETDATE and GETTIME select by index; an index outside a table selects its pattern 0.
extern const std::array<std::string_view, 30> kDatePatterns;
extern const std::array<std::string_view, 18> kTimePatterns;

// Appends t formatted by pattern, in CP932:
//   yyyy / yy    the year in four / two digits
//   m / mm       the month without / with a leading zero; d / dd the same for the day
//   ddd / dddd   the weekday of the date (t.weekday is not read): 日 .. 土 / 日曜日 .. 土曜日
//   g / gg...    the era: its first character / its full name (明治 大正 昭和 平成 令和)
//   e / ee       the year of the era without / with a leading zero (1, not 元)
//   h hh n nn s ss  hour, minute and second without / with a leading zero
//   AM/PM am/pm  the marker in the case written, and a 12-hour clock for the hours (0:30 is 12:30 AM)
// Every other character stands for itself. Before the first era (1868-01-01) the era name is empty
// and the year of the era is the year.
void appendDateTime(std::string& out, std::string_view pattern, const LocalDateTime& t);

// The weekday of a date of the Gregorian calendar: 0 Sunday .. 6 Saturday.
int weekdayOf(int year, int month, int day);

// Reads "YYYY-MM-DD", optionally followed by "T" or a blank and "HH:MM" or "HH:MM:SS", into a local
// date and time with its weekday; false when the text is not of that form or not a valid moment.
bool parseLocalDateTime(std::string_view text, LocalDateTime& out);

}  // namespace kubrix
