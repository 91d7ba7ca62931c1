// The direct deposit and debit form on fixture returns. Fields are named by
// host field number.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class DirectDepositDebitTest : public PA40Test {
 protected:
  static const FieldId& dd(int hostField) { return kPADirectDepositDebitFieldIds.byNumber(hostField); }

  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
    copyOf(kFormID_PA40);
    copyOf(kFormID_PADirectDepositDebit);
    text(kFormID_PAReturnInfo, info(31), "ANNA");
    text(kFormID_PAReturnInfo, info(32), "B");
    text(kFormID_PAReturnInfo, info(33), "SMITH");
    text(kFormID_PAReturnInfo, info(36), "CARL");
    text(kFormID_PAReturnInfo, info(38), "JONES");
    text(kFormID_PAReturnInfo, info(39), "SR");
    text(kFormID_PAReturnInfo, info(99), "DEPOSIT-ROUTING");
    text(kFormID_PAReturnInfo, info(100), "DEPOSIT-ACCOUNT");
    text(kFormID_PAReturnInfo, info(125), "DEBIT-ROUTING");
    text(kFormID_PAReturnInfo, info(126), "DEBIT-ACCOUNT");
    text(kFormID_PAReturnInfo, info(128), "04-15-2019");
  }

  DataMgmt::TaxForm& form() { return copyOf(kFormID_PADirectDepositDebit); }
  void run() { engine->computeDirectDepositDebit(holder(kFormID_PADirectDepositDebit), 1, 1); }
  std::string text(int hostField) {
    return StateEngineTest::textOf(kFormID_PADirectDepositDebit, dd(hostField));
  }
  using StateEngineTest::text;
  bool marked(int hostField) { return form().xMarked(dd(hostField)); }
  bool isNull(int hostField) { return form().isNull(dd(hostField)); }

  void refund(double amount) { number(kFormID_PA40, pa40(252), amount); }
  void owe(double amount) { number(kFormID_PA40, pa40(268), amount); }
  void depositRequested() { mark(kFormID_PAReturnInfo, info(95)); }
  void debitRequested() { mark(kFormID_Fed183, kFed183FieldIds.byNumber(155)); }
};

TEST_F(DirectDepositDebitTest, TheElectionFollowsTheRefundAndTheAmountOwed) {
  enum Election { kDeposit, kDebit, kNeither };
  const struct {
    const char* name;
    bool deposit;
    double refund;
    bool debit;
    double owed;
    Election expected;
  } cases[] = {
      {"deposit wins over debit", true, 100, true, 50, kDeposit},
      {"no deposit asked: debit", false, 100, true, 50, kDebit},
      {"debit without an amount owed", false, 100, true, 0, kNeither},
      {"deposit without a refund", true, 0, false, 0, kNeither},
      {"deposit asked, amount owed", true, 0, true, 50, kDebit},
      {"nothing asked", false, 100, false, 50, kNeither},
  };
  for (const auto& c : cases) {
    restart();
    if (c.deposit) depositRequested();
    if (c.debit) debitRequested();
    refund(c.refund);
    owe(c.owed);
    run();
    EXPECT_EQ(marked(29), c.expected == kDeposit) << c.name;
    EXPECT_EQ(marked(31), c.expected == kDebit) << c.name;
    EXPECT_EQ(marked(30), c.expected == kNeither) << c.name;
    EXPECT_EQ(form().isProtected(dd(29)), c.expected == kDeposit) << c.name;
    EXPECT_EQ(form().getIR(dd(22)), c.refund) << c.name;
    EXPECT_EQ(form().getIR(dd(23)), c.owed) << c.name;
  }
}

TEST_F(DirectDepositDebitTest, NeitherElectionEmptiesTheBankData) {
  for (int f : {24, 25, 28}) text(kFormID_PADirectDepositDebit, dd(f), "OLD");
  mark(kFormID_PADirectDepositDebit, dd(26));
  run();
  for (int f : {24, 25, 26, 27, 28}) EXPECT_TRUE(isNull(f)) << f;
}

