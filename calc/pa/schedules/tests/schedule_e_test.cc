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

// What a kind of property wrote goes with the kind: a rental no longer
// marked a rental (nor a royalty) has no type code and asks none of the
// rental's questions, as such a property loaded afresh.
TEST_F(ScheduleETest, APropertyOfNoKindAsksNoRentalQuestion) {
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyType, "1");
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyState, "PA");
  mark(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox);
  link(1);
  calculate();
  EXPECT_EQ(textAt(PAScheduleE::kPropertyTypeCode), "1");
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kPAPropertyYesBox) && sheet().xMarked(PAScheduleE::kShortTermRentalNoBox));
  put(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox, FieldValue::null());
  calculate();
  for (const FieldId* field : {&PAScheduleE::kPropertyTypeCode.id(), &PAScheduleE::kPAPropertyYesBox.id(),
                               &PAScheduleE::kPAPropertyNoBox.id(), &PAScheduleE::kShortTermRentalYesBox.id(),
                               &PAScheduleE::kShortTermRentalNoBox.id(), &PAScheduleE::kRoyaltyBox.id()}) {
    EXPECT_TRUE(sheet().isNull(*field)) << field->getNumber();
  }
  EXPECT_EQ(textAt(PAScheduleE::kPropertyTypeText), "Single Family Residence");
}

// On a joint return the owner a federal copy names is fixed; once the copy
// names none the user chooses, the taxpayer by default, as on a copy
// loaded afresh.
TEST_F(ScheduleETest, AnOwnerTheFederalCopyNoLongerNamesGoes) {
  setJoint(true);
  mark(kFormID_FedScheduleE, FedScheduleE::kSpouseBox);
  link(1);
  calculate();
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kSpouseOwnerBox) && sheet().isProtected(PAScheduleE::kSpouseOwnerBox));
  put(kFormID_FedScheduleE, FedScheduleE::kSpouseBox, FieldValue::null());
  calculate();
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kTaxpayerOwnerBox));
  EXPECT_TRUE(!sheet().xMarked(PAScheduleE::kSpouseOwnerBox) && !sheet().isProtected(PAScheduleE::kSpouseOwnerBox));
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kNoFederalOwnerBox));
}

// A property the user says is not taxable for PA shows no result lines of
// the taxable property it was, nor its mark.
TEST_F(ScheduleETest, APropertyNotTaxableForPAShowsNoResult) {
  setResidency(kChoiceNonresident);
  mark(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox);
  fed(FedScheduleE::kRentsOrRoyaltiesReceived, 1000);
  link(1);
  calculate();
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kNetIncome), 1000);
  EXPECT_TRUE(sheet().xMarked(PAScheduleE::kTaxableForPAMark));
  put(kFormID_PAScheduleE, PAScheduleE::kTaxableForPAYesBox, FieldValue::null());
  mark(kFormID_PAScheduleE, PAScheduleE::kTaxableForPANoBox);
  calculate();
  for (const FieldId* field : {&PAScheduleE::kNetIncome.id(), &PAScheduleE::kLossBox.id(),
                               &PAScheduleE::kPANetIncome.id(), &PAScheduleE::kOtherRentalIncome.id(),
                               &PAScheduleE::kOtherRentalLossBox.id(), &PAScheduleE::kTaxableForPAMark.id()}) {
    EXPECT_TRUE(sheet().isNull(*field)) << field->getNumber();
  }
  EXPECT_DOUBLE_EQ(value(PAScheduleE::kNetIncomeOrLoss), 1000);
}

}  // namespace
