// The Japanese calendar's date and time texts.
#include "engine/date_text.h"

#include <cctype>

#include "engine/sjis.h"

namespace kubrix {

const std::array<std::string_view, 30> kDatePatterns = {
    "yyyy/mm/dd", "yyyy/m/d", "yy/mm/dd", "yy/m/d", "gggee/mm/dd", "ggge/m/d", "gee/mm/dd", "ge/m/d",
    "yyyy/mm",    "yyyy/m",   "yy/mm",    "yy/m",   "gggee/mm",    "ggge/m",   "gee/mm",    "ge/m",
    "yyyy",       "yy",       "gggee",    "ggge",   "gee",         "ge",       "mm/dd",     "m/d",
    "mm",         "m",        "dd",       "d",      "dddd",        "ddd",
};

const std::array<std::string_view, 18> kTimePatterns = {
    "hh:nn:ss",       "h:n:s",       "hh:nn",       "h:n",         "hh:nn:ss AM/PM", "h:n:s AM/PM",
    "hh:nn AM/PM",    "h:n AM/PM",   "hh:nn:ss am/pm", "h:n:s am/pm", "hh:nn am/pm",   "h:n am/pm",
    "hh",             "h",           "nn",          "n",           "ss",             "s",
};

namespace {

struct Era {
  int year, month, day;
  const char* name;  // UTF-8
};

// The eras of the Japanese calendar with the dates they begin.
constexpr Era kEras[] = {
    {1868, 1, 1, "明治"}, {1912, 7, 30, "大正"}, {1926, 12, 25, "昭和"}, {1989, 1, 8, "平成"}, {2019, 5, 1, "令和"},
};

// The era of a date as an index into kEras, or -1 before the first.
int eraOf(const LocalDateTime& t) {
  const long key = t.year * 10000L + t.month * 100L + t.day;
  int found = -1;
  for (int i = 0; i < static_cast<int>(std::size(kEras)); ++i)
    if (key >= kEras[i].year * 10000L + kEras[i].month * 100L + kEras[i].day) found = i;
  return found;
}

const std::string& eraName(int era) {
  static const std::array<std::string, std::size(kEras)> names = [] {
    std::array<std::string, std::size(kEras)> n;
    for (size_t i = 0; i < n.size(); ++i) n[i] = utf8ToSjis(kEras[i].name);
    return n;
  }();
  static const std::string none;
  return era < 0 ? none : names[static_cast<size_t>(era)];
}

const std::string& weekdayName(int weekday, bool full) {
  static const std::array<std::string, 14> names = [] {
    const char* const utf8[] = {"日", "月", "火", "水", "木", "金", "土"};
    std::array<std::string, 14> n;
    for (size_t i = 0; i < 7; ++i) {
      n[i] = utf8ToSjis(utf8[i]);
      n[7 + i] = n[i] + utf8ToSjis("曜日");
    }
    return n;
  }();
  return names[static_cast<size_t>(weekday) + (full ? 7 : 0)];
}

// A number without leading zeros, or with one up to two digits.
void appendPadded(std::string& out, long v, bool twoDigits) {
  if (twoDigits && v >= 0 && v < 10) out += '0';
  out += std::to_string(v);
}

bool startsWithNoCase(std::string_view s, size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (std::tolower(static_cast<unsigned char>(s[at + k])) != word[k]) return false;
  return true;
}

bool hasAmPm(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); ++i)
    if (startsWithNoCase(pattern, i, "am/pm")) return true;
  return false;
}

}  // namespace

void appendDateTime(std::string& out, std::string_view pattern, const LocalDateTime& t) {
  const bool twelve = hasAmPm(pattern);
  const int era = eraOf(t);
  for (size_t i = 0; i < pattern.size();) {
    if (startsWithNoCase(pattern, i, "am/pm")) {
      // The marker keeps the case written: "AM/PM" gives AM or PM, "am/pm" am or pm.
      out.append(pattern.substr(t.hour < 12 ? i : i + 3, 2));
      i += 5;
      continue;
    }
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
    size_t run = 1;
    while (i + run < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + run])) == c) ++run;
    const bool two = run >= 2;
    switch (c) {
      case 'y':
        if (run <= 2) {
          appendPadded(out, t.year % 100, true);
        } else {
          const std::string y = std::to_string(t.year);
          if (y.size() < 4) out.append(4 - y.size(), '0');
          out += y;
        }
        break;
      case 'm': appendPadded(out, t.month, two); break;
      case 'd':
        if (run >= 3) out += weekdayName(weekdayOf(t.year, t.month, t.day), run >= 4);
        else appendPadded(out, t.day, two);
        break;
      case 'g': {
        const std::string& name = eraName(era);
        out += run == 1 ? std::string_view(name).substr(0, name.empty() ? 0 : charLen(name, 0)) : std::string_view(name);
        break;
      }
      case 'e': appendPadded(out, era < 0 ? t.year : t.year - kEras[era].year + 1, two); break;
      case 'h': appendPadded(out, twelve ? (t.hour % 12 == 0 ? 12 : t.hour % 12) : t.hour, two); break;
      case 'n': appendPadded(out, t.minute, two); break;
      case 's': appendPadded(out, t.second, two); break;
      default: out.append(pattern.substr(i, run)); break;
    }
    i += run;
  }
}

int weekdayOf(int year, int month, int day) {
  // Days from 1970-01-01 (a Thursday) by the civil-calendar count of whole eras of 400 years.
  const long y = year - (month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long days = era * 146097 + doe - 719468;
  const long w = (days + 4) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w);
}

namespace {

bool readDigits(std::string_view s, size_t& at, size_t count, int& out) {
  if (s.size() - at < count) return false;
  out = 0;
  for (size_t k = 0; k < count; ++k) {
    const char c = s[at + k];
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  at += count;
  return true;
}

bool expect(std::string_view s, size_t& at, char c) {
  if (at >= s.size() || s[at] != c) return false;
  ++at;
  return true;
}

int daysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

bool parseLocalDateTime(std::string_view s, LocalDateTime& out) {
  LocalDateTime t;
  size_t at = 0;
  if (!readDigits(s, at, 4, t.year) || !expect(s, at, '-') || !readDigits(s, at, 2, t.month) || !expect(s, at, '-') ||
      !readDigits(s, at, 2, t.day))
    return false;
  t.hour = t.minute = t.second = 0;
  if (at < s.size()) {
    if (s[at] != 'T' && s[at] != ' ') return false;
    ++at;
    if (!readDigits(s, at, 2, t.hour) || !expect(s, at, ':') || !readDigits(s, at, 2, t.minute)) return false;
    if (at < s.size() && (!expect(s, at, ':') || !readDigits(s, at, 2, t.second))) return false;
    if (at != s.size()) return false;
  }
  if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month) || t.hour > 23 ||
      t.minute > 59 || t.second > 59)
    return false;
  t.millisecond = 0;
  t.weekday = weekdayOf(t.year, t.month, t.day);
  out = t;
  return true;
}

}  // namespace kubrix
