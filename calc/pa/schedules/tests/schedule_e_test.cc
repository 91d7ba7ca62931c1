// PA Schedule E: the source link, the federal Schedule E and farm-rental
// properties and the filer-level part.
#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

namespace {

class ScheduleETest : public StateEngineTest {
 protected:
  // Links PA copy `copy` to a federal source as the driver does; a negative
  // link leaves the federal copy number empty.
  void link(double federalCopy, bool farmRental = false, uint16_t copy = 1) {
    mark(kFormID_PAScheduleE, farmRental ? PAScheduleE::kFromForm4835Box : PAScheduleE::kFromScheduleEBox,
         copy);
    if (federalCopy >= 0) number(kFormID_PAScheduleE, PAScheduleE::kFederalCopyNumber, federalCopy, copy);
  }
  void fed(const FieldId& field, double value, uint16_t copy = 1) {
    number(kFormID_FedScheduleE, field, value, copy);
  }
  void calculate(uint16_t copy = 1) { engine->computeScheduleE(holder(kFormID_PAScheduleE, copy), copy, 0); }
  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleE, copy); }
  double value(const FieldId& field, uint16_t copy = 1) { return sheet(copy).getIR(field); }
  std::string textAt(const FieldId& field, uint16_t copy = 1) {
    return textOf(kFormID_PAScheduleE, field, copy);
  }
};

TEST_F(ScheduleETest, MissingOrZeroLinkReadsFederalCopy1) {
  fed(FedScheduleE::kRentsOrRoyaltiesReceived, 900);
  const double kLinks[] = {-1.0, 0.0, -3.0};
  for (uint16_t copy = 1; copy <= 3; ++copy) {
    link(kLinks[copy - 1], false, copy);
    calculate(copy);
    EXPECT_DOUBLE_EQ(value(PAScheduleE::kFederalCopyUsed, copy), 1) << copy;
    EXPECT_DOUBLE_EQ(value(PAScheduleE::kRoyaltiesReceived, copy), 900) << copy;
  }
}

// A rental of type 6 has no type (the golden returns hold types 1, 3 and 8
// and a royalty).
TEST_F(ScheduleETest, ARentalOfType6HasNoType) {
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyType, "6");
  mark(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox);
  link(1);
  calculate();
  EXPECT_EQ(textAt(PAScheduleE::kPropertyTypeCode) + "/" + textAt(PAScheduleE::kPropertyTypeText), "/");
}

// An ordinary rental in PA is not a short-term rental unless the user marks
// it one: only then is the sales-tax licence asked for and the net income
// on the short-term line.
TEST_F(ScheduleETest, ShortTermRentalOnlyWhenMarked) {
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyType, "1");
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyState, "PA");
  mark(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox);
  fed(FedScheduleE::kRentsOrRoyaltiesReceived, 1000);
  link(1);
  calculate();
  EXPECT_FALSE(sheet().xMarked(PAScheduleE::kShortTermRentalYesBox));
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kShortTermRentalNoBox));
  EXPECT_TRUE(sheet().isProtected(PAScheduleE::kSalesTaxLicenseYesBox));
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kOtherRentalIncome), 1000);
  EXPECT_TRUE(sheet().isNull(PAScheduleE::kShortTermRentalIncome));

  mark(kFormID_PAScheduleE, PAScheduleE::kShortTermRentalYesBox);
  put(kFormID_PAScheduleE, PAScheduleE::kShortTermRentalNoBox, DataMgmt::FieldValue::null());
  calculate();
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kShortTermRentalYesBox));
  EXPECT_FALSE(sheet().isProtected(PAScheduleE::kSalesTaxLicenseYesBox));
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kShortTermRentalIncome), 1000);
}

// Expense lines add their federal fields; rents and royalties both given
// count as none.
TEST_F(ScheduleETest, ExpensesAndIncomeOnBothLines) {
  mark(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox);
  fed(FedScheduleE::kRentsOrRoyaltiesReceived, 1000);
  for (const FieldId* f :
       {&FedScheduleE::kFirstMortgageInterest.id(), &FedScheduleE::kFourthMortgageInterest.id()}) {
    fed(*f, 10);
  }
  fed(FedScheduleE::kDepreciation, 7);
  fed(FedScheduleE::kSecondDepreciation, 8);
  fed(FedScheduleE::kOtherExpenseAmount.at(0), 5);
  number(kFormID_PAScheduleE, PAScheduleE::kRoyaltiesReceived, 500);
  sheet().setOverridden(PAScheduleE::kRoyaltiesReceived, true);  // the user's figure stands
  link(1);
  calculate();
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kMortgageInterest), 20);
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kDepreciation), 15);
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kTotalExpenses), 40);
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kNetIncomeOrLoss), -40);
}

