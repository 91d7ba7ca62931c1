// The payment voucher for the amount owed: the spouse's texts, the mark and
// the telephone number (the golden returns hold a joint voucher).
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

namespace V = PAEstimatedVouchers;

class PaymentVoucherTest : public PA40Test {
 protected:
  DataMgmt::TaxForm& voucher() { return copyOf(kFormID_PAEstimatedVouchers); }
  void run() { engine->computeEstimatedVouchers(holder(kFormID_PAEstimatedVouchers), 1, 1); }
};

// The spouse's texts only on a joint return; the copy is marked only for
// an owed amount the filer wants a voucher for.
TEST_F(PaymentVoucherTest, SpouseTextsAndMarking) {
  const struct {
    PADataMgmt::FilingStatus status;
    double owed;
    bool wanted, entered;
  } cases[] = {{PADataMgmt::kFilingJoint, 100, true, true},
               {PADataMgmt::kFilingSeparate, 100, false, false},
               {PADataMgmt::kFilingSingle, -5, true, false}};
  for (const auto& c : cases) {
    restart();
    text(kFormID_PAReturnInfo, PAReturnInfo::kSpouseSSN, "444-55-6666");
    text(kFormID_PAEstimatedVouchers, V::kSpouseSSN, "OLD");
    setFilingStatus(c.status);
    number(kFormID_PA40, PA40::kTotalPayment, c.owed);
    if (c.wanted) mark(kFormID_Fed183, Fed183::kPayByVoucherBox);
    run();
    EXPECT_EQ(voucher().valueText(V::kSpouseSSN), c.status == PADataMgmt::kFilingJoint ? "444-55-6666" : "");
    EXPECT_EQ(voucher().getIR(V::kAmountOwed), c.owed);
    EXPECT_EQ(entered(kFormID_PAEstimatedVouchers), c.entered) << c.owed << " " << c.wanted;
  }
}

// The federal telephone number, else the PA-40's, protected only when it
// holds one; a one-letter last name gives one letter.
TEST_F(PaymentVoucherTest, TheTelephoneNumberFallsBackToThePA40s) {
  copyOf(kFormID_FedReturn);
  text(kFormID_FedFilerInfo, FedFilerInfo::kDaytimePhone, " 215-555-0100 ");
  text(kFormID_PA40, PA40::kDaytimePhone, "717-555-0199");
  text(kFormID_PAReturnInfo, PAReturnInfo::kTaxpayerLastName, "Q");
  run();
  EXPECT_EQ(voucher().valueText(V::kDaytimePhone), "215-555-0100");
  EXPECT_TRUE(voucher().isProtected(V::kDaytimePhone));
  EXPECT_EQ(voucher().valueText(V::kNameInitials), "Q");
  for (const std::string phone : {"717-555-0199", ""}) {
    restart();
    copyOf(kFormID_FedReturn);
    text(kFormID_PA40, PA40::kDaytimePhone, phone);
    run();
    EXPECT_EQ(voucher().valueText(V::kDaytimePhone), phone);
    EXPECT_EQ(voucher().isProtected(V::kDaytimePhone), !phone.empty());
  }
}

}  // namespace
