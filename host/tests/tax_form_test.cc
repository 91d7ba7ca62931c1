// The value model of one copy: reads, writes, bounds, boxes, groups and flags.
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/form_defaults.h"
#include "host/form_field.h"
#include "host/rounding.h"
#include "host/stand_in.h"
#include "host/tax_return.h"
#include "host/tests/allocations.h"

namespace {

using DataMgmt::FieldValue;
using DataMgmt::TaxFormPtr;
using Primitives::kNullFieldID;
using Primitives::OVImmutableFormIdentifier;
typedef Primitives::OVImmutableIdentifier Id;

const OVImmutableFormIdentifier kState16(16, true);  // fields 1-197: 2-29 texts, the rest numbers

class TaxFormTest : public ::testing::Test {
 protected:
  TaxFormTest() : ret_(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()) {
    StandIn::resetAll();
    form_ = ret_.getFormOrCreate(kState16, 1);
  }
  ~TaxFormTest() override { StandIn::resetAll(); }

  // Copy 2 with fields 1-20 null.
  TaxFormPtr cleared() {
    TaxFormPtr form = ret_.getFormOrCreate(kState16, 2);
    for (int f = 1; f <= 20; ++f) form->setNull(Id(f));
    return form;
  }

  DataMgmt::TaxReturn ret_;
  TaxFormPtr form_;
};

// A text reads as its leading number, the mark and No as 0; significant is
// a number other than 0, a text with a non-blank, or the mark. Fields never
// stored and empty ids read as nothing, and writes to empty ids do nothing.
TEST_F(TaxFormTest, ReadsConvertAndMissingReadsAsNothing) {
  form_->assignText(Id(20), " 1,234.56 dollars");
  form_->assignText(Id(21), "-.5");
  form_->assignText(Id(22), "   ");
  form_->assignText(Id(23), "  a");
  form_->assignIR(Id(30), 0.001);
  form_->assignIR(Id(31), 0);
  form_->setX(Id(32));
  form_->setXNo(Id(33));
  form_->assignIR(Id(0), 5);
  form_->setX(Id(-1));
  const struct {
    int field;
    long whole;
    bool significant;
  } cases[] = {{20, 1235, true}, {21, -1, true}, {22, 0, false}, {23, 0, true},  {30, 0, true},
               {31, 0, false},   {32, 0, true},  {33, 0, false}, {40, 0, false}, {0, 0, false},
               {-1, 0, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.whole, form_->getIN(Id(c.field))) << c.field;
    EXPECT_EQ(c.significant, ret_.hasSigValue(kState16, 1, Id(c.field))) << c.field;
    EXPECT_EQ(!c.significant, ret_.noSigValue(kState16, 1, Id(c.field))) << c.field;
  }
  EXPECT_DOUBLE_EQ(1234.56, form_->getIR(Id(20)));
  for (Id id : {Id(40), Id(0), Id(-1)}) {
    EXPECT_TRUE(form_->isNull(id) && !form_->xMarked(id) && form_->valueText(id).empty());
  }
  EXPECT_EQ(8u, form_->fields().size());
}

TEST_F(TaxFormTest, OverriddenFieldsSkipEveryModuleWrite) {
  form_->assignIR(Id(1), 10);
  form_->setOverridden(Id(1), true);
  form_->assignIR(Id(1), 20);
  form_->setNull(Id(1));
  form_->setX(Id(1));
  form_->plus2(Id(1), Id(2), Id(3));
  EXPECT_EQ(10, form_->getIN(Id(1)));
  form_->store(Id(1), FieldValue::of(30));  // the fixture door bypasses it
  EXPECT_EQ(30, form_->getIN(Id(1)));
}

// Non-finite results store null; writes to fields the form lacks and texts
// written into other fields are stored; each is counted.
TEST_F(TaxFormTest, DiagnosticsCountSuspectWrites) {
  form_->assignIR(Id(1), 5);
  form_->assignIR(Id(1), std::nan(""));
  EXPECT_TRUE(form_->isNull(Id(1)));
  form_->assignIR(Id(2), 1e308);
  form_->timesIR(Id(3), Id(2), 10.0);  // overflows to infinity
  EXPECT_TRUE(form_->isNull(Id(3)));

  form_->assignIR(Id(197), 1);
  form_->assignIR(Id(99999), 7);
  form_->store(Id(99998), FieldValue::ofText("x"));
  EXPECT_EQ(7, form_->getIN(Id(99999)));

  const Id kText(20), kNumber(100);
  form_->assignText(kText, "Keller");
  form_->assignII(kNumber, kText);
  ret_.getII(kState16, kText, form_, Id(101));
  form_->store(Id(102), FieldValue::ofText("fixture"));  // not a module write
  form_->assignIR(kText, 5);
  EXPECT_EQ("Keller", form_->valueText(kNumber));

  EXPECT_EQ(2, StandIn::diagnostics().nonFiniteWrites);
  EXPECT_EQ(2, StandIn::diagnostics().unknownFieldWrites);
  EXPECT_EQ(2, StandIn::diagnostics().textIntoOtherFields);

  // Every field used as a text that is not one is noted once: the write
  // above, reads through formString and through a handle for getText.
  char buf[16];
  ret_.formString(buf, sizeof buf, kState16, 1, kNumber);
  ret_.formString(buf, sizeof buf, kState16, 1, kText);
  ret_.formString(buf, sizeof buf, kState16, 1, Id(104));    // a number field never stored
  ret_.formString(buf, sizeof buf, kState16, 3, Id(105));    // no such copy
  ret_.formString(buf, sizeof buf, kState16, 1, Id(99997));  // no such field
  form_->getField(Id(101))->getValue();
  form_->getField(kText)->getValue();
  const std::set<StandIn::TextUse> expected = {{true, 16, 100, false}, {true, 16, 100, true},
                                               {true, 16, 101, false}, {true, 16, 101, true},
                                               {true, 16, 104, false}, {true, 16, 105, false}};
  EXPECT_EQ(expected, StandIn::diagnostics().textUsesOfOtherFields);
}

// Whole reads saturate at kMaxWholeAmount, so sums of them never overflow.
// Nulling a field never stored stores nothing (it reads as null
// already) but is a write all the same: the dirty flag, and the count of
// writes to fields the form does not have; a stored field keeps its flags.
TEST_F(TaxFormTest, NullingAFieldNeverStoredStoresNothing) {
  ret_.setSaveNeeded(false);
  const unsigned long changes = DataMgmt::changeCount();
  form_->setNull(Id(150));
  form_->setNull(Id(99999));  // not a field of the form
  EXPECT_TRUE(form_->fields().empty());
  EXPECT_TRUE(form_->isNull(Id(150)));
  EXPECT_TRUE(ret_.isSaveNeeded());
  EXPECT_EQ(changes, DataMgmt::changeCount());
  EXPECT_EQ(1, StandIn::diagnostics().unknownFieldWrites);
  form_->assignIR(Id(151), 5);
  form_->makeProtected(Id(151));
  form_->setNull(Id(151));
  EXPECT_TRUE(form_->isNull(Id(151)) && form_->isProtected(Id(151)));
  EXPECT_EQ(1u, form_->fields().size());
}

// Nulling the same fields again, as every pass of a calculation does, still
// stores nothing, sets the dirty flag and counts each write to a field the
// form lacks; a field nulled before takes a value like any other.
TEST_F(TaxFormTest, NullingAFieldAgainStoresNothingAndCountsAsBefore) {
  for (int round = 1; round <= 3; ++round) {
    ret_.setSaveNeeded(false);
    form_->setNull(Id(150));
    form_->setNull(Id(99999));  // not a field of the form
    EXPECT_TRUE(form_->fields().empty()) << round;
    EXPECT_TRUE(ret_.isSaveNeeded()) << round;
    EXPECT_EQ(round, StandIn::diagnostics().unknownFieldWrites) << round;
  }
  form_->assignIR(Id(150), 7);
  EXPECT_EQ(7, form_->getIN(Id(150)));
  form_->setNull(Id(150));
  EXPECT_TRUE(form_->isNull(Id(150)));
  EXPECT_EQ(1u, form_->fields().size());
  EXPECT_EQ(3, StandIn::diagnostics().unknownFieldWrites);  // a known field, stored or not
}

// A copy tells whether any stored field is overridden or tentative.
TEST_F(TaxFormTest, ACopyTellsWhetherAnyFieldIsOverriddenOrTentative) {
  form_->assignIR(Id(104), 5);
  form_->makeProtected(Id(105));
  EXPECT_FALSE(form_->holdsOverrideOrTentative());
  form_->setTentative(Id(106), true);
  EXPECT_TRUE(form_->holdsOverrideOrTentative());
  form_->setTentative(Id(106), false);
  form_->setOverridden(Id(104), true);
  EXPECT_TRUE(form_->holdsOverrideOrTentative());
  form_->setOverridden(Id(104), false);
  EXPECT_FALSE(form_->holdsOverrideOrTentative());
}

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
  form_->assignIR(Id(3), 7);
  form_->plus2(Id(10), Id(1), Id(2));
  form_->plus8(Id(11), Id(90), Id(91), Id(92), Id(93), Id(94), Id(95), Id(96), Id(97));
  form_->minusII(Id(12), Id(1), Id(3));
  form_->minusIIge0(Id(13), Id(1), Id(3));
  form_->minII(Id(14), Id(1), Id(3));
  form_->maxIR(Id(15), Id(3), 5.5);
  form_->zero(Id(16));
  const double expected[] = {0.8, 0.0, -6.6, 0.0, 0.4, 7.0, 0.0};
  for (int f = 10; f <= 16; ++f) {
    EXPECT_FALSE(form_->isNull(Id(f))) << f;
    EXPECT_DOUBLE_EQ(expected[f - 10], form_->getIR(Id(f))) << f;
  }
  EXPECT_EQ(0, form_->sumOf2(Id(1), Id(2)));  // 0 + 0: sums of whole reads
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

TEST_F(TaxFormTest, TheMarkAndNoAreDistinctStates) {
  form_->setYes(Id(1));
  EXPECT_TRUE(ret_.formYes(kState16, 1, Id(1)) && !ret_.formNo(kState16, 1, Id(1)));
  form_->setXNo(Id(1));  // replaces the mark
  EXPECT_TRUE(!form_->xMarked(Id(1)) && ret_.formNo(kState16, 1, Id(1)));
  EXPECT_FALSE(ret_.formNo(kState16, 1, Id(3)));  // null is not No
}

// Box groups: of two or more marks the first in argument order stays and
// the other marks become No; the *AndDefault forms mark the first member
// when none is marked.
TEST_F(TaxFormTest, BoxGroupsKeepTheFirstMark) {
  const Id n1(1), n2(2), n3(3);
  const struct {
    std::vector<int> marked, markAfter, noAfter;
    std::function<void(const TaxFormPtr&)> apply;
  } cases[] = {
      {{}, {}, {}, [](auto f) { f->oneX(Id(1), Id(2), Id(3)); }},
      {{2}, {2}, {}, [](auto f) { f->oneX(Id(1), Id(2), Id(3)); }},
      {{1, 3}, {1}, {3}, [](auto f) { f->oneX(Id(1), Id(2), Id(3)); }},
      {{1, 2, 3}, {1}, {2, 3}, [](auto f) { f->oneX(Id(1), Id(2), Id(3)); }},
      {{3, 9}, {9}, {3},
       [](auto f) { f->oneX9(Id(9), Id(0), Id(2), Id(3), Id(9), Id(4), Id(5), Id(6), Id(7)); }},
      {{1, 2}, {1}, {2}, [](auto f) { f->oneX2AndDefault(Id(1), Id(2)); }},
      {{}, {1}, {2}, [](auto f) { Utils::handleFilingChoice(f, Id(1), Id(2)); }},
      {{4}, {4}, {}, [](auto f) { f->oneX4AndDefault(Id(1), Id(2), Id(3), Id(4)); }},
      {{}, {5}, {6}, [](auto f) { f->oneXAndDefault(Id(0), Id(5), Id(6)); }},  // empty ids skipped
      {{2, 3}, {3}, {2}, [&](auto f) { f->setOptionGroupSelection(&n1, &n3, &n2, &kNullFieldID); }},
      {{2, 3}, {2}, {3}, [](auto f) { f->setOptionGroupSelection({Id(2), Id(3)}); }},
  };
  int row = 0;
  for (const auto& c : cases) {
    TaxFormPtr form = cleared();
    for (int f : c.marked) form->setX(Id(f));
    c.apply(form);
    for (int f = 1; f <= 20; ++f) {
      const auto has = [f](const std::vector<int>& v) {
        return std::find(v.begin(), v.end(), f) != v.end();
      };
      EXPECT_EQ(has(c.markAfter), form->xMarked(Id(f))) << "row " << row << " field " << f;
      EXPECT_EQ(has(c.noAfter), form->isNo(Id(f))) << "row " << row << " field " << f;
    }
    ++row;
  }
}

TEST_F(TaxFormTest, SetDefaultXMarksTheFirstArgumentOnlyWhenNoneIsMarked) {
  // (a, b, c) as the callers pass them, including repeats.
  const int groups[][3] = {{15, 16, 16}, {12, 12, 13}, {16, 17, 18}, {17, 16, 18}, {12, 13, 12}};
  for (const auto& g : groups) {
    TaxFormPtr form = cleared();
    Utils::setDefaultX(form, Id(g[0]), Id(g[1]), Id(g[2]));
    EXPECT_TRUE(form->xMarked(Id(g[0])));
    for (int f : {g[1], g[2]}) EXPECT_EQ(f != g[0], form->isNo(Id(f))) << f;
    // Marked members (even two of them) leave every member as it is.
    form = cleared();
    form->setX(Id(g[2]));
    form->setX(Id(g[1]));
    Utils::setDefaultX(form, Id(g[0]), Id(g[1]), Id(g[2]));
    EXPECT_EQ(g[0] == g[1] || g[0] == g[2], form->xMarked(Id(g[0])));
    EXPECT_FALSE(form->isNo(Id(g[0])));
    EXPECT_TRUE(form->xMarked(Id(g[1])) && form->xMarked(Id(g[2])));
  }
  Utils::setDefaultX(TaxFormPtr(), Id(1), Id(2), Id(3));  // no form: nothing happens
}

TEST_F(TaxFormTest, ProtectionIsForUserEntryOnly) {
  form_->makeProtected(Id(1));
  form_->assignIR(Id(1), 5);  // module writes ignore it
  EXPECT_EQ(5, form_->getIN(Id(1)));
  form_->unprotectAndMaybeSetNull(Id(1));
  EXPECT_TRUE(!form_->isProtected(Id(1)) && form_->isNull(Id(1)));
  form_->assignIR(Id(2), 7);  // the user's own entry stays
  form_->unprotectAndMaybeSetNull(Id(2));
  EXPECT_EQ(7, form_->getIN(Id(2)));
}

// Protecting and nulling at once, and unprotecting and nulling: from each
// state a field may be in, the flag, the value, the changes counted, the
// dirty flag and the count of writes to fields the form lacks.
TEST_F(TaxFormTest, ProtectionChangesThatNullAFieldFromEveryState) {
  enum Start { kNever, kNumber, kOverridden, kProtected };
  const struct {
    bool protect;  // makeProtectedAndSetNull, else unprotectAndMaybeSetNull
    Start start;
    int field;
    bool isProtected;
    bool isNull;
    unsigned long changes;
    unsigned long valueWrites;
    bool dirty;
    int unknownWrites;
  } cases[] = {
      {true, kNever, 40, true, true, 1, 0, true, 0},       {true, kNumber, 40, true, true, 2, 1, true, 0},
      {true, kOverridden, 40, true, false, 1, 0, true, 0}, {true, kProtected, 40, true, true, 1, 1, true, 0},
      {true, kNever, 99999, true, true, 1, 0, true, 1},    {true, kNever, 0, false, true, 0, 0, false, 0},
      {false, kProtected, 40, false, true, 2, 1, true, 0}, {false, kNumber, 40, false, false, 0, 0, false, 0},
      {false, kNever, 40, false, true, 0, 0, false, 0},    {false, kNever, 0, false, true, 0, 0, false, 0},
  };
  int copy = 1;
  for (const auto& c : cases) {
    StandIn::resetAll();
    const TaxFormPtr form = ret_.getFormOrCreate(kState16, static_cast<uint16_t>(++copy));
    const Id field(c.field);
    if (c.start != kNever) form->assignIR(field, 5);
    if (c.start == kOverridden) form->setOverridden(field, true);
    if (c.start == kProtected) form->makeProtected(field);
    ret_.setSaveNeeded(false);
    const unsigned long changes = DataMgmt::changeCount();
    const unsigned long writes = form->copyWrites();
    if (c.protect) {
      form->makeProtectedAndSetNull(field);
    } else {
      form->unprotectAndMaybeSetNull(field);
    }
    const std::string what = std::to_string(copy);
    EXPECT_EQ(c.isProtected, form->isProtected(field)) << what;
    EXPECT_EQ(c.isNull, form->isNull(field)) << what;
    EXPECT_EQ(c.changes, DataMgmt::changeCount() - changes) << what;
    EXPECT_EQ(c.valueWrites, form->copyWrites() - writes) << what;
    EXPECT_EQ(c.dirty, ret_.isSaveNeeded()) << what;
    EXPECT_EQ(c.unknownWrites, StandIn::diagnostics().unknownFieldWrites) << what;
  }
}

TEST_F(TaxFormTest, CopyFlagsAndTheDirtyFlag) {
  EXPECT_FALSE(form_->isPrintFlag() || form_->isDataEntered());
  ret_.setDataEntered(kState16, 1, true, true);
  EXPECT_TRUE(form_->isDataEntered() && form_->isPrintFlag());
  ret_.setDataEntered(kState16, 9, true, false);  // no such copy: nothing
  EXPECT_FALSE(ret_.formExists(kState16, 9));

  ret_.setSaveNeeded(false);
  form_->getIN(Id(1));
  ret_.getFieldAsString(kState16, 1, Id(1));
  EXPECT_FALSE(ret_.isSaveNeeded());
  form_->assignIR(Id(1), 1);
  EXPECT_TRUE(ret_.isSaveNeeded());
}

TEST_F(TaxFormTest, FormFieldHandles) {
  form_->assignText(Id(1), "Harrisburg");
  form_->assignIR(Id(30), 12.5);
  form_->setX(Id(31));
  form_->setXNo(Id(32));
  const long handle = form_->getField(Id(1))->getValue();
  char buf[128];
  EXPECT_STREQ("Harrisburg", ret_.getText(buf, handle, 100, 0));
  EXPECT_EQ(handle, form_->getField(Id(1))->getValue());  // one handle per text
  const long values[] = {13, 1, 0, 0};
  for (int f = 30; f <= 33; ++f) EXPECT_EQ(values[f - 30], form_->getField(Id(f))->getValue());
  EXPECT_EQ("13", form_->getField(Id(30))->getValueText());

  DataMgmt::FormFieldPtr field = form_->getField(Id(30));
  field->setOverridden(true);
  field->setTentative(true);
  field = DataMgmt::FormFieldPtr();  // releasing the handle keeps the copy's state
  form_->assignIR(Id(30), 99);
  EXPECT_EQ(13, form_->getIN(Id(30)));
  EXPECT_TRUE(form_->stored(Id(30)).tentative);

  // A handle its caller let go of serves the next call: asking for one
  // handle after another makes no allocation, and handles held at once
  // stay apart.
  const TaxFormPtr other = cleared();
  const long made = TestAllocations::during([&] {
    for (int f = 30; f <= 33; ++f) EXPECT_EQ(f, form_->getField(Id(f))->getID().getNumber());
    EXPECT_EQ(0, other->getField(Id(30))->getValue());
  });
  EXPECT_EQ(0, made);
  DataMgmt::FormFieldPtr first = form_->getField(Id(30)), second = form_->getField(Id(31));
  EXPECT_EQ(std::vector<long>({13, 1}), std::vector<long>({first->getValue(), second->getValue()}));
}

// A calculation's common steps make no heap allocation once the fields
// they touch are stored: box groups, lists, texts written, copied and read,
// and a look for a missing copy.
TEST_F(TaxFormTest, CommonStepsMakeNoAllocation) {
  const std::string text(40, 'x');
  const Id a(31), b(32), c(33);
  char buf[128];
  const struct {
    const char* step;
    std::function<void()> run;
  } steps[] = {
      {"box group", [&] { form_->keepFirstMarkOrDefault({a, b, c}); }},
      {"C-list group", [&] { form_->setOptionGroupSelection(&a, &b, &c, &kNullFieldID); }},
      {"C-list sum", [&] { form_->setValueToSumOf(Id(34), &a, &b, static_cast<const Id*>(nullptr)); }},
      {"text written", [&] { form_->assignText(Id(2), text.c_str()); }},
      {"text copied", [&] { form_->assignII(Id(3), Id(2)); }},
      {"text read", [&] { ret_.formString(buf, kState16, 1, Id(2)); }},
      {"missing copy", [&] { ret_.getFormUVPtr(kState16, 9, false); }},
  };
  for (const auto& step : steps) {
    step.run();  // stores the fields
    EXPECT_EQ(0, TestAllocations::during(step.run)) << step.step;
  }
  EXPECT_STREQ(text.c_str(), buf);
  EXPECT_EQ(text, form_->valueText(Id(3)));
}

}  // namespace
