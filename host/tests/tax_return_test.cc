// Reads and copies through a return: the side rule, missing copies, copy
// counts and limits, whole-value copies, bounded texts and shared holders.
#include <cstring>
#include <functional>
#include <string>

#include "gtest/gtest.h"
#include "host/form_field.h"
#include "host/stand_in.h"
#include "host/tax_return.h"
#include "host/us_tax_return.h"

namespace {

using DataMgmt::TaxFormPtr;
using DataMgmt::TaxReturnDesc;
using Primitives::OVImmutableFormIdentifier;
typedef Primitives::OVImmutableIdentifier Id;

const OVImmutableFormIdentifier kPA40(169, true);
const OVImmutableFormIdentifier kPAW2(179, true);
const OVImmutableFormIdentifier kFedW2(52);

class TaxReturnTest : public ::testing::Test {
 protected:
  TaxReturnTest() : pa_(TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()) {
    StandIn::resetAll();
  }
  DataMgmt::TaxReturn pa_;
};

// A form's version moves with every value change of its copies and with
// every copy made; left without one copy, it stands while only that copy
// changes.
TEST_F(TaxReturnTest, AFormsVersionWithoutOneCopyStandsWhileOnlyThatCopyChanges) {
  pa_.getFormOrCreate(kPAW2, 1)->assignIR(Id(1), 1);
  pa_.getFormOrCreate(kPAW2, 2)->assignIR(Id(1), 2);
  const auto whole = pa_.formVersion(kPAW2);
  const auto others = pa_.formVersion(kPAW2, 1);
  EXPECT_EQ(whole, pa_.formVersion(kPAW2, 0));  // copy 0 leaves out nothing
  pa_.getFormOrCreate(kPAW2, 1)->assignIR(Id(1), 5);
  pa_.getFormOrCreate(kPAW2, 1)->assignIR(Id(1), 5);  // no change: counted once
  EXPECT_NE(whole, pa_.formVersion(kPAW2));
  EXPECT_EQ(others, pa_.formVersion(kPAW2, 1));
  pa_.getFormOrCreate(kPAW2, 2)->assignIR(Id(1), 3);
  const auto changed = pa_.formVersion(kPAW2, 1);
  EXPECT_NE(others, changed);
  pa_.getFormOrCreate(kPA40, 1);  // a copy of any form made
  EXPECT_NE(changed, pa_.formVersion(kPAW2, 1));
}

// A return holds only its own side's forms; missing copies, copy 0 and
// the other side read as nothing, and reads never create a copy.
TEST_F(TaxReturnTest, MissingCopiesAndTheOtherSideReadAsNothing) {
  EXPECT_TRUE(pa_.getFormUVPtr(kFedW2, 1, true).isNull());
  DataMgmt::USTaxReturn federal;
  federal.getFormOrCreate(kFedW2, 1)->assignIR(Id(10), 500);
  EXPECT_EQ(500, federal.getIN(kFedW2, 1, Id(10)));
  EXPECT_TRUE(federal.getFormUVPtr(kPA40, 1, true).isNull());
  pa_.getFormOrCreate(OVImmutableFormIdentifier(16, true), 1)->assignIR(Id(1), 3);
  EXPECT_EQ(0, federal.getIN(OVImmutableFormIdentifier(16, false), 1, Id(1)));

  char buf[128] = "junk";
  EXPECT_EQ(0, pa_.getIN(kPA40, 1, Id(139)));
  EXPECT_TRUE(pa_.isNull(kPA40, 1, Id(139)));
  EXPECT_STREQ("", pa_.formString(buf, kPA40, 1, Id(139)));
  EXPECT_TRUE(pa_.getForms(kPA40).atEOL());
  EXPECT_FALSE(pa_.formExists(kPA40, 1));

  pa_.getFormOrCreate(kPA40, 1)->assignIR(Id(139), 5);
  EXPECT_EQ(0, pa_.getIN(kPA40, 0, Id(139)));  // copy 0 is never a copy
  EXPECT_TRUE(pa_.getFormUVPtr(kPA40, 0, true).isNull());
  EXPECT_EQ(0, pa_.getIN(OVImmutableFormIdentifier(0, true), 1, Id(139)));
  pa_.setXValue(kPA40, 2, Id(139), true);  // no copy 2: nothing happens
  EXPECT_FALSE(pa_.formExists(kPA40, 2));

  TaxFormPtr& empty = pa_.getFormUVPtr(kPA40, 5, false);
  empty = pa_.getFormUVPtr(kPA40, 1, false);  // a careless caller fills the empty holder
  EXPECT_TRUE(pa_.getFormUVPtr(kPA40, 6, false).isNull());
  EXPECT_FALSE(pa_.formExists(kPA40, 5));
}

TEST_F(TaxReturnTest, CopyCountsAreTheHighestExistingCopy) {
  pa_.getFormOrCreate(kPAW2, 1)->assignIR(Id(1), 0.5);
  pa_.getFormOrCreate(kPAW2, 5)->assignIR(Id(1), 1.5);
  EXPECT_EQ(5, pa_.getMaxCopies(kPAW2));
  EXPECT_EQ(5, pa_.getFormCount(kPAW2));
  EXPECT_EQ(5, pa_.numFormCopies(kPAW2));
  EXPECT_EQ(3, pa_.getAllCopies(kPAW2, Id(1)));  // 1 + 2: a sum of whole reads
  std::vector<int> seen;
  for (DataMgmt::TaxFormIter it = pa_.getForms(kPAW2); !it.atEOL(); it.next()) {
    seen.push_back(it.getTaxForm()->getCopyNumber());
  }
  EXPECT_EQ((std::vector<int>{1, 5}), seen);
  TaxFormPtr target = pa_.getFormOrCreate(kPA40, 1);
  pa_.getAllCopiesII(kPAW2, Id(1), target, Id(139));
  EXPECT_EQ(3.0, target->getIR(Id(139)));

  // A sum follows every write of its field in any copy, whatever the
  // write, and a copy made or dropped; other fields leave it be.
  TaxFormPtr first = pa_.getFormUVPtr(kPAW2, 1, false), fifth = pa_.getFormUVPtr(kPAW2, 5, false);
  const struct {
    std::function<void()> write;
    long sum;
  } steps[] = {
      {[&] { fifth->assignIR(Id(2), 40); }, 3},
      {[&] { fifth->assignIR(Id(1), 10); }, 11},
      {[&] { first->assignII(Id(1), Id(2)); }, 10},
      {[&] { pa_.getIIM(kPAW2, Id(2), 5, first, Id(1)); }, 50},
      {[&] { fifth->setNull(Id(1)); }, 40},
      {[&] { pa_.getFormOrCreate(kPAW2, 3)->store(Id(1), DataMgmt::FieldValue::of(7)); }, 47},
      {[&] { pa_.removeAllForms(); }, 0},
      {[&] { pa_.getFormOrCreate(kPAW2, 1)->assignText(Id(1), "12"); }, 12},
  };
  for (const auto& step : steps) {
    step.write();
    EXPECT_EQ(step.sum, pa_.getAllCopies(kPAW2, Id(1)));
  }
}

TEST(TaxReturnLimitTest, CopiesStopAtTheFormsCopyLimit) {
  DataMgmt::TaxReturnDescPtr desc(new TaxReturnDesc(40, "PA", "", "", "Test"));
  DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(kPAW2, "PAW2", "PAW2"));
  form->setMaxCopies(2);
  desc->registerForm(form);
  DataMgmt::TaxReturn ret(desc, Utils::StringPool::shared());
  EXPECT_FALSE(ret.getFormUVPtr(kPAW2, 2, true).isNull());
  EXPECT_TRUE(ret.getFormUVPtr(kPAW2, 3, true).isNull());
  EXPECT_TRUE(ret.getFormOrCreate(kPAW2, 3).isNull());
  EXPECT_TRUE(ret.getFormOrCreate(kPA40, 1).isNull());  // a form the description lacks
  EXPECT_EQ(2, ret.getMaxCopies(kPAW2));
}

