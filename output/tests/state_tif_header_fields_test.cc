// The state layer's conversion of the two federal header forms and the
// lines of the authentication header.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "catalogs/catalogs.h"
#include "host/system_mgr.h"
#include "identifiers/form_ids.h"
#include "output/tests/state_tif_writer_fixture.h"

namespace state_tif_test {
namespace {

using TifWriteMgmt::kTifCodeSize;
using TifWriteMgmt::kTifValueSize;

const FieldId& filerField(int number) { return kFedFilerInfoFieldIds.byNumber(number); }
const FieldId& eFileField(int number) { return kFed131FieldIds.byNumber(number); }
const FieldId& infoField(int number) { return kPAReturnInfoFieldIds.byNumber(number); }

// "YYYY-MM-DDTHH:MM:SSZ", digits where the pattern has "9".
bool isUtcTimestamp(const std::string& text) {
  const std::string pattern = "9999-99-99T99:99:99Z";
  if (text.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) return false;
  }
  return true;
}

class HeaderFieldsTest : public StateTifWriterTest {
 protected:
  // The value of a form-92 field after its conversion.
  std::string filer(int number, const std::string& in, bool header) {
    writer->setHeaderFlag(header);
    char code[kTifCodeSize] = "00001.000.001";
    char value[kTifValueSize];
    std::snprintf(value, sizeof value, "%s", in.c_str());
    bool first = true;
    bool line = false;
    writer->convertFilerInfoField(holder(kFormID_FedFilerInfo), 1, filerField(number),
                                  Primitives::kNullFieldID, 0, code, 0, value, first, line);
    return value;
  }
  // The value (and code) of a form-131 field after its conversion.
  std::string eFile(int number, const std::string& in, bool header, std::string* codeInOut = nullptr) {
    writer->setHeaderFlag(header);
    char code[kTifCodeSize];
    std::snprintf(code, sizeof code, "%s", codeInOut != nullptr ? codeInOut->c_str() : "00001.000.001");
    char value[kTifValueSize];
    std::snprintf(value, sizeof value, "%s", in.c_str());
    bool first = true;
    bool line = false;
    writer->convertEFileInfoField(holder(kFormID_Fed131), 1, eFileField(number),
                                  Primitives::kNullFieldID, 0, code, 0, value, first, line);
    if (codeInOut != nullptr) *codeInOut = code;
    return value;
  }
};

TEST_F(HeaderFieldsTest, FilingCodeOfField25DependsOnTheState) {
  struct Case {
    const char* state;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"PA", "5", "5"}, {"WI", "5", "3"}, {"MA", "5", "4"}, {"KS", "5", "4"}, {"MI", "5", "1"},
      {"VA", "5", "1"}, {"WI", "2", "2"}, {"NY", "5", "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.state) + " " + c.in);
    pa->abbreviation = c.state;
    EXPECT_EQ(c.out, filer(25, c.in, true));
    EXPECT_EQ(c.in, filer(25, c.in, false));  // header flag clear: unchanged
  }
}

TEST_F(HeaderFieldsTest, ArkansasTakesField25FromTheStateReturnWhenMapped) {
  pa->abbreviation = "AR";
  // Field 25 has no PA counterpart, so the value stays.
  EXPECT_EQ("5", filer(25, "5", true));
}

TEST_F(HeaderFieldsTest, RefundAndBalanceDueFollowTheAmountOwed) {
  pa->owed = -250;
  EXPECT_EQ("250", filer(17994, "x", true));
  EXPECT_EQ("", filer(17995, "x", true));
  EXPECT_EQ("x", filer(17994, "x", false));
  EXPECT_EQ("x", filer(17995, "x", false));
  pa->owed = 75;
  EXPECT_EQ("", filer(17994, "x", true));
  EXPECT_EQ("75", filer(17995, "x", true));
  pa->owed = INT32_MIN;  // no overflow in the absolute value
  EXPECT_EQ("2147483648", filer(17994, "x", true));
  EXPECT_EQ("", filer(715, "x", true));
  EXPECT_EQ("x", filer(715, "x", false));
}

TEST_F(HeaderFieldsTest, FilerFieldsDependingOnOtherFields) {
  text(kFormID_FedFilerInfo, filerField(21), "Apt 4");
  EXPECT_EQ("1 Main St Apt 4", filer(20, "1 Main St", false));

  EXPECT_EQ("", filer(789, "a", false));
  EXPECT_EQ("", filer(790, "a", false));
  text(kFormID_FedFilerInfo, filerField(711), "x");
  EXPECT_EQ("a", filer(789, "a", false));

  text(kFormID_FedFilerInfo, filerField(712), "y");
  EXPECT_EQ("", filer(791, "b", false));  // filing status 1
  federal()->setCommonItem(1, 2);
  EXPECT_EQ("b", filer(791, "b", false));
  EXPECT_EQ("b", filer(792, "b", false));
  put(kFormID_FedFilerInfo, filerField(712), DataMgmt::FieldValue::null());
  EXPECT_EQ("", filer(792, "b", false));
}

TEST_F(HeaderFieldsTest, OfficeCodesAreWrittenAtAnyTime) {
  TifWriteMgmt::TifFileWriter::setOfficeCodes("12", "345", "67");
  for (bool header : {false, true}) {
    EXPECT_EQ("12", eFile(126, "", header));
    EXPECT_EQ("345", eFile(127, "", header));
    EXPECT_EQ("67", eFile(336, "", header));
  }
}

TEST_F(HeaderFieldsTest, HeaderRecordValuesOfForm131) {
  pa->setRefundCode("RC7");
  EXPECT_EQ("PA", eFile(328, "NY", true));
  EXPECT_EQ("NY", eFile(328, "NY", false));
  EXPECT_EQ("RC7", eFile(111, "", true));
  EXPECT_EQ("N", eFile(333, "Y", true));
  for (int cleared : {370, 371, 372, 140456, 72480}) {
    EXPECT_EQ("", eFile(cleared, "v", true)) << cleared;
    EXPECT_EQ("v", eFile(cleared, "v", false)) << cleared;
  }
  // 711 of form 92 maps to a PA information-form field.
  text(kFormID_PAReturnInfo, infoField(119), "x");
  EXPECT_EQ("Y", eFile(333, "", true));
}

TEST_F(HeaderFieldsTest, DirectDebitFlagNeedsAmountOwedAndTheMappedAccount) {
  EXPECT_EQ("N", eFile(334, "", true));
  pa->owed = 10;
  EXPECT_EQ("N", eFile(334, "", true));
  text(kFormID_PAReturnInfo, infoField(121), "123");  // 155 of form 183
  EXPECT_EQ("Y", eFile(334, "", true));
  pa->owed = -10;
  EXPECT_EQ("N", eFile(334, "", true));
}

TEST_F(HeaderFieldsTest, ChoiceField72481KeepsOneOnlyWithTheStateAnswer) {
  EXPECT_EQ("2", eFile(72481, "1", true));  // no information form
  EXPECT_EQ("3", eFile(72481, "3", true));
  EXPECT_EQ("1", eFile(72481, "1", false));
  // The PA mapping of the field marks the information form's answer
  // (133723) when the form exists, so the answer is then found.
  holder(kFormID_PAReturnInfo);
  EXPECT_EQ("1", eFile(72481, "1", true));
}

TEST_F(HeaderFieldsTest, CheckEFileInfoValue) {
  EXPECT_FALSE(writer->checkEFileInfoValue());
  mark(kFormID_PAReturnInfo, infoField(133723));
  EXPECT_TRUE(writer->checkEFileInfoValue());
  text(kFormID_Fed131, eFileField(72481), "2");
  EXPECT_FALSE(writer->checkEFileInfoValue());

  text(kFormID_Fed131, eFileField(72481), "1");
  std::string code = "00070.000 001";
  EXPECT_EQ("", eFile(325, "v", true, &code));
  code = "00070.000.001";
  EXPECT_EQ("v", eFile(325, "v", true, &code));
}

TEST_F(HeaderFieldsTest, FieldCodesOfTheRoutingFieldsAreRewritten) {
  struct Case {
    int field;
    const char* code;
  };
  const Case cases[] = {
      {152846, "00029.000.001"}, {152847, "00027.001.001"}, {152848, "00028.002.001"},
      {152849, "00025.001.001"}, {152850, "00028.003.001"}, {152851, "00020.000.001"},
  };
  for (const Case& c : cases) {
    std::string code = "00025.000.001";
    eFile(c.field, "v", true, &code);
    EXPECT_EQ(c.code, code) << c.field;
    std::string shortCode = "00025.000.01";  // 12 characters: never rewritten
    eFile(c.field, "v", true, &shortCode);
    EXPECT_EQ("00025.000.01", shortCode) << c.field;
    code = "00025.000.001";
    eFile(c.field, "v", false, &code);
    EXPECT_EQ("00025.000.001", code) << c.field;
  }
}

TEST_F(HeaderFieldsTest, Field80AddsTheFederalLineOutsideTheHeaderRecord) {
  text(kFormID_Fed183, kFed183FieldIds.byNumber(158073), "pin");
  std::vector<std::string> lines = linesOf([&] { eFile(80, "v", false); });
  EXPECT_TRUE(lines.empty());
  text(kFormID_FedFilerInfo, filerField(158035), "yes");
  lines = linesOf([&] {
    EXPECT_EQ("v", eFile(80, "v", false));
    eFile(80, "v", true);
  });
  EXPECT_EQ(std::vector<std::string>{"01115.000 001 PIN"}, lines);
}

// The authentication header.

class AuthHeaderTest : public StateTifWriterTest {
 protected:
  void SetUp() override {
    StateTifWriterTest::SetUp();
    info = holder(kFormID_PAReturnInfo);
  }
  std::vector<std::string> write(int32_t amount, bool joint) {
    return linesOf([&] {
      writer->writeAuthHeaderFields(
          info, kFormID_PAReturnInfo, infoField(99), infoField(100), infoField(95),
          Primitives::kNullFieldID, amount, infoField(192412), infoField(192413),
          infoField(192415), infoField(192414), infoField(192420), infoField(192421),
          infoField(192423), infoField(192422), infoField(192417), infoField(192425),
          infoField(192418), infoField(192426), infoField(192411), infoField(192419), joint,
          infoField(53248), Primitives::kNullFieldID);
    });
  }
  // The lines of the refund and payment block.
  static std::vector<std::string> refundBlock(const std::vector<std::string>& lines) {
    std::vector<std::string> block;
    for (const char* code : {"00006", "00007", "00008", "00009", "00011", "00012"}) {
      for (const std::string& l : withPrefix(lines, code)) block.push_back(l);
    }
    return block;
  }
  DataMgmt::TaxFormPtr info;
};

TEST_F(AuthHeaderTest, RefundBlock) {
  mark(kFormID_PAReturnInfo, infoField(95));
  text(kFormID_PAReturnInfo, infoField(99), "acct");
  text(kFormID_PAReturnInfo, infoField(100), "2019-04-15");
  std::vector<std::string> lines = write(0, false);
  EXPECT_EQ(std::vector<std::string>{"00009.000.001 0"}, refundBlock(lines));

  lines = write(5, false);
  EXPECT_TRUE(hasLine(lines, "00006.000.001 ACCT"));
  EXPECT_TRUE(hasLine(lines, "00007.000.001 20190415"));
  EXPECT_TRUE(hasLine(lines, "00011.000.001 2"));
  const std::vector<std::string> stamp = withPrefix(lines, "00008.000.001 ");
  ASSERT_EQ(1u, stamp.size());
  EXPECT_TRUE(isUtcTimestamp(stamp[0].substr(14))) << stamp[0];

  put(kFormID_PAReturnInfo, infoField(95), DataMgmt::FieldValue::null());
  lines = write(5, false);
  EXPECT_EQ(std::vector<std::string>{"00009.000.001 3"}, refundBlock(lines));
}

TEST_F(AuthHeaderTest, FixedLinesAndFederalLines) {
  SystemMgmt::SystemMgr::setIRSDeviceID("DEV42");
  text(kFormID_FedFilerInfo, filerField(201312), "a");
  text(kFormID_FedFilerInfo, filerField(843), "ptin");
  text(kFormID_Fed131, eFileField(181908), "007");
  text(kFormID_Fed131, eFileField(189012), "000");
  put(kFormID_FedFilerInfo, filerField(537), DataMgmt::FieldValue::mark());
  const std::vector<std::string> lines = write(0, false);
  for (const char* expected :
       {"00005.000.001 I", "00021.000.001 0", "00022.000.001 0", "00123.000.001 A",
        "00142.000.001 PTIN", "00115.000.001 DEV42", "00116.000.001 Desktop",
        "00135.000.001 DEV42", "00136.000.001 Desktop", "00145.000.001 7", "00146.000.001 000",
        "00200.000.001 1", "00250.000.001 2"}) {
    EXPECT_TRUE(hasLine(lines, expected)) << expected;
  }
  EXPECT_TRUE(withPrefix(lines, "00247").empty());

  pa->abbreviation = "NE";  // not a state that strips the zeros
  EXPECT_TRUE(hasLine(write(0, false), "00145.000.001 007"));
}

TEST_F(AuthHeaderTest, PractitionerLinesNeedSignificantValue) {
  text(kFormID_FedFilerInfo, filerField(20464), "P1");
  text(kFormID_FedFilerInfo, filerField(20467), "P2");
  EXPECT_TRUE(withPrefix(write(0, false), "00247").empty());
  put(kFormID_FedFilerInfo, filerField(1076), DataMgmt::FieldValue::no());
  const std::vector<std::string> lines = write(0, false);
  EXPECT_TRUE(hasLine(lines, "00247.000.001 P1"));
  EXPECT_TRUE(hasLine(lines, "00248.000.001 P2"));
}

TEST_F(AuthHeaderTest, DocumentsOfBothPersons) {
  // No documents: taxpayer 00034, spouse 00053 (not the taxpayer's order).
  std::vector<std::string> lines = write(0, true);
  EXPECT_TRUE(hasLine(lines, "00034.000.001 X"));
  EXPECT_TRUE(hasLine(lines, "00053.000.001 X"));
  mark(kFormID_PAReturnInfo, infoField(192411));
  mark(kFormID_PAReturnInfo, infoField(192419));
  lines = write(0, true);
  EXPECT_TRUE(hasLine(lines, "00033.000.001 X"));
  EXPECT_TRUE(hasLine(lines, "00054.000.001 X"));
  EXPECT_TRUE(withPrefix(write(0, false), "0005").empty());  // not joint: no spouse lines

  // Taxpayer's licence with a zero expiry, spouse's state card with one.
  mark(kFormID_PAReturnInfo, infoField(192417));
  text(kFormID_PAReturnInfo, infoField(192412), "D123");
  text(kFormID_PAReturnInfo, infoField(192413), "PA");
  number(kFormID_PAReturnInfo, infoField(192415), 0);
  text(kFormID_PAReturnInfo, infoField(192414), "03/02/2015");
  mark(kFormID_PAReturnInfo, infoField(192426));
  text(kFormID_PAReturnInfo, infoField(192420), "S9");
  text(kFormID_PAReturnInfo, infoField(192421), "MN");
  text(kFormID_PAReturnInfo, infoField(192423), "2022-06-30");
  text(kFormID_PAReturnInfo, infoField(192422), "2016-07-19");
  lines = write(0, true);
  for (const char* expected :
       {"00035.000.001 D123", "00040.000.001 PA", "00046.000.001 Non-Expiring",
        "00050.000.001 2015-03-02", "00057.000.001 S9", "00062.000.001 MN",
        "00067.000.001 2022-06-30", "00072.000.001 2016-07-01"}) {
    EXPECT_TRUE(hasLine(lines, expected)) << expected;
  }
  EXPECT_TRUE(withPrefix(lines, "00045").empty());
  EXPECT_TRUE(withPrefix(lines, "00033").empty());
  EXPECT_TRUE(withPrefix(lines, "00053").empty());
}

TEST_F(AuthHeaderTest, ExpiryNotGivenWritesNeitherLine) {
  mark(kFormID_PAReturnInfo, infoField(192417));
  const std::vector<std::string> lines = linesOf([&] {
    writer->writeAuthHeaderFields(
        info, kFormID_PAReturnInfo, Primitives::kNullFieldID, Primitives::kNullFieldID,
        Primitives::kNullFieldID, Primitives::kNullFieldID, 0, infoField(192412),
        infoField(192413), Primitives::kNullFieldID, Primitives::kNullFieldID,
        Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
        Primitives::kNullFieldID, infoField(192417), Primitives::kNullFieldID,
        Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
        Primitives::kNullFieldID, false, Primitives::kNullFieldID, Primitives::kNullFieldID);
  });
  EXPECT_TRUE(withPrefix(lines, "00045").empty());
  EXPECT_TRUE(withPrefix(lines, "00046").empty());
  EXPECT_TRUE(withPrefix(lines, "00050").empty());
}

TEST_F(StateTifWriterTest, LineHelpers) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case zeros[] = {{"007", "7"}, {"0", "0"}, {"000", "000"}, {"", ""}, {"100", "100"}, {"0a", "a"}};
  for (const Case& c : zeros) {
    char text[16];
    std::snprintf(text, sizeof text, "%s", c.in);
    EXPECT_STREQ(c.out, writer->stripLeadingZeros(text)) << c.in;
  }

