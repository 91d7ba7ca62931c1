#include "host/string_utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

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

TEST(Safestrncpy, AtMostSizeMinusOneAndNulAndNullReadsEmpty) {
  Guarded four(4);
  EXPECT_STREQ(Utils::safestrncpy(four.get(), "abcdef", 4), "abc");
  EXPECT_TRUE(four.guardIntact());
  EXPECT_STREQ(Utils::safestrncpy(four.get(), std::string("abcdef"), 4), "abc");
  EXPECT_STREQ(Utils::safestrncpy(four.get(), std::string("a\0bc", 4), 4), "a");
  EXPECT_TRUE(four.guardIntact());
  char untouched[] = "keep";
  Utils::safestrncpy(untouched, "abc", 0);
  EXPECT_STREQ(untouched, "keep");
  EXPECT_STREQ(Utils::safestrncpy(untouched, nullptr, sizeof untouched), "");
  // Null texts read as empty in the other helpers too.
  EXPECT_EQ(Utils::OVStringUtils::stricmp(nullptr, ""), 0);
  EXPECT_EQ(Utils::OVStringUtils::stricmp("Allegheny", "ALLEGHENY"), 0);
  EXPECT_EQ(Utils::OVStringUtils::toUpperCase(static_cast<char*>(nullptr)), nullptr);
}

TEST(BuildNameS, JoinsNonEmptyStrippedPartsWithinTheBuffer) {
  char out[Utils::kNameBufferSize];
  const Utils::DISPLAY_NAME mode = Utils::kDisplayNameDefault;
  EXPECT_STREQ(Utils::buildNameS(out, " John ", "Q", "  Public", "Jr ", mode), "John Q Public Jr");
  EXPECT_STREQ(Utils::buildNameS(out, "John", "", "   ", "Smith", mode), "John Smith");
  EXPECT_STREQ(Utils::buildNameS(out, nullptr, "A", nullptr, nullptr, mode), "A");
  // The output may be one of the parts.
  std::snprintf(out, sizeof out, "%s", " Mary ");
  EXPECT_STREQ(Utils::buildNameS(out, out, "Ann", "", "", mode), "Mary Ann");
  const std::string part(127, 'x');  // four parts of a 128-character field
  Guarded cut(Utils::kNameBufferSize);
  Utils::buildNameS(cut.get(), part.c_str(), part.c_str(), part.c_str(), part.c_str(), mode);
  EXPECT_EQ(cut.text().size(), Utils::kNameBufferSize - 1);
  EXPECT_TRUE(cut.guardIntact());
}

TEST(ReadNextWord, WalksWordsAndStaysInBounds) {
  const std::string text = "  SYPCRTN 1\tX  ";
  std::size_t pos = 0;
  for (const char* word : {"SYPCRTN", "1", "X", ""}) {
    EXPECT_EQ(Utils::readNextWord(text, pos), word);
  }
  pos = 100;  // beyond the end: no word, no throw
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
  char longer[] = "a-bcdef";
  EXPECT_STREQ(Utils::padStr(longer, 3), "a-bcdef");
  EXPECT_STREQ(Utils::padStrLeft(longer, -2), "a-bcdef");
  EXPECT_STREQ(Utils::replaceChars(longer, '-', '\0'), "a-bcdef");  // never shortens
}

}  // namespace
