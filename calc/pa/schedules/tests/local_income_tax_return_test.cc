// The Local Income Tax Return: status boxes, the balance of a column and
// the spouse column of a joint return or of none.
#include <gtest/gtest.h>

#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class LocalReturnTest : public PA40Test {
 protected:
  void runLocal(uint16_t copy = 1) {
    engine->computeLocalIncomeTaxReturn(holder(kFormID_PALocalIncomeTaxReturn, copy), copy, 1);
  }
  void enterLocal(const FieldId& f, double value) { number(kFormID_PALocalIncomeTaxReturn, f, value); }
  void letter(const std::string& value) { text(kFormID_PA40, PA40::kFilingStatusCode, value); }
  DataMgmt::TaxForm& local() { return copyOf(kFormID_PALocalIncomeTaxReturn); }
  double value(const FieldId& f) { return local().getIR(f); }
  bool closed(const FieldId& f) { return local().isNull(f) && local().isProtected(f); }

  // A taxpayer tax of `tax` against payments of `paid`, at a rate of 1.
  void taxAgainstPayments(double tax, double paid) {
    enter(PA40::kTaxpayerGrossCompensation, 1);  // opens the compensation entry
    enterLocal(PALocalIncomeTaxReturn::kTaxpayerCompensationEntry, tax);
    enterLocal(PALocalIncomeTaxReturn::kRateEntry, 1000000);
    enterLocal(PALocalIncomeTaxReturn::kTaxpayerFirstPayment, paid);
  }
};

TEST_F(LocalReturnTest, TaxpayerBalanceCases) {
  const struct {
    double tax, paid;
    bool due, overpaid;
    double amount;
  } kCases[] = {{101, 100, false, false, 0},  // exactly the threshold
                {101.5, 100, true, false, 1.5},
                {100.5, 100, false, false, 0},  // a fraction owed is no balance
                {80, 100, false, true, 20}};
  for (const auto& c : kCases) {
    restart();
    taxAgainstPayments(c.tax, c.paid);
    runLocal();
    SCOPED_TRACE(c.tax);
    EXPECT_DOUBLE_EQ(value(PALocalIncomeTaxReturn::kTaxpayerBalance), c.tax - c.paid);
    EXPECT_DOUBLE_EQ(value(PALocalIncomeTaxReturn::kTaxpayerAmountDue), c.due ? c.amount : 0);
    EXPECT_EQ(closed(PALocalIncomeTaxReturn::kTaxpayerOverpayment), !c.overpaid);
    EXPECT_DOUBLE_EQ(value(PALocalIncomeTaxReturn::kTaxpayerOverpayment), c.overpaid ? c.amount : 0);
    EXPECT_TRUE(local().isNo(PALocalIncomeTaxReturn::kTaxpayerOverpaymentAppliedBox));
  }

  enterLocal(PALocalIncomeTaxReturn::kTaxpayerOverpaymentApplied, 50);
  runLocal();
  EXPECT_EQ(value(PALocalIncomeTaxReturn::kTaxpayerOverpaymentApplied), 20);
  EXPECT_TRUE(local().xMarked(PALocalIncomeTaxReturn::kTaxpayerOverpaymentAppliedBox));
}

TEST_F(LocalReturnTest, WithoutTheJBoxTheSpouseColumnIsClosed) {
  letter("S");
  enter(PA40::kSpouseGrossCompensation, 30000);
  for (const FieldId* f :
       {&PALocalIncomeTaxReturn::kSpouseCompensationEntry.id(),
        &PALocalIncomeTaxReturn::kSpouseFurtherAmount.id(), &PALocalIncomeTaxReturn::kSpouseFirstPayment.id(),
        &PALocalIncomeTaxReturn::kSpouseLowBaseEntry.at(0)}) {
    enterLocal(*f, 7);
  }
  enterLocal(PALocalIncomeTaxReturn::kSpouseOverpayment, 12);  // left by an earlier joint calculation
  runLocal();
  EXPECT_TRUE(local().isNull(PALocalIncomeTaxReturn::kSpouseGrossCompensation));
  for (const FieldId* f :
       {&PALocalIncomeTaxReturn::kSpouseFurtherAmount.id(), &PALocalIncomeTaxReturn::kSpouseFirstPayment.id(),
        &PALocalIncomeTaxReturn::kSpouseLowBaseEntry.at(0), &PALocalIncomeTaxReturn::kSpouseTax.id(),
        &PALocalIncomeTaxReturn::kSpouseAmountDue.id()}) {
    EXPECT_TRUE(closed(*f)) << *f;
  }
  // The gated entries keep their values and the subtotal still uses them;
  // the balance an earlier joint calculation wrote goes, as a return loaded
  // afresh holds none.
  EXPECT_EQ(value(PALocalIncomeTaxReturn::kSpouseSubtotal), 7);
  EXPECT_TRUE(closed(PALocalIncomeTaxReturn::kSpouseOverpayment));
  EXPECT_TRUE(closed(PALocalIncomeTaxReturn::kSpouseOverpaymentApplied));
  EXPECT_TRUE(local().isNull(PALocalIncomeTaxReturn::kSpouseBalance));
  EXPECT_TRUE(local().isNull(PALocalIncomeTaxReturn::kSpouseOverpaymentAppliedBox));
}

// A joint return switched to single: the spouse column's balance, its
// overpayment, the part applied and its box go.
TEST_F(LocalReturnTest, SpouseBalanceGoesWithTheJointStatus) {
  letter("J");
  enter(PA40::kSpouseGrossCompensation, 1);
  enterLocal(PALocalIncomeTaxReturn::kRateEntry, 1000000);
  enterLocal(PALocalIncomeTaxReturn::kSpouseFirstPayment, 40);
  enterLocal(PALocalIncomeTaxReturn::kSpouseOverpaymentApplied, 10);
  runLocal();
  ASSERT_EQ(value(PALocalIncomeTaxReturn::kSpouseOverpayment), 40);
  ASSERT_TRUE(local().xMarked(PALocalIncomeTaxReturn::kSpouseOverpaymentAppliedBox));
  letter("S");
  runLocal();
  EXPECT_TRUE(local().isNull(PALocalIncomeTaxReturn::kSpouseBalance));
  EXPECT_TRUE(closed(PALocalIncomeTaxReturn::kSpouseOverpayment));
  EXPECT_TRUE(closed(PALocalIncomeTaxReturn::kSpouseOverpaymentApplied));
  EXPECT_TRUE(local().isNull(PALocalIncomeTaxReturn::kSpouseOverpaymentAppliedBox));
}

}  // namespace
