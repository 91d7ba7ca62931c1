// The payment voucher for the amount owed, on fixture returns. Fields are
// named by host field number.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class PaymentVoucherTest : public PA40Test {
 protected:
  static const FieldId& v(int hostField) { return kPAEstimatedVouchersFieldIds.byNumber(hostField); }

  void SetUp() override {
    PA40Test::SetUp();
    copyOf(kFormID_PA40);
    copyOf(kFormID_PAEstimatedVouchers);
    text(kFormID_PAReturnInfo, info(31), "ANNA");
    text(kFormID_PAReturnInfo, info(32), "B");
    text(kFormID_PAReturnInfo, info(33), "SMITH");
    text(kFormID_PAReturnInfo, info(35), "111-22-3333");
    text(kFormID_PAReturnInfo, info(36), "CARL");
    text(kFormID_PAReturnInfo, info(37), "D");
    text(kFormID_PAReturnInfo, info(38), "JONES");
    text(kFormID_PAReturnInfo, info(40), "444-55-6666");
  }

  DataMgmt::TaxForm& voucher() { return copyOf(kFormID_PAEstimatedVouchers); }
  void run() { engine->computeEstimatedVouchers(holder(kFormID_PAEstimatedVouchers), 1, 1); }
  std::string text(int hostField) {
    return StateEngineTest::textOf(kFormID_PAEstimatedVouchers, v(hostField));
  }
  using StateEngineTest::text;
  void owe(double amount) { number(kFormID_PA40, pa40(268), amount); }
  void voucherWanted() { mark(kFormID_Fed183, kFed183FieldIds.byNumber(154)); }
};

TEST_F(PaymentVoucherTest, ItCarriesTheFilersTextsAndTheAmountOwed) {
  setFilingStatus(2);
  const int pa40Texts[] = {107, 105, 110, 111, 112};
  for (int f : pa40Texts) text(kFormID_PA40, pa40(f), "T" + std::to_string(f));
  owe(321);
  run();
  const struct {
    int field;
    const char* text;
  } expected[] = {{2, "111-22-3333"}, {3, "SM"}, {4, "444-55-6666"}, {5, "SMITH"}, {7, "ANNA"},
                  {8, "B"},           {12, "JONES"}, {10, "CARL"},    {11, "D"},    {13, "T107"},
                  {14, "T105"},       {15, "T110"},  {16, "T111"},    {17, "T112"}};
  for (const auto& e : expected) EXPECT_EQ(text(e.field), e.text) << e.field;
  EXPECT_EQ(voucher().getIR(v(9)), 321);
}

TEST_F(PaymentVoucherTest, WithoutAJointReturnTheSpouseTextsAreEmptied) {
  for (int status : {1, 3}) {
    restart();
    setFilingStatus(status);
    for (int f : {4, 10, 11, 12}) text(kFormID_PAEstimatedVouchers, v(f), "OLD");
    run();
    for (int f : {4, 10, 11, 12}) EXPECT_TRUE(voucher().isNull(v(f))) << status << " " << f;
  }
}

TEST_F(PaymentVoucherTest, OnlyAnOwedAmountTheFilerWantsAVoucherForMarksIt) {
  const struct {
    double owed;
    bool wanted;
    bool entered;
  } cases[] = {{100, true, true}, {0, true, false}, {-5, true, false}, {100, false, false}};
  for (const auto& c : cases) {
    restart();
    owe(c.owed);
    if (c.wanted) voucherWanted();
    run();
    EXPECT_EQ(voucher().isDataEntered(), c.entered) << c.owed << " " << c.wanted;
    EXPECT_EQ(voucher().getCalcMark(), c.entered) << c.owed << " " << c.wanted;
    EXPECT_EQ(voucher().getIR(v(9)), c.owed);
  }
}

TEST_F(PaymentVoucherTest, TheTelephoneNumberFallsBackToThePA40s) {
  copyOf(kFormID_FedReturn);
  text(kFormID_FedFilerInfo, kFedFilerInfoFieldIds.byNumber(671), " 215-555-0100 ");
  text(kFormID_PA40, pa40(116), "717-555-0199");
  run();
  EXPECT_EQ(text(6), "215-555-0100");
  EXPECT_TRUE(voucher().isProtected(v(6)));

  restart();
  copyOf(kFormID_FedReturn);
  text(kFormID_PA40, pa40(116), "717-555-0199");
  run();
  EXPECT_EQ(text(6), "717-555-0199");
  EXPECT_TRUE(voucher().isProtected(v(6)));

  restart();
  copyOf(kFormID_FedReturn);
  run();
  EXPECT_EQ(text(6), "");
  EXPECT_FALSE(voucher().isProtected(v(6)));
}

TEST_F(PaymentVoucherTest, AOneLetterLastNameGivesOneLetter) {
  text(kFormID_PAReturnInfo, info(33), "Q");
  run();
  EXPECT_EQ(text(3), "Q");
}

}  // namespace
