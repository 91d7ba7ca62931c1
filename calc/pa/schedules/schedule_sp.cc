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

#include "calc/pa/schedules/schedule_sp_parts.h"
#include "host/form_defaults.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;

namespace ScheduleSP {

void Run::clearRange(int first, int last) const {
  engine.clearFormFields(kFormID_PAScheduleSP, copy, sp(first), sp(last));
}

long Run::federalAmount(int code) const {
  return pa.pullCommon(engine.getFederalReturnFormId(), 1, static_cast<Utils::PCTypes>(code));
}

namespace {

const int kTextSize = 128;  // one field's text and its NUL

// Federal common item 1: the federal filing status (1, 4, 5 unmarried;
// 2 joint; 3 separate).
const int kPullFederalStatus = 1;

// PAReturnInfoFieldIds members.
const int kInfoTDeathDate = 19;       // 109
const int kInfoSDeathDate = 20;       // 110
const int kInfoSpouseAnswer = 122;    // 61

// FedFilerInfoFieldIds members.
const int kFedSpouseAnswer = 1645;    // 495, read with the information form's 61
const int kFedTDependent = 1668;      // 29
const int kFedSDependent = 1670;      // 450
const int kFedSeparateAnswer = 1649;  // 673, with Q1 and Q2 it marks Separate

// The spouse's identity items: the federal filer field (FedFilerInfoFieldIds
// member) copied into each of S1 to S5, and whether an empty text marks
// the spouse's data as missing.
struct SpouseItem {
  int fedMember;
  bool required;
};
const SpouseItem kSpouseItems[] = {
    {1599, true},   // 2
    {1600, false},  // 478
    {1601, true},   // 4
    {1602, false},  // 6
    {1627, true},   // 8
};
const int kSpouseItemCount = sizeof kSpouseItems / sizeof kSpouseItems[0];

const char kAnnualizationText[] = "Estimated annualized amount";

// One filer's dependency answers: the federal "is a dependent" answer, the
// marker it sets, the two Yes/No pairs, and whether the first pair is
// closed to entry when the filer is no dependent.
struct DependencyAnswers {
  int fedMember;
  int marker;
  int claimedYes;
  int claimedNo;
  int claimantYes;
  int claimantNo;
  bool closeClaimed;
};
const DependencyAnswers kTaxpayerAnswers = {kFedTDependent, kTDependent,   kTClaimedYes, kTClaimedNo,
                                            kTClaimantYes,  kTClaimantNo,  false};
const DependencyAnswers kSpouseAnswers = {kFedSDependent, kSDependent,  kSClaimedYes, kSClaimedNo,
                                          kSClaimantYes,  kSClaimantNo, true};

bool federalYes(const Run& run, int member) {
  return run.federal != nullptr &&
         run.federal->formYes(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[member]);
}

void protectAndNull(const Run& run, std::initializer_list<int> members) {
  for (int member : members) run.form().makeProtectedAndSetNull(sp(member));
}

void setNo(const Run& run, std::initializer_list<int> members) {
  for (int member : members) run.form().setXNo(sp(member));
}

void markOrNo(const Run& run, int member, bool marked) {
  marked ? run.form().setX(sp(member)) : run.form().setXNo(sp(member));
}

// The spouse's identity items, copied from the federal return when there is
// a spouse on the PA return (joint or separate), or when both returns say
// the spouse is to be shown.
void fillSpouseIdentity(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  const bool shown = run.filingStatus == 2 || run.filingStatus == 3 ||
                     (federalYes(run, kFedSpouseAnswer) &&
                      run.pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoSpouseAnswer]));
  if (!shown) {
    form.setXNo(sp(kSpouseMissing));
    for (int i = 0; i < kSpouseItemCount; ++i) form.makeProtectedAndSetNull(sp(kSItem1 + i));
    return;
  }
  bool missing = false;
  for (int i = 0; i < kSpouseItemCount; ++i) {
    char text[kTextSize] = "";
    if (run.federal != nullptr) {
      run.federal->formString(text, sizeof text, kFormID_FedFilerInfo, 1,
                              kFedFilerInfoFieldIds[kSpouseItems[i].fedMember]);
    }
    form.unProtect(sp(kSItem1 + i));
    if (text[0] != '\0') form.assignText(sp(kSItem1 + i), text);
    if (text[0] == '\0' && kSpouseItems[i].required) missing = true;
  }
  markOrNo(run, kSpouseMissing, missing);
}

