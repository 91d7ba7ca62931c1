// The Schedule D sales worksheet on fixture returns.
#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"
#include "host/rounding.h"

namespace {

class ScheduleDWorksheetTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    useInformationFormLines();
  }
  void fullYearResident() { mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox); }

  // Federal sale record `copy`, linked to worksheet row `row` of copy 1 as
  // the driver links it; amounts in dollars, stored as hundredths.
  void record(uint16_t copy, int row, const std::string& description, double sales, double basis,
              const std::string& acquired = "1/5/2017", const std::string& sold = "3/1/2018") {
    text(kFormID_Fed135, Fed135::kDescription, description, copy);
    text(kFormID_Fed135, Fed135::kDateAcquired, acquired, copy);
    text(kFormID_Fed135, Fed135::kDateSold, sold, copy);
    number(kFormID_Fed135, Fed135::kSalesPrice, sales * 100, copy);
    number(kFormID_Fed135, Fed135::kCostBasis, basis * 100, copy);
    number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowFederalLink.at(row), copy);
  }
  void run(uint16_t copy = 1) {
    engine->computeScheduleDWorksheet(holder(kFormID_PAScheduleDWorksheet, copy), copy, 0);
  }
  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleDWorksheet, copy); }
  double amount(const FieldId& field, uint16_t copy = 1) { return sheet(copy).getIR(field); }
  std::string sheetText(const FieldId& field) { return textOf(kFormID_PAScheduleDWorksheet, field); }
};

// A copy no federal record belongs to has its federal rows emptied, its
// boxes No and no count of grouped sales or zero sales price box left
// from records deleted, and still totals its hand rows (a hand row's owner
// code goes with its sale). Copy 1 keeps the rows of records 2 and 3 when
// record 1 is gone.
TEST_F(ScheduleDWorksheetTest, RowsOfCopiesWithAndWithoutFederalRecords) {
  fullYearResident();
  record(2, 1, "BOND", 300, 100);
  record(3, 2, "FUND", 50, 80);
  text(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowDescription.at(0), "STALE", 2);
  number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kGroupedSaleCount, 2, 2);
  mark(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kZeroSalesPriceBox, 2);
  number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowSalesPrice.at(12), 1000, 2);  // hand row 1
  number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowCost.at(12), 400, 2);
  run(2);
  run(1);
  EXPECT_TRUE(sheet(2).isNull(PAScheduleDWorksheet::kRowDescription.at(0)));
  EXPECT_TRUE(sheet(2).isNo(PAScheduleDWorksheet::kFederalRowsFirstBox));
  EXPECT_TRUE(sheet(2).isNull(PAScheduleDWorksheet::kGroupedSaleCount));
  EXPECT_TRUE(sheet(2).isNull(PAScheduleDWorksheet::kZeroSalesPriceBox));
  EXPECT_EQ(amount(PAScheduleDWorksheet::kRowGain.at(12), 2), 600);
  EXPECT_EQ(textOf(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowOwner.at(12), 2), "T");
  EXPECT_EQ(amount(PAScheduleDWorksheet::kTaxpayerTotal, 2), 600);
  EXPECT_EQ(sheetText(PAScheduleDWorksheet::kRowDescription.at(1)), "BOND");
  EXPECT_EQ(amount(PAScheduleDWorksheet::kRowGain.at(2)), -30);
  EXPECT_EQ(amount(PAScheduleDWorksheet::kTaxpayerGain), 170);
  // Its sale emptied, the hand row keeps no owner code the calculation
  // wrote, joint or not.
  const FieldId& price = PAScheduleDWorksheet::kRowSalesPrice.at(12);
  for (bool joint : {false, true}) {
    put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, joint ? FieldValue::mark() : FieldValue::null());
    number(kFormID_PAScheduleDWorksheet, price, 1000, 2);
    run(2);
    put(kFormID_PAScheduleDWorksheet, price, FieldValue::null(), 2);
    put(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowCost.at(12), FieldValue::null(), 2);
    run(2);
    EXPECT_TRUE(sheet(2).isNull(PAScheduleDWorksheet::kRowOwner.at(12))) << joint;
  }
}

