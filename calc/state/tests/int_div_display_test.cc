// The records behind the display lines, one display line, the owner totals
// and the allocation of the summary rows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calc/state/tests/int_div_fixture.h"
#include "host/orvane_exception.h"

namespace {

using StateCalculationMgmt::addToOwnerTotals;
using StateCalculationMgmt::intDivSummaryAllocation1;
using StateCalculationMgmt::kIntDivLineTypes;

class IntDivDisplayTest : public IntDivTest {
 protected:
  void SetUp() override {
    IntDivTest::SetUp();
    summary = holder(kFormID_State16);
    intDiv().useSummaryLayout();
  }
  void set(int lineType, const char* description = "", FormId source = kFormID_Fed166, uint16_t copy = 1) {
    engine->setIntDivInfo(summary, summaryField(2), description, source, copy, lineType);
  }
  std::string stored() { return textOf(kFormID_State16, summaryField(2)); }
  struct Parts {
    std::string description;
    int source;
    int copy;
    int lineType;
  };
  Parts parse(const std::string& recordText) {
    text(kFormID_State16, summaryField(3), recordText);
    char description[StateCalculationMgmt::kIntDivDescriptionSize];
    FormId source;
    uint16_t copy = 0;
    int lineType = 0;
    engine->getIntDivInfo(summary, summaryField(3), description, source, &copy, &lineType);
    return {description, source.getNumber(), copy, lineType};
  }
  // Fills display line 1 and gives the line index it left `line` on.
  int fill(int lineType, int residencyChoice = 1, int protect = 1, int owner = 0, uint16_t filingStatus = 2) {
    DataMgmt::OVFieldIDIter line = summary->getTaxFormDescriptor()->getFieldIDs();
    line = lineField(1, 0);
    engine->fillDisplayLine(summary, kFormID_State16, 1, line, lineType, "First Bank", 500, 300, 100, 60, 40, 20,
                            residencyChoice, protect, owner, filingStatus);
    return (line.position() - summary->getTaxFormDescriptor()->getFieldIDs().positionOf(lineField(1, 0))) / 6;
  }
  double amountOf(int k, int offset) { return copyOf(kFormID_State16).getIR(lineField(k, offset)); }

