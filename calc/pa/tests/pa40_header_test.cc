// The PA-40 header: deceased codes and dates, the foreign address and the
// school district code.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class PA40HeaderTest : public PA40Test {
 protected:
  void filerText(const FieldId& field, const std::string& value) { text(kFormID_FedFilerInfo, field, value); }
};

// A spouse counts as deceased only when the information form also says the
// spouse died in the year; a filer no longer marked keeps no date or "Y".
TEST_F(PA40HeaderTest, DeceasedTextsAndDatesFollowTheMarks) {
  infoMark(PAReturnInfo::kTaxpayerDeceasedBox);
  infoMark(PAReturnInfo::kSpouseDeceasedBox);
  filerText(FedFilerInfo::kTaxpayerDeathDate, "3/7/2018");
  filerText(FedFilerInfo::kSpouseDeathDate, "11/22/2018");
  runHeader();
  EXPECT_EQ("Y", textOf(PA40::kDeceasedText));
  EXPECT_EQ("03/07/18", textOf(PA40::kTaxpayerDateOfDeath));
  EXPECT_EQ("N", textOf(PA40::kSpouseDeceasedText));
  EXPECT_TRUE(isNull(PA40::kSpouseDateOfDeath));

  infoMark(PAReturnInfo::kSpouseDiedInYearBox);
  runHeader();
  EXPECT_EQ("11/22/18", textOf(PA40::kSpouseDateOfDeath));

  for (const FieldId* box :
       {&PAReturnInfo::kTaxpayerDeceasedBox.id(), &PAReturnInfo::kSpouseDeceasedBox.id()}) {
    put(kFormID_PAReturnInfo, *box, DataMgmt::FieldValue::no());
  }
  runHeader();
  EXPECT_EQ("N", textOf(PA40::kDeceasedText));
  EXPECT_EQ("N", textOf(PA40::kTaxpayerDeceasedText));
  EXPECT_TRUE(isNull(PA40::kTaxpayerDateOfDeath) && isNull(PA40::kSpouseDateOfDeath));
}

TEST_F(PA40HeaderTest, ForeignAddressFromTheFilerForm) {
  infoText(PAReturnInfo::kStreet, "FLAT 2");
  mark(kFormID_FedFilerInfo, FedFilerInfo::kForeignAddressBox);
  filerText(FedFilerInfo::kCity, "LONDON");
  filerText(FedFilerInfo::kForeignCountry, "UNITED KINGDOM");
  filerText(FedFilerInfo::kForeignProvince, "WESTMINSTER");
  filerText(FedFilerInfo::kForeignPostalCode, "SW1A 1AA");
  runHeader();
  EXPECT_EQ("LONDON WESTMINSTER SW1A 1AA", textOf(PA40::kAddressLineOne));
  EXPECT_EQ("FLAT 2", textOf(PA40::kAddressLineTwo));
  EXPECT_EQ("UNITED KINGDOM", textOf(PA40::kCity));
  EXPECT_EQ("OC", textOf(PA40::kStateCode));
  EXPECT_TRUE(isNull(PA40::kZipCode) && isProtected(PA40::kZipCode));
}

// The school district code: the leading number of the entry, five digits.
TEST_F(PA40HeaderTest, SchoolDistrictCode) {
  const struct {
    const char *entry, *code;
  } kCodes[] = {{"987", "00987"}, {"", "00000"}, {"12345 YORK", "12345"}, {"ABC", "00000"}};
  for (const auto& c : kCodes) {
    infoText(PAReturnInfo::kSchoolCode, c.entry);
    runHeader();
    EXPECT_EQ(c.code, textOf(PA40::kSchoolDistrictCode)) << c.entry;
  }
}

}  // namespace
