// The direct deposit and debit form on fixture returns.
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "catalogs/fields/fields.h"
#include "entry/return_codes.h"

namespace {

namespace DD = PADirectDepositDebit;
namespace Info = PAReturnInfo;

class DirectDepositDebitTest : public PA40Test {
 protected:
  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
    enterTexts(copyOf(kFormID_PAReturnInfo),
               {{Info::kTaxpayerFirstName, "ANNA"}, {Info::kTaxpayerMiddleInitial, "B"},
                {Info::kTaxpayerLastName, "SMITH"}, {Info::kSpouseFirstName, "CARL"}, {Info::kSpouseLastName, "JONES"},
                {Info::kSpouseNameSuffix, "SR"}, {Info::kSpouseSSN, "444-55-6666"},
                {Info::kDepositRoutingNumber, "DEPOSIT-ROUTING"}, {Info::kDebitRoutingNumber, "DEBIT-ROUTING"},
                {Info::kDebitDate, "04-15-2019"}});
  }
  DataMgmt::TaxForm& form() { return copyOf(kFormID_PADirectDepositDebit); }
  void run() { engine->computeDirectDepositDebit(holder(kFormID_PADirectDepositDebit), 1, 1); }
};

TEST_F(DirectDepositDebitTest, TheElectionAndItsBankData) {
  enum Election { kDeposit, kDebit, kNeither };
  const struct {
    const char* name;
    bool deposit;
    double refund;
    bool debit;
    double owed;
    Election expected;
    const char* routing;
  } cases[] = {
      {"deposit wins over debit", true, 100, true, 50, kDeposit, "DEPOSIT-ROUTING"},
      {"no deposit asked: debit", false, 100, true, 50, kDebit, "DEBIT-ROUTING"},
      {"debit without an amount owed", false, 100, true, 0, kNeither, ""},
      {"deposit without a refund", true, 0, false, 0, kNeither, ""},
  };
  for (const auto& c : cases) {
    restart();
    if (c.deposit) mark(kFormID_PAReturnInfo, Info::kDirectDepositYesBox);
    if (c.debit) mark(kFormID_Fed183, Fed183::kDirectDebitBox);
    number(kFormID_PA40, PA40::kRefund, c.refund);
    number(kFormID_PA40, PA40::kTotalPayment, c.owed);
    mark(kFormID_PAReturnInfo, Info::kDebitCheckingBox);  // only a debit's account type counts for a debit
    text(kFormID_PADirectDepositDebit, DD::kDebitDate, "OLD");
    run();
    EXPECT_EQ(form().xMarked(DD::kDirectDepositBox), c.expected == kDeposit) << c.name;
    EXPECT_EQ(form().xMarked(DD::kDirectDebitBox), c.expected == kDebit) << c.name;
    EXPECT_EQ(form().xMarked(DD::kNeitherBox), c.expected == kNeither) << c.name;
    EXPECT_EQ(form().isProtected(DD::kDirectDepositBox), c.expected == kDeposit) << c.name;
    EXPECT_EQ(form().valueText(DD::kRoutingNumber), c.routing) << c.name;
    EXPECT_EQ(form().valueText(DD::kDebitDate), c.expected == kDebit ? "04-15-2019" : "") << c.name;
    EXPECT_EQ(form().xMarked(DD::kCheckingBox), c.expected == kDebit) << c.name;
    EXPECT_EQ(form().xMarked(DD::kSavingsBox), c.expected == kDeposit) << c.name;
  }
}

// The spouse gets no last name of his own when it is the taxpayer's; the
// spouse fields are emptied and the status boxes recomputed when not joint.
TEST_F(DirectDepositDebitTest, SpouseNamesAndFilingStatusBoxes) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  run();
  EXPECT_EQ(form().valueText(DD::kSpouseLastName), "JONES SR");
  enterTexts(copyOf(kFormID_PAReturnInfo), {{Info::kSpouseLastName, "SMITH"}, {Info::kSpouseNameSuffix, ""}});
  run();
  EXPECT_TRUE(form().isNull(DD::kSpouseLastName));
  EXPECT_EQ(form().valueText(DD::kSpouseFirstName), "CARL");
  setFilingStatus(PADataMgmt::kFilingSeparate);
  for (const FieldId& box : {DD::kSingleBox.id(), DD::kJointBox.id()}) mark(kFormID_PADirectDepositDebit, box);
  mark(kFormID_PAReturnInfo, Info::kFilingStatusFBox);
  run();
  EXPECT_TRUE(form().isNull(DD::kSpouseFirstName) && form().isNull(DD::kSpouseSSN));
  EXPECT_TRUE(form().xMarked(DD::kSeparateBox) && form().isNo(DD::kSingleBox) && form().isNo(DD::kJointBox));
  EXPECT_TRUE(form().xMarked(DD::kFilingStatusFBox) && form().isNull(DD::kTaxpayerDeceasedBox));
}

// Only a return in electronic filing marks the form entered; it is
// computed all the same.
TEST_F(DirectDepositDebitTest, OnlyAnElectronicReturnMarksTheFormEntered) {
  enterTexts(copyOf(kFormID_PAReturnInfo), {{Info::kStreet, "1 MAIN ST"}, {Info::kApartment, "4"}});
  run();
  EXPECT_EQ(form().valueText(DD::kStreet), "1 MAIN ST Apt 4");
  EXPECT_FALSE(form().isDataEntered() || form().getCalcMark());
  pa->setInElf(true);
  run();
  EXPECT_TRUE(form().isDataEntered() && form().getCalcMark());
}

}  // namespace
