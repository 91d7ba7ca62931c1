// PA Schedule C: line A and the method codes as the federal copy changes,
// and the amounts the calculation fills in once and leaves to the user.
#include <string>

#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

namespace {

namespace C = PAScheduleC;
namespace FC = FedScheduleC;

class ScheduleCTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    setResidency(kChoiceFullYearResident);
    mark(kFormID_PAScheduleC, C::kFromFederalYesBox);
    number(kFormID_PAScheduleC, C::kFederalCopyNumber, 1);
    mark(kFormID_FedScheduleC, FC::kTaxpayerBox);
  }
  void calculate() { engine->computeScheduleC(holder(kFormID_PAScheduleC), 1, 0); }
  DataMgmt::TaxForm& sc() { return copyOf(kFormID_PAScheduleC); }
  std::string textAt(const FieldId& field) { return textOf(kFormID_PAScheduleC, field); }
  void fedText(const FieldId& field, const std::string& value) { text(kFormID_FedScheduleC, field, value); }
  void fedAmount(const FieldId& field, double value) { number(kFormID_FedScheduleC, field, value); }
};

// Each text of line A is the federal text of its own while there is one;
// once that text goes so does what it wrote, and the line takes the other
// federal text or what the user enters.
TEST_F(ScheduleCTest, LineATextsGoWithTheirFederalText) {
  fedText(FC::kBusinessName, "ACME");
  fedText(FC::kPrincipalBusiness, "PLUMBING");
  calculate();
  EXPECT_EQ(textAt(C::kMainBusinessActivity) + "/" + textAt(C::kProductOrService), "ACME/PLUMBING");
  fedText(FC::kBusinessName, "");
  calculate();
  EXPECT_EQ(textAt(C::kMainBusinessActivity) + "/" + textAt(C::kProductOrService), "PLUMBING/PLUMBING");
  text(kFormID_PAScheduleC, C::kMainBusinessActivity, "REPAIRS");
  fedText(FC::kPrincipalBusiness, "");
  calculate();
  EXPECT_EQ(textAt(C::kMainBusinessActivity) + "/" + textAt(C::kProductOrService), "REPAIRS/");
  EXPECT_FALSE(sc().isProtected(C::kProductOrService));
}

// A line A text that the other federal text filled in, its own federal
// text being empty, is the user's: a changed federal text does not reach
// it, an emptied one is filled again.
TEST_F(ScheduleCTest, LineATextFilledFromTheOtherFederalTextIsTheUsers) {
  fedText(FC::kPrincipalBusiness, "PLUMBING");
  calculate();
  EXPECT_EQ(textAt(C::kMainBusinessActivity), "PLUMBING");
  EXPECT_FALSE(sc().isProtected(C::kMainBusinessActivity));
  fedText(FC::kPrincipalBusiness, "HEATING");
  calculate();
  EXPECT_EQ(textAt(C::kMainBusinessActivity) + "/" + textAt(C::kProductOrService), "PLUMBING/HEATING");
  put(kFormID_PAScheduleC, C::kMainBusinessActivity, FieldValue::null());
  calculate();
  EXPECT_EQ(textAt(C::kMainBusinessActivity), "HEATING");
}

// The inventory method is the letter of the federal method box marked; a
// letter taken from a box goes with it, one the user enters without a box
// stays.
TEST_F(ScheduleCTest, InventoryMethodGoesWithItsFederalBox) {
  mark(kFormID_FedScheduleC, FC::kAccrualMethodBox);
  calculate();
  EXPECT_EQ(textAt(C::kInventoryMethod), "A");
  put(kFormID_FedScheduleC, FC::kAccrualMethodBox, FieldValue::null());
  calculate();
  EXPECT_TRUE(sc().isNull(C::kInventoryMethod));
  text(kFormID_PAScheduleC, C::kInventoryMethod, "O");
  calculate();
  EXPECT_EQ(textAt(C::kInventoryMethod), "O");
}

// The depreciation questions are asked (No by default) while there is a
// federal depreciation; without one no answer stays, and once it is back
// the questions are open again.
TEST_F(ScheduleCTest, DepreciationQuestionsOnlyWithAFederalDepreciation) {
  const FieldId* const kBoxes[] = {&C::kDepreciationFirstYesBox.id(), &C::kDepreciationFirstNoBox.id(),
                                   &C::kDepreciationSecondYesBox.id(), &C::kDepreciationSecondNoBox.id()};
  auto answers = [&] {
    std::string marks;
    for (const FieldId* box : kBoxes) {
      marks += sc().isNull(*box) ? "." : sc().xMarked(*box) ? "X" : "-";
      if (sc().isProtected(*box)) marks += "p";
    }
    return marks;
  };
  const struct {
    double depreciation;
    const char* answers;
  } kSteps[] = {{500, "-X-X"}, {0, ".p.p.p.p"}, {500, "-X-X"}};
  for (const auto& step : kSteps) {
    fedAmount(FC::kDepreciation, step.depreciation);
    calculate();
    EXPECT_EQ(answers(), step.answers) << step.depreciation;
  }
}

// The start-up costs question is asked (No by default) while there are
// federal start-up costs; without them the default answer goes, the
// user's Yes stays.
TEST_F(ScheduleCTest, StartUpCostsQuestionOnlyWithFederalCosts) {
  fedAmount(FC::kLimitedExpense, 900);
  calculate();
  EXPECT_TRUE(sc().xMarked(C::kStartUpCostsNoBox) && sc().isNo(C::kStartUpCostsYesBox));
  fedAmount(FC::kLimitedExpense, 0);
  calculate();
  expectNull(sc(), {C::kStartUpCostsNoBox, C::kStartUpCostsYesBox});
  mark(kFormID_PAScheduleC, C::kStartUpCostsYesBox);
  number(kFormID_PAScheduleC, C::kStartUpCosts, 300);
  calculate();
  EXPECT_TRUE(sc().xMarked(C::kStartUpCostsYesBox));
  expectAmounts(sc(), {{C::kStartUpDeduction, 300}});
}

// The PA depletion, interest and legal and professional fees are filled
// from the federal lines when empty and are the user's once filled (the
// interest and fees at most their federal line): a raised federal amount
// does not reach them, an emptied one is filled again.
TEST_F(ScheduleCTest, AmountsFilledWhenEmptyAreTheUsers) {
  const FieldId* const kFederal[] = {&FC::kDepletion.id(), &FC::kMortgageInterest.id(),
                                     &FC::kLegalAndProfessionalServices.id()};
  const FieldId* const kPA[] = {&C::kPADepletion.id(), &C::kInterest.id(), &C::kLegalProfessional.id()};
  for (const FieldId* field : kFederal) fedAmount(*field, 100);
  calculate();
  for (const FieldId* field : kPA) EXPECT_DOUBLE_EQ(sc().getIR(*field), 100) << field->getNumber();
  for (const FieldId* field : kFederal) fedAmount(*field, 400);
  calculate();
  for (const FieldId* field : kPA) EXPECT_DOUBLE_EQ(sc().getIR(*field), 100) << field->getNumber();
  for (const FieldId* field : kPA) put(kFormID_PAScheduleC, *field, FieldValue::null());
  calculate();
  for (const FieldId* field : kPA) EXPECT_DOUBLE_EQ(sc().getIR(*field), 400) << field->getNumber();
  expectAmounts(sc(), {{C::kFederalInterest, 400}, {C::kFederalLegalProfessional, 400}});
}

}  // namespace
