// The interest and dividend summaries: the records behind the display
// lines, one display line, the owner totals, the allocation of the summary
// rows, and the interest summary calculated from its records (the form-3
// part, empty copies, a nonresident's in-state amount over two
// calculations). The golden returns hold display lines and totals of both
// summaries by filing status and residency.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/orvane_exception.h"

namespace {

using StateCalculationMgmt::intDivSummaryAllocation1;
using V = std::vector<double>;

class IntDivDisplayTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    summary = holder(kFormID_State16);
    engine->useSummaryLayout();
  }
  const FieldId& recordField() { return State16::kLineRecord.at(0); }
  void set(int lineType, const char* description = "", FormId source = kFormID_Fed166, uint16_t copy = 1) {
    engine->setIntDivInfo(summary, recordField(), description, source, copy, lineType);
  }
  // The parts of a record text, joined by "|".
  std::string parse(const std::string& recordText) {
    text(kFormID_State16, recordField(), recordText);
    char description[StateCalculationMgmt::kIntDivDescriptionSize];
    FormId source;
    uint16_t copy = 0;
    int lineType = 0;
    engine->getIntDivInfo(summary, recordField(), description, source, &copy, &lineType);
    return std::string(description) + "|" + std::to_string(source.getNumber()) + "|" + std::to_string(copy) +
           "|" + std::to_string(lineType);
  }
  // Fills display line k and gives the number of lines it moved on.
  int fill(int lineType, int residencyChoice = 1, int protect = 1, int owner = 0, uint16_t filingStatus = 2,
           int k = 1) {
    DataMgmt::OVFieldIDIter line = summary->getTaxFormDescriptor()->getFieldIDs();
    line = lineField(k, 0);
    engine->fillDisplayLine(summary, kFormID_State16, 1, line, lineType, "First Bank", 500, 300, 100, 60, 40,
                            20, residencyChoice, protect, owner, filingStatus);
    return (line.position() - summary->getTaxFormDescriptor()->getFieldIDs().positionOf(lineField(k, 0))) / 6;
  }
  // Header amount, column, amount and state amount of line k.
  V amounts(int k) {
    return values(kFormID_State16, {lineField(k, 1), lineField(k, 2), lineField(k, 3), lineField(k, 4)});
  }
  static void expectThrows(const std::function<void()>& call, const char* message, const char* operation) {
    try {
      call();
      ADD_FAILURE() << "no exception: " << message;
    } catch (const Exceptions::OrvaneException& e) {
      EXPECT_EQ(e.getMessage(), message);
      EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
      EXPECT_EQ(e.getOperationName(), operation);
    }
  }

  DataMgmt::TaxFormPtr summary;
};

// Empty or zero parts keep what the record holds; a line type of 10 or
// more and a state form as source throw before anything is written; a
// description too long for the record is cut so that the numbers stay.
TEST_F(IntDivDisplayTest, SetIntDivInfoWritesOrKeepsEachPart) {
  set(4, "First Bank", kFormID_Fed89, 3);
  set(0, "", FormId(), 0);
  set(-1, "", FormId(0), 0);
  EXPECT_EQ(textOf(kFormID_State16, recordField()), "First Bank||89||3||4");
  expectThrows([&] { set(10); }, "LineType out of range", "setIntDivInfo");
  expectThrows([&] { set(2, "", kFormID_State16); }, "FedFormId > First StateForm", "setIntDivInfo");
  EXPECT_EQ(textOf(kFormID_State16, recordField()), "First Bank||89||3||4");
  DataMgmt::OVFieldIDIter line = summary->getTaxFormDescriptor()->getFieldIDs();
  expectThrows(
      [&] { engine->fillDisplayLine(summary, kFormID_Fed166, 1, line, 2, "", 1, 1, 0, 0, 0, 0, 1, 1, 0, 1); },
      "Invalid State FormID", "fillDisplayLine");
  engine->setIntDivInfo(summary, recordField(), std::string(120, 'x').c_str(), kFormID_Fed166, 65535, 9);
  const std::string text = textOf(kFormID_State16, recordField());
  EXPECT_LE(text.size(), 79u);
  EXPECT_EQ(parse(text), std::string(StateCalculationMgmt::kIntDivDescriptionMax, 'x') + "|166|65535|9");
}