  DataMgmt::TaxFormPtr info = holder(kFormID_PAReturnInfo);
  text(kFormID_PAReturnInfo, infoField(99), "v");
  mark(kFormID_PAReturnInfo, infoField(95));
  char value[kTifValueSize] = "junk";
  EXPECT_STREQ("", writer->fieldValueString(info, value, Primitives::kNullFieldID, kFormID_PAReturnInfo));
  EXPECT_STREQ("v", writer->fieldValueString(info, value, infoField(99), kFormID_PAReturnInfo));
  EXPECT_FALSE(writer->isFieldMarked(info, Primitives::kNullFieldID));
  EXPECT_TRUE(writer->isFieldMarked(info, infoField(95)));

  pa->setRefundCode("R1");
  const std::vector<std::string> lines = linesOf([&] {
    writer->outputFieldLineIfPresent("00001.000.001", kFormID_PAReturnInfo, 1,
                                     Primitives::kNullFieldID, true);
    writer->outputFieldLineIfPresent("00002.000.001", kFormID_PAReturnInfo, 1, infoField(99), false);
    writer->outputRefundCodeLine("00240.000.001");
  });
  const std::vector<std::string> expected = {"00002.000.001 V", "00240.000.001 R1"};
  EXPECT_EQ(expected, lines);
}

}  // namespace
}  // namespace state_tif_test
