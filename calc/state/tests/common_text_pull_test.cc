// pullCommonText: one state field from the federal return by pull code.
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/descriptors.h"
#include "host/orvane_exception.h"

namespace {

class CommonTextPullTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    for (const FormId* form : {&kFormID_FedReturn, &kFormID_Fed55, &kFormID_Fed87, &kFormID_PA40})
      copyOf(*form);
  }
  // A PA-40 text field is the target of every pull; a null result reads "null".
  const FieldId& target() { return PA40::kAddressLineTwo; }
  std::string pull(int pcType, const FormId& returnForm = kFormID_FedReturn) {
    text(kFormID_PA40, target(), "old");
    engine->pullCommonText(returnForm, kFormID_PA40, 1, target(), pcType);
    return isNull(kFormID_PA40, target()) ? "null" : textOf(kFormID_PA40, target());
  }
  bool targetProtected() { return isProtected(kFormID_PA40, target()); }
};

TEST_F(CommonTextPullTest, CodesOutsideTheRangeThrowOnlyWhenBothCopiesExist) {
  for (int pcType : {115, 151, 0}) {
    try {
      pull(pcType);
      ADD_FAILURE() << pcType << " did not throw";
    } catch (const Exceptions::OrvaneException& e) {
      EXPECT_STREQ(e.what(), "Invalid PCType");
      EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
      EXPECT_EQ(e.getOperationName(), "pullCommonText");
    }
  }
  EXPECT_NO_THROW(engine->pullCommonText(kFormID_FedReturn, kFormID_PA40, 2, target(), 151));
}

// Texts are cut to the target's length; a form without the source sets the
// target null; any other return form reads form 87. 120 is the number as a
// signed 16-bit decimal, 0 as null; 123 the stripped text and the amount.
TEST_F(CommonTextPullTest, CopiesAndComposedTexts) {
  const uint16_t length = pa->getTaxFormDescriptor(kFormID_PA40)->getFieldDesc(target())->getLength();
  text(kFormID_FedReturn, FedReturn::kHeaderText, std::string(100, 'n'));
  text(kFormID_Fed55, Fed55::kHeaderText, "form 55");
  text(kFormID_Fed87, Fed87::kSpouseOccupation, "from 87");
  number(kFormID_FedFilerInfo, FedFilerInfo::kValuePullItem, 486);
  text(kFormID_FedReturn, FedReturn::kWriteInAdjustmentText, " Paid to");
  EXPECT_EQ(pull(116), std::string(length, 'n'));
  EXPECT_EQ(pull(116, kFormID_Fed55), "form 55");
  EXPECT_EQ(pull(116, kFormID_Fed87), "null");
  EXPECT_EQ(pull(121, kFormID_Fed55), "null");
  EXPECT_EQ(pull(130, kFormID_Fed89), "from 87");
  EXPECT_EQ(pull(118, kFormID_Fed55), "486");
  EXPECT_EQ(pull(123), "Paid to");
  number(kFormID_FedReturn, FedReturn::kWriteInAdjustment, 75);
  EXPECT_EQ(pull(123), "Paid to $75");
  EXPECT_EQ(pull(123, kFormID_Fed55), "null");
  const std::pair<double, const char*> numbers[] = {{0, "null"}, {70000, "4464"}, {4201, "4201"}};
  for (const auto& n : numbers) {
    number(kFormID_FedFilerInfo, FedFilerInfo::kNumberPullItem, n.first);
    EXPECT_EQ(pull(120), n.second);
  }
  // A rendering longer than the target (a box) keeps its last characters.
  copyOf(kFormID_PAReturnInfo);
  engine->pullCommonText(kFormID_FedReturn, kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox, 120);
  EXPECT_EQ(textOf(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox), "1");
}

TEST_F(CommonTextPullTest, DirectDepositTextFallsBackToTheFilerInformationAndBoxesNeedBothNumbers) {
  text(kFormID_FedReturn, FedReturn::kRoutingNumber, "1112223334444");
  text(kFormID_FedFilerInfo, FedFilerInfo::kRoutingNumber, "999888777666");
  EXPECT_EQ(pull(147), "999888777") << "no direct-deposit refund on form 1";
  EXPECT_TRUE(targetProtected());
  number(kFormID_FedReturn, FedReturn::kDirectDepositRefund, 1);
  EXPECT_EQ(pull(147), "111222333");
  // 149 and 150 unprotect their box while the filer information lacks the
  // account number; then form 1's savings box chooses 150.
  for (int pcType : {149, 150}) {
    copyOf(kFormID_PA40).makeProtected(target());
    pull(pcType);
    EXPECT_FALSE(targetProtected()) << pcType;
  }
  text(kFormID_FedFilerInfo, FedFilerInfo::kAccountNumber, "456");
  mark(kFormID_FedReturn, FedReturn::kSavingsAccountBox);
  pull(149);
  EXPECT_TRUE(targetProtected());
  EXPECT_FALSE(pa->formYes(kFormID_PA40, 1, target()));
  pull(150);
  EXPECT_TRUE(pa->formYes(kFormID_PA40, 1, target()));
}

}  // namespace