// getII, getIIM and assignII copy the whole value (a text, the mark), no
// flags; a field never stored or a missing copy gives null.
TEST_F(TaxReturnTest, WholeValueCopies) {
  TaxFormPtr w2 = pa_.getFormOrCreate(kPAW2, 1);
  TaxFormPtr target = pa_.getFormOrCreate(kPA40, 1);
  w2->assignText(Id(1), "ACME");
  w2->makeProtected(Id(1));
  pa_.getFormOrCreate(kPAW2, 2)->setX(Id(1));
  pa_.getII(kPAW2, Id(1), target, Id(15));
  EXPECT_EQ("ACME", target->valueText(Id(15)));
  EXPECT_FALSE(target->isProtected(Id(15)));
  pa_.getIIM(kPAW2, Id(1), 2, target, Id(15));
  EXPECT_TRUE(target->xMarked(Id(15)));
  target->assignII(Id(16), Id(15));
  EXPECT_TRUE(target->xMarked(Id(16)));
  w2->assignII(Id(3), Id(1));
  EXPECT_EQ("ACME", w2->valueText(Id(3)));
  EXPECT_FALSE(w2->isProtected(Id(3)));
  target->assignIR(Id(14), 9);
  pa_.getII(kPAW2, Id(2), target, Id(14));  // never stored: null
  EXPECT_TRUE(target->isNull(Id(14)));
  target->assignIR(Id(14), 9);
  pa_.getIIM(kPAW2, Id(1), 7, target, Id(14));  // no such copy: null
  EXPECT_TRUE(target->isNull(Id(14)));
  target->assignII(Id(16), Id(50));
  EXPECT_TRUE(target->isNull(Id(16)));
  pa_.getII(kPAW2, Id(1), TaxFormPtr(), Id(14));  // no target: nothing
}

