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
    copyOf(kFormID_FedReturn);
    copyOf(kFormID_Fed55);
    copyOf(kFormID_Fed87);
    copyOf(kFormID_PA40);
  }
  // A PA-40 field used as the target of every pull.
  const FieldId& target() { return kPA40FieldIds[128]; }
  uint16_t targetLength() {
    return pa->getTaxFormDescriptor(kFormID_PA40)->getFieldDesc(target())->getLength();
  }
  void pull(int pcType, const FormId& returnForm = kFormID_FedReturn) {
    engine->pullCommonText(returnForm, kFormID_PA40, 1, target(), pcType);
  }
  std::string result() { return textOf(kFormID_PA40, target()); }
  bool isNull() { return pa->isNull(kFormID_PA40, 1, target()); }
  bool isProtected() { return copyOf(kFormID_PA40).isProtected(target()); }
  const FieldId& fi(int member) { return kFedFilerInfoFieldIds[member]; }
};

TEST_F(CommonTextPullTest, CodesOutsideTheRangeThrowInvalidPCType) {
  for (int pcType : {115, 151, 0, -3}) {
    try {
      pull(pcType);
      ADD_FAILURE() << pcType << " did not throw";
    } catch (const Exceptions::OrvaneException& e) {
      EXPECT_STREQ(e.what(), "Invalid PCType");
      EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
      EXPECT_EQ(e.getOperationName(), "pullCommonText");
    }
  }
}

TEST_F(CommonTextPullTest, AMissingCopyEndsThePullBeforeTheCodeIsExamined) {
  EXPECT_NO_THROW(engine->pullCommonText(kFormID_FedReturn, kFormID_PA40, 2, target(), 151));
  EXPECT_FALSE(pa->formExists(kFormID_PA40, 2));
}

TEST_F(CommonTextPullTest, AnyOtherReturnFormReadsFormEightySeven) {
  text(kFormID_PA40, target(), "old");
  pull(116, kFormID_Fed89);
  EXPECT_TRUE(isNull()) << "form 87 has no source for 116";
  text(kFormID_Fed87, kFed87FieldIds[132], "from 87");  // 64
  pull(130, kFormID_Fed89);
  EXPECT_EQ(result(), "from 87");
}

TEST_F(CommonTextPullTest, TextCopyIsCutToTheTargetLength) {
  const std::string longText(100, 'n');
  text(kFormID_FedReturn, kFedReturnFieldIds[324], longText);  // 21
  pull(116);
  EXPECT_EQ(result(), longText.substr(0, targetLength()));
  text(kFormID_Fed55, kFed55FieldIds[119], "form 55");  // 21
  pull(116, kFormID_Fed55);
  EXPECT_EQ(result(), "form 55");
}

TEST_F(CommonTextPullTest, APullFormEightySevenLacksSetsTheTargetNull) {
  text(kFormID_PA40, target(), "old");
  pull(116, kFormID_Fed87);
  EXPECT_TRUE(isNull());
  text(kFormID_PA40, target(), "old");
  pull(121, kFormID_Fed55);
  EXPECT_TRUE(isNull());
}

TEST_F(CommonTextPullTest, ValueCopies) {
  number(kFormID_FedFilerInfo, fi(1653), 486);   // 486
  pull(118);
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, target()), 486);
  number(kFormID_Fed55, kFed55FieldIds[235], 85);  // 85
  pull(128, kFormID_Fed55);
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, target()), 85);
}

// PC 120 keeps its format: the number as a signed 16-bit decimal.
TEST_F(CommonTextPullTest, NumberText120) {
  number(kFormID_FedFilerInfo, fi(1660), 0);
  text(kFormID_PA40, target(), "old");
  pull(120);
  EXPECT_TRUE(isNull());
  number(kFormID_FedFilerInfo, fi(1660), 4201);
  pull(120);
  EXPECT_EQ(result(), "4201");
  number(kFormID_FedFilerInfo, fi(1660), 70000);  // 70000 - 65536
  pull(120);
  EXPECT_EQ(result(), "4464");
}

