#include "host/dates.h"

#include <cctype>
#include <ctime>
#include <string>

#include "host/stand_in.h"

namespace Utils {
namespace {

// Day numbers run from 1 January 1900 = 1 up to 31 December 9999.
const int kFirstYear = 1900;
const int kLastYear = 9999;

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int m, int y) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && isLeap(y)) ? 29 : kDays[m - 1];
}

// Days from 1 March of year 0 (proleptic Gregorian) to (y, m, d); the
// era arithmetic avoids any table of month lengths.
long civilToDays(int y, int m, int d) {
  y -= m <= 2;
  const long era = y / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

void daysToCivil(long days, int& y, int& m, int& d) {
  const long era = days / 146097;
  const long doe = days - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// 31 December 1899 is day 0.
long dayZero() { return civilToDays(1899, 12, 31); }

long lastDayNumber() { return civilToDays(kLastYear, 12, 31) - dayZero(); }

// Reads minLen to maxLen digits at `s` (as many as there are, up to
// maxLen) and moves `s` past them; -1 when there are fewer than minLen.
// Callers check the character that must follow.
int readDigits(const char*& s, int minLen, int maxLen) {
  int value = 0;
  int len = 0;
  while (len < maxLen && std::isdigit(static_cast<unsigned char>(s[len]))) {
    value = value * 10 + (s[len] - '0');
    ++len;
  }
  if (len < minLen) return -1;
  s += len;
  return value;
}

bool expect(const char*& s, char c) {
  if (*s != c) return false;
  ++s;
  return true;
}

// M/D/YYYY, M/D/YY, M-D-YYYY.
long parseMonthFirst(const char* s) {
  const int m = readDigits(s, 1, 2);
  if (m < 0) return 0;
  const char sep = *s;
  if (sep != '/' && sep != '-') return 0;
  ++s;
  const int d = readDigits(s, 1, 2);
  if (d < 0 || !expect(s, sep)) return 0;
  const char* yearStart = s;
  int y = readDigits(s, 2, 4);
  if (y < 0 || *s != '\0') return 0;
  const long yearLen = s - yearStart;
  if (yearLen == 2 && sep == '/') {
    y += y < 50 ? 2000 : 1900;
  } else if (yearLen != 4) {
    return 0;
  }
  return dateToNumber(m, d, y);
}

// YYYY-MM-DD.
long parseIso(const char* s) {
  const int y = readDigits(s, 4, 4);
  if (y < 0 || !expect(s, '-')) return 0;
  const int m = readDigits(s, 2, 2);
  if (m < 0 || !expect(s, '-')) return 0;
  const int d = readDigits(s, 2, 2);
  if (d < 0 || *s != '\0') return 0;
  return dateToNumber(m, d, y);
}

// MMDDYYYY.
long parseCompact(const char* s) {
  const int m = readDigits(s, 2, 2);
  const int d = m < 0 ? -1 : readDigits(s, 2, 2);
  const int y = d < 0 ? -1 : readDigits(s, 4, 4);
  if (y < 0 || *s != '\0') return 0;
  return dateToNumber(m, d, y);
}

// "Today" as set by a test; month 0 means the system date.
struct Today {
  int month = 0;
  int day = 0;
  int year = 0;
};

Today& today() {
  static Today value;
  return value;
}

const StandIn::ResetHook kResetToday([] { today() = Today(); });

}  // namespace

long dateToNumber(int m, int d, int y) {
  if (y < kFirstYear || y > kLastYear || m < 1 || m > 12) return 0;
  if (d < 1 || d > daysInMonth(m, y)) return 0;
  return civilToDays(y, m, d) - dayZero();
}

long strDateToNumber(const char* text) {
  if (text == nullptr) return 0;
  std::string t(text);
  const std::size_t first = t.find_first_not_of(" \t");
  if (first == std::string::npos) return 0;
  t = t.substr(first, t.find_last_not_of(" \t") - first + 1);
  const char* s = t.c_str();
  if (t.size() == 8 && t.find_first_not_of("0123456789") == std::string::npos) {
    return parseCompact(s);
  }
  if (t.size() == 10 && t[4] == '-') return parseIso(s);
  return parseMonthFirst(s);
}

int month(long n) {
  if (n <= 0 || n > lastDayNumber()) return 0;
  int y, m, d;
  daysToCivil(n + dayZero(), y, m, d);
  return m;
}

int day(long n) {
  if (n <= 0 || n > lastDayNumber()) return 0;
  int y, m, d;
  daysToCivil(n + dayZero(), y, m, d);
  return d;
}

int year(long n) {
  if (n <= 0 || n > lastDayNumber()) return 0;
  int y, m, d;
  daysToCivil(n + dayZero(), y, m, d);
  return y;
}

void getCurrentDate(int& m, int& d, int& y, bool /*unused*/) {
  const Today& set = today();
  if (set.month != 0) {
    m = set.month;
    d = set.day;
    y = set.year;
    return;
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  m = local.tm_mon + 1;
  d = local.tm_mday;
  y = local.tm_year + 1900;
}

void setCurrentDate(int m, int d, int y) {
  today().month = m;
  today().day = d;
  today().year = y;
}

void clearCurrentDate() { today() = Today(); }

}  // namespace Utils
