// The engine's identity answers, the federal W-2 counters, the information
// text copy and the name composers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "calc/pa/tests/pa40_sections_fixture.h"
#include "host/descriptors.h"

namespace {

class EngineHelpersTest : public PA40SectionTest {
 protected:
  static const FieldId& w2(int hostField) { return kFedW2FieldIds.byNumber(hostField); }
  // A federal W-2 copy with its owner marks and name.
  void fedW2(uint16_t copy, bool taxpayer, bool spouse, const std::string& name) {
    copyOf(kFormID_FedW2, copy);
    if (taxpayer) mark(kFormID_FedW2, w2(1), copy);
    if (spouse) mark(kFormID_FedW2, w2(2), copy);
    if (!name.empty()) text(kFormID_FedW2, w2(4), name, copy);
  }
};

TEST_F(EngineHelpersTest, FilingStatusFromTheInformationMarks) {
  struct Case {
    bool single, separate, joint;
    int status;
  } cases[] = {
      {false, false, false, 1}, {true, false, false, 1}, {false, false, true, 2},
      {false, true, false, 3},  {true, true, true, 3},   {true, false, true, 1},
  };
  for (const Case& c : cases) {
    restart();
    if (c.single) infoMark(55);
    if (c.separate) infoMark(56);
    if (c.joint) infoMark(57);
    EXPECT_EQ(c.status, engine->getFilingStatus()) << c.single << c.separate << c.joint;
  }
}

TEST_F(EngineHelpersTest, W2CountersNeedTheMarkAndAName) {
  EXPECT_EQ(0, engine->countW2CopiesMarkedFirstBox());
  EXPECT_EQ(0, engine->countW2CopiesMarkedSecondBox());

  fedW2(1, true, false, "ACME");
  fedW2(2, true, false, "");        // no name: not counted
  fedW2(3, true, true, "BOTH INC");  // counted by both
  fedW2(5, false, true, "WIDGETS");  // copy 4 is missing
  fedW2(6, false, false, "NOBODY");
  EXPECT_EQ(2, engine->countW2CopiesMarkedFirstBox());
  EXPECT_EQ(2, engine->countW2CopiesMarkedSecondBox());
}

TEST_F(EngineHelpersTest, CopyInfoTextIsNotCut) {
  const std::string longName(100, 'X');
  infoText(43, longName);
  engine->copyInfoTextToField(info(43), holder(kFormID_PA40), pa40(110));
  EXPECT_EQ(longName, textOf(110));
}

// The composers on a return whose description adds a test form with text
// fields of chosen maximum lengths.
class ComposerTest : public EngineHelpersTest {
 protected:
  static const int kTestForm = 99001;

  void SetUp() override {
    EngineHelpersTest::SetUp();
    DataMgmt::TaxReturnDescPtr base = DataMgmt::TaxReturnDesc::pennsylvania();
    DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(
        base->getReturnType(), base->getAbbreviation(), base->getFirstName(), base->getSecondName(),
        base->getDisplayName()));
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

  static FormId testForm() { return FormId(kTestForm, true); }
  // The test form's field whose maximum length is `length`.
  static FieldId field(int length) { return FieldId(length + 1); }

  std::string compose(int which, int length) {
    DataMgmt::TaxFormPtr target = pa->getFormOrCreate(testForm(), 1);
    switch (which) {
      case 1: engine->composeInfoPairText1(target, testForm(), field(length)); break;
      case 2: engine->composeInfoPairText2(target, testForm(), field(length)); break;
      case 3: engine->composeInfoPairText3(target, testForm(), field(length)); break;
      default: engine->composeInfoPairText4(target, testForm(), field(length)); break;
    }
    return pa->getFieldAsString(testForm(), 1, field(length));
  }
};

TEST_F(ComposerTest, NamePairs) {
  infoText(31, "  JOHN ");
  infoText(33, "SMITH");
  infoText(34, "JR");
  infoText(36, "MARY");
  infoText(37, "K");
  infoText(38, "JONES");
  EXPECT_EQ("JOHN", compose(1, 80));  // no initial, no trailing blank
  EXPECT_EQ("SMITH JR", compose(2, 80));
  EXPECT_EQ("MARY K", compose(3, 80));
  EXPECT_EQ("JONES", compose(4, 80));
}

TEST_F(ComposerTest, SourceWidthsCutEachPart) {
  infoText(31, "BARTHOLOMEW-JAMES");
  infoText(32, "QZ");
  infoText(33, "WOLFESCHLEGELSTEINHAUSEN");
  infoText(34, "III-X");
  EXPECT_EQ("BARTHOLOMEW- Q", compose(1, 80));
  EXPECT_EQ("WOLFESCHLEGELSTEINHA III", compose(2, 80));
}

TEST_F(ComposerTest, TargetLengthCutsTheComposedText) {
  infoText(33, "SMITH");
  infoText(34, "JR");
  EXPECT_EQ("SMITH", compose(2, 5));
  EXPECT_EQ("S", compose(2, 1));
  EXPECT_EQ("", compose(2, 0));
  infoText(34, "");
  EXPECT_EQ("SMITH", compose(2, 5));  // exactly the maximum stays whole
  infoText(33, "ABCDEFGHIJKLMNOPQRST");
  infoText(34, "SR");
  EXPECT_EQ("ABCDEFGHIJKLMNOP", compose(2, 16));
}

TEST_F(ComposerTest, MissingInformationFormWritesAnEmptyText) {
  DataMgmt::TaxFormPtr target = pa->getFormOrCreate(testForm(), 1);
  target->assignText(field(80), "OLD");
  ASSERT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1));
  EXPECT_EQ("", compose(1, 80));
}

}  // namespace