// Dates are rewritten as mm/dd/yy; "various" texts and an empty date
// acquired read "VARIOUS"; a text that is no date stays as entered.
TEST_F(ScheduleDWorksheetTest, DateTexts) {
  const char* const kCases[][4] = {
      {"inherit", "VARIOUS", "3/1/2018", "03/01/18"},
      {"Inh-2010", "VARIOUS", "2018-03-01", "03/01/18"},
      {"", "VARIOUS", "3/1/2018", "03/01/18"},
      {"var-s", "VARIOUS", "3/1/2018", "03/01/18"},
      {"2017-01-05", "01/05/17", "3/1/2018", "03/01/18"},
      {"Spring 2016", "Spring 2016", "mid-2018", "mid-2018"},
      {"1/5/2017", "01/05/17", "", ""},
  };
  for (int r = 0; r < 7; ++r) {
    record(static_cast<uint16_t>(r + 1), r, "LOT", 10, 5, kCases[r][0], kCases[r][2]);
    text(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowDateSold.at(r), "OLD");
  }
  run();
  for (int r = 0; r < 7; ++r) {
    EXPECT_EQ(sheetText(PAScheduleDWorksheet::kRowDateAcquired.at(r)), kCases[r][1]) << kCases[r][0];
    EXPECT_EQ(sheetText(PAScheduleDWorksheet::kRowDateSold.at(r)), kCases[r][3]) << kCases[r][2];
  }
}

// A record without a description leaves nothing of an earlier row behind.
TEST_F(ScheduleDWorksheetTest, RecordWithoutDescriptionClearsItsRow) {
  fullYearResident();
  record(1, 0, "", 100, 40);
  for (const auto* column : {&PAScheduleDWorksheet::kRowOwner, &PAScheduleDWorksheet::kRowDescription}) {
    text(kFormID_PAScheduleDWorksheet, column->at(0), "OLD");
  }
  number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowGain.at(0), 70);
  mark(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowGroupedSaleBox.at(0));
  run();
  for (const auto* column : {&PAScheduleDWorksheet::kRowOwner, &PAScheduleDWorksheet::kRowDescription,
                             &PAScheduleDWorksheet::kRowGain, &PAScheduleDWorksheet::kRowGroupedSaleBox}) {
    EXPECT_TRUE(sheet().isNull(column->at(0))) << column->number();
  }
  EXPECT_EQ(amount(PAScheduleDWorksheet::kHasDataMark), 0);
  EXPECT_FALSE(sheet().isDataEntered());
}

// What a return that is not joint fixes is the calculation's: a sale's
// owner code "T" (the couple's, "J", once the return is joint, as on a
// joint return loaded afresh) and the residence's owner, the taxpayer (the
// user's choice on a joint return, joint by default). What the user enters
// on the joint return stays there.
TEST_F(ScheduleDWorksheetTest, OwnersFollowTheFilingStatus) {
  fullYearResident();
  record(1, 0, "BOND", 300, 100);
  record(2, 1, "FUND", 500, 100);
  const FieldId& owner1 = PAScheduleDWorksheet::kRowOwner.at(1);
  const struct {
    bool joint;
    const char* userCode;  // entered on row 2 (and the spouse as the residence's owner) before the run
    const char* owners;    // rows 1 and 2, the residence's taxpayer, spouse and joint boxes
    double taxpayer;       // the taxpayer's total
  } kSteps[] = {{false, nullptr, "T/T/X--", 600},
                {true, nullptr, "J/J/--X", 300},
                {false, nullptr, "T/T/X--", 600},
                {true, "S", "J/S/-X-", 100},
                {false, nullptr, "T/T/X--", 600}};
  for (const auto& step : kSteps) {
    put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox,
        step.joint ? DataMgmt::FieldValue::mark() : DataMgmt::FieldValue::null());
    if (step.userCode != nullptr) {
      text(kFormID_PAScheduleDWorksheet, owner1, step.userCode);
      put(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kResidenceJointBox, DataMgmt::FieldValue::null());
      mark(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kResidenceSpouseBox);
    }
    run();
    std::string owners = sheetText(PAScheduleDWorksheet::kRowOwner.at(0)) + "/" + sheetText(owner1) + "/";
    for (const FieldId* box : {&PAScheduleDWorksheet::kResidenceTaxpayerBox.id(),
                               &PAScheduleDWorksheet::kResidenceSpouseBox.id(),
                               &PAScheduleDWorksheet::kResidenceJointBox.id()}) {
      owners += sheet().xMarked(*box) ? "X" : "-";
    }
    EXPECT_EQ(owners, step.owners) << step.joint;
    EXPECT_EQ(amount(PAScheduleDWorksheet::kTaxpayerTotal), step.taxpayer) << step.joint;
  }
}

}  // namespace
