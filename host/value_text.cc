#include "host/value_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "host/rounding.h"

namespace DataMgmt {
namespace {

// Room for the text of any number.
constexpr std::size_t kNumberTextSize = 512;

// How an edit code scales a stored number: divide by `scale`, then show
// `decimals` places, or round to a whole number when `decimals` is 0.
struct Scaling {
  double scale;
  int decimals;
};

Scaling scalingOf(unsigned char editCode) {
  switch (editCode) {
    case 'H':
    case 'M':
      return {100.0, 2};
    case 'J':
    case 'N':
    case 'O':
      return {1e4, 4};
    case 'G':
      return {10.0, 1};
    case 'I':
      return {1e3, 3};
    case 'K':
      return {1e5, 5};
    case 'L':
      return {1e6, 6};
    case 'F':
    case 170:
    case 172:
      return {100.0, 0};
    default:
      return {1.0, 0};
  }
}

// "-0.00" and the like read as zero without a sign.
std::string_view withoutNegativeZero(std::string_view text) {
  if (text.empty() || text[0] != '-') return text;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] != '0' && text[i] != '.') return text;
  }
  return text.substr(1);
}

// A number's text, made in `buf`.
std::string_view numberView(double value, unsigned char editCode, char (&buf)[kNumberTextSize]) {
  if (!std::isfinite(value)) return {};
  const Scaling s = scalingOf(editCode);
  if (s.decimals == 0) {
    // A whole number as "%ld" writes it (a long has no negative zero).
    return std::string_view(buf, std::to_chars(buf, buf + sizeof buf, Utils::roundR(value / s.scale)).ptr - buf);
  }
  const int length = std::snprintf(buf, sizeof buf, "%.*f", s.decimals, value / s.scale);
  return withoutNegativeZero(std::string_view(buf, std::min<std::size_t>(length, sizeof buf - 1)));
}

// The value text: where the value holds it, or made in `buf`.
std::string_view valueView(const FieldValue& value, unsigned char editCode, char (&buf)[kNumberTextSize]) {
  switch (value.kind) {
    case FieldValue::kNull:
      return {};
    case FieldValue::kText:
      return value.text;
    case FieldValue::kNumber:
      return numberView(value.number, editCode, buf);
    case FieldValue::kMark:
      return editCode == kEditYesNo ? "Y" : "X";
    case FieldValue::kNo:
      return editCode == kEditYesNo ? "N" : "";
  }
  return {};
}

}  // namespace

std::string numberText(double value, unsigned char editCode) {
  char buf[kNumberTextSize];
  return std::string(numberView(value, editCode, buf));
}

std::string valueText(const FieldValue& value, unsigned char editCode) {
  char buf[kNumberTextSize];
  return std::string(valueView(value, editCode, buf));
}

char* copyValueText(const FieldValue& value, unsigned char editCode, char* buf, std::size_t size) {
  char number[kNumberTextSize];
  const std::string_view text = valueView(value, editCode, number);
  buf[0] = '\0';
  if (text.empty()) return buf;
  // Up to a NUL in a text, and at most size - 1 characters.
  const void* nul = value.kind == FieldValue::kText ? std::memchr(text.data(), '\0', text.size()) : nullptr;
  std::size_t count = nul == nullptr ? text.size() : static_cast<const char*>(nul) - text.data();
  if (count > size - 1) count = size - 1;
  std::memmove(buf, text.data(), count);
  buf[count] = '\0';
  return buf;
}

}  // namespace DataMgmt
