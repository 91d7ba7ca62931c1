#include "host/string_utils.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Utils {
namespace {

// A blank: " \t\r\n\v\f".
bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const char* orEmpty(const char* s) { return s != nullptr ? s : ""; }

// Narrows [begin, end) of `s` to the part between its outer blanks.
void trimBounds(const char* s, const char*& begin, const char*& end) {
  begin = orEmpty(s);
  end = begin + std::strlen(begin);
  while (begin < end && isBlank(*begin)) ++begin;
  while (end > begin && isBlank(end[-1])) --end;
}

}  // namespace

char* strip(char* t, const char* s) {
  if (t == nullptr) return t;
  const char* begin;
  const char* end;
  trimBounds(s, begin, end);
  const std::size_t n = static_cast<std::size_t>(end - begin);
  std::memmove(t, begin, n);
  t[n] = '\0';
  return t;
}

char* strsub(char* t, const char* s, int start, int n) {
  if (t == nullptr) return t;
  s = orEmpty(s);
  const std::size_t len = std::strlen(s);
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  std::size_t count = 0;
  if (n > 0 && from < len) {
    count = len - from;
    if (count > static_cast<std::size_t>(n)) count = static_cast<std::size_t>(n);
  }
  std::memmove(t, s + (count > 0 ? from : 0), count);
  t[count] = '\0';
  return t;
}

char* safestrncpy(char* d, const char* s, std::size_t n) {
  if (d == nullptr || n == 0) return d;
  s = orEmpty(s);
  std::size_t count = std::strlen(s);
  if (count > n - 1) count = n - 1;
  std::memmove(d, s, count);
  d[count] = '\0';
  return d;
}

char* safestrncpy(char* d, const std::string& s, std::size_t n) {
  if (d == nullptr || n == 0) return d;
  std::size_t count = s.find('\0');
  if (count == std::string::npos) count = s.size();
  if (count > n - 1) count = n - 1;
  std::memmove(d, s.data(), count);
  d[count] = '\0';
  return d;
}

std::string xstr(int value) { return std::to_string(value); }

std::string nStr(long value) { return std::to_string(value); }

char* buildNameS(char* out, const char* a, const char* b, const char* c, const char* d,
                 DISPLAY_NAME /*mode*/) {
  if (out == nullptr) return out;
  // Made in a buffer of its own (a part may be `out` itself), at most
  // kNameBufferSize - 1 characters.
  char name[kNameBufferSize];
  std::size_t used = 0;
  for (const char* part : {a, b, c, d}) {
    const char* begin;
    const char* end;
    trimBounds(part, begin, end);
    if (begin == end) continue;
    const std::size_t separator = used == 0 ? 0 : 1;
    const std::size_t room = kNameBufferSize - 1 - used;
    if (separator <= room) {
      if (separator != 0) name[used] = ' ';
      used += separator;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(end - begin), kNameBufferSize - 1 - used);
    std::memcpy(name + used, begin, n);
    used += n;
  }
  name[used] = '\0';
  return static_cast<char*>(std::memcpy(out, name, used + 1));
}

short countLines(double regular, double usObligations, double /*inState*/, double /*outOfState*/,
                 double exemptTotal) {
  return static_cast<short>(1 + (regular != 0 ? 1 : 0) + (usObligations != 0 ? 1 : 0) +
                            (exemptTotal != 0 ? 2 : 0));
}

std::string readNextWord(const std::string& text, std::size_t& pos) {
  if (pos > text.size()) pos = text.size();
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  const std::size_t start = pos;
  while (pos < text.size() && !isBlank(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

char* padStr(char* s, int width) {
  if (s == nullptr || width < 1) return s;
  const std::size_t len = std::strlen(s);
  const std::size_t w = static_cast<std::size_t>(width);
  if (len >= w) return s;
  std::memset(s + len, ' ', w - len);
  s[w] = '\0';
  return s;
}

char* padStrLeft(char* s, int width) {
  if (s == nullptr || width < 1) return s;
  const std::size_t len = std::strlen(s);
  const std::size_t w = static_cast<std::size_t>(width);
  if (len >= w) return s;
  std::memmove(s + (w - len), s, len);
  std::memset(s, ' ', w - len);
  s[w] = '\0';
  return s;
}

char* removeChars(char* s, const char* set) {
  set = orEmpty(set);
  return keepOnly(s, [set](char c) { return std::strchr(set, c) == nullptr; });
}

char* replaceChars(char* s, char from, char to) {
  if (s == nullptr || from == '\0' || to == '\0') return s;
  for (char* p = s; *p != '\0'; ++p) {
    if (*p == from) *p = to;
  }
  return s;
}

char* tifCleanNameString(char* s) {
  return keepOnly(s, [](char c) { return isLetter(c) || c == ' ' || c == '-' || c == '&'; });
}

char* tifCleanAddressString(char* s) {
  return keepOnly(
      s, [](char c) { return isLetter(c) || isDigit(c) || c == ' ' || c == '-' || c == '/'; });
}

// ---- OVStringUtils --------------------------------------------------------

int OVStringUtils::stricmp(const char* a, const char* b) {
  a = orEmpty(a);
  b = orEmpty(b);
  for (;; ++a, ++b) {
    const unsigned char ca = static_cast<unsigned char>(lower(*a));
    const unsigned char cb = static_cast<unsigned char>(lower(*b));
    if (ca != cb || ca == '\0') return ca < cb ? -1 : (ca > cb ? 1 : 0);
  }
}

int OVStringUtils::stricmp(const std::string& a, const std::string& b) {
  return stricmp(a.c_str(), b.c_str());
}

char* OVStringUtils::toUpperCase(char* s) {
  if (s == nullptr) return s;
  for (char* p = s; *p != '\0'; ++p) *p = upper(*p);
  return s;
}

std::string OVStringUtils::toUpperCase(const std::string& s) {
  std::string result(s);
  for (char& c : result) c = upper(c);
  return result;
}

std::string OVStringUtils::trimString(const std::string& s, bool left, bool right) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  if (left) {
    while (begin < end && isBlank(s[begin])) ++begin;
  }
  if (right) {
    while (end > begin && isBlank(s[end - 1])) --end;
  }
  return s.substr(begin, end - begin);
}

}  // namespace Utils