  DataMgmt::TaxFormPtr summary;
};

TEST_F(IntDivDisplayTest, SetIntDivInfoWritesTheRecordText) {
  set(4, "First Bank", kFormID_Fed89, 3);
  EXPECT_EQ(stored(), "First Bank||89||3||4");
  EXPECT_STREQ(StateCalculationMgmt::kIntDivRecordFormat, "%s||%d||%d||%d");
}

TEST_F(IntDivDisplayTest, EmptyOrZeroPartsKeepWhatTheRecordHolds) {
  set(4, "First Bank", kFormID_Fed89, 3);
  set(0, "", FormId(), 0);
  EXPECT_EQ(stored(), "First Bank||89||3||4");
  set(-1, "", FormId(0), 0);
  EXPECT_EQ(stored(), "First Bank||89||3||4");
  set(5, "Second Bank", kFormID_Fed51, 7);
  EXPECT_EQ(stored(), "Second Bank||51||7||5");
}

TEST_F(IntDivDisplayTest, SetIntDivInfoThrowsForALineTypeOf10OrMore) {
  set(2);
  try {
    set(10);
    FAIL() << "no exception";
  } catch (const Exceptions::OrvaneException& e) {
    EXPECT_EQ(e.getMessage(), "LineType out of range");
    EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
    EXPECT_EQ(e.getOperationName(), "setIntDivInfo");
  }
  EXPECT_EQ(stored(), "||166||1||2") << "nothing written";
}

TEST_F(IntDivDisplayTest, SetIntDivInfoThrowsForAStateFormAsSource) {
  try {
    set(2, "", kFormID_State16);
    FAIL() << "no exception";
  } catch (const Exceptions::OrvaneException& e) {
    EXPECT_EQ(e.getMessage(), "FedFormId > First StateForm");
    EXPECT_EQ(e.getOperationName(), "setIntDivInfo");
  }
}

TEST_F(IntDivDisplayTest, FillDisplayLineThrowsForAFederalSummaryForm) {
  DataMgmt::OVFieldIDIter line = summary->getTaxFormDescriptor()->getFieldIDs();
  line = lineField(1, 0);
  try {
    engine->fillDisplayLine(summary, kFormID_Fed166, 1, line, 2, "", 1, 1, 0, 0, 0, 0, 1, 1, 0, 1);
    FAIL() << "no exception";
  } catch (const Exceptions::OrvaneException& e) {
    EXPECT_EQ(e.getMessage(), "Invalid State FormID");
    EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
    EXPECT_EQ(e.getOperationName(), "fillDisplayLine");
  }
}

// A description too long for the record is cut; the numbers always stay.
TEST_F(IntDivDisplayTest, ALongDescriptionIsCutSoTheRecordKeepsItsNumbers) {
  const std::string longName(120, 'x');
  engine->setIntDivInfo(summary, summaryField(2), longName.c_str(), kFormID_Fed166, 65535, 9);
  const std::string text = stored();
  EXPECT_LE(text.size(), 79u);
  EXPECT_EQ(text.substr(text.size() - 15), "||166||65535||9");
  const Parts parts = parse(text);
  EXPECT_EQ(parts.description, std::string(StateCalculationMgmt::kIntDivDescriptionMax, 'x'));
  EXPECT_EQ(parts.copy, 65535);
  EXPECT_EQ(parts.lineType, 9);
}

TEST_F(IntDivDisplayTest, GetIntDivInfoTakesEachPartOnlyWhenASeparatorFollows) {
  struct Row {
    const char* text;
    const char* description;
    int source, copy, lineType;
  };
  const Row rows[] = {
      {"Bank||166", "Bank", 0, 0, 0},
      {"Bank||166||2", "Bank", 166, 0, 0},
      {"Bank||166||2||5", "Bank", 166, 2, 5},
      {"no separators", "", 0, 0, 0},
      {"", "", 0, 0, 0},
      {"||51||70000||-3", "", 51, 70000 - 65536, -3},
  };
  for (const Row& row : rows) {
    const Parts parts = parse(row.text);
    SCOPED_TRACE(row.text);
    EXPECT_EQ(parts.description, row.description);
    EXPECT_EQ(parts.source, row.source);
    EXPECT_EQ(parts.copy, row.copy);
    EXPECT_EQ(parts.lineType, row.lineType);
  }
}

TEST_F(IntDivDisplayTest, AddToOwnerTotals) {
  struct Row {
    int owner;
    double amount;
    uint16_t filingStatus;
    double taxpayer, spouse;
  };
  const Row rows[] = {
      {0, 101, 2, 101, 0}, {1, 101, 1, 0, 101}, {2, 101, 2, 51, 50}, {2, 101, 0, 51, 50},
      {2, 101, 8, 51, 50}, {2, 101, 1, 101, 0}, {2, 101, 3, 101, 0}, {0, 0, 2, 0, 0},
      {1, -5, 2, 0, 0},
  };
  for (const Row& row : rows) {
    double taxpayer = 0;
    double spouse = 0;
    addToOwnerTotals(row.owner, &taxpayer, &spouse, row.amount, row.filingStatus);
    EXPECT_DOUBLE_EQ(taxpayer, row.taxpayer) << row.owner << " " << row.amount << " " << row.filingStatus;
    EXPECT_DOUBLE_EQ(spouse, row.spouse) << row.owner << " " << row.amount << " " << row.filingStatus;
  }
}

TEST_F(IntDivDisplayTest, LineType0EmptiesTheLineLabelIncludedAndStays) {
  text(kFormID_State16, lineField(1, 0), "Old Bank");
  text(kFormID_State16, lineField(1, -1), "J");
  number(kFormID_State16, lineField(1, 3), 77);
  EXPECT_EQ(fill(0), 0);
  for (int offset = -1; offset <= 4; ++offset) EXPECT_TRUE(pa->isNull(kFormID_State16, 1, lineField(1, offset)));
  EXPECT_TRUE(copyOf(kFormID_State16).isProtected(lineField(1, 3)));
}

TEST_F(IntDivDisplayTest, AHeaderLineShowsAmountOwnerAndName) {
  EXPECT_EQ(fill(1, 1, 1, 2, 2), 1);
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, 0)), "First Bank");
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, -1)), "J");
  EXPECT_DOUBLE_EQ(amountOf(1, 1), 500);
  fill(1, 1, 1, 2, 1);
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, -1)), "T") << "only joint filers show other owners";
  EXPECT_DOUBLE_EQ(intDiv().ownerTotal(0), 0) << "a header adds no totals";
}

TEST_F(IntDivDisplayTest, AmountLinesOfAFullYearResidentGoToTheirColumnTotals) {
  struct Row {
    int lineType;
    double amount, stateAmount, column;
    int total;
  };
  const Row rows[] = {{2, 300, 300, 1, 0}, {3, 100, 0, 2, 2}, {4, 40, 0, 3, 4}, {5, 20, 20, 4, 6}};
  for (const Row& row : rows) {
    intDiv().useSummaryLayout();
    fill(row.lineType, 1, 1, 1);
    SCOPED_TRACE(row.lineType);
    EXPECT_EQ(textOf(kFormID_State16, lineField(1, 0)), kIntDivLineTypes[row.lineType].label);
    EXPECT_DOUBLE_EQ(amountOf(1, 2), row.column);
    EXPECT_DOUBLE_EQ(amountOf(1, 3), row.amount);
    EXPECT_DOUBLE_EQ(amountOf(1, 4), row.stateAmount);
    EXPECT_DOUBLE_EQ(intDiv().ownerTotal(row.total + 1), row.amount) << "owner 1 is the spouse";
  }
}

