// Utils text helpers of the host: C-string copies, padding, character
// filters and case-blind comparison.
//
// Every function that writes into a caller's buffer states the size the
// buffer must have and never writes more. A null source reads as the empty
// text; a null destination is left alone and returned as is. "Blanks" are
// the ASCII white-space characters (blank, tab, CR, LF, VT, FF). Letters
// and case are ASCII only; other bytes are never changed by case
// conversion.
#ifndef HOST_STRING_UTILS_H_
#define HOST_STRING_UTILS_H_

#include <cstddef>
#include <string>

#include "host/host_api.h"
#include "host/utils_types.h"

namespace Utils {

// Size of the buffer that buildNameS writes (255 characters and the NUL).
const std::size_t kNameBufferSize = 256;

// Copies `s` without its leading and trailing blanks into `t`. `t` must
// hold strlen(s) + 1 bytes; it may be `s` itself. Returns `t`.
HOST_API char* strip(char* t, const char* s);

// Copies at most `n` characters of `s`, starting at character `start`
// (counted from 1; a start below 1 counts as 1), into `t`. A start past
// the end gives "". `t` must hold n + 1 bytes; it may overlap `s`.
HOST_API char* strsub(char* t, const char* s, int start, int n);

// Copies at most n - 1 characters of `s` into `d` and ends it with a NUL;
// n is the size of `d`. With n 0 nothing is written.
HOST_API char* safestrncpy(char* d, const char* s, std::size_t n);
// The same for a std::string (ours): its length is known, nothing is
// counted. Up to its first NUL, like the C string.
HOST_API char* safestrncpy(char* d, const std::string& s, std::size_t n);

HOST_API std::string xstr(int value);   // decimal text, "-" when negative
HOST_API std::string nStr(long value);  // decimal text, "-" when negative

// Joins the parts a, b, c, d, each stripped of blanks, with one blank
// between non-empty parts, into `out`, which must hold kNameBufferSize
// bytes; a longer name is cut to 255 characters. The display mode does
// not change the result. `out` may be one of the parts. Returns `out`.
HOST_API char* buildNameS(char* out, const char* a, const char* b, const char* c, const char* d,
                          DISPLAY_NAME mode);

// Lines that an interest or dividend source needs in the summary: 1 for
// the source line, 1 each for a regular and a U.S.-obligations amount,
// 2 for the exempt pair when the exempt total is not 0. In-state and
// out-of-state amounts belong to the exempt pair and add nothing.
HOST_API short countLines(double regular, double usObligations, double inState, double outOfState,
                          double exemptTotal);

// The next word of `text` from `pos`: leading blanks are skipped, the word
// runs to the next blank or the end, and `pos` moves just past it. At the
// end (or past it) the word is "" and `pos` is text.size().
HOST_API std::string readNextWord(const std::string& text, std::size_t& pos);

// Pads `s` with blanks on the right (padStr) or on the left (padStrLeft)
// to `width` characters. `s` must hold width + 1 bytes; a text of `width`
// characters or more, or a width below 1, is left unchanged. Returns `s`.
HOST_API char* padStr(char* s, int width);
HOST_API char* padStrLeft(char* s, int width);

// Removes, in place, every character of `s` that occurs in `set`.
HOST_API char* removeChars(char* s, const char* set);

// Replaces, in place, every `from` in `s` by `to`. A NUL `from` or `to`
// changes nothing (the text's length never changes).
HOST_API char* replaceChars(char* s, char from, char to);

// ASCII character classes.
inline bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Keeps, in place, the characters of `s` for which keep(c) holds; the text
// only shrinks. Returns `s` (null stays null).
template <class Keep>
char* keepOnly(char* s, Keep keep) {
  if (s == nullptr) return s;
  char* out = s;
  for (const char* in = s; *in != '\0'; ++in) {
    if (keep(*in)) *out++ = *in;
  }
  *out = '\0';
  return s;
}

// Data-file cleaners, in place; they only remove characters, so the text
// never grows. tifCleanNameString keeps letters, " ", "-" and "&";
// tifCleanAddressString keeps letters, digits, " ", "-" and "/". Every
// other character (tabs and bytes above 127 included) is removed.
HOST_API char* tifCleanNameString(char* s);
HOST_API char* tifCleanAddressString(char* s);

// Case-blind comparison and case conversion (ASCII).
class HOST_API OVStringUtils {
 public:
  OVStringUtils() = delete;

  // <0, 0 or >0 as strcasecmp; null reads as "".
  static int stricmp(const char* a, const char* b);
  static int stricmp(const std::string& a, const std::string& b);
  // Upper-cases `s` in place; returns `s`.
  static char* toUpperCase(char* s);
  static std::string toUpperCase(const std::string& s);  // ours
  // `s` without its leading blanks (left) and/or trailing blanks (right).
  static std::string trimString(const std::string& s, bool left, bool right);
};

}  // namespace Utils

#endif  // HOST_STRING_UTILS_H_
