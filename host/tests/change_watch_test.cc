// What a watch of a return tells: the fields whose value differs from the
// one they held when it began, whatever happened between.
#include <functional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/change_watch.h"
#include "host/stand_in.h"
#include "host/tax_return.h"

namespace {

using DataMgmt::ChangeWatch;
using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableFormIdentifier;
typedef Primitives::OVImmutableIdentifier Id;

const OVImmutableFormIdentifier kState16(16, true);  // fields 2-29 texts, the rest numbers
const OVImmutableFormIdentifier kPA40(169, true);

// The changes as "form/copy/field", in the order given.
std::vector<std::string> named(const std::vector<ChangeWatch::Change>& changes) {
  std::vector<std::string> names;
  for (const ChangeWatch::Change& c : changes) {
    names.push_back(std::to_string(c.form.getNumber()) + "/" + std::to_string(c.copy) + "/" +
                    std::to_string(c.field.getNumber()));
  }
  return names;
}

class ChangeWatchTest : public ::testing::Test {
 protected:
  ChangeWatchTest() : ret_(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()) {
    StandIn::resetAll();
    form_ = ret_.getFormOrCreate(kState16, 1);
    form_->assignIR(Id(40), 5);     // a number
    form_->assignText(Id(2), "a");  // a text
    form_->setX(Id(41));            // a mark
    form_->assignIR(Id(42), 0);     // 0, not null
  }
  DataMgmt::TaxReturn ret_;
  TaxFormPtr form_;
};

// Each step on a field, and whether the field then counts as changed.
TEST_F(ChangeWatchTest, AFieldCountsWhenItsValueOrItsNullnessDiffersAtTheEnd) {
  struct Step {
    const char* what;
    std::function<void(DataMgmt::TaxForm&)> step;
    bool changed;
  };
  const Step steps[] = {
      {"a number written again", [](DataMgmt::TaxForm& f) { f.assignIR(Id(40), 5); }, false},
      {"nulled and filled again", [](DataMgmt::TaxForm& f) { f.setNull(Id(40)); f.assignIR(Id(40), 5); }, false},
      {"another number", [](DataMgmt::TaxForm& f) { f.assignIR(Id(40), 5.5); }, true},
      {"0 nulled", [](DataMgmt::TaxForm& f) { f.setNull(Id(42)); }, true},
      {"a never stored field made 0", [](DataMgmt::TaxForm& f) { f.zero(Id(43)); }, true},
      {"a never stored field nulled", [](DataMgmt::TaxForm& f) { f.setNull(Id(43)); }, false},
      {"another text", [](DataMgmt::TaxForm& f) { f.assignText(Id(2), "b"); }, true},
      {"a mark made No", [](DataMgmt::TaxForm& f) { f.setXNo(Id(41)); }, true},
      {"a mark made No and marked again", [](DataMgmt::TaxForm& f) { f.setXNo(Id(41)); f.setX(Id(41)); }, false},
      {"protected and the copy marked", [](DataMgmt::TaxForm& f) { f.makeProtected(Id(40)); f.setCalcMark(true); }, false},
  };
  for (const Step& s : steps) {
    ChangeWatch watch(ret_);
    s.step(*form_);
    EXPECT_EQ(!watch.changes().empty(), s.changed) << s.what;
    form_->assignIR(Id(40), 5);  // as the fixture left it
    form_->setNull(Id(43));
    form_->assignText(Id(2), "a");
    form_->setX(Id(41));
    form_->assignIR(Id(42), 0);
  }
}

// A copy made and filled counts by its fields; one made empty, not at
// all. Every dropped copy's stored values count as nulled.
TEST_F(ChangeWatchTest, CopiesMadeCountByTheirValuesAndDroppedOnesByAllTheyHeld) {
  {
    ChangeWatch watch(ret_);
    ret_.getFormOrCreate(kPA40, 1);
    ret_.getFormOrCreate(kState16, 3)->assignIR(Id(50), 1);
    EXPECT_EQ(named(watch.changes()), std::vector<std::string>{"16/3/50"});
  }
  ChangeWatch watch(ret_);
  ret_.removeAllForms();
  EXPECT_EQ(named(watch.changes()),
            (std::vector<std::string>{"16/1/2", "16/1/40", "16/1/41", "16/1/42", "16/3/50"}));
}

// Watches nest: the inner one sees its own span, the outer one all, and
// the return is watched by no one once both are gone.
TEST_F(ChangeWatchTest, WatchesNestAndEachSeesItsOwnSpan) {
  ChangeWatch outer(ret_);
  form_->assignIR(Id(40), 6);
  {
    ChangeWatch inner(ret_);
    form_->assignIR(Id(40), 5);  // back to what the outer watch began with
    form_->assignIR(Id(44), 1);
    EXPECT_EQ(named(inner.changes()), (std::vector<std::string>{"16/1/40", "16/1/44"}));
  }
  EXPECT_EQ(named(outer.changes()), std::vector<std::string>{"16/1/44"});
}

TEST_F(ChangeWatchTest, AWatchSeesOnlyWhatChangesWhileItLives) {
  { ChangeWatch gone(ret_); }
  form_->assignIR(Id(40), 7);  // told to no watch
  ChangeWatch watch(ret_);
  form_->assignIR(Id(45), 1);
  EXPECT_EQ(named(watch.changes()), std::vector<std::string>{"16/1/45"});
}

// A copy the return dropped but someone still holds is no value of the
// return: writing it hides no change of the copy now at its number.
TEST_F(ChangeWatchTest, ACopyTheReturnDroppedIsNotWatched) {
  form_->assignIR(Id(40), 7);
  const TaxFormPtr dropped = form_;
  ret_.removeAllForms();
  form_ = ret_.getFormOrCreate(kState16, 1);
  form_->assignIR(Id(40), 5);
  ChangeWatch watch(ret_);
  dropped->assignIR(Id(40), 8);
  form_->assignIR(Id(40), 7);  // what the dropped copy held before
  EXPECT_EQ(named(watch.changes()), std::vector<std::string>{"16/1/40"});
}

}  // namespace