TEST_F(IntDivDisplayTest, WithoutAnOwnerFieldEveryAmountIsTheTaxpayers) {
  intDiv().useLayoutWithoutOwner();
  text(kFormID_State16, lineField(1, -1), "keep");
  fill(2, 1, 1, 1);
  EXPECT_DOUBLE_EQ(intDiv().ownerTotal(0), 300);
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, -1)), "keep");
}

TEST_F(IntDivDisplayTest, ANonresidentsExemptLinesKeepTheUsersInStateAmountWithinTheExemptTotal) {
  number(kFormID_State16, lineField(1, 3), 80);  // the user's in-state amount, above the exempt 60
  fill(4, 3, 0);
  EXPECT_DOUBLE_EQ(amountOf(1, 3), 60);
  EXPECT_FALSE(copyOf(kFormID_State16).isProtected(lineField(1, 3)));
  EXPECT_DOUBLE_EQ(intDiv().ownerTotal(4), 60);

  // The out-of-state line takes what is left of the amount.
  DataMgmt::OVFieldIDIter line = summary->getTaxFormDescriptor()->getFieldIDs();
  line = lineField(2, 0);
  engine->fillDisplayLine(summary, kFormID_State16, 1, line, 5, "", 500, 300, 100, 60, 40, 20, 3, 0, 0, 2);
  EXPECT_DOUBLE_EQ(amountOf(2, 3), 500 - 300 - 100 - 60);
  EXPECT_DOUBLE_EQ(amountOf(2, 4), 40);
  EXPECT_DOUBLE_EQ(intDiv().ownerTotal(6), 40);
}

TEST_F(IntDivDisplayTest, ARestrictedStockLineHasNoColumnAndNoTotals) {
  fill(9, 1, 1, 0);
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, 0)), "- Restricted Stock");
  EXPECT_TRUE(pa->isNull(kFormID_State16, 1, lineField(1, 2)));
  EXPECT_DOUBLE_EQ(amountOf(1, 3), 500);
  for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(intDiv().ownerTotal(k), 0);
}

class IntDivAllocationTest : public IntDivDisplayTest {
 protected:
  const FieldId rows[3] = {summaryField(174), summaryField(178), Primitives::kNullFieldID};
  void row(int first, double amount, double spouseAmount, double part, double spousePart) {
    number(kFormID_State16, summaryField(first), amount);
    number(kFormID_State16, summaryField(first + 1), spouseAmount);
    number(kFormID_State16, summaryField(first + 2), part);
    number(kFormID_State16, summaryField(first + 3), spousePart);
  }
  double at(int field) { return copyOf(kFormID_State16).getIR(summaryField(field)); }
};

TEST_F(IntDivAllocationTest, AFullYearResidentHasNoAllocatedParts) {
  row(174, 100, 50, 30, 20);
  intDivSummaryAllocation1(summary, 2, 1, rows);
  for (int field : {176, 177, 180, 181}) {
    EXPECT_TRUE(pa->isNull(kFormID_State16, 1, summaryField(field))) << field;
    EXPECT_TRUE(copyOf(kFormID_State16).isProtected(summaryField(field))) << field;
  }
}

TEST_F(IntDivAllocationTest, APartYearResidentsPartsStayWithinTheAmounts) {
  row(174, 100, -50, 130, -80);
  row(178, 0, 40, 25, 10);
  intDivSummaryAllocation1(summary, 2, 2, rows);
  EXPECT_DOUBLE_EQ(at(176), 100);
  EXPECT_DOUBLE_EQ(at(177), -50);
  EXPECT_DOUBLE_EQ(at(180), 0);
  EXPECT_DOUBLE_EQ(at(181), 10);
  row(174, 100, 50, -5, 20);
  intDivSummaryAllocation1(summary, 1, 3, rows);
  EXPECT_DOUBLE_EQ(at(176), 0);
  EXPECT_TRUE(pa->isNull(kFormID_State16, 1, summaryField(177))) << "no spouse part unless joint";
}

TEST_F(IntDivAllocationTest, RowsNotFourFieldsApartThrow) {
  const FieldId uneven[] = {summaryField(174), summaryField(179), Primitives::kNullFieldID};
  try {
    intDivSummaryAllocation1(summary, 2, 2, uneven);
    FAIL() << "no exception";
  } catch (const Exceptions::OrvaneException& e) {
    EXPECT_EQ(e.getMessage(), "Summary is not 4 cols wide");
    EXPECT_EQ(e.getOperationName(), "intDivSummaryAllocation1");
  }
}

}  // namespace
