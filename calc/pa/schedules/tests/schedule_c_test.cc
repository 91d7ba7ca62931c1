// PA Schedule C: what the calculation takes from the federal copy goes
// with it; what it fills in once, or opens to the user, is the user's.
#include <string>

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
  }
  void fed(const FieldId& field, const std::string& value) { text(kFormID_FedScheduleC, field, value); }
  void fed(const FieldId& field, double value) { number(kFormID_FedScheduleC, field, value); }
  // Calculates the copy and shows `fields`, each its text ("." when null)
  // and "p" when protected.
  std::string after(std::initializer_list<FieldId> fields) {
    engine->computeScheduleC(holder(kFormID_PAScheduleC), 1, 0);
    std::string shown;
    for (const FieldId& field : fields) {
      const DataMgmt::TaxForm& sc = copyOf(kFormID_PAScheduleC);
      shown += (sc.isNull(field) ? "." : textOf(kFormID_PAScheduleC, field)) + (sc.isProtected(field) ? "p " : " ");
    }
    return shown;
  }
};

// Each line A text is its own federal text, protected, while there is
// one; then the other federal text fills it once, the user's from then on:
// a changed federal text does not reach it, an emptied one is filled again.
TEST_F(ScheduleCTest, LineATexts) {
  const struct {
    const FieldId* field;  // set to `value` before the step (emptied when null)
    const char* value;
    const char* shown;     // the main activity, the product or service
  } kSteps[] = {
      {&FC::kPrincipalBusiness.id(), "PLUMBING", "ACMEp PLUMBINGp "},
      {&FC::kBusinessName.id(), "", "PLUMBING PLUMBINGp "},
      {&FC::kPrincipalBusiness.id(), "HEATING", "PLUMBING HEATINGp "},
      {&C::kMainBusinessActivity.id(), nullptr, "HEATING HEATINGp "},
      {&FC::kPrincipalBusiness.id(), "", "HEATING . "},
  };
  fed(FC::kBusinessName, "ACME");
  for (const auto& step : kSteps) {
    if (step.value == nullptr) {
      put(kFormID_PAScheduleC, *step.field, FieldValue::null());
    } else {
      fed(*step.field, step.value);
    }
    EXPECT_EQ(after({C::kMainBusinessActivity, C::kProductOrService}), step.shown) << step.shown;
  }
}

// The inventory method, the depreciation questions and the start-up
// question hold an answer only while the federal copy asks for one (the
// answer it gives, or a default), and are open again when it does again;
// an entry of the user's where nothing is asked stays.
TEST_F(ScheduleCTest, AnswersOnlyWhileAsked) {
  const struct {
    bool accrual;
    double depreciation;
    double startUp;
    const char* shown;  // method, first and second depreciation No, start-up No
  } kSteps[] = {{true, 500, 900, "Ap X X X "}, {false, 0, 0, ". .p .p . "}, {false, 500, 0, ". X X . "}};
  for (const auto& step : kSteps) {
    put(kFormID_FedScheduleC, FC::kAccrualMethodBox, step.accrual ? FieldValue::mark() : FieldValue::null());
    fed(FC::kDepreciation, step.depreciation);
    fed(FC::kLimitedExpense, step.startUp);
    EXPECT_EQ(after({C::kInventoryMethod, C::kDepreciationFirstNoBox, C::kDepreciationSecondNoBox,
                     C::kStartUpCostsNoBox}),
              step.shown);
  }
  text(kFormID_PAScheduleC, C::kInventoryMethod, "O");
  EXPECT_EQ(after({C::kInventoryMethod}), "O ");
}

// The PA depletion, interest and legal and professional fees are filled
// from the federal lines when empty and are the user's once filled (the
// interest and fees at most their line): a raised federal amount does not
// reach them, an emptied one is filled again.
TEST_F(ScheduleCTest, AmountsFilledWhenEmptyAreTheUsers) {
  const FieldId* const kFederal[] = {&FC::kDepletion.id(), &FC::kMortgageInterest.id(),
                                     &FC::kLegalAndProfessionalServices.id()};
  const char* const kShown[] = {"100 100 100 ", "100 100 100 ", "400 400 400 "};
  for (int step = 0; step < 3; ++step) {
    for (const FieldId* field : kFederal) fed(*field, step == 0 ? 100.0 : 400.0);
    if (step == 2) {
      for (const FieldId* field : {&C::kPADepletion.id(), &C::kInterest.id(), &C::kLegalProfessional.id()}) {
        put(kFormID_PAScheduleC, *field, FieldValue::null());
      }
    }
    EXPECT_EQ(after({C::kPADepletion, C::kInterest, C::kLegalProfessional}), kShown[step]) << step;
  }
}

}  // namespace
