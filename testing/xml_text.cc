#include "testing/xml_text.h"

#include <cstddef>
#include <cstdint>

namespace XmlText {
namespace {

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that
// starts none.
std::size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 0;
}

// Whether XML 1.0 allows the character.
bool isXmlCharacter(uint32_t code) {
  if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
  if (code >= 0xD800 && code <= 0xDFFF) return false;
  return code != 0xFFFE && code != 0xFFFF && code <= 0x10FFFF;
}

// The character of the well-formed, shortest sequence of `length` bytes at
// `at`; false when it is not one.
bool decode(const std::string& text, std::size_t at, std::size_t length, uint32_t& code) {
  static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  static const unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  if (length == 0 || at + length > text.size()) return false;
  code = static_cast<unsigned char>(text[at]) & kLeadBits[length];
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return false;
    code = (code << 6) | (next & 0x3F);
  }
  return code >= kSmallest[length];
}

// `text` with each of the characters in `special` replaced by its entity.
std::string withEntities(const std::string& text, const std::string& special) {
  std::string out;
  for (char c : xmlCharacters(text)) {
    if (special.find(c) == std::string::npos) {
      out += c;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += "&quot;"; break;
    }
  }
  return out;
}

}  // namespace

std::string xmlCharacters(const std::string& text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = sequenceLength(static_cast<unsigned char>(text[at]));
    uint32_t code = 0;
    if (decode(text, at, length, code) && isXmlCharacter(code)) {
      out.append(text, at, length);
      at += length;
    } else {
      out += '?';
      ++at;
    }
  }
  return out;
}

std::string cdata(const std::string& text) {
  const std::string clean = xmlCharacters(text);
  std::string body;
  std::size_t from = 0;
  for (std::size_t at = clean.find("]]>"); at != std::string::npos; at = clean.find("]]>", from)) {
    body += clean.substr(from, at - from) + "]]]]><![CDATA[>";
    from = at + 3;
  }
  body += clean.substr(from);
  return "<![CDATA[" + body + "]]>";
}

std::string quoted(const std::string& text) { return "\"" + withEntities(text, "&<>\"") + "\""; }

std::string escaped(const std::string& text) { return withEntities(text, "&<>"); }

}  // namespace XmlText