TEST_F(DirectDepositDebitTest, ADebitTakesTheDebitBankData) {
  debitRequested();
  owe(50);
  mark(kFormID_PAReturnInfo, info(123));
  run();
  EXPECT_EQ(text(24), "DEBIT-ROUTING");
  EXPECT_EQ(text(25), "DEBIT-ACCOUNT");
  EXPECT_EQ(text(28), "04-15-2019");
  EXPECT_TRUE(marked(26));
  EXPECT_FALSE(marked(27));
}

TEST_F(DirectDepositDebitTest, ADepositTakesTheDepositBankDataAndNoDebitText) {
  depositRequested();
  refund(80);
  text(kFormID_PADirectDepositDebit, dd(28), "OLD");
  mark(kFormID_PAReturnInfo, info(123));  // the debit's account type does not count
  run();
  EXPECT_EQ(text(24), "DEPOSIT-ROUTING");
  EXPECT_EQ(text(25), "DEPOSIT-ACCOUNT");
  EXPECT_TRUE(isNull(28));
  EXPECT_FALSE(marked(26));
  EXPECT_TRUE(marked(27));

  restart();
  depositRequested();
  refund(80);
  mark(kFormID_PAReturnInfo, info(97));
  run();
  EXPECT_TRUE(marked(26));
  EXPECT_FALSE(marked(27));
}

TEST_F(DirectDepositDebitTest, ASpouseSharingTheLastNameGetsNoneOfHisOwn) {
  setFilingStatus(2);
  text(kFormID_PAReturnInfo, info(38), "SMITH");
  text(kFormID_PAReturnInfo, info(39), "");
  text(kFormID_PAReturnInfo, info(40), "444-55-6666");
  run();
  EXPECT_EQ(text(6), "SMITH");
  EXPECT_EQ(text(7), "ANNA B");
  EXPECT_TRUE(isNull(8));
  EXPECT_EQ(text(9), "CARL");
  EXPECT_EQ(text(5), "444-55-6666");

  restart();
  setFilingStatus(2);
  run();
  EXPECT_EQ(text(8), "JONES SR");
}

TEST_F(DirectDepositDebitTest, WithoutAJointReturnTheSpouseFieldsAreEmptied) {
  for (int status : {1, 3}) {
    restart();
    setFilingStatus(status);
    for (int f : {5, 8, 9}) text(kFormID_PADirectDepositDebit, dd(f), "OLD");
    run();
    for (int f : {5, 8, 9}) EXPECT_TRUE(isNull(f)) << status << " " << f;
  }
}

TEST_F(DirectDepositDebitTest, FilingStatusBoxesAreRecomputedEveryTime) {
  const struct {
    int status;
    int box;
  } cases[] = {{1, 14}, {2, 15}, {3, 16}};
  for (const auto& c : cases) {
    restart();
    setFilingStatus(c.status);
    for (int f : {14, 15, 16}) mark(kFormID_PADirectDepositDebit, dd(f));
    mark(kFormID_PAReturnInfo, info(60));
    run();
    for (int f : {14, 15, 16}) EXPECT_EQ(marked(f), f == c.box) << c.status << " " << f;
    EXPECT_TRUE(isNull(17));
    EXPECT_TRUE(marked(23743));
  }
}

TEST_F(DirectDepositDebitTest, TheAddressJoinsStreetAndApartment) {
  text(kFormID_PAReturnInfo, line(11), "1 MAIN ST");
  text(kFormID_PAReturnInfo, line(12), "4");
  text(kFormID_PAReturnInfo, info(43), "HARRISBURG");
  run();
  EXPECT_EQ(text(10), "1 MAIN ST Apt 4");
  EXPECT_EQ(text(11), "HARRISBURG");
}

TEST_F(DirectDepositDebitTest, OnlyAnElectronicReturnMarksTheFormEntered) {
  refund(10);
  run();
  EXPECT_FALSE(form().isDataEntered());
  EXPECT_FALSE(form().getCalcMark());
  EXPECT_TRUE(marked(30));  // computed all the same

  pa->setInElf(true);
  run();
  EXPECT_TRUE(form().isDataEntered());
  EXPECT_TRUE(form().getCalcMark());
}

}  // namespace
