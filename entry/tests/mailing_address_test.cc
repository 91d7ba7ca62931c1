// Mailing addresses and state text items.
#include <cstring>
#include <string>

#include "entry/tests/pa_return_fixture.h"
#include "host/efile.h"

namespace {

using PADataMgmt::PATaxReturn;

const char kPaymentCapitals[] =
    "PA DEPARTMENT OF REVENUE\nPAYMENT ENCLOSED\n1 Revenue Place\nHarrisburg, PA 17129-0001";
const char kElectronic[] =
    "PA Department Of Revenue\nBureau of Individual Taxes\nDept. 280507\n"
    "Harrisburg, PA 17128-0507\n";
const char kCombatZone[] =
    "Combat Zone\nPA Department Of Revenue\nBrueau of Individual Taxes\nPO Box 280600\n"
    "Harrisburg, PA 17128-0600";
const char kPayment[] =
    "PA Department Of Revenue\nPAYMENT ENCLOSED\n1 Revenue Place\nHarrisburg, PA 17129-0001";
const char kRefund[] =
    "PA Department Of Revenue\nREFUND/CREDIT REQUESTED\n3 Revenue Place\n"
    "Harrisburg, PA 17129-0003";
const char kNeither[] =
    "PA Department Of Revenue\nNO PAYMENT/NO REFUND/NO CREDIT DUE\n2 Revenue Place\n"
    "Harrisburg, PA 17129-0002";

class MailingAddressTest : public PAReturnTest {
 protected:
  // The text of `kind`; also checks that nothing is written past the
  // terminator of the documented buffer.
  std::string address(int kind) {
    char buf[PATaxReturn::kTextBufferSize + 1];
    std::memset(buf, 'x', sizeof buf);
    pa->getMailingAddress(buf, kind);
    const size_t length = std::strlen(buf);
    EXPECT_LT(length, sizeof buf - 1);
    EXPECT_EQ(buf[length + 1], 'x');
    return buf;
  }
  // Text item `code`: its text, with the amount into `amount`.
  std::string item(int code, int32_t* amount) {
    char buf[PATaxReturn::kTextBufferSize] = "left over";
    *amount = 99;
    pa->getStateTextItem(buf, amount, code);
    return buf;
  }
  void owe(double owed, double refund) {
    number(kFormID_PA40, kPA40FieldIds[261], owed);
    number(kFormID_PA40, kPA40FieldIds[264], refund);
  }
  void combatZone() {
    put(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[170], DataMgmt::FieldValue::mark());
  }
};

TEST_F(MailingAddressTest, KindsTwoAndThreeArePaymentInCapitalsWhateverTheReturnHolds) {
  EFileMgmt::EFileMgrHandle::setStateReturnStatus(40, 2);
  combatZone();
  EXPECT_EQ(address(2), kPaymentCapitals);
  EXPECT_EQ(address(3), kPaymentCapitals);
  for (int kind : {1, 4, -1}) EXPECT_EQ(address(kind), "") << kind;
}

TEST_F(MailingAddressTest, KindZeroChoosesInOrder) {
  EXPECT_EQ(address(0), kNeither);
  owe(-30, 0);
  EXPECT_EQ(address(0), kNeither);
  owe(0, 120);
  EXPECT_EQ(address(0), kRefund);
  owe(50, 120);
  EXPECT_EQ(address(0), kPayment);
  owe(-30, 120);  // a negative amount owed does not hide the refund
  EXPECT_EQ(address(0), kRefund);
  owe(50, 120);
  combatZone();
  EXPECT_EQ(address(0), kCombatZone);
  EFileMgmt::EFileMgrHandle::setStateReturnStatus(40, 1);
  EXPECT_EQ(address(0), kCombatZone);
  EFileMgmt::EFileMgrHandle::setStateReturnStatus(40, 2);
  EXPECT_EQ(address(0), kElectronic);
}

TEST_F(MailingAddressTest, FirstCombatZoneAnswerCountsToo) {
  put(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[168], DataMgmt::FieldValue::mark());
  EXPECT_EQ(address(0), kCombatZone);
}

TEST_F(MailingAddressTest, BalanceItemShowsOwedElseRefundWithNegatedAmount) {
  int32_t amount;
  EXPECT_EQ(item(0, &amount), "0");
  EXPECT_EQ(amount, 0);
  owe(0, 120);
  EXPECT_EQ(item(0, &amount), "120");
  EXPECT_EQ(amount, -120);
  owe(-30, 120);  // non-zero owed answers, even negative
  EXPECT_EQ(item(0, &amount), "-30");
  EXPECT_EQ(amount, -30);
  owe(250, 120);
  EXPECT_EQ(item(0, &amount), "250");
  EXPECT_EQ(amount, 250);
  number(kFormID_PA40, kPA40FieldIds[207], 456);
  EXPECT_EQ(item(1, &amount), "456");
  EXPECT_EQ(amount, 456);
}

TEST_F(MailingAddressTest, FixedItems) {
  struct Case {
    int code;
    const char* text;
    int32_t amount;
  };
  const Case cases[] = {
      {2, "Pennsylvania Department of Revenue", 0},
      {3, "", 0},
      {4, "", 0},
      {5,
       "You must retain this form for four years in your records along with forms W-2, W-2G, "
       "1099R, Military Orders, Philadelphia IOD, scholarship documents, and other state returns.",
       0},
      {6, "", 2},  {7, "", 0},   {8, "", 1},  {9, "", 1},   {11, "", 0}, {12, "", 0},
      {13, "", 1}, {14, "", 0},  {-1, "", 0}, {766, "", 15}, {767, "", 0}};
  for (const Case& c : cases) {
    int32_t amount;
    EXPECT_EQ(item(c.code, &amount), c.text) << c.code;
    EXPECT_EQ(amount, c.amount) << c.code;
  }
  EXPECT_EQ(std::strlen(cases[3].text), 174u);
  pa->getStateTextItem(nullptr, nullptr, 5);  // tolerated
}

TEST_F(MailingAddressTest, InElfAndPaperCopyItems) {
  int32_t amount;
  pa->setInElf(true);
  item(3, &amount);
  EXPECT_EQ(amount, 3);
  number(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[49], 7);
  item(6, &amount);
  EXPECT_EQ(amount, 4);
  put(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[51], DataMgmt::FieldValue::mark());
  item(6, &amount);
  EXPECT_EQ(amount, 5);
}

TEST_F(MailingAddressTest, EFileBlockGivesTheFirstReason) {
  int32_t amount;
  EXPECT_EQ(item(10, &amount), "");
  EXPECT_EQ(amount, 1);
  const char* texts[] = {
      "The Pennsylvania Department of Revenue does not accept electronically filed tax returns "
      "from taxpayers who claim credits on PA Schedule OC",
      "This program does not support electronic filing for taxpayers filing a tax return with "
      "income from an Estate or Trust and reported on PA Schedule J",
      "This program does not support e-filing for nonresidents.",
      "This program does not support e-filing for part-year residents.",
      "This program does not support e-filing on behalf of a deceased taxpayer"};
  // Each reason added in turn outranks the ones before it.
  number(kFormID_PA40, kPA40FieldIds[232], 10);
  EXPECT_EQ(item(10, &amount), texts[0]);
  EXPECT_EQ(amount, 0);
  number(kFormID_PA40, kPA40FieldIds[199], 10);
  EXPECT_EQ(item(10, &amount), texts[1]);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[102]);
  EXPECT_EQ(item(10, &amount), texts[2]);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[103]);
  EXPECT_EQ(item(10, &amount), texts[3]);
  mark(kFormID_FedFilerInfo, kFedFilerInfoFieldIds[875]);
  EXPECT_EQ(item(10, &amount), texts[4]);
}

TEST_F(MailingAddressTest, MailHeadingOnlyForResidents) {
  int32_t amount;
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[102]);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[103]);
  EXPECT_EQ(item(11, &amount), "");
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[101]);
  EXPECT_EQ(item(11, &amount),
            "The following documents need to be mailed to the PA DOR even though you "
            "electronically filed:\n\n");
  EXPECT_EQ(amount, 0);
}

}  // namespace
