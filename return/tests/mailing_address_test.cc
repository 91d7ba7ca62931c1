// Mailing addresses and state text items.
#include <cstring>
#include <string>

#include "host/efile.h"
#include "return/tests/pa_return_fixture.h"

namespace {

using PADataMgmt::PATaxReturn;

// The department's texts, "Brueau" included.
const char kHarrisburg1[] = "1 Revenue Place\nHarrisburg, PA 17129-0001";
const std::string kPaymentCapitals = std::string("PA DEPARTMENT OF REVENUE\nPAYMENT ENCLOSED\n") + kHarrisburg1;
const std::string kPayment = std::string("PA Department Of Revenue\nPAYMENT ENCLOSED\n") + kHarrisburg1;
const char kElectronic[] =
    "PA Department Of Revenue\nBureau of Individual Taxes\nDept. 280507\nHarrisburg, PA 17128-0507\n";
const char kCombatZone[] =
    "Combat Zone\nPA Department Of Revenue\nBrueau of Individual Taxes\nPO Box 280600\nHarrisburg, PA 17128-0600";
const char kRefund[] = "PA Department Of Revenue\nREFUND/CREDIT REQUESTED\n3 Revenue Place\nHarrisburg, PA 17129-0003";
const char kNeither[] =
    "PA Department Of Revenue\nNO PAYMENT/NO REFUND/NO CREDIT DUE\n2 Revenue Place\nHarrisburg, PA 17129-0002";

class MailingAddressTest : public PAReturnTest {
 protected:
  // The text of `kind`; nothing is written past the terminator.
  std::string address(int kind) {
    char buf[PATaxReturn::kTextBufferSize + 1];
    std::memset(buf, 'x', sizeof buf);
    pa->getMailingAddress(buf, kind);
    EXPECT_EQ(buf[std::strlen(buf) + 1], 'x');
    return buf;
  }
  // Text item `code` as "text|amount".
  std::string item(int code) {
    char buf[PATaxReturn::kTextBufferSize] = "left over";
    int32_t amount = 99;
    pa->getStateTextItem(buf, &amount, code);
    return std::string(buf) + "|" + std::to_string(amount);
  }
  void owe(double owed, double refund) {
    number(kFormID_PA40, PA40::kTotalPayment, owed);
    number(kFormID_PA40, PA40::kRefund, refund);
  }
};

// Kind 0: electronic filing, a combat zone, an amount owed (whatever the
// refund), a refund or an overpayment credited or donated (a negative
// amount owed does not hide it), neither.
// Kinds 2 and 3: the payment address in capitals; any other kind: "".
TEST_F(MailingAddressTest, KindZeroChoosesInOrderAndKindsTwoAndThreeArePaymentInCapitals) {
  EXPECT_EQ(address(0), kNeither);
  owe(-30, 120);
  EXPECT_EQ(address(0), kRefund);
  // An overpayment credited to next year or donated, none refunded.
  owe(0, 0);
  number(kFormID_PA40, PA40::kOverpayment, 129);
  EXPECT_EQ(address(0), kRefund);
  owe(50, 120);
  EXPECT_EQ(address(0), kPayment);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kSecondCombatZoneYesBox);
  EXPECT_EQ(address(0), kCombatZone);
  EFileMgmt::EFileMgrHandle::setStateReturnStatus(40, 2);
  EXPECT_EQ(address(0), kElectronic);
  for (int kind : {2, 3}) EXPECT_EQ(address(kind), kPaymentCapitals);
  for (int kind : {1, 4, -1}) EXPECT_EQ(address(kind), "") << kind;
  freshReturns();
  mark(kFormID_PAReturnInfo, PAReturnInfo::kCombatZoneYesBox);
  EXPECT_EQ(address(0), kCombatZone);
}

// Item 0: the amount owed when not 0 (even negative), else the refund as a
// negative amount; item 1 the tax; items that set nothing; codes outside
// the table answer as item 12, but the filer information code 766 15.
TEST_F(MailingAddressTest, BalanceTaxAndFixedItems) {
  EXPECT_EQ(item(0), "0|0");
  owe(0, 120);
  EXPECT_EQ(item(0), "120|-120");
  owe(-30, 120);
  EXPECT_EQ(item(0), "-30|-30");
  number(kFormID_PA40, PA40::kTaxLiability, 456);
  EXPECT_EQ(item(1), "456|456");
  const std::pair<int, const char*> fixed[] = {
      {2, "Pennsylvania Department of Revenue|0"}, {4, "|0"}, {7, "|0"}, {12, "|0"}, {766, "|15"}, {767, "|0"}};
  for (const auto& f : fixed) EXPECT_EQ(item(f.first), f.second) << f.first;
  EXPECT_EQ(item(5).size(), 174u + 2);
  pa->getStateTextItem(nullptr, nullptr, 5);  // tolerated
}

TEST_F(MailingAddressTest, InElfPaperCopiesAndMailHeading) {
  pa->setInElf(true);
  EXPECT_EQ(item(3), "|3");
  number(kFormID_PAReturnInfo, PAReturnInfo::kSpousePin, 7);
  EXPECT_EQ(item(6), "|4");
  mark(kFormID_PAReturnInfo, PAReturnInfo::kDebitPaymentBox);
  EXPECT_EQ(item(6), "|5");
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  EXPECT_EQ(item(11), "|0");
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox);
  EXPECT_EQ(
      item(11),
      "The following documents need to be mailed to the PA DOR even though you electronically filed:\n\n|0");
}

// Each reason added in turn outranks the ones before it.
TEST_F(MailingAddressTest, EFileBlockGivesTheFirstReason) {
  EXPECT_EQ(item(10), "|1");
  const char kNoEfile[] = "This program does not support e";
  number(kFormID_PA40, PA40::kOtherCredits, 10);
  EXPECT_EQ(item(10),
            "The Pennsylvania Department of Revenue does not accept electronically filed tax returns "
            "from taxpayers who claim credits on PA Schedule OC|0");
  number(kFormID_PA40, PA40::kEstateTrustIncome, 10);
  EXPECT_EQ(item(10), std::string(kNoEfile) +
                          "lectronic filing for taxpayers filing a tax return with income from an Estate or Trust "
                          "and reported on PA Schedule J|0");
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  EXPECT_EQ(item(10), std::string(kNoEfile) + "-filing for nonresidents.|0");
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
  EXPECT_EQ(item(10), std::string(kNoEfile) + "-filing for part-year residents.|0");
  mark(kFormID_FedFilerInfo, FedFilerInfo::kSpouseDeceasedBox);
  EXPECT_EQ(item(10), std::string(kNoEfile) + "-filing on behalf of a deceased taxpayer|0");
}

}  // namespace
