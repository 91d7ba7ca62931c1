// Run notation: a list of host field numbers written as "1, 96-106, 9488",
// where "a-b" stands for a, a+1, ..., b.
//
// `RunNotation::count` works at compile time so that every catalog's table
// is checked against its declared member count; it answers 0 for a text
// that is not well-formed (a number below 1, a range that descends, a
// stray character), which no catalog's count can match.
// `expand` gives the numbers of a well-formed text at compile time, so that
// a catalog built at load only copies them; `RunReader` walks them at run
// time.
#ifndef CATALOGS_RUN_NOTATION_H_
#define CATALOGS_RUN_NOTATION_H_

#include <array>
#include <cstddef>

namespace RunNotation {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isBlank(char c) { return c == ' ' || c == '\n' || c == '\t' || c == ','; }

// Reads the number at s[*pos], advancing *pos; -1 when there is none.
constexpr long readNumber(const char* s, std::size_t* pos) {
  if (!isDigit(s[*pos])) return -1;
  long value = 0;
  while (isDigit(s[*pos])) {
    value = value * 10 + (s[*pos] - '0');
    if (value > 2147483647L) return -1;
    ++*pos;
  }
  return value;
}

// Number of members the text stands for, or 0 when it is malformed.
constexpr std::size_t count(const char* s) {
  std::size_t pos = 0;
  std::size_t total = 0;
  while (true) {
    while (isBlank(s[pos])) ++pos;
    if (s[pos] == '\0') return total;
    long first = readNumber(s, &pos);
    if (first < 1) return 0;
    long last = first;
    if (s[pos] == '-') {
      ++pos;
      last = readNumber(s, &pos);
      if (last < first) return 0;
    }
    if (s[pos] != '\0' && !isBlank(s[pos])) return 0;
    total += static_cast<std::size_t>(last - first + 1);
  }
}

// The number at position k (from 0) of a well-formed text, or 0 when the
// text stands for k numbers or fewer. Used at compile time to check that a
// named field's member holds the host field number its table gives.
constexpr long nth(const char* s, std::size_t k) {
  std::size_t pos = 0;
  while (true) {
    while (isBlank(s[pos])) ++pos;
    if (s[pos] == '\0') return 0;
    long first = readNumber(s, &pos);
    if (first < 1) return 0;
    long last = first;
    if (s[pos] == '-') {
      ++pos;
      last = readNumber(s, &pos);
      if (last < first) return 0;
    }
    const std::size_t span = static_cast<std::size_t>(last - first + 1);
    if (k < span) return first + static_cast<long>(k);
    k -= span;
  }
}

// The first N numbers of a well-formed text, in order; 0 past its last.
template <std::size_t N>
constexpr std::array<int, N> expand(const char* s) {
  std::array<int, N> numbers{};
  std::size_t pos = 0;
  std::size_t k = 0;
  while (k < N) {
    while (isBlank(s[pos])) ++pos;
    if (s[pos] == '\0') break;
    const long first = readNumber(s, &pos);
    if (first < 1) break;
    long last = first;
    if (s[pos] == '-') {
      ++pos;
      last = readNumber(s, &pos);
    }
    for (long n = first; n <= last && k < N; ++n) numbers[k++] = static_cast<int>(n);
  }
  return numbers;
}

// Yields the numbers of a well-formed text in order; 0 once exhausted.
class RunReader {
 public:
  explicit RunReader(const char* text) : text_(text) {}

  int next() {
    if (current_ < last_) return static_cast<int>(++current_);
    while (isBlank(text_[pos_])) ++pos_;
    if (text_[pos_] == '\0') return 0;
    current_ = readNumber(text_, &pos_);
    last_ = current_;
    if (text_[pos_] == '-') {
      ++pos_;
      last_ = readNumber(text_, &pos_);
    }
    return current_ > 0 ? static_cast<int>(current_) : 0;
  }

 private:
  const char* text_;
  std::size_t pos_ = 0;
  long current_ = 0;
  long last_ = 0;
};

}  // namespace RunNotation

#endif  // CATALOGS_RUN_NOTATION_H_