TEST_F(IntDivDisplayTest, GetIntDivInfoTakesEachPartOnlyWhenASeparatorFollows) {
  const std::pair<const char*, const char*> rows[] = {{"Bank||166", "Bank|0|0|0"},
                                                      {"Bank||166||2", "Bank|166|0|0"},
                                                      {"Bank||166||2||5", "Bank|166|2|5"},
                                                      {"no separators", "|0|0|0"},
                                                      {"", "|0|0|0"},
                                                      {"||51||70000||-3", "|51|4464|-3"}};
  for (const auto& row : rows) EXPECT_EQ(parse(row.first), row.second) << row.first;
}

// Owner 0 the taxpayer, 1 the spouse, 2 (joint) half each when the filing
// status counts as joint, else the taxpayer; nothing for 0 or less.
TEST_F(IntDivDisplayTest, AddToOwnerTotals) {
  const double rows[][5] = {{0, 101, 2, 101, 0}, {1, 101, 1, 0, 101}, {2, 101, 2, 51, 50},
                            {2, 101, 0, 51, 50}, {2, 101, 8, 51, 50}, {2, 101, 1, 101, 0},
                            {2, 101, 3, 101, 0}, {1, -5, 2, 0, 0}};
  for (const auto& row : rows) {
    double totals[2] = {0, 0};
    StateCalculationMgmt::addToOwnerTotals(static_cast<int>(row[0]), &totals[0], &totals[1], row[1],
                                           static_cast<uint16_t>(row[2]));
    EXPECT_EQ(V(totals, totals + 2), (V{row[3], row[4]})) << row[0] << " " << row[1] << " " << row[2];
  }
}

TEST_F(IntDivDisplayTest, LineType0EmptiesTheLineAndStays) {
  text(kFormID_State16, lineField(1, 0), "Old Bank");
  text(kFormID_State16, lineField(1, -1), "J");
  number(kFormID_State16, lineField(1, 3), 77);
  EXPECT_EQ(fill(0), 0);
  for (int offset = -1; offset <= 4; ++offset) EXPECT_TRUE(isNull(kFormID_State16, lineField(1, offset)));
  EXPECT_TRUE(isProtected(kFormID_State16, lineField(1, 3)));
}

// Without an owner field every amount is the taxpayer's and the field is
// left alone (the golden returns hold headers, owners and restricted
// stock).
TEST_F(IntDivDisplayTest, LinesWithoutOwner) {
  engine->useSummaryLayout(false);
  text(kFormID_State16, lineField(1, -1), "keep");
  fill(2, 1, 1, 1);
  EXPECT_EQ(amounts(1), (V{0, 1, 300, 300}));
  EXPECT_EQ(engine->ownerTotal(0), 300);
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, -1)), "keep");
}

// A nonresident's in-state amount is the user's, within the exempt total;
// the out-of-state line takes what is left of the amount.
TEST_F(IntDivDisplayTest, ANonresidentsExemptLines) {
  number(kFormID_State16, lineField(1, 3), 80);
  fill(4, 3, 0);
  EXPECT_EQ(amounts(1), (V{0, 3, 60, 0}));
  EXPECT_FALSE(isProtected(kFormID_State16, lineField(1, 3)));
  fill(5, 3, 0, 0, 2, 2);
  EXPECT_EQ(amounts(2), (V{0, 4, 500 - 300 - 100 - 60, 40}));
  EXPECT_EQ(engine->ownerTotal(4) + engine->ownerTotal(6), 60 + 40);
}

