// The estimated tax worksheet: the threshold, the installment split, the
// amended estimate and skipping it (the golden returns hold the voucher
// blocks).
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "return/return_codes.h"

namespace {

namespace E = PAEstimatedTaxWorksheet;
namespace Info = PAReturnInfo;

class EstimatedTaxWorksheetTest : public PA40Test {
 protected:
  DataMgmt::TaxForm& ws() { return copyOf(kFormID_PAEstimatedTaxWorksheet); }
  void run() { engine->computeEstimatedTaxWorksheet(holder(kFormID_PAEstimatedTaxWorksheet), 1, 1); }
  void enter(const FieldId& f, double value) { number(kFormID_PAEstimatedTaxWorksheet, f, value); }
  void check(const FieldId& f) { mark(kFormID_PAEstimatedTaxWorksheet, f); }
  // A required annual payment of exactly `amount` from the user's own
  // entries: estimated and current tax 30700 each, the withholding taking
  // the rest.
  void requiredPayment(double amount) {
    check(E::kBasisNoBox);
    enter(E::kEstimatedIncome, 1000000);
    number(kFormID_PA40, PA40::kAdjustedTaxableIncome, 1000000);
    enter(E::kCurrentTaxWithheld, 30700 - amount);
  }
};

// Only a payment above 245 passes the threshold; a resident has no line 30
// reduction; without the compute box the copy is not marked.
TEST_F(EstimatedTaxWorksheetTest, TheRequiredPaymentAndItsThreshold) {
  for (double required : {245, 246}) {
    restart();
    requiredPayment(required);
    run();
    expectAmounts(ws(), {{E::kRequiredPayment, required}, {E::kRequiredAboveThreshold, required > 245 ? required : 0}});
    EXPECT_TRUE(closed(kFormID_PAEstimatedTaxWorksheet, E::kNonresidentWithholding));
    EXPECT_FALSE(ws().isDataEntered() || ws().getCalcMark());
  }
}

TEST_F(EstimatedTaxWorksheetTest, TheRequiredPaymentIsSplitIntoTheChosenInstallments) {
  const double N = -1;  // null
  const struct {
    const NamedField<PAEstimatedTaxWorksheetFieldIds>& countBox;
    double total, carried, amendedCount, amended;
    double rows[4][3];  // installment, credit applied, net payment (the voucher block's installment too)
  } cases[] = {
      {E::kFourInstallmentsBox, 1001, 0, 0, 0, {{250, 0, 250}, {250, 0, 250}, {250, 0, 250}, {251, 0, 251}}},
      {E::kFourInstallmentsBox, 1000, 600, 0, 0, {{250, 250, 0}, {250, 250, 0}, {250, 100, 150}, {250, 0, 250}}},
      {E::kTwoInstallmentsBox, 1001, 0, 0, 0, {{N, N, N}, {N, N, N}, {500, 0, 500}, {501, 0, 501}}},
      // Amended, two installments: those before the first due row are caught
      // up into it.
      {E::kTwoInstallmentsBox, 0, 0, 3, 900, {{N, N, N}, {N, N, N}, {600, 0, 600}, {300, 0, 300}}},
  };
  for (const auto& c : cases) {
    restart();
    requiredPayment(c.total);
    number(kFormID_PA40, PA40::kEstimatedAccountCredit, c.carried);
    check(c.countBox);
    if (c.amendedCount > 0) {
      check(E::kAmendedYesBox);
      enter(E::kAmendedInstallmentCount, c.amendedCount);
      enter(E::kAmendedAnnualAmount, c.amended);
    }
    run();
    for (int r = 0; r < 4; ++r) {
      const FieldId* fields[] = {&E::kInstallmentAmount.at(r), &E::kInstallmentCredit.at(r), &E::kInstallmentNet.at(r),
                                 &E::kVoucherInstallment.at(r)};
      for (int k = 0; k < 4; ++k) {
        const double value = ws().isNull(*fields[k]) ? N : ws().getIR(*fields[k]);
        EXPECT_EQ(value, c.rows[r][k < 3 ? k : 2]) << c.total << " " << c.amended << " row " << r << " column " << k;
      }
    }
  }
}

// The amended count is limited to 1 to 3; a cleared
// amended amount leaves nothing to schedule; without the amended estimate
// its entries are closed.
TEST_F(EstimatedTaxWorksheetTest, TheAmendedEstimate) {
  check(E::kAmendedYesBox);
  enter(E::kAmendedInstallmentCount, 5);
  run();
  expectAmounts(ws(), {{E::kAmendedInstallmentCount, 3}});
  enter(E::kAmendedAnnualAmount, 1200);
  run();
  expectAmounts(ws(), {{E::kAmendedToSchedule, 1200}, {E::kInstallmentNet.at(3), 400}});
  ws().setNull(E::kAmendedAnnualAmount);
  run();
  EXPECT_TRUE(ws().isNull(E::kAmendedToSchedule));
  expectAmounts(ws(), {{E::kInstallmentNet.at(3), 0}});
  ws().setNull(E::kAmendedYesBox);
  enter(E::kAmendedAnnualAmount, 1000);
  run();
  EXPECT_TRUE(ws().xMarked(E::kAmendedNoBox));
  EXPECT_TRUE(ws().isNull(E::kAmendedAnnualAmount) && ws().isProtected(E::kAmendedAnnualAmount));
}

// Skipping, which the information form allows, clears the required
// payment and its rows; the count boxes get their default again.
TEST_F(EstimatedTaxWorksheetTest, SkippingTheEstimate) {
  mark(kFormID_PAReturnInfo, Info::kFarmerYesBox);
  requiredPayment(2000);
  check(E::kThreeInstallmentsBox);
  run();
  EXPECT_TRUE(ws().xMarked(E::kSkipYesBox) && ws().isNull(E::kRequiredPayment));
  EXPECT_TRUE(ws().xMarked(E::kFourInstallmentsBox));
  for (int r = 0; r < 4; ++r) expectAmounts(ws(), {{E::kInstallmentNet.at(r), 0}});
}

}  // namespace