// The "claimed as a dependent" answers of one filer, opened when the
// federal return says the filer is a dependent.
void fillDependencyAnswers(const Run& run, const DependencyAnswers& a) {
  DataMgmt::TaxForm& form = run.form();
  if (federalYes(run, a.fedMember)) {
    form.setX(sp(a.marker));
    Utils::setDefaultX(run.holder, sp(a.claimedYes), sp(a.claimedNo), sp(a.claimedNo));
    form.unProtect(sp(a.claimedYes));
    form.unProtect(sp(a.claimedNo));
    if (run.marked(a.claimedYes)) {
      Utils::setDefaultX(run.holder, sp(a.claimantNo), sp(a.claimantYes), sp(a.claimantYes));
      form.unProtect(sp(a.claimantYes));
      form.unProtect(sp(a.claimantNo));
    } else {
      protectAndNull(run, {a.claimantYes, a.claimantNo});
    }
    return;
  }
  form.setNull(sp(a.claimedYes));
  form.setX(sp(a.claimedNo));
  if (a.closeClaimed) {
    form.makeProtected(sp(a.claimedYes));
    form.makeProtected(sp(a.claimedNo));
  }
  protectAndNull(run, {a.claimantYes, a.claimantNo});
  form.setNull(sp(a.marker));
}

// The spouse's answers apply only to a joint federal return.
void fillSpouseDependencyAnswers(const Run& run) {
  if (run.federalAmount(kPullFederalStatus) == 2) {
    fillDependencyAnswers(run, kSpouseAnswers);
    return;
  }
  DataMgmt::TaxForm& form = run.form();
  form.setNull(sp(kSClaimedYes));
  form.setX(sp(kSClaimedNo));
  form.makeProtected(sp(kSClaimedYes));
  form.makeProtected(sp(kSClaimedNo));
  form.setNull(sp(kSClaimantYes));
  form.setNull(sp(kSClaimantNo));
  form.setNull(sp(kSDependent));
}

// A filer claimed as a dependent whose claimant answers No does not qualify.
bool disqualified(const Run& run) {
  if (run.marked(kTClaimedYes) && run.marked(kTClaimantNo)) return true;
  return run.filingStatus == 2 && run.marked(kSClaimedYes) && run.marked(kSClaimantNo);
}

bool diedInTaxYear(const Run& run, int dateMember) {
  char year[16];
  std::snprintf(year, sizeof year, "%d", run.pa.dateParse(run.holder, sp(dateMember), Utils::kDateYear));
  return std::strcmp(year, kYearText2018) == 0;
}

