#include "host/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "host/rounding.h"
#include "host/string_utils.h"

namespace DataMgmt {
namespace {

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
void dropNegativeZero(std::string* text) {
  if (text->empty() || (*text)[0] != '-') return;
  for (std::size_t i = 1; i < text->size(); ++i) {
    char c = (*text)[i];
    if (c != '0' && c != '.') return;
  }
  text->erase(0, 1);
}

}  // namespace

std::string numberText(double value, unsigned char editCode) {
  if (!std::isfinite(value)) return "";
  const Scaling s = scalingOf(editCode);
  char buf[512];
  if (s.decimals == 0) {
    // A whole number as "%ld" writes it (a long has no negative zero).
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, Utils::roundR(value / s.scale)).ptr);
  }
  std::snprintf(buf, sizeof buf, "%.*f", s.decimals, value / s.scale);
  std::string text(buf);
  dropNegativeZero(&text);
  return text;
}

std::string valueText(const FieldValue& value, unsigned char editCode) {
  switch (value.kind) {
    case FieldValue::kNull:
      return "";
    case FieldValue::kText:
      return value.text;
    case FieldValue::kNumber:
      return numberText(value.number, editCode);
    case FieldValue::kMark:
      return editCode == kEditYesNo ? "Y" : "X";
    case FieldValue::kNo:
      return editCode == kEditYesNo ? "N" : "";
  }
  return "";
}

char* copyValueText(const FieldValue& value, unsigned char editCode, char* buf, std::size_t size) {
  // Only a text can be long; it is copied as it stands.
  if (value.kind == FieldValue::kText) return Utils::safestrncpy(buf, value.text, size);
  return Utils::safestrncpy(buf, valueText(value, editCode), size);
}

}  // namespace DataMgmt