TEST_F(TaxReturnTest, TextsAreBoundedToTheirBuffers) {
  TaxFormPtr pa40 = pa_.getFormOrCreate(kPA40, 1);
  pa40->assignText(Id(15), std::string(300, 'a').c_str());
  char big[300];
  std::memset(big, 'z', sizeof big);
  pa_.formString(big, kPA40, 1, Id(15));
  EXPECT_EQ(127u, std::strlen(big));
  EXPECT_EQ('z', big[128]);
  char small[8];
  EXPECT_STREQ("aaaaaaa", pa_.formString(small, sizeof small, kPA40, 1, Id(15)));
  EXPECT_EQ(300u, pa_.getFieldAsString(kPA40, 1, Id(15)).size());
  char value[128];
  EXPECT_STREQ("aaa", pa40->valueString(value, Id(15), kPA40) + 124);

  char text[200];
  const long handle = Utils::StringPool::shared()->intern("Pittsburgh");
  EXPECT_STREQ("Pitts", pa_.getText(text, handle, 5, 0));
  EXPECT_STREQ("   Pittsburgh", pa_.getText(text, handle, 13, 1));
  EXPECT_STREQ("", pa_.getText(text, 987654321, 50, 0));
  EXPECT_STREQ("", pa_.getText(text, handle, -4, 0));

  // Line labels from the module's field tables: the line of "Line 1c Net
  // compensation", a line named by its caption, and none.
  char line[32];
  EXPECT_STREQ("1c", pa_.getLineID(line, kPA40, Id(139)));
  EXPECT_STREQ("\"Other PA adjustments\"",
               pa_.getLineID(line, OVImmutableFormIdentifier(56126, true), Id(56298)));
  EXPECT_STREQ("F303", pa_.getLineID(line, kPA40, Id(303)));
  char name[256];
  EXPECT_STREQ("PA-40", pa_.formName(name, kPA40, 1));
  EXPECT_STREQ("", pa_.buildCleanFormName(name, kFedW2, 1));
}

// A form's name is the title printed on it, hyphens included, as the
// messages about it write it ("Schedule G-L").
TEST_F(TaxReturnTest, FormNamesAreThePrintedTitles) {
  const struct {
    int form;
    const char* title;
  } kTitles[] = {{176, "PA Schedule G-L"}, {170, "PA Schedule W-2S"}, {179, "PA W-2"}, {169, "PA-40"}};
  for (const auto& t : kTitles) {
    char name[256];
    EXPECT_STREQ(t.title, pa_.formName(name, OVImmutableFormIdentifier(t.form, true), 1)) << t.form;
  }
}

TEST_F(TaxReturnTest, AptIsAppendedWithinTheValueBuffer) {
  pa_.getFormOrCreate(kPA40, 1)->assignText(Id(15), "Apt 4");
  char value[512] = "12 Main St";
  pa_.tifAppendAPTtoStreet(value, kPA40, 1, Id(15));
  pa_.tifAppendAPTtoStreet(value, kPA40, 1, Id(14));  // empty: nothing
  EXPECT_STREQ("12 Main St Apt 4", value);
  char full[520];
  std::memset(full, 'x', 508);
  full[508] = '\0';
  full[511] = 'G';  // guards beyond the 512-byte buffer
  full[512] = 'G';
  pa_.tifAppendAPTtoStreet(full, kPA40, 1, Id(15));
  EXPECT_EQ(511u, std::strlen(full));
  EXPECT_EQ('G', full[512]);
}

// The host keeps its share of every copy it hands out; a copy a caller
// keeps outlives the return.
TEST(TaxReturnSharesTest, TheHostKeepsItsShareAndKeptCopiesOutliveTheReturn) {
  TaxFormPtr kept;
  {
    DataMgmt::TaxReturn ret(TaxReturnDesc::pennsylvania(), Utils::StringPool::shared());
    kept = ret.getFormOrCreate(kPA40, 1);
    const long before = kept.useCount();
    {
      DataMgmt::FormFieldPtr field = kept->getField(Id(139));
      EXPECT_EQ(before + 1, kept.useCount());
    }
    kept->assignIR(Id(139), 7);
  }
  EXPECT_EQ(7, kept->getIN(Id(139)));
  EXPECT_EQ(1, kept.useCount());  // the return's handles let it go too
  EXPECT_EQ(0, kept->getField(Id(139))->getValue());  // the handle no longer reaches it
}

TEST_F(TaxReturnTest, FieldOptionsAreAppendedNeverCleared) {
  Properties::DisplayValuePairs options;
  options.addPair("Adams");
  options.addPair("Allegheny", "2");
  pa_.setFieldOptions(kPA40, Id(15), options);
  TaxFormPtr form = pa_.getFormOrCreate(kPA40, 1);
  Properties::DisplayValuePairs pairs;
  pairs.addPair("kept");
  DataMgmt::FormFieldPtr field = form->getField(Id(15)), other = form->getField(Id(14));
  pa_.getFieldDisplayValuePairs(form, field, pairs);
  ASSERT_EQ(3u, pairs.size());
  EXPECT_EQ("kept", pairs.at(0).first);
  EXPECT_EQ("2", pairs.at(2).second);
  pa_.getFieldDisplayValuePairs(form, other, pairs);
  EXPECT_EQ(3u, pairs.size());
}

}  // namespace