// A joint return's federal copy without an owner leaves the choice to the
// user; a single filer's farm rental is the taxpayer's, type 5.
TEST_F(ScheduleETest, OwnersAndFarmRental) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyType, "1");
  link(1);
  calculate();
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kNoFederalOwnerBox));
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kTaxpayerOwnerBox));
  EXPECT_FALSE(sheet().isProtected(PAScheduleE::kSpouseOwnerBox));

  number(kFormID_FedFarmRental, FedFarmRental::kGrossFarmRentalIncome, 400, 1);
  number(kFormID_FedFarmRental, FedFarmRental::kTotalExpenses, 1000, 1);
  put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, DataMgmt::FieldValue::null());
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
  link(1, true, 2);
  calculate(2);
  EXPECT_TRUE(sheet(2).xMarked(PAScheduleE::kTaxpayerOwnerBox));
  EXPECT_TRUE(sheet(2).isNull(PAScheduleE::kSpouseOwnerBox) &&
              sheet(2).isProtected(PAScheduleE::kSpouseOwnerBox));
  EXPECT_EQ(textAt(PAScheduleE::kPropertyTypeCode, 2) + "/" + textAt(PAScheduleE::kPropertyTypeText, 2),
            "5/Farm Rental");
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kNetIncomeOrLoss, 2), -600);
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kOtherRentalIncome, 2), -600);
}

// What the calculation fixed for a property goes once its reason does:
// the rental's type and questions once the property is no rental (nor a
// royalty), the owner once the federal copy names none (the user chooses
// then, the taxpayer by default), the result lines and mark once the user
// says the property is not taxable for PA.
TEST_F(ScheduleETest, WhatTheCalculationFixedGoesWithItsReason) {
  auto shown = [&](std::initializer_list<FieldId> fields) {
    calculate();
    std::string marks;
    for (const FieldId& f : fields) {
      marks += sheet().isNull(f) ? "." : sheet().xMarked(f) ? "X" : textAt(f).empty() ? "-" : textAt(f);
      if (sheet().isProtected(f)) marks += "p";
    }
    return marks;
  };
  const std::initializer_list<FieldId> kRental = {PAScheduleE::kPropertyTypeCode, PAScheduleE::kPAPropertyYesBox,
                                                  PAScheduleE::kShortTermRentalNoBox, PAScheduleE::kRoyaltyBox};
  const std::initializer_list<FieldId> kOwner = {PAScheduleE::kTaxpayerOwnerBox, PAScheduleE::kSpouseOwnerBox};
  const std::initializer_list<FieldId> kResult = {PAScheduleE::kNetIncome, PAScheduleE::kOtherRentalIncome,
                                                  PAScheduleE::kTaxableForPAMark};
  setJoint(true);
  setResidency(kChoiceNonresident);
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyType, "1");
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyState, "PA");
  mark(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox);
  mark(kFormID_FedScheduleE, FedScheduleE::kSpouseBox);
  fed(FedScheduleE::kRentsOrRoyaltiesReceived, 1000);
  link(1);
  EXPECT_EQ(shown(kRental) + "/" + shown(kOwner) + "/" + shown(kResult), "1XpX-/.pXp/10001000X");
  for (const FieldId* f : {&FedScheduleE::kRentalPropertyBox.id(), &FedScheduleE::kSpouseBox.id()}) {
    put(kFormID_FedScheduleE, *f, FieldValue::null());
  }
  put(kFormID_PAScheduleE, PAScheduleE::kTaxableForPAYesBox, FieldValue::null());
  mark(kFormID_PAScheduleE, PAScheduleE::kTaxableForPANoBox);
  EXPECT_EQ(shown(kRental) + "/" + shown(kOwner) + "/" + shown(kResult), "..p.p./X-/...");

  // A pair opened to the user keeps no side the calculation fixed: a
  // nonresident's royalty not taxable for PA is no PA property; a
  // full-year resident's is, by default.
  mark(kFormID_FedScheduleE, FedScheduleE::kRoyaltyPropertyBox);
  const std::initializer_list<FieldId> kPAProperty = {PAScheduleE::kPAPropertyYesBox, PAScheduleE::kPAPropertyNoBox};
  EXPECT_EQ(shown(kPAProperty), "-pXp");
  setResidency(kChoiceFullYearResident);
  EXPECT_EQ(shown(kPAProperty), "X-");
}

}  // namespace
