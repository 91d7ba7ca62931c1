// computeScheduleSP: PA Schedule SP, special tax forgiveness (state form
// 172, one copy).
//
// The steps run in a fixed order, and later steps read the boxes earlier
// ones set: identity, the dependency answers (a filer claimed by someone
// who answers No does not qualify, and the computed part is cleared), the
// filing-status boxes from the dates of death and the federal filing
// status, Part B, the eligibility income, the forgiveness lines and the
// percentage. The copy is marked data-entered only when some tax is
// forgiven.
//
// The information form is one per return and is read at copy 1; every
// write goes to the schedule copy being calculated.
#include <cstdio>
#include <cstring>
#include <utility>

#include "calc/pa/box_marks.h"
#include "calc/pa/part_of_return.h"
#include "calc/pa/schedules/schedule_sp_parts.h"
#include "host/form_defaults.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;

namespace ScheduleSP {

using Primitives::OVImmutableIdentifier;

void Run::clearRange(const OVImmutableIdentifier& first, const OVImmutableIdentifier& last) const {
  engine.clearFormFields(kFormID_PAScheduleSP, copy, first, last);
}

long Run::federalAmount(int code) const {
  return pa.pullCommon(engine.getFederalReturnFormId(), 1, static_cast<Utils::PCTypes>(code));
}

namespace {

const int kTextSize = 128;  // one field's text and its NUL

// Federal common item 1: the federal filing status.
const int kPullFederalStatus = 1;
enum FederalStatus : long {
  kFederalSingle = 1,
  kFederalJoint = 2,
  kFederalSeparate = 3,
  kFederalHeadOfHousehold = 4,
  kFederalWidowed = 5,
};
// The spouse's identity items: the federal filer field copied into each,
// and whether an empty text marks the spouse's data as missing.
const struct {
  const NamedField<FedFilerInfoFieldIds>& federal;
  const SPField& schedule;
  bool required;
} kSpouseItems[] = {
    {FedFilerInfo::kSpouseFirstName, PAScheduleSP::kSpouseFirstName, true},
    {FedFilerInfo::kSpouseMiddleInitial, PAScheduleSP::kSpouseMiddleInitial, false},
    {FedFilerInfo::kSpouseLastName, PAScheduleSP::kSpouseLastName, true},
    {FedFilerInfo::kSpouseSuffix, PAScheduleSP::kSpouseSuffix, false},
    {FedFilerInfo::kSpouseSsn, PAScheduleSP::kSpouseSSN, true},
};

const char kAnnualizationText[] = "Estimated annualized amount";

// One filer's dependency answers: the federal "is a dependent" answer, the
// marker it sets, the two Yes/No pairs, and whether the first pair is
// closed to entry when the filer is no dependent.
struct DependencyAnswers {
  NamedField<FedFilerInfoFieldIds> federal;
  SPField marker;
  SPField claimedYes;
  SPField claimedNo;
  SPField claimantYes;
  SPField claimantNo;
  bool closeClaimed;
};
constexpr DependencyAnswers kTaxpayerAnswers = {FedFilerInfo::kTaxpayerClaimedAsDependentBox,
                                                PAScheduleSP::kTaxpayerDependentMark,
                                                PAScheduleSP::kTaxpayerClaimedYesBox,
                                                PAScheduleSP::kTaxpayerClaimedNoBox,
                                                PAScheduleSP::kTaxpayerClaimantYesBox,
                                                PAScheduleSP::kTaxpayerClaimantNoBox,
                                                false};
constexpr DependencyAnswers kSpouseAnswers = {FedFilerInfo::kSpouseClaimedAsDependentBox,
                                              PAScheduleSP::kSpouseDependentMark,
                                              PAScheduleSP::kSpouseClaimedYesBox,
                                              PAScheduleSP::kSpouseClaimedNoBox,
                                              PAScheduleSP::kSpouseClaimantYesBox,
                                              PAScheduleSP::kSpouseClaimantNoBox,
                                              true};

// Whether the filer answered "claimed: No" against the Yes the calculation
// marks while the federal return says the filer is a dependent (otherwise
// the calculation writes the No itself): an entry of the user's.
bool answeredNotClaimed(const DataMgmt::TaxForm& form, const DependencyAnswers& a) {
  return form.xMarked(a.marker) && holdsEntry(form, a.claimedNo);
}

bool federalYes(const Run& run, const OVImmutableIdentifier& box) {
  return run.federal != nullptr && run.federal->formYes(kFormID_FedFilerInfo, 1, box);
}

void protectAndNull(const Run& run, std::initializer_list<OVImmutableIdentifier> fields) {
  for (const OVImmutableIdentifier& field : fields) run.form().makeProtectedAndSetNull(field);
}

void setNo(const Run& run, std::initializer_list<OVImmutableIdentifier> boxes) {
  for (const OVImmutableIdentifier& box : boxes) run.form().setXNo(box);
}

// The spouse's identity items, copied from the federal return when there is
// a spouse on the PA return (joint or separate), or when both returns say
// the spouse is to be shown. An item copied is closed (the next run copies
// it again whatever was typed over it); an item the federal return leaves
// empty is open to the user's entry, and a copy of an earlier federal text
// goes.
void fillSpouseIdentity(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  const bool shown = run.filingStatus == PADataMgmt::kFilingJoint ||
                     run.filingStatus == PADataMgmt::kFilingSeparate ||
                     (federalYes(run, FedFilerInfo::kSpouseAnswerBox) &&
                      run.pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kSpouseNumberYesBox));
  if (!shown) {
    form.setXNo(PAScheduleSP::kSpouseMissingBox);
    for (const auto& item : kSpouseItems) form.makeProtectedAndSetNull(item.schedule);
    return;
  }
  bool missing = false;
  for (const auto& item : kSpouseItems) {
    char text[kTextSize] = "";
    if (run.federal != nullptr)
      run.federal->formString(text, sizeof text, kFormID_FedFilerInfo, 1, item.federal);
    if (text[0] != '\0') {
      form.makeProtected(item.schedule);
      form.assignText(item.schedule, text);
    } else {
      form.unprotectAndMaybeSetNull(item.schedule);
      if (item.required) missing = true;
    }
  }
  markOrNo(form, PAScheduleSP::kSpouseMissingBox, missing);
}

// The "claimed as a dependent" answers of one filer, opened when the
// federal return says the filer is a dependent.
void fillDependencyAnswers(const Run& run, const DependencyAnswers& a) {
  DataMgmt::TaxForm& form = run.form();
  if (federalYes(run, a.federal)) {
    form.setX(a.marker);
    Utils::setDefaultX(run.holder, a.claimedYes, a.claimedNo, a.claimedNo);
    form.unProtect(a.claimedYes);
    form.unProtect(a.claimedNo);
    if (run.marked(a.claimedYes)) {
      Utils::setDefaultX(run.holder, a.claimantNo, a.claimantYes, a.claimantYes);
      form.unProtect(a.claimantYes);
      form.unProtect(a.claimantNo);
    } else {
      protectAndNull(run, {a.claimantYes, a.claimantNo});
    }
    return;
  }
  form.setNull(a.claimedYes);
  form.setX(a.claimedNo);
  if (a.closeClaimed) {
    form.makeProtected(a.claimedYes);
    form.makeProtected(a.claimedNo);
  }
  protectAndNull(run, {a.claimantYes, a.claimantNo});
  form.setNull(a.marker);
}

// The spouse's answers apply only to a joint federal return.
void fillSpouseDependencyAnswers(const Run& run) {
  if (run.federalAmount(kPullFederalStatus) == kFederalJoint) {
    fillDependencyAnswers(run, kSpouseAnswers);
    return;
  }
  DataMgmt::TaxForm& form = run.form();
  form.setNull(PAScheduleSP::kSpouseClaimedYesBox);
  form.setX(PAScheduleSP::kSpouseClaimedNoBox);
  form.makeProtected(PAScheduleSP::kSpouseClaimedYesBox);
  form.makeProtected(PAScheduleSP::kSpouseClaimedNoBox);
  form.setNull(PAScheduleSP::kSpouseClaimantYesBox);
  form.setNull(PAScheduleSP::kSpouseClaimantNoBox);
  form.setNull(PAScheduleSP::kSpouseDependentMark);
}

// A filer claimed as a dependent whose claimant answers No does not qualify.
bool disqualified(const Run& run) {
  if (run.marked(PAScheduleSP::kTaxpayerClaimedYesBox) && run.marked(PAScheduleSP::kTaxpayerClaimantNoBox)) {
    return true;
  }
  return run.filingStatus == PADataMgmt::kFilingJoint && run.marked(PAScheduleSP::kSpouseClaimedYesBox) &&
         run.marked(PAScheduleSP::kSpouseClaimantNoBox);
}

bool diedInTaxYear(const Run& run, const OVImmutableIdentifier& date) {
  char year[16];
  std::snprintf(year, sizeof year, "%d", run.pa.dateParse(run.holder, date, Utils::kDateYear));
  return std::strcmp(year, kYearText2018) == 0;
}

// Closes the Deceased box and its annualization note.
void closeDeceased(const Run& run) {
  protectAndNull(run, {PAScheduleSP::kAnnualizationMethod, PAScheduleSP::kDeceasedBox});
}

// The dates of death and, for a filer who died in the tax year, the
// Deceased box with its annualization note (not on a joint return).
void fillDeathDates(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  char taxpayer[kTextSize];
  char spouse[kTextSize];
  const DataMgmt::FormId& info = kFormID_PAReturnInfo;
  run.pa.formString(taxpayer, sizeof taxpayer, info, 1, PAReturnInfo::kTaxpayerDateOfDeath);
  run.pa.formString(spouse, sizeof spouse, info, 1, PAReturnInfo::kSpouseDateOfDeath);
  if (taxpayer[0] == '\0' && spouse[0] == '\0') {
    // No date of death: nothing of an earlier one may stay behind.
    form.setNull(PAScheduleSP::kTaxpayerDateOfDeath);
    form.setNull(PAScheduleSP::kSpouseDateOfDeath);
    form.setXNo(PAScheduleSP::kDiedThisYearBox);
    closeDeceased(run);
    return;
  }
  run.pa.getII(info, PAReturnInfo::kTaxpayerDateOfDeath, run.holder, PAScheduleSP::kTaxpayerDateOfDeath);
  run.pa.getII(info, PAReturnInfo::kSpouseDateOfDeath, run.holder, PAScheduleSP::kSpouseDateOfDeath);
  const bool taxpayerDied = diedInTaxYear(run, PAScheduleSP::kTaxpayerDateOfDeath);
  const bool spouseDied = diedInTaxYear(run, PAScheduleSP::kSpouseDateOfDeath);
  if (!taxpayerDied && !spouseDied) {
    form.setXNo(PAScheduleSP::kDiedThisYearBox);
    closeDeceased(run);
    return;
  }
  form.setX(PAScheduleSP::kDiedThisYearBox);
  if (run.filingStatus == PADataMgmt::kFilingJoint) {
    form.makeProtectedAndSetNull(PAScheduleSP::kDeceasedBox);
  } else {
    form.setX(PAScheduleSP::kDeceasedBox);
    form.assignText(PAScheduleSP::kAnnualizationMethod, kAnnualizationText);
  }
}

// Opens the claimant's name and number of the taxpayer.
void openClaimant(DataMgmt::TaxForm& form) {
  form.unProtect(PAScheduleSP::kClaimantName);
  form.unProtect(PAScheduleSP::kClaimantSSN);
}

// Unmarried (federal status single, head of household or widowed): the claimed sub-box with the
// claimant's name and number when someone claims the taxpayer, else the
// not-claimed sub-box.
void fillUnmarried(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  form.setX(PAScheduleSP::kUnmarriedBox);
  if (run.marked(PAScheduleSP::kTaxpayerClaimantYesBox)) {
    form.setX(PAScheduleSP::kUnmarriedClaimedBox);
    openClaimant(form);
    form.assignII(PAScheduleSP::kUnmarriedClaimantName, PAScheduleSP::kClaimantName);
    form.assignII(PAScheduleSP::kUnmarriedClaimantSSN, PAScheduleSP::kClaimantSSN);
    form.setXNo(PAScheduleSP::kUnmarriedNotClaimedBox);
  } else {
    form.setX(PAScheduleSP::kUnmarriedNotClaimedBox);
    form.setXNo(PAScheduleSP::kUnmarriedClaimedBox);
    protectAndNull(run, {PAScheduleSP::kUnmarriedClaimantName, PAScheduleSP::kUnmarriedClaimantSSN});
  }
}

// Every Part A box of a married filer that a joint federal return, or a
// separate one without a married answer, leaves unmarked.
void setSeparationBoxesNo(const Run& run) {
  setNo(run, {PAScheduleSP::kSeparationFirstAnswerBox, PAScheduleSP::kSeparationFourthAnswerBox,
              PAScheduleSP::kSeparationThirdAnswerBox, PAScheduleSP::kSeparatedBox,
              PAScheduleSP::kMarriedSeparateSchedulesBox, PAScheduleSP::kSameInformationBox,
              PAScheduleSP::kMarriedOtherBox});
}

// Married filing jointly (federal status joint): the claimed sub-box when
// someone claims either spouse, else the joint sub-box. The sub-box's
// claimant is the taxpayer's claimant, copied (closed), when only the
// taxpayer is claimed; with the spouse claimed it is the user's to enter,
// and a copy made before goes.
void fillMarriedJoint(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  form.setX(PAScheduleSP::kMarriedBox);
  const bool taxpayerClaimed = run.marked(PAScheduleSP::kTaxpayerClaimantYesBox);
  const bool spouseClaimed = run.marked(PAScheduleSP::kSpouseClaimantYesBox);
  if (taxpayerClaimed || spouseClaimed) {
    form.setXNo(PAScheduleSP::kMarriedJointBox);
    form.setX(PAScheduleSP::kMarriedClaimedBox);
    if (taxpayerClaimed) openClaimant(form);
    const std::pair<const SPField*, const SPField*> copies[] = {
        {&PAScheduleSP::kMarriedClaimantName, &PAScheduleSP::kClaimantName},
        {&PAScheduleSP::kMarriedClaimantSSN, &PAScheduleSP::kClaimantSSN}};
    for (const auto& copy : copies) {
      if (taxpayerClaimed && !spouseClaimed) {
        form.makeProtected(*copy.first);
        form.assignII(*copy.first, *copy.second);
      } else {
        form.unprotectAndMaybeSetNull(*copy.first);
      }
    }
  } else {
    form.setXNo(PAScheduleSP::kMarriedClaimedBox);
    protectAndNull(run, {PAScheduleSP::kMarriedClaimantName, PAScheduleSP::kMarriedClaimantSSN});
    form.setX(PAScheduleSP::kMarriedJointBox);
  }
  setSeparationBoxesNo(run);
}

// Married filing separately (federal status separate): the answers to the four
// separation questions decide between Separated and Married with the
// separate-schedules or the other sub-box.
void fillMarriedSeparate(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  const SPField& q1 = PAScheduleSP::kSeparationFirstAnswerBox;
  const SPField& q2 = PAScheduleSP::kSeparationSecondAnswerBox;
  const SPField& q3 = PAScheduleSP::kSeparationThirdAnswerBox;
  const SPField& q4 = PAScheduleSP::kSeparationFourthAnswerBox;
  form.setXNo(PAScheduleSP::kMarriedClaimedBox);
  protectAndNull(run, {PAScheduleSP::kMarriedClaimantName, PAScheduleSP::kMarriedClaimantSSN});
  form.oneX9(q1, q2, q3, q4, q4, q4, q4, q4, q4);
  for (const SPField* q : {&q1, &q2, &q3, &q4}) form.unProtect(*q);
  if (federalYes(run, FedFilerInfo::kSeparateAnswerBox) || run.marked(q1) || run.marked(q2)) {
    form.setX(PAScheduleSP::kSeparatedBox);
    setNo(run, {PAScheduleSP::kMarriedBox, PAScheduleSP::kMarriedOtherBox,
                PAScheduleSP::kMarriedSeparateSchedulesBox});
  } else {
    form.setX(PAScheduleSP::kMarriedBox);
    setNo(run, {PAScheduleSP::kMarriedSeparateSchedulesBox, PAScheduleSP::kSeparatedBox});
    markOrNo(form, PAScheduleSP::kMarriedOtherBox, run.marked(q3));
    markOrNo(form, PAScheduleSP::kMarriedSeparateSchedulesBox, run.marked(q4));
  }
}

// The filing-status boxes. A deceased filer's status boxes are cleared;
// otherwise the federal filing status decides.
void fillFilingStatusBoxes(const Run& run) {
  if (run.marked(PAScheduleSP::kDeceasedBox)) {
    run.clearRange(PAScheduleSP::kSeparationFirstAnswerBox, PAScheduleSP::kMarriedOtherBox);
    return;
  }
  closeDeceased(run);
  const long federalStatus = run.federalAmount(kPullFederalStatus);
  if (federalStatus == kFederalSingle || federalStatus == kFederalHeadOfHousehold ||
      federalStatus == kFederalWidowed) {
    fillUnmarried(run);
  } else {
    run.clearRange(PAScheduleSP::kUnmarriedBox, PAScheduleSP::kUnmarriedClaimantSSN);
  }
  if (federalStatus == kFederalJoint) {
    fillMarriedJoint(run);
    return;
  }
  protectAndNull(run, {PAScheduleSP::kMarriedClaimedBox, PAScheduleSP::kMarriedJointBox});
  if (federalStatus == kFederalSeparate) {
    fillMarriedSeparate(run);
  } else {
    setSeparationBoxesNo(run);
  }
}

bool anyStatusMarked(const Run& run) {
  return run.marked(PAScheduleSP::kUnmarriedBox) || run.marked(PAScheduleSP::kMarriedBox) ||
         run.marked(PAScheduleSP::kDeceasedBox) || run.marked(PAScheduleSP::kSeparatedBox);
}

}  // namespace
}  // namespace ScheduleSP

