// Every form copy a calculation marks as part of the return leaves it
// again once its test fails with nothing of the user's on it, and stays as
// the host marked it while an entry of the user's is on it.
#include "calc/pa/tests/pa40_fixture.h"

namespace {

// A copy a calculation marks, one entry of the user's on it and, where the
// routine keeps the entry only beside a federal amount, that amount.
struct MarkingPlace {
  const char* name;
  const Primitives::OVImmutableFormIdentifier* form;
  uint16_t copy;
  const Primitives::OVImmutableIdentifier& entry;
  enum Kind { kAmount, kBox, kText } kind;
  const Primitives::OVImmutableFormIdentifier* federalForm;
  const Primitives::OVImmutableIdentifier& federalAmount;
};

const Primitives::OVImmutableIdentifier& kNone = Primitives::kNullFieldID;

const MarkingPlace kPlaces[] = {
    {"deductions", &kFormID_PADeductions, 1, PADeductions::kTuitionBeneficiaryName.at(2), MarkingPlace::kText,
     nullptr, kNone},
    {"direct deposit", &kFormID_PADirectDepositDebit, 1, PADirectDepositDebit::kBankItemOne, MarkingPlace::kAmount,
     nullptr, kNone},
    {"estimated tax", &kFormID_PAEstimatedTaxWorksheet, 1, PAEstimatedTaxWorksheet::kFurtherCredit.at(19),
     MarkingPlace::kAmount, nullptr, kNone},
    {"interest and dividends", &kFormID_PAInterestDividendWorksheet, 1,
     PAInterestDividendWorksheet::kOtherDividendsYesBox, MarkingPlace::kBox, nullptr, kNone},
    {"compensation", &kFormID_PAMiscCompWorksheet, 1, PAMiscCompWorksheet::kOwnCodeChoiceBox, MarkingPlace::kBox,
     nullptr, kNone},
    {"Schedule A, a third copy", &kFormID_PAScheduleA, 3, PAScheduleA::kOtherAdditions, MarkingPlace::kAmount,
     nullptr, kNone},
    {"Schedule C", &kFormID_PAScheduleC, 1, PAScheduleC::kAssetDescription.at(11), MarkingPlace::kText, nullptr,
     kNone},
    {"Schedule D", &kFormID_PAScheduleD, 1, PAScheduleD::kSaleSellingPrice.at(8), MarkingPlace::kAmount, nullptr,
     kNone},
    {"Schedule D worksheet", &kFormID_PAScheduleDWorksheet, 1, PAScheduleDWorksheet::kResidenceAddress,
     MarkingPlace::kText, nullptr, kNone},
    {"Schedule E of no federal source", &kFormID_PAScheduleE, 1, PAScheduleE::kRepairs, MarkingPlace::kAmount,
     nullptr, kNone},
    {"Schedule J", &kFormID_PAScheduleJ, 1, PAScheduleJ::kRowEIN.at(9), MarkingPlace::kText, nullptr, kNone},
    {"Schedule OC", &kFormID_PAScheduleOC, 1, PAScheduleOC::kCreditAmount.at(1), MarkingPlace::kAmount, nullptr,
     kNone},
    {"Schedule UE", &kFormID_PAScheduleUE, 1, PAScheduleUE::kEmployerName, MarkingPlace::kText, nullptr, kNone},
    {"W-2G income", &kFormID_PAW2GIncome, 1, PAW2GIncome::kTaxpayerSplitBox, MarkingPlace::kBox, &kFormID_Fed57,
     Fed57::kGamblingIncome},
};

class PartOfReturnTest : public PA40Test {
 protected:
  // Starts afresh with the federal amount the place needs.
  void restartFor(const MarkingPlace& p) {
    restart();
    if (p.federalForm != nullptr) number(*p.federalForm, p.federalAmount, 100);
  }
  void enterEntry(const MarkingPlace& p) {
    switch (p.kind) {
      case MarkingPlace::kAmount: number(*p.form, p.entry, -5, p.copy); break;
      case MarkingPlace::kBox: mark(*p.form, p.entry, p.copy); break;
      case MarkingPlace::kText: text(*p.form, p.entry, "Entered", p.copy); break;
    }
  }
  // Part of the return: marked and printed, so the host files it.
  bool partOfReturn(const MarkingPlace& p) {
    const DataMgmt::TaxForm& copy = copyOf(*p.form, p.copy);
    return copy.isDataEntered() && copy.isPrintFlag();
  }
};

// As a calculation before, or the loader, left it: part of the return.
// Nothing of the user's on it and its test failing, it leaves.
TEST_F(PartOfReturnTest, ACopyWithNothingOfTheUsersLeavesOnceItsTestFails) {
  for (const MarkingPlace& p : kPlaces) {
    restartFor(p);
    copyOf(*p.form, p.copy).setDataEnteredFlag(true, true);
    compute(*p.form, p.copy);
    EXPECT_FALSE(copyOf(*p.form, p.copy).isDataEntered() || copyOf(*p.form, p.copy).isPrintFlag()) << p.name;
  }
}

// The same test failing, one entry of the user's keeps the copy as the
// host marked it.
TEST_F(PartOfReturnTest, AnEntryOfTheUsersKeepsTheCopyWhateverItsTest) {
  for (const MarkingPlace& p : kPlaces) {
    restartFor(p);
    copyOf(*p.form, p.copy).setDataEnteredFlag(true, true);
    enterEntry(p);
    compute(*p.form, p.copy);
    EXPECT_TRUE(partOfReturn(p)) << p.name;
  }
}

// What the calculation holds protected is its own, not the user's, even in
// a field that is the user's elsewhere: such a value alone does not keep
// the copy.
TEST_F(PartOfReturnTest, AValueTheCalculationHoldsIsNoEntryOfTheUsers) {
  for (const MarkingPlace& p : kPlaces) {
    restartFor(p);
    copyOf(*p.form, p.copy).setDataEnteredFlag(true, true);
    enterEntry(p);
    copyOf(*p.form, p.copy).makeProtected(p.entry);
    compute(*p.form, p.copy);
    EXPECT_FALSE(copyOf(*p.form, p.copy).isProtected(p.entry) && partOfReturn(p)) << p.name;
  }
}

}  // namespace
