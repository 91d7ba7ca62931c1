// Texts written into the XML files of the automated-test hooks. Each
// helper first replaces what XML 1.0 cannot hold at all (control
// characters other than tab, line feed and carriage return, malformed
// UTF-8, surrogates, U+FFFE and U+FFFF) by "?", so a file always parses,
// whatever a field holds; any other text reads back unchanged.
#ifndef TESTING_XML_TEXT_H_
#define TESTING_XML_TEXT_H_

#include <string>

namespace XmlText {

// The text with every character XML cannot hold replaced by "?".
std::string xmlCharacters(const std::string& text);
// A CDATA section holding `text`; a "]]>" inside it is split across two
// sections.
std::string cdata(const std::string& text);
// An attribute value between double quotation marks, & < > " escaped.
std::string quoted(const std::string& text);
// Element content with & < > escaped.
std::string escaped(const std::string& text);

}  // namespace XmlText

#endif  // TESTING_XML_TEXT_H_