TEST_F(CommonTextPullTest, NumberText120KeepsTheLastCharactersOfALongRendering) {
  // A box has length 1.
  const FieldId& box = kPAReturnInfoFieldIds[101];
  copyOf(kFormID_PAReturnInfo);
  number(kFormID_FedFilerInfo, fi(1660), 4201);
  engine->pullCommonText(kFormID_FedReturn, kFormID_PAReturnInfo, 1, box, 120);
  EXPECT_EQ(textOf(kFormID_PAReturnInfo, box), "1");
}

TEST_F(CommonTextPullTest, TextAndAmount123) {
  text(kFormID_FedReturn, kFedReturnFieldIds[653], " Paid to");  // 333
  pull(123);
  EXPECT_EQ(result(), "Paid to");
  number(kFormID_FedReturn, kFedReturnFieldIds[654], 75);  // 334
  pull(123);
  EXPECT_EQ(result(), "Paid to $75");
  pull(123, kFormID_Fed55);
  EXPECT_TRUE(isNull());
}

TEST_F(CommonTextPullTest, CombinedMark124) {
  mark(kFormID_FedFilerInfo, fi(1643));  // 493
  pull(124);
  EXPECT_TRUE(pa->formNo(kFormID_PA40, 1, target()));
  mark(kFormID_FedFilerInfo, fi(1670));  // 450
  pull(124);
  EXPECT_TRUE(pa->formYes(kFormID_PA40, 1, target()));
}

TEST_F(CommonTextPullTest, NoEntryUnprotectAndProtectedCopy) {
  pull(135);
  EXPECT_TRUE(copyOf(kFormID_PA40).stored(target()).noEntry);
  copyOf(kFormID_PA40).makeProtected(target());
  pull(142);
  EXPECT_FALSE(isProtected());
  text(kFormID_Fed87, kFed87FieldIds[128], "from 87");  // 48
  pull(129, kFormID_Fed87);
  EXPECT_TRUE(isProtected());
  EXPECT_EQ(result(), "from 87");
}

TEST_F(CommonTextPullTest, ProtectedInfoText141) {
  text(kFormID_FedFilerInfo, fi(1614), "  x  ");  // 671
  pull(141);
  EXPECT_TRUE(isProtected());
  EXPECT_EQ(result(), "x");
  text(kFormID_FedFilerInfo, fi(1614), "   ");
  pull(141);
  EXPECT_FALSE(isProtected());
}

TEST_F(CommonTextPullTest, ConditionalText147FallsBackToTheFilerInformation) {
  text(kFormID_FedReturn, kFedReturnFieldIds[539], "1112223334444");  // 471
  text(kFormID_FedFilerInfo, fi(1703), "999888777666");            // 392
  pull(147);
  EXPECT_EQ(result(), "999888777") << "field 184 is 0: the filer information";
  EXPECT_TRUE(isProtected());
  number(kFormID_FedReturn, kFedReturnFieldIds[538], 1);  // 184
  pull(147);
  EXPECT_EQ(result(), "111222333");
}

TEST_F(CommonTextPullTest, ChoiceMarks149And150) {
  copyOf(kFormID_PA40).makeProtected(target());
  text(kFormID_FedFilerInfo, fi(1703), "123");  // 392; 391 stays empty
  pull(149);
  EXPECT_FALSE(isProtected());
  copyOf(kFormID_PA40).makeProtected(target());
  pull(150);
  EXPECT_FALSE(isProtected());

  text(kFormID_FedFilerInfo, fi(1704), "456");              // 391
  number(kFormID_FedReturn, kFedReturnFieldIds[538], 1);    // 184
  mark(kFormID_FedReturn, kFedReturnFieldIds[541]);         // 473: choice 2
  pull(149);
  EXPECT_TRUE(isProtected());
  EXPECT_FALSE(pa->formYes(kFormID_PA40, 1, target()));
  pull(150);
  EXPECT_TRUE(pa->formYes(kFormID_PA40, 1, target()));
}

}  // namespace