TEST_F(IntDivDisplayTest, SummaryAllocation) {
  const FieldId rows[3] = {State16::kTaxpayerRegular, State16::kTaxpayerUSObligations,
                           Primitives::kNullFieldID};
  const FieldId regular[4] = {State16::kTaxpayerRegular, State16::kSpouseRegular,
                              State16::kTaxpayerRegularAllocated, State16::kSpouseRegularAllocated};
  auto allocate = [&](V entries, uint16_t filingStatus, int residencyChoice) {
    for (int i = 0; i < 4; ++i) number(kFormID_State16, regular[i], entries[i]);
    intDivSummaryAllocation1(summary, filingStatus, residencyChoice, rows);
    return values(kFormID_State16, {regular[2], regular[3]});
  };
  EXPECT_EQ(allocate({100, 50, 30, 20}, 2, kChoiceFullYearResident), (V{0, 0}));  // emptied
  EXPECT_TRUE(isNull(kFormID_State16, regular[2]) &&
              isProtected(kFormID_State16, State16::kSpouseUSObligationsAllocated));
  EXPECT_EQ(allocate({100, -50, 130, -80}, 2, kChoicePartYearResident), (V{100, -50}));  // within the amounts
  EXPECT_EQ(allocate({100, 50, -5, 20}, 1, kChoiceNonresident), (V{0, 0}));
  EXPECT_TRUE(isNull(kFormID_State16, regular[3])) << "no spouse part unless joint";
  const FieldId uneven[] = {State16::kTaxpayerRegular, State16::kSpouseUSObligations,
                            Primitives::kNullFieldID};
  expectThrows([&] { intDivSummaryAllocation1(summary, 2, 2, uneven); }, "Summary is not 4 cols wide",
               "intDivSummaryAllocation1");
}

class IntDivFormsTest : public StateEngineTest {
 protected:
  // A taxpayer's bank account: regular 300, U.S. 100, exempt 60 of which 20
  // from this state; and the spouse's form-51 interest of 50.
  void twoInterestSources() {
    source(kFormID_Fed166, 1,
           {{Fed166::kInterestIncome, 30000},
            {Fed166::kUsObligationInterest, 10000},
            {Fed166::kSecondExemptInterest, 6000},
            {Fed166::kInStateExemptInterest, 2000}},
           {}, "First Bank");
    source(kFormID_Fed51, 1, {{Fed51::kInterest, 50}}, {Fed51::kSpouseBox}, "Spouse Partnership");
  }
  void calculate(uint16_t filingStatus, int residencyChoice) {
    engine->filingStatus = filingStatus;
    engine->residencyChoice = residencyChoice;
    listSummaries();
  }
  double interest(const FieldId& field, uint16_t copy = 1) { return valueOf(kFormID_State16, field, copy); }
  bool interestNull(const FieldId& field, uint16_t copy = 1) { return isNull(kFormID_State16, field, copy); }
  std::string label(int line) { return textOf(kFormID_State16, lineField(line, 0)); }
};

// Only copy 1 carries the form-3 part, and only with federal form 1 or 55;
// an empty copy is not marked as entered.
TEST_F(IntDivFormsTest, TheForm3PartAndEmptyCopies) {
  engine->computeDividendSummaryForm(holder(kFormID_State17), 1, 1, kFormID_PAReturnInfo, 2, 0, 1);
  EXPECT_FALSE(pa->getForm(kFormID_State17, 1)->isDataEntered() ||
               pa->getForm(kFormID_State17, 1)->getCalcMark());
  twoInterestSources();
  number(kFormID_Fed3, Fed3::kUsObligationInterest, 30);
  engine->computeInterestSummaryForm(holder(kFormID_State16, 2), 2, 1, kFormID_PAReturnInfo, 2, 0, 1);
  EXPECT_TRUE(interestNull(State16::kTaxpayerReportedUSObligations, 2));
  EXPECT_TRUE(interestNull(State16::kSpouseReportedUSObligations, 2));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFederalThirdFormBox);
  calculate(2, kChoiceFullYearResident);
  EXPECT_DOUBLE_EQ(interest(State16::kTaxpayerReportedUSObligations), 0);
  EXPECT_DOUBLE_EQ(interest(State16::kTaxpayerNetUSObligations), 100);
}

// The federal form 3 amount is shared out over the U.S. obligations the
// summaries list; with none listed no part is reported, and no spouse's
// interest goes below 0 (nor does a copy stay in the return for it).
TEST_F(IntDivFormsTest, NoForm3PartWithoutListedUSObligations) {
  source(kFormID_Fed166, 1, {{Fed166::kInterestIncome, 30000}}, {}, "First Bank");
  number(kFormID_Fed3, Fed3::kUsObligationInterest, 30);
  calculate(2, kChoiceFullYearResident);
  EXPECT_EQ(values(kFormID_State16, {State16::kTaxpayerReportedUSObligations, State16::kSpouseReportedUSObligations,
                                     State16::kSpouseNetUSObligations}),
            (std::vector<double>{0, 0, 0}));
  put(kFormID_Fed166, Fed166::kInterestIncome, FieldValue::null());
  calculate(2, kChoiceFullYearResident);
  EXPECT_FALSE(pa->getForm(kFormID_State16, 1)->isDataEntered());
}