// The dates of death and, for a filer who died in the tax year, the
// Deceased box with its annualization note (not on a joint return).
void fillDeathDates(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  char taxpayer[kTextSize];
  char spouse[kTextSize];
  const DataMgmt::FormId& info = kFormID_PAReturnInfo;
  run.pa.formString(taxpayer, sizeof taxpayer, info, 1, kPAReturnInfoFieldIds[kInfoTDeathDate]);
  run.pa.formString(spouse, sizeof spouse, info, 1, kPAReturnInfoFieldIds[kInfoSDeathDate]);
  if (taxpayer[0] == '\0' && spouse[0] == '\0') {
    // No date of death: nothing of an earlier one may stay behind.
    form.setNull(sp(kTDeathDate));
    form.setNull(sp(kSDeathDate));
    form.setXNo(sp(kDiedThisYear));
    protectAndNull(run, {kAnnualization, kDeceased});
    return;
  }
  run.pa.getII(info, kPAReturnInfoFieldIds[kInfoTDeathDate], run.holder, sp(kTDeathDate));
  run.pa.getII(info, kPAReturnInfoFieldIds[kInfoSDeathDate], run.holder, sp(kSDeathDate));
  const bool taxpayerDied = diedInTaxYear(run, kTDeathDate);
  const bool spouseDied = diedInTaxYear(run, kSDeathDate);
  if (!taxpayerDied && !spouseDied) {
    form.setXNo(sp(kDiedThisYear));
    protectAndNull(run, {kAnnualization, kDeceased});
    return;
  }
  form.setX(sp(kDiedThisYear));
  if (run.filingStatus == 2) {
    form.makeProtectedAndSetNull(sp(kDeceased));
  } else {
    form.setX(sp(kDeceased));
    form.assignText(sp(kAnnualization), kAnnualizationText);
  }
}

// Unmarried (federal status 1, 4 or 5): sub-box 2 with the claimant's name
// and number when someone claims the taxpayer, else sub-box 1.
void fillUnmarried(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  form.setX(sp(kUnmarried));
  if (run.marked(kTClaimantYes)) {
    form.setX(sp(kUnmarriedSub2));
    form.unProtect(sp(kClaimantName));
    form.unProtect(sp(kClaimantNumber));
    form.assignII(sp(kUnmarriedName), sp(kClaimantName));
    form.assignII(sp(kUnmarriedNumber), sp(kClaimantNumber));
    form.setXNo(sp(kUnmarriedSub1));
  } else {
    form.setX(sp(kUnmarriedSub1));
    form.setXNo(sp(kUnmarriedSub2));
    protectAndNull(run, {kUnmarriedName, kUnmarriedNumber});
  }
}

// Married filing jointly (federal status 2): sub-box D when someone claims
// either spouse, else sub-box J.
void fillMarriedJoint(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  form.setX(sp(kMarried));
  const bool taxpayerClaimed = run.marked(kTClaimantYes);
  const bool spouseClaimed = run.marked(kSClaimantYes);
  if (taxpayerClaimed || spouseClaimed) {
    form.setXNo(sp(kMarriedJ));
    form.setX(sp(kMarriedD));
    if (taxpayerClaimed) {
      form.unProtect(sp(kClaimantName));
      form.unProtect(sp(kClaimantNumber));
    }
    if (spouseClaimed) {
      form.unProtect(sp(kMarriedDName));
      form.unProtect(sp(kMarriedDNumber));
    }
    if (taxpayerClaimed && !spouseClaimed) {
      form.unProtect(sp(kMarriedDName));
      form.unProtect(sp(kMarriedDNumber));
      form.assignII(sp(kMarriedDName), sp(kClaimantName));
      form.assignII(sp(kMarriedDNumber), sp(kClaimantNumber));
    }
  } else {
    form.setXNo(sp(kMarriedD));
    protectAndNull(run, {kMarriedDName, kMarriedDNumber});
    form.setX(sp(kMarriedJ));
  }
  setNo(run, {kQ1, kQ4, kQ3, kSeparate, kMarriedX, kMarriedXCompanion, kMarriedY});
}

// Married filing separately (federal status 3): the answers Q1 to Q4 decide
// between Separate and Married with sub-box X or Y.
void fillMarriedSeparate(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  form.setXNo(sp(kMarriedD));
  protectAndNull(run, {kMarriedDName, kMarriedDNumber});
  form.oneX9(sp(kQ1), sp(kQ2), sp(kQ3), sp(kQ4), sp(kQ4), sp(kQ4), sp(kQ4), sp(kQ4), sp(kQ4));
  for (int q : {kQ1, kQ2, kQ3, kQ4}) form.unProtect(sp(q));
  if (federalYes(run, kFedSeparateAnswer) || run.marked(kQ1) || run.marked(kQ2)) {
    form.setX(sp(kSeparate));
    setNo(run, {kMarried, kMarriedY, kMarriedX});
  } else {
    form.setX(sp(kMarried));
    setNo(run, {kMarriedX, kSeparate});
    markOrNo(run, kMarriedY, run.marked(kQ3));
    markOrNo(run, kMarriedX, run.marked(kQ4));
  }
}

