// The name composers (Schedule W2-S's test counts the federal W-2s).
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"

namespace {

// The composers write "first second" from two information-form fields,
// each part cut to its width, the whole cut to the target's length; a
// target form with text fields of chosen lengths is added to the return.
class ComposerTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    DataMgmt::TaxReturnDescPtr base = DataMgmt::TaxReturnDesc::pennsylvania();
    DataMgmt::TaxReturnDescPtr desc(
        new DataMgmt::TaxReturnDesc(base->getReturnType(), base->getAbbreviation(), base->getFirstName(),
                                    base->getSecondName(), base->getDisplayName()));
    for (const DataMgmt::TaxFormDescPtr& form : base->getTaxFormDescriptorsInDisplayOrder()) {
      desc->registerForm(form);
    }
    DataMgmt::TaxFormDescPtr test(new DataMgmt::TaxFormDesc(testForm(), "TEST", "Test form"));
    for (int length : {0, 1, 5, 16, 80}) {
      test->addField(DataMgmt::FormFieldDescPtr(new DataMgmt::FormFieldDesc(
          field(length), DataMgmt::kTextField, static_cast<uint16_t>(length), 0, false,
          "kTEST_F" + std::to_string(length + 1), "F" + std::to_string(length + 1))));
    }
    desc->registerForm(test);
    engine.reset();
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, desc, Utils::StringPool::shared()));
    engine.reset(new ProbeEngine(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }
  static FormId testForm() { return FormId(99001, true); }
  static FieldId field(int length) { return FieldId(length + 1); }  // the field of that maximum length

  void info(const FieldId& field, const std::string& value) { text(kFormID_PAReturnInfo, field, value); }
  std::string compose(int which, int length) {
    DataMgmt::TaxFormPtr target = pa->getFormOrCreate(testForm(), 1);
    if (which == 1) engine->composeInfoPairText1(target, testForm(), field(length));
    if (which == 2) engine->composeInfoPairText2(target, testForm(), field(length));
    if (which == 3) engine->composeInfoPairText3(target, testForm(), field(length));
    if (which == 4) engine->composeInfoPairText4(target, testForm(), field(length));
    return pa->getFieldAsString(testForm(), 1, field(length));
  }
};

TEST_F(ComposerTest, NamePairsCutToTheirWidthsAndTheTarget) {
  EXPECT_EQ("", compose(1, 80));  // no information form: the empty text
  info(PAReturnInfo::kTaxpayerFirstName, "BARTHOLOMEW-JAMES");
  info(PAReturnInfo::kTaxpayerMiddleInitial, "QZ");
  info(PAReturnInfo::kTaxpayerLastName, "WOLFESCHLEGELSTEINHAUSEN");
  info(PAReturnInfo::kTaxpayerNameSuffix, "III-X");
  info(PAReturnInfo::kSpouseFirstName, "  MARY ");
  info(PAReturnInfo::kSpouseLastName, "JONES");
  EXPECT_EQ("BARTHOLOMEW- Q", compose(1, 80));
  EXPECT_EQ("WOLFESCHLEGELSTEINHA III", compose(2, 80));
  EXPECT_EQ("MARY", compose(3, 80));  // no initial, no trailing blank
  EXPECT_EQ("JONES", compose(4, 80));
  EXPECT_EQ("WOLFESCHLEGELSTE", compose(2, 16));
  EXPECT_EQ("W", compose(2, 1));
  EXPECT_EQ("", compose(2, 0));
  EXPECT_EQ("JONES", compose(4, 5));  // exactly the maximum stays whole
}

}  // namespace