void PATaxReturnCalcEngine::computeScheduleSP(TaxFormPtr form, uint16_t copy, int passOn) {
  using namespace ScheduleSP;
  if (paReturn == nullptr || form.isNull()) return;
  const Run run{*this,
                *paReturn,
                federalReturn,
                form,
                copy,
                passOn,
                paReturn->readFilingStatus(kFormID_PAReturnInfo),
                paReturn->readResidencyStatus(kFormID_PAReturnInfo),
                provisionalPA40Run};
  const Primitives::OVImmutableIdentifier& none = Primitives::kNullFieldID;

  assignIndexedText(form, kFormID_PAReturnInfo, run.filingStatus, PAScheduleSP::kTaxpayerFirstName,
                    PAScheduleSP::kTaxpayerMiddleInitial, PAScheduleSP::kTaxpayerLastName,
                    PAScheduleSP::kTaxpayerSuffix, PAScheduleSP::kTaxpayerSSN, none, none, none, none, none,
                    none, 0);
  fillSpouseIdentity(run);
  fillDependencyAnswers(run, kTaxpayerAnswers);
  fillSpouseDependencyAnswers(run);

  const SPField& married = PAScheduleSP::kMarriedBox;
  if (disqualified(run)) {
    run.clearRange(PAScheduleSP::kUnmarriedBox, PAScheduleSP::kTwoColumnTaxForgiveness);
  } else {
    form->oneX9(PAScheduleSP::kUnmarriedBox, PAScheduleSP::kSeparatedBox, PAScheduleSP::kDeceasedBox, married,
                married, married, married, married, married);
    fillDeathDates(run);
    fillFilingStatusBoxes(run);
    if (run.marked(PAScheduleSP::kMarriedSeparateSchedulesBox)) {
      form->unProtect(PAScheduleSP::kSameInformationBox);
    } else {
      form->makeProtectedAndSetNull(PAScheduleSP::kSameInformationBox);
    }
    countDependentChildren(run);
    if (anyStatusMarked(run)) {
      fillEligibilityIncome(run);
    } else {
      run.clearRange(PAScheduleSP::kDependentName.at(0), PAScheduleSP::kTwoColumnTaxForgiveness);
    }
    fillForgivenessLines(run);
    applyForgiveness(run);
  }

  // A deceased filer's schedule without its annualization note is cleared.
  if (run.marked(PAScheduleSP::kDeceasedBox) && form->isNull(PAScheduleSP::kAnnualizationMethod)) {
    run.clearRange(PAScheduleSP::kDependentName.at(0), PAScheduleSP::kTaxForgiveness);
  }
  Utils::setDefaultX(form, PAScheduleSP::kFederalPageOneNoBox, PAScheduleSP::kFederalPageOneYesBox,
                     PAScheduleSP::kFederalPageOneYesBox);
  Utils::setDefaultX(form, PAScheduleSP::kNewDependentsNoBox, PAScheduleSP::kNewDependentsYesBox,
                     PAScheduleSP::kNewDependentsYesBox);

  // Part of the return while it forgives tax or holds an entry of the
  // user's, decided by a run whose PA-40 figures are final: a provisional
  // run's forgiveness rests on credits still to come.
  if (!provisionalPA40Run) {
    const bool forgives = paReturn->getIN(kFormID_PAScheduleSP, copy, kOneColumn.forgiven) > 0 ||
                          paReturn->getIN(kFormID_PAScheduleSP, copy, kTwoColumns.forgiven) > 0;
    markPartOfReturn(*paReturn, kFormID_PAScheduleSP, copy, *form, forgives, [&] {
      return holdsUserEntry(*form, PAScheduleSP::kUserFields) || answeredNotClaimed(*form, kTaxpayerAnswers) ||
             answeredNotClaimed(*form, kSpouseAnswers);
    });
  }
}

}  // namespace PACalculationMgmt