// A nonresident enters the in-state part of exempt interest; it stays while
// the source is the same and is emptied when the source's name changes. A
// long name is cut to the label, and the record keeps the cut name, so that
// it does not count as a new source at every calculation.
TEST_F(IntDivFormsTest, ANonresidentsInStateAmountStaysUntilTheSourceChanges) {
  twoInterestSources();
  const std::string longName = "A Very Long Bank Name That Goes On And On Forever";
  text(kFormID_Fed166, Fed166::kPayerName, longName);
  calculate(2, kChoiceNonresident);
  EXPECT_EQ(label(1), longName.substr(0, 40));
  EXPECT_EQ(record(kFormID_State16, 1), longName.substr(0, 40) + "||166||1||1");
  number(kFormID_State16, lineField(4, 3), 15);
  calculate(2, kChoiceNonresident);
  EXPECT_EQ(values(kFormID_State16,
                   {lineField(4, 3), State16::kTaxpayerExemptInState, State16::kTaxpayerExemptOutOfState}),
            (std::vector<double>{15, 15, 460 - 300 - 100 - 15}));
  text(kFormID_Fed166, Fed166::kPayerName, "Renamed Bank");
  calculate(2, kChoiceNonresident);
  EXPECT_EQ(record(kFormID_State16, 4), "Renamed Bank||166||1||4");
  EXPECT_DOUBLE_EQ(interest(lineField(4, 3)), 0);
}

// A record holds the payer name its line shows: none once the federal
// copy's name is emptied, and none for a spouse's source once the return
// is not joint (it has no line then). The records and lines are those the
// same federal copies give calculated afresh.
TEST_F(IntDivFormsTest, ARecordKeepsNoPayerNameItsLineNoLongerShows) {
  auto summaryTexts = [this] {
    std::string texts;
    for (int k = 1; k <= 8; ++k) texts += record(kFormID_State16, k) + " " + label(k) + "|";
    return texts;
  };
  twoInterestSources();
  calculate(2, kChoiceFullYearResident);
  ASSERT_EQ(record(kFormID_State16, 6), "Spouse Partnership||51||1||1");
  text(kFormID_Fed166, Fed166::kPayerName, "");
  calculate(1, kChoiceFullYearResident);
  EXPECT_EQ(record(kFormID_State16, 1), "||166||1||1");
  EXPECT_EQ(record(kFormID_State16, 6), "||51||1||1");
  const std::string edited = summaryTexts();
  restart();
  twoInterestSources();
  text(kFormID_Fed166, Fed166::kPayerName, "");
  calculate(1, kChoiceFullYearResident);
  EXPECT_EQ(edited, summaryTexts());
}

// A summary copy is part of the return while it shows an amount and
// leaves it once its sources are gone, a later copy of a list that shrank
// included.
TEST_F(IntDivFormsTest, ASummaryCopyLeavesTheReturnOnceItsAmountsGo) {
  for (uint16_t c = 1; c <= 6; ++c) {
    source(kFormID_Fed166, c, {{Fed166::kInterestIncome, 10000}, {Fed166::kUsObligationInterest, 5000},
                               {Fed166::kSecondExemptInterest, 3000}});
  }
  auto inReturn = [this](uint16_t copy) {
    calculate(2, kChoiceFullYearResident);
    return pa->getForm(kFormID_State16, copy)->isDataEntered() || pa->getForm(kFormID_State16, copy)->getCalcMark();
  };
  ASSERT_TRUE(inReturn(2));
  for (uint16_t c = 2; c <= 6; ++c) federal()->deleteForm(kFormID_Fed166, c);
  EXPECT_FALSE(inReturn(2));
  EXPECT_TRUE(inReturn(1));
  federal()->deleteForm(kFormID_Fed166, 1);
  EXPECT_FALSE(inReturn(1));
}

}  // namespace
