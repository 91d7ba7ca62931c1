#include "host/string_utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Utils::OVStringUtils;

// A buffer of exactly the documented size followed by guard bytes that no
// function may touch (the sanitizer build also sees the exact size).
class Guarded {
 public:
  explicit Guarded(std::size_t size, const char* initial = "")
      : size_(size), bytes_(size + kGuard, '#') {
    std::snprintf(bytes_.data(), size_, "%s", initial);
  }
  char* get() { return bytes_.data(); }
  std::string text() const { return std::string(bytes_.data()); }
  bool guardIntact() const {
    for (std::size_t i = size_; i < bytes_.size(); ++i) {
      if (bytes_[i] != '#') return false;
    }
    return true;
  }

 private:
  static const std::size_t kGuard = 16;
  std::size_t size_;
  std::vector<char> bytes_;
};

TEST(Strip, RemovesOuterBlanksOnly) {
  char out[32];
  EXPECT_STREQ(Utils::strip(out, "  a b \t\r\n"), "a b");
  EXPECT_STREQ(Utils::strip(out, "   "), "");
  EXPECT_STREQ(Utils::strip(out, nullptr), "");
  char same[] = "  in place  ";
  EXPECT_STREQ(Utils::strip(same, same), "in place");
  Guarded exact(4);  // strlen(" abc ") would not fit, the result does
  Utils::strip(exact.get(), " abc ");
  EXPECT_EQ(exact.text(), "abc");
  EXPECT_TRUE(exact.guardIntact());
}

TEST(Strsub, CountsFromOneAndStaysInBounds) {
  struct Case {
    const char* s;
    int start, n;
    const char* result;
  };
  const Case cases[] = {
      {"abcdef", 1, 3, "abc"}, {"abcdef", 5, 2, "ef"}, {"abcdef", 5, 9, "ef"},
      {"abcdef", 7, 1, ""},    {"abcdef", 0, 2, "ab"}, {"abcdef", -4, 2, "ab"},
      {"abcdef", 2, 0, ""},    {"abcdef", 2, -1, ""},  {"", 1, 3, ""},
      {nullptr, 1, 3, ""},     {"0012", 3, 2, "12"},  // the last two characters
  };
  for (const Case& c : cases) {
    Guarded out(c.n > 0 ? static_cast<std::size_t>(c.n) + 1 : 1);
    SCOPED_TRACE(testing::Message() << (c.s ? c.s : "(null)") << " " << c.start << " " << c.n);
    EXPECT_STREQ(Utils::strsub(out.get(), c.s, c.start, c.n), c.result);
    EXPECT_TRUE(out.guardIntact());
  }
}

TEST(Safestrncpy, AtMostSizeMinusOneAndNul) {
  Guarded four(4);
  EXPECT_STREQ(Utils::safestrncpy(four.get(), "abcdef", 4), "abc");
  EXPECT_TRUE(four.guardIntact());
  Guarded one(1, "");
  EXPECT_STREQ(Utils::safestrncpy(one.get(), "abc", 1), "");
  EXPECT_TRUE(one.guardIntact());
  char untouched[] = "keep";
  Utils::safestrncpy(untouched, "abc", 0);
  EXPECT_STREQ(untouched, "keep");
  char out[8];
  EXPECT_STREQ(Utils::safestrncpy(out, "ab", sizeof out), "ab");
  EXPECT_STREQ(Utils::safestrncpy(out, nullptr, sizeof out), "");
}

TEST(NumberText, Decimal) {
  EXPECT_EQ(Utils::xstr(0), "0");
  EXPECT_EQ(Utils::xstr(-42), "-42");
  EXPECT_EQ(Utils::xstr(2147483647), "2147483647");
  EXPECT_EQ(Utils::nStr(-9223372036854775807L - 1), "-9223372036854775808");
}

TEST(BuildNameS, JoinsNonEmptyStrippedParts) {
  char out[Utils::kNameBufferSize];
  const Utils::DISPLAY_NAME mode = Utils::kDisplayNameDefault;
  EXPECT_STREQ(Utils::buildNameS(out, " John ", "Q", "  Public", "Jr ", mode), "John Q Public Jr");
  EXPECT_STREQ(Utils::buildNameS(out, "John", "", "   ", "Smith", mode), "John Smith");
  EXPECT_STREQ(Utils::buildNameS(out, "", "", "", "", mode), "");
  EXPECT_STREQ(Utils::buildNameS(out, nullptr, "A", nullptr, nullptr, mode), "A");
  EXPECT_STREQ(Utils::buildNameS(out, "A", "B", "", "", static_cast<Utils::DISPLAY_NAME>(1)),
               "A B");
  // The output may be one of the parts.
  std::snprintf(out, sizeof out, "%s", " Mary ");
  EXPECT_STREQ(Utils::buildNameS(out, out, "Ann", "", "", mode), "Mary Ann");
}

TEST(BuildNameS, LongPartsAreCutToTheBuffer) {
  const std::string part(127, 'x');  // four parts of a 128-character field
  Guarded out(Utils::kNameBufferSize);
  Utils::buildNameS(out.get(), part.c_str(), part.c_str(), part.c_str(), part.c_str(),
                    Utils::kDisplayNameDefault);
  EXPECT_EQ(out.text().size(), Utils::kNameBufferSize - 1);
  EXPECT_TRUE(out.guardIntact());
}