// The filing-status boxes. A deceased filer's status boxes are cleared;
// otherwise the federal filing status decides.
void fillFilingStatusBoxes(const Run& run) {
  if (run.marked(kDeceased)) {
    run.clearRange(kQ1, kMarriedY);
    return;
  }
  protectAndNull(run, {kAnnualization, kDeceased});
  const long federalStatus = run.federalAmount(kPullFederalStatus);
  if (federalStatus == 1 || federalStatus == 4 || federalStatus == 5) {
    fillUnmarried(run);
  } else {
    run.clearRange(kUnmarried, kUnmarriedNumber);
  }
  if (federalStatus == 2) {
    fillMarriedJoint(run);
    return;
  }
  protectAndNull(run, {kMarriedD, kMarriedJ});
  if (federalStatus == 3) {
    fillMarriedSeparate(run);
  } else {
    setNo(run, {kQ1, kQ4, kQ3, kSeparate, kMarriedX, kMarriedXCompanion, kMarriedY});
  }
}

bool anyStatusMarked(const Run& run) {
  return run.marked(kUnmarried) || run.marked(kMarried) || run.marked(kDeceased) || run.marked(kSeparate);
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
                paReturn->readResidencyStatus(kFormID_PAReturnInfo)};
  const Primitives::OVImmutableIdentifier& none = Primitives::kNullFieldID;

  assignIndexedText(form, kFormID_PAReturnInfo, run.filingStatus, sp(kTItem1), sp(kTItem1 + 1),
                    sp(kTItem1 + 2), sp(kTItem1 + 3), sp(kTItem1 + 4), none, none, none, none, none,
                    none, 0);
  fillSpouseIdentity(run);
  fillDependencyAnswers(run, kTaxpayerAnswers);
  fillSpouseDependencyAnswers(run);

  if (disqualified(run)) {
    run.clearRange(kUnmarried, kLastMember);
  } else {
    form->oneX9(sp(kUnmarried), sp(kSeparate), sp(kDeceased), sp(kMarried), sp(kMarried), sp(kMarried),
                sp(kMarried), sp(kMarried), sp(kMarried));
    fillDeathDates(run);
    fillFilingStatusBoxes(run);
    if (run.marked(kMarriedX)) {
      form->unProtect(sp(kMarriedXCompanion));
    } else {
      form->makeProtectedAndSetNull(sp(kMarriedXCompanion));
    }
    countDependentChildren(run);
    if (anyStatusMarked(run)) {
      fillEligibilityIncome(run);
    } else {
      run.clearRange(kPartBFirst, kLastMember);
    }
    fillForgivenessLines(run);
    applyForgiveness(run);
  }

  // A deceased filer's schedule without its annualization note is cleared.
  if (run.marked(kDeceased) && form->isNull(sp(kAnnualization))) {
    run.clearRange(kPartBFirst, kLastMember - 1);
  }
  Utils::setDefaultX(form, sp(kPairABox2), sp(kPairABox1), sp(kPairABox1));
  Utils::setDefaultX(form, sp(kNewDependentsNo), sp(kNewDependentsYes), sp(kNewDependentsYes));

  if (paReturn->getIN(kFormID_PAScheduleSP, copy, sp(kOneColumn.forgiven)) > 0 ||
      paReturn->getIN(kFormID_PAScheduleSP, copy, sp(kTwoColumns.forgiven)) > 0) {
    paReturn->setDataEntered(kFormID_PAScheduleSP, copy, true, false);
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
