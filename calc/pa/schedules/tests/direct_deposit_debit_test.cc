// The direct deposit and debit form: the election, the spouse's names and
// the electronic-filing mark (the golden returns hold a deposit and a debit).
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"

namespace {

namespace DD = PADirectDepositDebit;
namespace Info = PAReturnInfo;

class DirectDepositDebitTest : public PA40Test {
 protected:
  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
    enterTexts(copyOf(kFormID_PAReturnInfo),
               {{Info::kTaxpayerFirstName, "ANNA"}, {Info::kTaxpayerLastName, "SMITH"},
                {Info::kSpouseFirstName, "CARL"}, {Info::kSpouseLastName, "JONES"}, {Info::kSpouseNameSuffix, "SR"},
                {Info::kDepositRoutingNumber, "DEPOSIT-ROUTING"}, {Info::kDebitRoutingNumber, "DEBIT-ROUTING"},
                {Info::kStreet, "1 MAIN ST"}, {Info::kApartment, "4"}});
  }
  DataMgmt::TaxForm& form() { return copyOf(kFormID_PADirectDepositDebit); }
};

// A deposit wins over a debit; without a refund or an amount owed neither.
TEST_F(DirectDepositDebitTest, TheElection) {
  const struct {
    bool depositAsked;
    double refund;
    bool debitAsked;
    double owed;
    bool deposit;
  } cases[] = {{true, 100, true, 50, true}, {false, 100, true, 0, false}, {true, 0, false, 0, false}};
  for (const auto& c : cases) {
    restart();
    if (c.depositAsked) mark(kFormID_PAReturnInfo, Info::kDirectDepositYesBox);
    if (c.debitAsked) mark(kFormID_Fed183, Fed183::kDirectDebitBox);
    number(kFormID_PA40, PA40::kRefund, c.refund);
    number(kFormID_PA40, PA40::kTotalPayment, c.owed);
    compute(kFormID_PADirectDepositDebit);
    EXPECT_EQ(form().xMarked(DD::kDirectDepositBox), c.deposit) << c.refund << " " << c.owed;
    EXPECT_EQ(form().xMarked(DD::kNeitherBox), !c.deposit) << c.refund << " " << c.owed;
    EXPECT_EQ(form().valueText(DD::kRoutingNumber), c.deposit ? "DEPOSIT-ROUTING" : "");
    EXPECT_TRUE(form().isNull(DD::kDebitDate));
  }
}

// The spouse gets no last name of his own when it is the taxpayer's; the
// F box follows the information form.
TEST_F(DirectDepositDebitTest, SpouseNamesAndTheFBox) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  compute(kFormID_PADirectDepositDebit);
  EXPECT_EQ(form().valueText(DD::kSpouseLastName), "JONES SR");
  enterTexts(copyOf(kFormID_PAReturnInfo), {{Info::kSpouseLastName, "SMITH"}, {Info::kSpouseNameSuffix, ""}});
  mark(kFormID_PAReturnInfo, Info::kFilingStatusFBox);
  compute(kFormID_PADirectDepositDebit);
  EXPECT_TRUE(form().isNull(DD::kSpouseLastName));
  EXPECT_EQ(form().valueText(DD::kSpouseFirstName), "CARL");
  EXPECT_TRUE(form().xMarked(DD::kFilingStatusFBox) && form().isNull(DD::kTaxpayerDeceasedBox));
}

// Only a return in electronic filing marks the form entered; it is
// computed all the same.
TEST_F(DirectDepositDebitTest, OnlyAnElectronicReturnMarksTheFormEntered) {
  compute(kFormID_PADirectDepositDebit);
  EXPECT_EQ(form().valueText(DD::kStreet), "1 MAIN ST Apt 4");
  EXPECT_FALSE(form().isDataEntered() || form().getCalcMark());
  pa->setInElf(true);
  compute(kFormID_PADirectDepositDebit);
  EXPECT_TRUE(entered(kFormID_PADirectDepositDebit));
}

}  // namespace