TEST(CountLines, SourceLinePlusAmounts) {
  EXPECT_EQ(Utils::countLines(0, 0, 0, 0, 0), 1);
  EXPECT_EQ(Utils::countLines(5, 0, 0, 0, 0), 2);
  EXPECT_EQ(Utils::countLines(0, -3, 0, 0, 0), 2);
  EXPECT_EQ(Utils::countLines(0, 0, 7, 9, 0), 1);  // in/out of state alone add nothing
  EXPECT_EQ(Utils::countLines(0, 0, 0, 0, 16), 3);
  EXPECT_EQ(Utils::countLines(1, 2, 3, 4, 5), 5);
}

TEST(ReadNextWord, WalksBlankSeparatedWords) {
  const std::string text = "  SYPCRTN 1\tX  ";
  std::size_t pos = 0;
  EXPECT_EQ(Utils::readNextWord(text, pos), "SYPCRTN");
  EXPECT_EQ(pos, 9u);
  EXPECT_EQ(Utils::readNextWord(text, pos), "1");
  EXPECT_EQ(Utils::readNextWord(text, pos), "X");
  EXPECT_EQ(Utils::readNextWord(text, pos), "");
  EXPECT_EQ(pos, text.size());
  pos = 100;
  EXPECT_EQ(Utils::readNextWord(text, pos), "");
  EXPECT_EQ(pos, text.size());
}

TEST(Padding, PadsToWidthWithinWidthPlusOne) {
  Guarded right(11, "SYSTRTN");
  EXPECT_STREQ(Utils::padStr(right.get(), 10), "SYSTRTN   ");
  EXPECT_TRUE(right.guardIntact());
  Guarded left(6, "1234");
  EXPECT_STREQ(Utils::padStrLeft(left.get(), 5), " 1234");
  EXPECT_TRUE(left.guardIntact());
  char longer[] = "abcdef";
  EXPECT_STREQ(Utils::padStr(longer, 3), "abcdef");
  EXPECT_STREQ(Utils::padStrLeft(longer, 6), "abcdef");
  EXPECT_STREQ(Utils::padStr(longer, 0), "abcdef");
  EXPECT_STREQ(Utils::padStrLeft(longer, -2), "abcdef");
  char empty[4] = "";
  EXPECT_STREQ(Utils::padStrLeft(empty, 3), "   ");
}

TEST(CharacterFilters, RemoveAndReplace) {
  char account[] = " 12/34 5-6 ";
  EXPECT_STREQ(Utils::removeChars(Utils::removeChars(account, " "), "/"), "12345-6");
  char none[] = "abc";
  EXPECT_STREQ(Utils::removeChars(none, ""), "abc");
  EXPECT_STREQ(Utils::removeChars(none, nullptr), "abc");
  char district[] = "Woodland Hills - West";
  EXPECT_STREQ(Utils::replaceChars(district, '-', ' '), "Woodland Hills   West");
  char kept[] = "a-b";
  EXPECT_STREQ(Utils::replaceChars(kept, '-', '\0'), "a-b");  // never shortens
}

TEST(CharacterFilters, DataFileCleaners) {
  char name[] = "O'Brien-Smith & Jones, Jr. 3rd\t\xe9";
  EXPECT_STREQ(Utils::tifCleanNameString(name), "OBrien-Smith & Jones Jr rd");
  char address[] = "12 Main St., Apt #4-B/C";
  EXPECT_STREQ(Utils::tifCleanAddressString(address), "12 Main St Apt 4-B/C");
  std::string full(511, '.');  // a full writer value buffer stays in bounds
  full += '\0';
  EXPECT_STREQ(Utils::tifCleanNameString(&full[0]), "");
}

TEST(OVStringUtils, CaseBlindCompareAndCase) {
  EXPECT_EQ(OVStringUtils::stricmp("Allegheny", "ALLEGHENY"), 0);
  EXPECT_LT(OVStringUtils::stricmp("abc", "ABD"), 0);
  EXPECT_GT(OVStringUtils::stricmp("abcd", "ABC"), 0);
  EXPECT_EQ(OVStringUtils::stricmp(nullptr, ""), 0);
  EXPECT_LT(OVStringUtils::stricmp(nullptr, "a"), 0);
  EXPECT_EQ(OVStringUtils::stricmp(std::string("pa"), std::string("PA")), 0);
  // As strcasecmp: letters compare as lower case, so "_" sorts below "a".
  EXPECT_LT(OVStringUtils::stricmp("_", "A"), 0);

  char text[] = "new york 10001 \xe9";
  EXPECT_STREQ(OVStringUtils::toUpperCase(text), "NEW YORK 10001 \xe9");
  EXPECT_EQ(OVStringUtils::toUpperCase(std::string("pa40")), "PA40");
  EXPECT_EQ(OVStringUtils::toUpperCase(static_cast<char*>(nullptr)), nullptr);

  EXPECT_EQ(OVStringUtils::trimString("  a b \n", true, true), "a b");
  EXPECT_EQ(OVStringUtils::trimString("  a ", true, false), "a ");
  EXPECT_EQ(OVStringUtils::trimString("  a ", false, true), "  a");
  EXPECT_EQ(OVStringUtils::trimString("   ", true, true), "");
}

}  // namespace
