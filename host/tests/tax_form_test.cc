// The value model of one copy: reads, writes, boxes, groups and flags.
#include <algorithm>
#include <cmath>
#include <vector>

#include "gtest/gtest.h"
#include "host/form_defaults.h"
#include "host/form_field.h"
#include "host/rounding.h"
#include "host/stand_in.h"
#include "host/tax_return.h"

namespace {

using DataMgmt::FieldValue;
using DataMgmt::TaxFormPtr;
using Primitives::kNullFieldID;
using Primitives::OVImmutableFormIdentifier;
using Primitives::OVImmutableIdentifier;
typedef OVImmutableIdentifier Id;

const OVImmutableFormIdentifier kPA40(169, true);
const OVImmutableFormIdentifier kState16(16, true);  // fields 1-197: 2-29 texts, the rest numbers

class TaxFormTest : public ::testing::Test {
 protected:
  TaxFormTest()
      : ret_(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()) {
    StandIn::resetAll();
    form_ = ret_.getFormOrCreate(kState16, 1);
  }
  ~TaxFormTest() override { StandIn::resetAll(); }

  DataMgmt::TaxReturn ret_;
  TaxFormPtr form_;
};

TEST_F(TaxFormTest, MissingFieldsAndEmptyIdsReadAsNothing) {
  for (Id id : {Id(5), Id(0), Id(-3)}) {
    EXPECT_EQ(0, form_->getIN(id));
    EXPECT_EQ(0.0, form_->getIR(id));
    EXPECT_TRUE(form_->isNull(id));
    EXPECT_FALSE(form_->xMarked(id));
    EXPECT_EQ("", form_->valueText(id));
  }
  form_->assignIR(Id(0), 5);
  form_->setX(Id(-1));
  form_->makeProtected(kNullFieldID);
  EXPECT_TRUE(form_->fields().empty());
}

TEST_F(TaxFormTest, TextsAndBoxesReadAsNumbers) {
  form_->assignText(Id(1), " 1,234.56 dollars");
  form_->assignText(Id(2), "abc");
  form_->assignText(Id(3), "-.5");
  form_->setX(Id(4));
  form_->setXNo(Id(5));
  EXPECT_DOUBLE_EQ(1234.56, form_->getIR(Id(1)));
  EXPECT_EQ(1235, form_->getIN(Id(1)));
  EXPECT_EQ(0, form_->getIN(Id(2)));
  EXPECT_EQ(-1, form_->getIN(Id(3)));
  EXPECT_EQ(0, form_->getIN(Id(4)));
  EXPECT_EQ(0, form_->getIN(Id(5)));
  EXPECT_EQ(29, (form_->assignIR(Id(6), 0.29 * 100), form_->getIN(Id(6))));
}

TEST_F(TaxFormTest, OverriddenFieldsSkipEveryModuleWrite) {
  form_->assignIR(Id(1), 10);
  form_->setOverridden(Id(1), true);
  form_->assignIR(Id(1), 20);
  form_->setNull(Id(1));
  form_->setX(Id(1));
  form_->plus2(Id(1), Id(2), Id(3));
  EXPECT_EQ(10, form_->getIN(Id(1)));
  EXPECT_FALSE(form_->noOverride(Id(1)));
  form_->store(Id(1), FieldValue::of(30));  // the fixture door bypasses it
  EXPECT_EQ(30, form_->getIN(Id(1)));
  form_->setOverridden(Id(1), false);
  form_->assignIR(Id(1), 40);
  EXPECT_EQ(40, form_->getIN(Id(1)));
}

TEST_F(TaxFormTest, NonFiniteWritesStoreNullAndAreCounted) {
  form_->assignIR(Id(1), 5);
  form_->assignIR(Id(1), std::nan(""));
  EXPECT_TRUE(form_->isNull(Id(1)));
  form_->assignIR(Id(2), 1e308);
  form_->timesIR(Id(3), Id(2), 10.0);  // overflows to infinity
  EXPECT_TRUE(form_->isNull(Id(3)));
  EXPECT_EQ(2, StandIn::diagnostics().nonFiniteWrites);
}

TEST_F(TaxFormTest, WritesToUnknownFieldsAreStoredAndCounted) {
  form_->assignIR(Id(197), 1);
  EXPECT_EQ(0, StandIn::diagnostics().unknownFieldWrites);
  form_->assignIR(Id(99999), 7);
  form_->store(Id(99998), FieldValue::ofText("x"));
  EXPECT_EQ(7, form_->getIN(Id(99999)));
  EXPECT_EQ(2, StandIn::diagnostics().unknownFieldWrites);
}

TEST_F(TaxFormTest, TextsWrittenIntoOtherFieldsAreCounted) {
  const Id kText(2), kNumber(100);  // State 16: field 2 is a text, 100 a number
  form_->assignText(kText, "Keller");
  form_->assignII(kNumber, kText);
  ret_.getII(kState16, kText, form_, Id(101));
  form_->store(Id(102), FieldValue::ofText("fixture"));  // not a module write
  form_->assignIR(kText, 5);
  EXPECT_EQ(2, StandIn::diagnostics().textIntoOtherFields);
  EXPECT_EQ("Keller", form_->valueText(kNumber));  // still stored
}

// Whole reads saturate at kMaxWholeAmount, so sums of them never overflow.
TEST_F(TaxFormTest, WholeAmountsSaturateSoSumsCannotOverflow) {
  const long kMax = Utils::kMaxWholeAmount;
  for (int f = 1; f <= 6; ++f) form_->assignIR(Id(f), 2e18);
  form_->assignIR(Id(7), -1e300);
  EXPECT_EQ(kMax, form_->getIN(Id(1)));
  EXPECT_EQ(-kMax, form_->getIN(Id(7)));
  EXPECT_EQ(kMax, form_->sumOf6(Id(1), Id(2), Id(3), Id(4), Id(5), Id(6)));
  EXPECT_EQ(kMax, form_->sumOf2(Id(1), Id(2)));
  EXPECT_EQ(0, form_->sumOf2(Id(1), Id(7)));
  for (uint16_t copy = 2; copy <= 999; ++copy) {
    ret_.getFormOrCreate(kState16, copy)->assignIR(Id(1), 9e18);
  }
  EXPECT_EQ(kMax, ret_.getAllCopies(kState16, Id(1)));
  form_->assignIR(Id(8), kMax - 1);
  EXPECT_EQ(kMax - 1, form_->getIN(Id(8)));  // exact up to the bound
}

TEST_F(TaxFormTest, ArithmeticWorksOnUnroundedValuesAndNeverGivesNull) {
  form_->assignIR(Id(1), 0.4);
  form_->assignIR(Id(2), 0.4);
  form_->plus2(Id(10), Id(1), Id(2));
  EXPECT_DOUBLE_EQ(0.8, form_->getIR(Id(10)));
  EXPECT_EQ(0, form_->sumOf2(Id(1), Id(2)));  // 0 + 0: sums of whole reads
  form_->plus8(Id(11), Id(90), Id(91), Id(92), Id(93), Id(94), Id(95), Id(96), Id(97));
  EXPECT_FALSE(form_->isNull(Id(11)));
  EXPECT_EQ(0.0, form_->getIR(Id(11)));
  form_->assignIR(Id(3), 7);
  form_->minusII(Id(12), Id(1), Id(3));
  EXPECT_DOUBLE_EQ(-6.6, form_->getIR(Id(12)));
  form_->minusIIge0(Id(13), Id(1), Id(3));
  EXPECT_EQ(0.0, form_->getIR(Id(13)));
  form_->minusRI(Id(14), 10, Id(3));
  EXPECT_EQ(3, form_->getIN(Id(14)));
  form_->minII(Id(15), Id(1), Id(3));
  form_->maxII(Id(16), Id(1), Id(3));
  form_->minIR(Id(17), Id(3), 5.5);
  form_->maxIR(Id(18), Id(3), 5.5);
  form_->timesIR(Id(19), Id(3), 0.0307);
  EXPECT_DOUBLE_EQ(0.4, form_->getIR(Id(15)));
  EXPECT_DOUBLE_EQ(7.0, form_->getIR(Id(16)));
  EXPECT_DOUBLE_EQ(5.5, form_->getIR(Id(17)));
  EXPECT_DOUBLE_EQ(7.0, form_->getIR(Id(18)));
  EXPECT_DOUBLE_EQ(7 * 0.0307, form_->getIR(Id(19)));
  form_->zero(Id(20));
  EXPECT_FALSE(form_->isNull(Id(20)));
}

TEST_F(TaxFormTest, AssignIICopiesTheWholeValueButNoFlags) {
  form_->assignText(Id(1), "text");
  form_->makeProtected(Id(1));
  form_->assignII(Id(2), Id(1));
  EXPECT_EQ("text", form_->valueText(Id(2)));
  EXPECT_FALSE(form_->isProtected(Id(2)));
  form_->setX(Id(3));
  form_->assignII(Id(4), Id(3));
  EXPECT_TRUE(form_->xMarked(Id(4)));
  form_->assignII(Id(4), Id(50));  // never stored: null
  EXPECT_TRUE(form_->isNull(Id(4)));
}

TEST_F(TaxFormTest, VariadicListsEndAtNullOrEmptyIdAndReadAtMost64) {
  for (int i = 1; i <= 70; ++i) form_->assignIR(Id(i), 1);
  const Id a(1), b(2), c(3);
  form_->setValueToSumOf(Id(100), &a, &b, static_cast<const Id*>(nullptr), &c);
  EXPECT_EQ(2, form_->getIN(Id(100)));
  form_->setValueToSumOf(Id(101), &a, &kNullFieldID, &b);
  EXPECT_EQ(1, form_->getIN(Id(101)));
  form_->setValueToSumOf(Id(102), static_cast<const Id*>(nullptr));
  EXPECT_FALSE(form_->isNull(Id(102)));
  // 70 valid pointers: only the first 64 are read.
  std::vector<Id> ids;
  for (int i = 1; i <= 70; ++i) ids.emplace_back(i);
  const Id* p = ids.data();
  form_->setValueToSumOf(
      Id(103), p, p + 1, p + 2, p + 3, p + 4, p + 5, p + 6, p + 7, p + 8, p + 9, p + 10, p + 11,
      p + 12, p + 13, p + 14, p + 15, p + 16, p + 17, p + 18, p + 19, p + 20, p + 21, p + 22,
      p + 23, p + 24, p + 25, p + 26, p + 27, p + 28, p + 29, p + 30, p + 31, p + 32, p + 33,
      p + 34, p + 35, p + 36, p + 37, p + 38, p + 39, p + 40, p + 41, p + 42, p + 43, p + 44,
      p + 45, p + 46, p + 47, p + 48, p + 49, p + 50, p + 51, p + 52, p + 53, p + 54, p + 55,
      p + 56, p + 57, p + 58, p + 59, p + 60, p + 61, p + 62, p + 63, p + 64, p + 65, p + 66,
      p + 67, p + 68, p + 69);
  EXPECT_EQ(64, form_->getIN(Id(103)));
  form_->setValueToSumOf(Id(104), {a, b, c, Id(0)});
  EXPECT_EQ(3, form_->getIN(Id(104)));
}

TEST_F(TaxFormTest, OneMarkAndNoAreDistinctStates) {
  form_->setX(Id(1));
  form_->setYes(Id(2));
  EXPECT_TRUE(ret_.formYes(kState16, 1, Id(1)));
  EXPECT_TRUE(form_->xMarked(Id(2)));
  EXPECT_FALSE(ret_.formNo(kState16, 1, Id(1)));
  form_->setXNo(Id(1));  // replaces the mark
  EXPECT_FALSE(form_->xMarked(Id(1)));
  EXPECT_TRUE(ret_.formNo(kState16, 1, Id(1)));
  EXPECT_FALSE(ret_.formNo(kState16, 1, Id(3)));  // null is not No
}

// Group rules: marks before -> marks after, per operation.
struct GroupCase {
  const char* name;
  std::vector<int> marked;    // fields holding the mark before
  std::vector<int> markAfter; // fields holding the mark after
  std::vector<int> noAfter;   // fields holding No after
};

void expectMarks(const TaxFormPtr& form, const GroupCase& c) {
  for (int f = 1; f <= 20; ++f) {
    const bool mark = std::find(c.markAfter.begin(), c.markAfter.end(), f) != c.markAfter.end();
    const bool no = std::find(c.noAfter.begin(), c.noAfter.end(), f) != c.noAfter.end();
    EXPECT_EQ(mark, form->xMarked(Id(f))) << c.name << " field " << f;
    EXPECT_EQ(no, form->isNo(Id(f))) << c.name << " field " << f;
  }
}

TEST_F(TaxFormTest, OneXKeepsTheFirstMarkInArgumentOrder) {
  const GroupCase cases[] = {
      {"none", {}, {}, {}},
      {"one", {2}, {2}, {}},
      {"two", {1, 3}, {1}, {3}},
      {"three", {1, 2, 3}, {1}, {2, 3}},
  };
  for (const GroupCase& c : cases) {
    TaxFormPtr form = ret_.getFormOrCreate(kState16, 2);
    for (int f = 1; f <= 20; ++f) form->setNull(Id(f));
    for (int f : c.marked) form->setX(Id(f));
    form->oneX(Id(1), Id(2), Id(3));
    expectMarks(form, c);
  }
  form_->setX(Id(3));
  form_->setX(Id(9));
  form_->oneX9(Id(9), Id(0), Id(2), Id(3), Id(9), Id(4), Id(5), Id(6), Id(7));
  EXPECT_TRUE(form_->xMarked(Id(9)));
  EXPECT_TRUE(form_->isNo(Id(3)));
}

TEST_F(TaxFormTest, SetDefaultXMarksTheFirstArgumentWhenNoneIsMarked) {
  // (a, b, c) as the callers pass them, including repeats.
  const int groups[][3] = {{15, 16, 16}, {12, 12, 13}, {16, 17, 18}, {17, 16, 18}, {12, 13, 12}};
  for (const auto& g : groups) {
    TaxFormPtr form = ret_.getFormOrCreate(kState16, 3);
    for (int f = 1; f <= 20; ++f) form->setNull(Id(f));
    Utils::setDefaultX(form, Id(g[0]), Id(g[1]), Id(g[2]));
    EXPECT_TRUE(form->xMarked(Id(g[0])));
    for (int f : {g[1], g[2]}) {
      if (f != g[0]) {
        EXPECT_TRUE(form->isNo(Id(f)));
      }
    }
    // Marked members (even two of them) leave every member as it is.
    for (int f = 1; f <= 20; ++f) form->setNull(Id(f));
    form->setX(Id(g[2]));
    form->setX(Id(g[1]));
    Utils::setDefaultX(form, Id(g[0]), Id(g[1]), Id(g[2]));
    EXPECT_EQ(g[0] == g[1] || g[0] == g[2], form->xMarked(Id(g[0])));
    EXPECT_FALSE(form->isNo(Id(g[0])));
    EXPECT_TRUE(form->xMarked(Id(g[1])));
    EXPECT_TRUE(form->xMarked(Id(g[2])));
  }
  Utils::setDefaultX(TaxFormPtr(), Id(1), Id(2), Id(3));  // no form: nothing happens
}

TEST_F(TaxFormTest, DefaultGroupsApplyOneXThenTheDefault) {
  form_->setX(Id(1));
  form_->setX(Id(2));
  form_->oneX2AndDefault(Id(1), Id(2));
  expectMarks(form_, {"both", {}, {1}, {2}});
  for (int f = 1; f <= 20; ++f) form_->setNull(Id(f));
  Utils::handleFilingChoice(form_, Id(1), Id(2));
  expectMarks(form_, {"neither", {}, {1}, {2}});
  for (int f = 1; f <= 20; ++f) form_->setNull(Id(f));
  form_->setX(Id(4));
  form_->oneX4AndDefault(Id(1), Id(2), Id(3), Id(4));
  expectMarks(form_, {"last", {}, {4}, {}});
  for (int f = 1; f <= 20; ++f) form_->setNull(Id(f));
  form_->oneXAndDefault(Id(0), Id(5), Id(6));  // empty ids are skipped
  expectMarks(form_, {"empties", {}, {5}, {6}});
}

TEST_F(TaxFormTest, SetOptionGroupSelectionKeepsTheFirstMark) {
  form_->setX(Id(2));
  form_->setX(Id(3));
  const Id a(1), b(3), c(2);
  form_->setOptionGroupSelection(&a, &b, &c, &kNullFieldID);
  expectMarks(form_, {"variadic", {}, {3}, {2}});
  form_->setX(Id(2));
  form_->setOptionGroupSelection({Id(2), Id(3)});
  expectMarks(form_, {"list", {}, {2}, {3}});
}

TEST_F(TaxFormTest, ProtectionIsForUserEntryOnly) {
  form_->makeProtected(Id(1));
  form_->assignIR(Id(1), 5);  // module writes ignore it
  EXPECT_EQ(5, form_->getIN(Id(1)));
  form_->setNull(Id(1));
  EXPECT_TRUE(form_->isProtected(Id(1)));
  form_->assignIR(Id(1), 6);
  form_->unprotectAndMaybeSetNull(Id(1));
  EXPECT_FALSE(form_->isProtected(Id(1)));
  EXPECT_TRUE(form_->isNull(Id(1)));

  form_->assignIR(Id(2), 7);  // the user's own entry stays
  form_->unprotectAndMaybeSetNull(Id(2));
  EXPECT_EQ(7, form_->getIN(Id(2)));

  form_->assignIR(Id(3), 8);
  form_->makeProtectedAndSetNull(Id(3));
  EXPECT_TRUE(form_->isProtected(Id(3)));
  EXPECT_TRUE(form_->isNull(Id(3)));
  form_->unProtect(Id(3));
  EXPECT_FALSE(form_->isProtected(Id(3)));
}

TEST_F(TaxFormTest, SignificantValues) {
  form_->assignIR(Id(1), 0);
  form_->assignIR(Id(2), 0.001);
  form_->assignText(Id(3), "   ");
  form_->assignText(Id(4), "  a");
  form_->setX(Id(5));
  form_->setXNo(Id(6));
  const bool expected[] = {false, false, true, false, true, true, false};
  for (int f = 0; f <= 6; ++f) {
    EXPECT_EQ(expected[f], ret_.hasSigValue(kState16, 1, Id(f))) << f;
    EXPECT_EQ(!expected[f], ret_.noSigValue(kState16, 1, Id(f))) << f;
  }
}

TEST_F(TaxFormTest, CopyFlagsAndTheDirtyFlag) {
  EXPECT_FALSE(form_->isPrintFlag());
  EXPECT_FALSE(form_->isDataEntered());
  ret_.setDataEntered(kState16, 1, true, true);
  EXPECT_TRUE(form_->isDataEntered());
  EXPECT_TRUE(form_->isPrintFlag());
  EXPECT_TRUE(form_->dataEnteredByUser());
  form_->setPrintingEnabled(false);
  EXPECT_TRUE(form_->isDataEntered());
  ret_.setDataEntered(kState16, 1, false, false);
  EXPECT_FALSE(form_->isPrintFlag());
  ret_.setDataEntered(kState16, 9, true, false);  // no such copy: nothing
  EXPECT_FALSE(ret_.formExists(kState16, 9));
  form_->setCalcMark(true);
  EXPECT_TRUE(form_->getCalcMark());

  ret_.setSaveNeeded(false);
  form_->getIN(Id(1));
  ret_.getFieldAsString(kState16, 1, Id(1));
  EXPECT_FALSE(ret_.isSaveNeeded());
  form_->assignIR(Id(1), 1);
  EXPECT_TRUE(ret_.isSaveNeeded());
}

TEST_F(TaxFormTest, FormFieldHandles) {
  form_->assignText(Id(1), "Harrisburg");
  form_->assignIR(Id(2), 12.5);
  form_->setX(Id(3));
  form_->setXNo(Id(4));
  DataMgmt::FormFieldPtr text = form_->getField(Id(1));
  const long handle = text->getValue();
  EXPECT_NE(0, handle);
  char buf[128];
  EXPECT_STREQ("Harrisburg", ret_.getText(buf, handle, 100, 0));
  EXPECT_EQ(handle, form_->getField(Id(1))->getValue());  // one handle per text
  EXPECT_EQ(13, form_->getField(Id(2))->getValue());
  EXPECT_EQ(1, form_->getField(Id(3))->getValue());
  EXPECT_EQ(0, form_->getField(Id(4))->getValue());
  EXPECT_EQ(0, form_->getField(Id(5))->getValue());
  EXPECT_EQ("13", form_->getField(Id(2))->getValueText());
  EXPECT_FALSE(text->isCalculated());
  EXPECT_FALSE(text->getFieldDesc().isNull());

  DataMgmt::FormFieldPtr field = form_->getField(Id(2));
  field->setOverridden(true);
  form_->assignIR(Id(2), 99);
  EXPECT_EQ(13, form_->getIN(Id(2)));
  field->setTentative(true);
  EXPECT_TRUE(form_->stored(Id(2)).tentative);
  field->setNoEntry(true);
  EXPECT_TRUE(form_->stored(Id(2)).noEntry);
  field = DataMgmt::FormFieldPtr();  // releasing the handle keeps the copy's state
  EXPECT_FALSE(form_->noOverride(Id(2)));
}

}  // namespace
