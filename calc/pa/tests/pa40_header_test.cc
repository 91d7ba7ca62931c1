// The PA-40 header: codes, dates, names, address, telephone, school
// district and the two no-entry items.
#include <gtest/gtest.h>

#include <vector>

#include "calc/pa/tests/pa40_sections_fixture.h"

namespace {

class PA40HeaderTest : public PA40SectionTest {};

TEST_F(PA40HeaderTest, FilingStatusLetterFollowsTheFirstMarkInItsOrder) {
  struct Case {
    std::vector<int> marks;
    const char* letter;
  } cases[] = {
      {{60, 57}, "F"}, {{55}, "S"}, {{56}, "M"}, {{57}, "J"}, {{55, 56}, "S"}, {{}, "kept"},
  };
  for (const Case& c : cases) {
    restart();
    enterText(272, "kept");
    for (int box : c.marks) infoMark(box);
    runHeader();
    EXPECT_EQ(c.letter, textOf(272)) << c.letter;
  }
}

TEST_F(PA40HeaderTest, DeceasedTaxpayerGetsTheDateOfDeath) {
  infoMark(58);
  filerText(557, "3/7/2018");
  enterText(147015, "01/01/18");
  runHeader();
  EXPECT_EQ("Y", textOf(147014));
  EXPECT_EQ("Y", textOf(147100));
  EXPECT_EQ("03/07/18", textOf(118));
  EXPECT_EQ("N", textOf(147101));
  EXPECT_TRUE(isNull(147015));
}

TEST_F(PA40HeaderTest, ClearedDeceasedMarksClearTheTextsAndDates) {
  for (int box : {58, 59, 112}) infoMark(box);
  filerText(557, "3/7/2018");
  filerText(558, "11/22/2018");
  runHeader();
  EXPECT_EQ("Y", textOf(147100));
  EXPECT_EQ("Y", textOf(147101));
  for (int box : {58, 59}) put(kFormID_PAReturnInfo, info(box), DataMgmt::FieldValue::no());
  runHeader();
  EXPECT_EQ("N", textOf(147014));
  EXPECT_EQ("N", textOf(147100));
  EXPECT_EQ("N", textOf(147101));
  EXPECT_TRUE(isNull(118));
  EXPECT_TRUE(isNull(147015));
}

TEST_F(PA40HeaderTest, SpouseCountsAsDeceasedOnlyWithField112) {
  infoMark(59);
  filerText(558, "11/22/2018");
  runHeader();
  EXPECT_EQ("Y", textOf(147014));
  EXPECT_EQ("N", textOf(147100));
  EXPECT_EQ("N", textOf(147101));
  EXPECT_TRUE(isNull(147015));

  infoMark(112);
  runHeader();
  EXPECT_EQ("Y", textOf(147101));
  EXPECT_EQ("11/22/18", textOf(147015));
}

TEST_F(PA40HeaderTest, MissingFilerFormLeavesTheDateOfDeathUnchanged) {
  infoMark(58);
  enterText(118, "12/01/18");
  runHeader();
  EXPECT_EQ("Y", textOf(147100));
  EXPECT_EQ("12/01/18", textOf(118));
}

TEST_F(PA40HeaderTest, PartYearDatesCarryTheTaxYear) {
  setResidency(1);
  infoText(49, "6/15/2017");
  infoText(50, "12/31/2018");
  runHeader();
  EXPECT_EQ("P", textOf(271));
  EXPECT_EQ("06/15/18", textOf(103));
  EXPECT_EQ("12/31/18", textOf(104));

  restart();
  setResidency(2);
  enterText(103, "06/15/18");
  runHeader();
  EXPECT_EQ("N", textOf(271));
  EXPECT_TRUE(isNull(103));
}

TEST_F(PA40HeaderTest, JointSpouseLastNameOnlyWhenItDiffers) {
  setFilingStatus(2);
  infoText(31, "JOHN");
  infoText(33, "SMITH");
  infoText(35, "111-22-3333");
  infoText(36, "MARY");
  infoText(38, "SMITH");
  infoText(40, "444-55-6666");
  runHeader();
  EXPECT_EQ("SMITH", textOf(87));
  EXPECT_EQ("JOHN", textOf(94));
  EXPECT_EQ("111-22-3333", textOf(83));
  EXPECT_EQ("111-22-3333", textOf(175));
  EXPECT_TRUE(isNull(101));
  EXPECT_EQ("MARY", textOf(97));
  EXPECT_EQ("444-55-6666", textOf(84));

  infoText(38, "JONES");
  runHeader();
  EXPECT_EQ("JONES", textOf(101));
}

TEST_F(PA40HeaderTest, SpouseNumberOnAReturnThatIsNotJoint) {
  struct Case {
    bool mark494, mark495, mark61;
    const char* number;
  } cases[] = {
      {true, false, false, "444-55-6666"},
      {false, true, true, "777-88-9999"},
      {false, true, false, ""},
      {false, false, false, ""},
  };
  for (const Case& c : cases) {
    restart();
    setFilingStatus(3);
    infoText(40, "444-55-6666");
    infoText(185897, "777-88-9999");
    infoText(36, "MARY");
    infoText(38, "JONES");
    if (c.mark494) filerMark(494);
    if (c.mark495) filerMark(495);
    if (c.mark61) infoMark(61);
    enterText(101, "OLD");
    runHeader();
    EXPECT_EQ(c.number, textOf(84)) << c.number;
    EXPECT_TRUE(isNull(101));
    EXPECT_TRUE(isNull(97));
    EXPECT_TRUE(isNull(98));
  }
}

TEST_F(PA40HeaderTest, FederalTextItemsAndTelephone) {
  copyOf(kFormID_FedReturn);
  filerText(671, " 215-555-0100 ");
  runHeader();
  EXPECT_EQ("215-555-0100", textOf(116));
  EXPECT_TRUE(markedNo(23));
  EXPECT_TRUE(isNull(346));

  filerText(671, "");
  enterText(116, "");
  runHeader();
  EXPECT_TRUE(marked(23));
}

TEST_F(PA40HeaderTest, ApartmentWithoutAddressMarks) {
  infoText(41, "12 ELM ST");
  infoText(42, "4B");
  infoText(43, "YORK");
  infoText(44, "PA");
  infoText(45, "17401");
  runHeader();
  EXPECT_EQ("APT. 4B", textOf(107));
  EXPECT_EQ("12 ELM ST", textOf(105));
  EXPECT_EQ("YORK", textOf(110));
  EXPECT_EQ("PA", textOf(111));
  EXPECT_EQ("17401", textOf(112));

  infoText(42, "");
  runHeader();
  EXPECT_TRUE(isNull(107));
}

TEST_F(PA40HeaderTest, AddressMarksChooseTheLines) {
  infoText(41, "12 ELM ST");
  infoText(14565, "PO BOX 9");
  infoText(74120, "C/O SMITH");
  infoMark(14563);
  runHeader();
  EXPECT_EQ("12 ELM ST", textOf(107));
  EXPECT_EQ("PO BOX 9", textOf(105));

  restart();
  infoText(41, "12 ELM ST");
  infoText(74120, "C/O SMITH");
  infoMark(74118);
  runHeader();
  EXPECT_EQ("C/O SMITH", textOf(107));
  EXPECT_EQ("12 ELM ST", textOf(105));
}

TEST_F(PA40HeaderTest, ForeignAddressFromTheFilerForm) {
  infoText(41, "FLAT 2");
  infoText(45, "17401");
  filerMark(545);
  filerText(22, "1 HIGH ST");
  filerText(81523, "LONDON");
  filerText(81525, "SW1A 1AA");
  runHeader();
  EXPECT_EQ("1 HIGH ST SW1A 1AA", textOf(105));
  EXPECT_EQ("FLAT 2", textOf(107));
  EXPECT_EQ("LONDON", textOf(110));
  EXPECT_EQ("OC", textOf(111));
  EXPECT_TRUE(isNull(112));
  EXPECT_TRUE(isProtected(112));

  filerText(81524, "WESTMINSTER");
  runHeader();
  EXPECT_EQ("1 HIGH ST WESTMINSTER SW1A 1AA", textOf(105));
}

TEST_F(PA40HeaderTest, FullNameLine) {
  infoText(31, "JOHN");
  infoText(32, "Q");
  infoText(33, "SMITH");
  infoText(34, "JR");
  runHeader();
  EXPECT_EQ("JOHN Q SMITH JR", textOf(399));

  infoText(32, "");
  infoText(34, "");
  runHeader();
  EXPECT_EQ("JOHN SMITH", textOf(399));
}

TEST_F(PA40HeaderTest, SchoolDistrictCodeHasFiveDigits) {
  struct Case {
    const char* entry;
    const char* code;
  } cases[] = {
      {"987", "00987"}, {"1234", "01234"}, {"", "00000"}, {"12345 YORK", "12345"}, {"ABC", "00000"},
  };
  for (const Case& c : cases) {
    restart();
    infoText(91, c.entry);
    infoText(92, "YORK SD");
    runHeader();
    EXPECT_EQ(c.code, textOf(115)) << c.entry;
    EXPECT_EQ("YORK SD", textOf(46815));
  }
}

TEST_F(PA40HeaderTest, NoEntryItems) {
  copyOf(kFormID_FedReturn);
  engine->computePA40NoEntryItems(holder(kFormID_PA40), 1);
  EXPECT_TRUE(copyOf(kFormID_PA40).stored(pa40(263)).noEntry);
  EXPECT_TRUE(copyOf(kFormID_PA40).stored(pa40(265)).noEntry);
}

}  // namespace
