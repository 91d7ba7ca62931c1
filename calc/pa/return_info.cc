// The PA information form (state form 168): one straight sequence of
// rules, numbered as they run. Later rules read marks that earlier ones
// set, and some override earlier ones, so the order is part of the result.
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/return_info_view.h"
#include "host/business.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

namespace {

// Federal filing status codes, as the host pulls them (common item 1).
enum FederalFilingStatus : long {
  kFederalJoint = 2,
  kFederalSeparate = 3,
  kFederalHeadOfHousehold = 4,
  kFederalLastStatus = 9,
};

// Box pairs defaulted as the host does it: the first is marked when
// neither is (rules 13, 15, 18).
struct DefaultPair {
  InfoField defaultBox;
  InfoField otherBox;
};

const DefaultPair kAnswerDefaults[] = {
    {PAReturnInfo::kAnswerBNoBox, PAReturnInfo::kAnswerBYesBox},
    {PAReturnInfo::kAnswerCDefaultBox, PAReturnInfo::kAnswerCOtherBox},
    {PAReturnInfo::kAnswerDNoBox, PAReturnInfo::kAnswerDYesBox},
};
const DefaultPair kLaterAnswerDefaults[] = {
    {PAReturnInfo::kAmendedReturnNoBox, PAReturnInfo::kAmendedReturnYesBox},
    {PAReturnInfo::kFarmerNoBox, PAReturnInfo::kFarmerYesBox},
};

// A filer's date of death: federal form 92's date, the deceased box, the
// date copied in and the year box.
struct DeathDate {
  NamedField<FedFilerInfoFieldIds> fedDate;
  InfoField deceasedBox;
  InfoField date;
  InfoField yearBox;
};

const DeathDate kDeathDates[] = {
    {FedFilerInfo::kTaxpayerDeathDate, PAReturnInfo::kTaxpayerDeceasedBox, PAReturnInfo::kTaxpayerDateOfDeath,
     PAReturnInfo::kTaxpayerDiedInYearBox},
    {FedFilerInfo::kSpouseDeathDate, PAReturnInfo::kSpouseDeceasedBox, PAReturnInfo::kSpouseDateOfDeath,
     PAReturnInfo::kSpouseDiedInYearBox},
};

// Fields kept in step: the information form's field, federal form 183's
// and state form 14's.
struct SteppedField {
  InfoField info;
  NamedField<Fed183FieldIds> fed183;
  NamedField<State14FieldIds> state14;
};

const SteppedField kSteppedFields[] = {
    {PAReturnInfo::kTaxpayerPin, Fed183::kTaxpayerPin, State14::kTaxpayerPin},
    {PAReturnInfo::kSpousePin, Fed183::kSpousePin, State14::kSpousePin},
    {PAReturnInfo::kTaxpayerSyncedItemB, Fed183::kTaxpayerSharedSecondEntry, State14::kTaxpayerSyncedItemB},
    {PAReturnInfo::kSpouseSyncedItemB, Fed183::kSpouseSharedSecondEntry, State14::kSpouseSyncedItemB},
    {PAReturnInfo::kTaxpayerSyncedItemA, Fed183::kTaxpayerSharedFirstEntry, State14::kTaxpayerSyncedItemA},
    {PAReturnInfo::kSpouseSyncedItemA, Fed183::kSpouseSharedFirstEntry, State14::kSpouseSyncedItemA},
};

// Federal forms whose copies mark the other-federal-sales box (rule 26).
// Federal form 20 counts only copies with a sale amount above 0; federal
// form 42 counts only when the information form's federal-form-counts box
// is yes.
struct PresenceRule {
  const FormId* form;
  bool onlyPositiveSale;
  bool needsCountsBox;
};

const PresenceRule kOtherFederalSaleForms[] = {
    {&kFormID_Fed36, false, false}, {&kFormID_Fed20, true, false}, {&kFormID_Fed184, false, false},
    {&kFormID_Fed35, false, false}, {&kFormID_Fed42, false, true}, {&kFormID_Fed129, false, false},
    {&kFormID_Fed83, false, false},
};

// Copies of `form` on the federal return that exist, over copies 1 to the
// highest copy number; with `onlyPositiveSale`, those whose federal form 20
// sale amount is above 0.
int countCopiesNow(const DataMgmt::TaxReturn& federal, const FormId& form, bool onlyPositiveSale) {
  int count = 0;
  const int last = federal.getMaxCopies(form);
  for (int copy = 1; copy <= last; ++copy) {
    const uint16_t c = static_cast<uint16_t>(copy);
    if (federal.getForm(form, c) == nullptr) continue;
    if (onlyPositiveSale && federal.getIN(form, c, Fed20::kSaleAmount) <= 0) continue;
    ++count;
  }
  return count;
}

// The same count, kept while the form is unchanged.
int countCopies(CopyScanCache& scans, const DataMgmt::TaxReturn& federal, const FormId& form,
                bool onlyPositiveSale) {
  const long inputs = 2L * form.getNumber() + (onlyPositiveSale ? 1 : 0);
  return static_cast<int>(scans.get(scanKey(CopyScan::kFederalCopies, inputs), {{&federal, form}}, [&] {
    return ScanTotals{static_cast<double>(countCopiesNow(federal, form, onlyPositiveSale))};
  })[0]);
}

// Rules 2 to 4: residency boxes, part-year dates and the part-year
// allocation answer.
void applyResidency(const InfoFormView& info, int federalResidencyCode) {
  info.unmark(PAReturnInfo::kPartYearNotAllocatedBox);
  info.form().oneX(PAReturnInfo::kFullYearResidentBox, PAReturnInfo::kNonresidentBox,
                   PAReturnInfo::kPartYearResidentBox);
  if (!info.marked(PAReturnInfo::kFullYearResidentBox) && !info.marked(PAReturnInfo::kNonresidentBox) &&
      !info.marked(PAReturnInfo::kPartYearResidentBox)) {
    info.mark(federalResidencyCode == kFilerPartYearResident ? PAReturnInfo::kPartYearResidentBox
              : federalResidencyCode == kFilerNonresident    ? PAReturnInfo::kNonresidentBox
                                                             : PAReturnInfo::kFullYearResidentBox);
  }

  if (info.marked(PAReturnInfo::kPartYearResidentBox)) {
    info.unprotect({PAReturnInfo::kPartYearFromDate, PAReturnInfo::kPartYearToDate});
  } else {
    info.protect({PAReturnInfo::kPartYearFromDate, PAReturnInfo::kPartYearToDate});
    info.setNull(PAReturnInfo::kPartYearFromDate);
    info.setNull(PAReturnInfo::kPartYearToDate);
  }

  info.setDefault(PAReturnInfo::kPartYearAllocateYesBox, PAReturnInfo::kPartYearAllocateNoBox);
  if (info.marked(PAReturnInfo::kPartYearResidentBox)) {
    info.unprotect({PAReturnInfo::kPartYearAllocateYesBox, PAReturnInfo::kPartYearAllocateNoBox});
    const bool answered = info.marked(PAReturnInfo::kPartYearAllocateYesBox);
    info.mark(answered ? PAReturnInfo::kPartYearAllocatedBox : PAReturnInfo::kPartYearNotAllocatedBox);
    info.unmark(answered ? PAReturnInfo::kPartYearNotAllocatedBox : PAReturnInfo::kPartYearAllocatedBox);
  } else {
    info.protect({PAReturnInfo::kPartYearAllocateYesBox, PAReturnInfo::kPartYearAllocateNoBox});
    info.unmark(PAReturnInfo::kPartYearAllocateYesBox);
    info.unmark(PAReturnInfo::kPartYearAllocateNoBox);
    info.mark(PAReturnInfo::kPartYearNotAllocatedBox);
    info.unmark(PAReturnInfo::kPartYearAllocatedBox);
  }
}

// Rule 5: answers open only to a federal joint return.
void applyFederalJointAnswers(const InfoFormView& info, long fedStatus) {
  if (fedStatus == kFederalJoint) {
    info.unprotect({PAReturnInfo::kDifferentResidencyYesBox, PAReturnInfo::kDifferentResidencyNoBox});
    info.setDefault(PAReturnInfo::kDifferentResidencyNoBox, PAReturnInfo::kDifferentResidencyYesBox);
    info.unprotect({PAReturnInfo::kJointSecondAnswerYesBox, PAReturnInfo::kJointSecondAnswerNoBox});
    info.setDefault(PAReturnInfo::kJointSecondAnswerNoBox, PAReturnInfo::kJointSecondAnswerYesBox);
  } else {
    info.protect({PAReturnInfo::kDifferentResidencyYesBox, PAReturnInfo::kDifferentResidencyNoBox});
    info.unmark(PAReturnInfo::kDifferentResidencyYesBox);
    info.unmark(PAReturnInfo::kDifferentResidencyNoBox);
    info.protect({PAReturnInfo::kJointSecondAnswerYesBox, PAReturnInfo::kJointSecondAnswerNoBox});
    info.unmark(PAReturnInfo::kJointSecondAnswerYesBox);
    info.unmark(PAReturnInfo::kJointSecondAnswerNoBox);
  }
}

// Rule 8: the PA filing status follows the federal one.
void applyFilingStatus(const InfoFormView& info, long fedStatus) {
  const InfoField kStatusBoxes[] = {PAReturnInfo::kSingleBox, PAReturnInfo::kJointBox,
                                    PAReturnInfo::kSeparateBox, PAReturnInfo::kTaxpayerDeceasedBox,
                                    PAReturnInfo::kSpouseDeceasedBox};
  for (const InfoField& box : kStatusBoxes) info.unmark(box);
  bool anyMarked = false;
  for (const InfoField& box : kStatusBoxes) anyMarked = anyMarked || info.marked(box);
  if (!anyMarked) {
    if (fedStatus == kFederalJoint) {
      info.mark(PAReturnInfo::kJointBox);
    } else if (fedStatus == kFederalSeparate) {
      info.mark(PAReturnInfo::kSeparateBox);
    } else if (fedStatus == kFederalHeadOfHousehold) {
      info.mark(info.yesOnCopy1(PAReturnInfo::kSpouseNumberYesBox) ? PAReturnInfo::kSeparateBox
                                                                   : PAReturnInfo::kSingleBox);
    } else if (fedStatus >= 0 && fedStatus <= kFederalLastStatus) {
      info.mark(PAReturnInfo::kSingleBox);
    }
  }
  info.form().oneX3(PAReturnInfo::kSingleBox, PAReturnInfo::kSeparateBox, PAReturnInfo::kJointBox);
}

// Rules 9 and 10: a date of death from federal form 92. A death in 2018 or
// 2019 opens the spouse-number answer; any other year closes it.
void applyDateOfDeath(const InfoFormView& info, const DataMgmt::TaxReturn* federal, const DeathDate& death,
                      uint16_t copy) {
  const FieldId& fedDate = death.fedDate;
  char text[128];
  info.pa().textString(text, kFormID_FedFilerInfo, copy, fedDate);
  if (text[0] == '\0') {
    info.unmark(death.deceasedBox);
    info.setNull(death.date);
    return;
  }
  info.mark(death.deceasedBox);
  if (federal != nullptr) federal->getII(kFormID_FedFilerInfo, fedDate, info.holder(), death.date);
  char year[16];
  std::snprintf(year, sizeof year, "%d",
                info.pa().dateParse(info.holder(), death.date, static_cast<Utils::DATEPARSE_TYPE>(0)));
  if (std::strcmp(year, kYearText2018) == 0 || std::strcmp(year, kYearText2019) == 0) {
    info.mark(death.yearBox);
    info.unprotect({PAReturnInfo::kSpouseNumberYesBox, PAReturnInfo::kSpouseNumberNoBox});
  } else {
    info.unmark(death.yearBox);
    info.protect({PAReturnInfo::kSpouseNumberYesBox, PAReturnInfo::kSpouseNumberNoBox});
    info.unmark(PAReturnInfo::kSpouseNumberYesBox);
    info.unmark(PAReturnInfo::kSpouseNumberNoBox);
  }
}

// Rule 11: a deceased filer whose death is not dated 2018 or 2019 files as
// single when federal form 92 marks a married filing status.
void applyDeceasedSingle(const InfoFormView& info, const DataMgmt::TaxReturn* federal) {
  const bool earlierDeath = (info.yesOnCopy1(PAReturnInfo::kTaxpayerDeceasedBox) &&
                             !info.yesOnCopy1(PAReturnInfo::kTaxpayerDiedInYearBox)) ||
                            (info.yesOnCopy1(PAReturnInfo::kSpouseDeceasedBox) &&
                             !info.yesOnCopy1(PAReturnInfo::kSpouseDiedInYearBox));
  const bool fedSays = federal != nullptr &&
                       (federal->formYes(kFormID_FedFilerInfo, 1, FedFilerInfo::kMarriedFilingJointlyBox) ||
                        federal->formYes(kFormID_FedFilerInfo, 1, FedFilerInfo::kMarriedFilingSeparatelyBox));
  if (earlierDeath && fedSays) {
    info.mark(PAReturnInfo::kSingleBox);
    info.unmark(PAReturnInfo::kJointBox);
    info.unmark(PAReturnInfo::kSeparateBox);
  }
}

// Rules 12 and 13: answer pairs and the fields that follow them.
void applyAnswerPairs(const InfoFormView& info) {
  info.setDefault(PAReturnInfo::kFilingStatusFNoBox, PAReturnInfo::kFilingStatusFBox);
  if (info.marked(PAReturnInfo::kFullYearResidentBox) || info.marked(PAReturnInfo::kPartYearResidentBox)) {
    info.unprotect({PAReturnInfo::kFilingStatusFBox, PAReturnInfo::kFilingStatusFNoBox});
  } else {
    info.protect({PAReturnInfo::kFilingStatusFBox});
    info.setNull(PAReturnInfo::kFilingStatusFBox);
    info.protect({PAReturnInfo::kFilingStatusFNoBox});
    info.mark(PAReturnInfo::kFilingStatusFNoBox);
  }

  info.setDefault(PAReturnInfo::kAnswerANoBox, PAReturnInfo::kAnswerAYesBox);
  info.setDefault(PAReturnInfo::kPOBoxNoBox, PAReturnInfo::kPOBoxBox);
  if (info.marked(PAReturnInfo::kPOBoxBox)) {
    info.unprotect({PAReturnInfo::kPOBoxStreet});
  } else {
    info.protectAndNull({PAReturnInfo::kPOBoxStreet});
  }
  info.setDefault(PAReturnInfo::kAddressSecondLineNoBox, PAReturnInfo::kAddressSecondLineBox);
  if (info.marked(PAReturnInfo::kAddressSecondLineBox)) {
    info.unprotect({PAReturnInfo::kAddressSecondLine});
  } else {
    info.protectAndNull({PAReturnInfo::kAddressSecondLine});
  }
  info.setDefault(PAReturnInfo::kCombatZoneNoBox, PAReturnInfo::kCombatZoneYesBox);
  info.setDefault(PAReturnInfo::kSecondCombatZoneNoBox, PAReturnInfo::kSecondCombatZoneYesBox);
  Utils::handleFilingChoice(info.holder(), PAReturnInfo::kFilingChoiceFirstBox,
                            PAReturnInfo::kFilingChoiceSecondBox);
}

// Rule 14: `box` marked and closed while `amount` is above 0. Otherwise the
// box is open, and a mark the calculation made goes with the amount that
// made it (the return would say a payment was made that is 0); a mark the
// user made while it was open stays.
void markWhilePositive(const InfoFormView& info, const InfoField& box, const InfoField& amount) {
  if (info.form().getIR(amount) > 0) {
    info.protect({box});
    info.mark(box);
  } else {
    info.form().unprotectAndMaybeSetNull(box);
  }
}

// Rule 26: boxes that tell which federal forms the return holds.
void markFederalFormsPresent(CopyScanCache& scans, const InfoFormView& info, const DataMgmt::TaxReturn* federal) {
  const bool has8 = federal != nullptr && federal->getForm(kFormID_Fed8, 1) != nullptr;
  if (has8) {
    info.mark(PAReturnInfo::kFederalSaleFormBox);
  } else {
    info.unmark(PAReturnInfo::kFederalSaleFormBox);
  }

  const int cnt36 = federal != nullptr ? countCopies(scans, *federal, kFormID_Fed36, false) : 0;
  const bool has2 = federal != nullptr && federal->getIN(kFormID_Fed2, 1, Fed2::kAttachmentTriggerAmount) > 0;
  if (info.marked(PAReturnInfo::kFederalSaleFormBox) || cnt36 > 0 || has2) {
    info.mark(PAReturnInfo::kFederalSalesBox);
  } else {
    info.unmark(PAReturnInfo::kFederalSalesBox);
  }

  bool any = false;
  for (const PresenceRule& rule : kOtherFederalSaleForms) {
    if (federal == nullptr) break;
    if (countCopies(scans, *federal, *rule.form, rule.onlyPositiveSale) == 0) continue;
    if (rule.needsCountsBox && !info.yesOnCopy1(PAReturnInfo::kFederalFormCountsBox)) continue;
    any = true;
  }
  if (any) {
    info.mark(PAReturnInfo::kOtherFederalSalesBox);
  } else {
    info.unmark(PAReturnInfo::kOtherFederalSalesBox);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeReturnInfo(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  computeReturnInfoFilers(form, copy);
  computeReturnInfoPayments(form);
  computeReturnInfoRecords(form, copy);
}

void PATaxReturnCalcEngine::computeReturnInfoFilers(TaxFormPtr form, uint16_t copy) {
  const InfoFormView info(form, *paReturn);

  // 1. Federal return type and the federal name and address lines.
  const FieldId lines[15] = {
      PAReturnInfo::kTaxpayerFirstName,
      PAReturnInfo::kTaxpayerMiddleInitial,
      PAReturnInfo::kTaxpayerLastName,
      PAReturnInfo::kTaxpayerNameSuffix,
      PAReturnInfo::kTaxpayerSSN,
      PAReturnInfo::kSpouseFirstName,
      PAReturnInfo::kSpouseMiddleInitial,
      PAReturnInfo::kSpouseLastName,
      PAReturnInfo::kSpouseNameSuffix,
      PAReturnInfo::kSpouseSSN,
      PAReturnInfo::kStreet,
      PAReturnInfo::kApartment,
      PAReturnInfo::kCity,
      PAReturnInfo::kStateCode,
      PAReturnInfo::kZipCode,
  };
  fillFederalReturnTypeFields(form, getFederalReturnFormId(), kFormID_State15, lines,
                              PAReturnInfo::kCareOf, PAReturnInfo::kFederalMainFormBox,
                              PAReturnInfo::kFederalSecondFormBox, PAReturnInfo::kFederalThirdFormBox);

  // 2-4. Residency.
  const bool residencyGiven = info.marked(PAReturnInfo::kFullYearResidentBox) ||
                              info.marked(PAReturnInfo::kNonresidentBox) ||
                              info.marked(PAReturnInfo::kPartYearResidentBox);
  applyResidency(info, residencyGiven ? 0 : getFilerResidencyCode(0));

  // 5. Federal filing status.
  const long fedStatus = paReturn->pullCommon(getFederalReturnFormId(), 1, static_cast<Utils::PCTypes>(1));
  applyFederalJointAnswers(info, fedStatus);

  // 7. The spouse-number answer and its field, open when federal form 92
  // says so.
  if (federalReturn != nullptr &&
      federalReturn->formYes(kFormID_FedFilerInfo, 1, FedFilerInfo::kSpouseAnswerBox)) {
    info.unprotect({PAReturnInfo::kSpouseNumberYesBox, PAReturnInfo::kSpouseNumberNoBox});
    info.setDefault(PAReturnInfo::kSpouseNumberNoBox, PAReturnInfo::kSpouseNumberYesBox);
    info.unprotect({PAReturnInfo::kSpouseSSNSecondEntry});
    if (!info.marked(PAReturnInfo::kSpouseNumberYesBox))
      info.protectAndNull({PAReturnInfo::kSpouseSSNSecondEntry});
  } else {
    info.protect({PAReturnInfo::kSpouseNumberYesBox, PAReturnInfo::kSpouseNumberNoBox});
    info.setNull(PAReturnInfo::kSpouseNumberYesBox);
    info.setNull(PAReturnInfo::kSpouseNumberNoBox);
    info.protectAndNull({PAReturnInfo::kSpouseSSNSecondEntry});
  }

  // 8-11. Filing status and deceased filers.
  applyFilingStatus(info, fedStatus);
  for (const DeathDate& death : kDeathDates) applyDateOfDeath(info, federalReturn, death, copy);
  applyDeceasedSingle(info, federalReturn);

  // 6. Forms this one reads back are calculated first. This PA-40 run comes
  // before the payments and answers below, so it leaves the user's PA-40
  // entries as typed; it comes after the filing status is settled (8-11),
  // so that nothing it calculates (the PA W-2 rows, which a spouse's W-2
  // takes only on a joint return) works under a status this calculation
  // puts aside.
  {
    const ProvisionalPA40Scope earlyRun(*this, true);
    for (const FormId* early : {&kFormID_PA40, &kFormID_State171, &kFormID_PAScheduleD}) {
      TaxFormPtr earlyCopy = paReturn->getFormUVPtr(*early, 1, true);
      if (!earlyCopy.isNull()) calcStateForm(*early, 1, false, 0, 0, earlyCopy);
    }
  }
}

void PATaxReturnCalcEngine::computeReturnInfoPayments(TaxFormPtr form) {
  const InfoFormView info(form, *paReturn);

  // 12-13, 15. Answers.
  applyAnswerPairs(info);
  for (const DefaultPair& pair : kAnswerDefaults) info.setDefault(pair.defaultBox, pair.otherBox);

  // 16. Withholding summary of federal form 190.
  const FieldId slots[12] = {
      PAReturnInfo::kEstimatedPaymentAmount.at(0),  PAReturnInfo::kEstimatedPaymentAmount.at(1),
      PAReturnInfo::kEstimatedPaymentAmount.at(2),  PAReturnInfo::kEstimatedPaymentAmount.at(3),
      PAReturnInfo::kEstimatedPaymentAmount.at(4),  PAReturnInfo::kEstimatedPaymentAmount.at(5),
      PAReturnInfo::kEstimatedPaymentAmount.at(6),  PAReturnInfo::kEstimatedPaymentAmount.at(7),
      PAReturnInfo::kEstimatedPaymentAmount.at(8),  PAReturnInfo::kEstimatedPaymentAmount.at(9),
      PAReturnInfo::kEstimatedPaymentAmount.at(10), PAReturnInfo::kEstimatedPaymentAmount.at(11),
  };
  sumFieldsByAbbreviation(form, PAReturnInfo::kPriorYearCredit, PAReturnInfo::kEstimatedPayments,
                          PAReturnInfo::kTotalEstimatedPayments, slots);

  // 14. The prior-year credit and estimated payments boxes follow the
  // amounts just summed, so that one calculation settles them.
  markWhilePositive(info, PAReturnInfo::kPriorYearCreditBox, PAReturnInfo::kPriorYearCredit);
  markWhilePositive(info, PAReturnInfo::kEstimatedPaymentsBox, PAReturnInfo::kEstimatedPayments);

  // 17-18.
  info.setDefault(PAReturnInfo::kExtensionNoBox, PAReturnInfo::kExtensionYesBox);
  if (info.marked(PAReturnInfo::kExtensionYesBox)) {
    info.unprotect({PAReturnInfo::kExtensionPayment, PAReturnInfo::kExtensionDetail});
  } else {
    info.protect({PAReturnInfo::kExtensionPayment});
    info.setNull(PAReturnInfo::kExtensionPayment);
    info.protect({PAReturnInfo::kExtensionDetail});
    info.setNull(PAReturnInfo::kExtensionDetail);
  }
  for (const DefaultPair& pair : kLaterAnswerDefaults) info.setDefault(pair.defaultBox, pair.otherBox);

  // 19-21. County, school district and school code.
  applyCountyAndSchoolCode(*this, info);

  // 22. State tax withheld.
  info.form().assignIR(PAReturnInfo::kTaxWithheldNoLocal,
                       paReturn->getStateTaxWithheldNoLocal(paReturn->getFilingStatus()));
  info.form().assignII(PAReturnInfo::kTotalTaxWithheld, PAReturnInfo::kTaxWithheldNoLocal);

  // 23-24. Boxes and texts that follow a box.
  const FieldId none = Primitives::kNullFieldID;
  fillOptionCheckBoxes(form, PAReturnInfo::kDirectDepositYesBox, PAReturnInfo::kDirectDepositNoBox,
                       PAReturnInfo::kDepositUseFederalBankBox, none, PAReturnInfo::kDepositRoutingNumber,
                       PAReturnInfo::kDepositAccountNumber, PAReturnInfo::kDepositCheckingBox,
                       PAReturnInfo::kDepositSavingsBox, none, none, none, none);
  fillMarkedText(form, PAReturnInfo::kDebitPaymentBox, PAReturnInfo::kVoucherPaymentBox,
                 PAReturnInfo::kDebitUseFederalBankBox, none, PAReturnInfo::kDebitRoutingNumber,
                 PAReturnInfo::kDebitAccountNumber, PAReturnInfo::kDebitCheckingBox,
                 PAReturnInfo::kDebitSavingsBox, none, none, none);

  // 25. The amount to debit: the return's amount owed.
  info.form().assignIR(
      PAReturnInfo::kDebitAmount,
      paReturn->getStateLineValue(getStateReturnFormId(), 1, PADataMgmt::PATaxReturn::kLineAmountOwed));
}

void PATaxReturnCalcEngine::computeReturnInfoRecords(TaxFormPtr form, uint16_t copy) {
  const InfoFormView info(form, *paReturn);

  // 26. Federal forms present.
  markFederalFormsPresent(copyScans, info, federalReturn);

  // 27. Return form number and filing status.
  info.form().assignIR(PAReturnInfo::kReturnFormNumber, getStateReturnFormId().getNumber());
  info.form().assignIR(PAReturnInfo::kFilingStatusNumber, paReturn->readFilingStatus(kFormID_PAReturnInfo));

  // 28. Version stamp on state form 14.
  TaxFormPtr state14 = paReturn->getFormUVPtr(kFormID_State14, 1, true);
  if (!state14.isNull()) {
    const std::string version =
        BusinessMgmt::BusinessMgr::getInstance().getVersion(*paReturn->getTaxReturnDesc());
    state14->assignText(State14::kVersionStamp, version.c_str());
  }

  // 29-30. Fields kept in step with federal form 183 and state form 14.
  for (const SteppedField& stepped : kSteppedFields) {
    copyAndProtectFields(kFormID_PAReturnInfo, stepped.info, kFormID_Fed183, stepped.fed183, kFormID_State14,
                         stepped.state14);
  }
  if (federalReturn != nullptr &&
      (federalReturn->formYes(kFormID_Fed183, 1, Fed183::kClearSharedEntriesBox) ||
       federalReturn->formYes(kFormID_Fed183, 1, Fed183::kClearSharedEntriesAltBox))) {
    for (InfoField m : {PAReturnInfo::kTaxpayerPin, PAReturnInfo::kTaxpayerSyncedItemB,
                        PAReturnInfo::kTaxpayerSyncedItemA, PAReturnInfo::kSpousePin,
                        PAReturnInfo::kSpouseSyncedItemB, PAReturnInfo::kSpouseSyncedItemA})
      info.setNull(m);
  }
  if (paReturn->readFilingStatus(kFormID_PAReturnInfo) != PADataMgmt::kFilingJoint) {
    for (InfoField m : {PAReturnInfo::kSpousePin, PAReturnInfo::kSpouseSyncedItemB,
                        PAReturnInfo::kSpouseSyncedItemA})
      info.setNull(m);
  }

  // 31. The nonresident box pair.
  info.form().oneX(PAReturnInfo::kNotNonresidentBox, PAReturnInfo::kNonresidentPaymentBox,
                   PAReturnInfo::kNonresidentPaymentBox);
  const bool nonresident = info.marked(PAReturnInfo::kNonresidentBox);
  info.mark(nonresident ? PAReturnInfo::kNonresidentPaymentBox : PAReturnInfo::kNotNonresidentBox);
  info.unmark(nonresident ? PAReturnInfo::kNotNonresidentBox : PAReturnInfo::kNonresidentPaymentBox);

  // 32. Option groups.
  const FieldId groups[18] = {
      PAReturnInfo::kTaxpayerOtherIDOptionBox,
      PAReturnInfo::kTaxpayerNoIDBox,
      PAReturnInfo::kTaxpayerIDNumber,
      PAReturnInfo::kTaxpayerIDState,
      PAReturnInfo::kTaxpayerIDIssueDate,
      PAReturnInfo::kTaxpayerIDExpirationDate,
      PAReturnInfo::kTaxpayerIDNoExpirationBox,
      PAReturnInfo::kTaxpayerDriversLicenseBox,
      PAReturnInfo::kTaxpayerStateIDBox,
      PAReturnInfo::kSpouseOtherIDOptionBox,
      PAReturnInfo::kSpouseNoIDBox,
      PAReturnInfo::kSpouseIDNumber,
      PAReturnInfo::kSpouseIDState,
      PAReturnInfo::kSpouseIDIssueDate,
      PAReturnInfo::kSpouseIDExpirationDate,
      PAReturnInfo::kSpouseIDNoExpirationBox,
      PAReturnInfo::kSpouseDriversLicenseBox,
      PAReturnInfo::kSpouseStateIDBox,
  };
  fillOptionGroups(form, groups);

  // 33.
  paReturn->setDataEntered(kFormID_PAReturnInfo, copy, true, false);
  DataMgmt::TaxForm* calculated = paReturn->getForm(kFormID_PAReturnInfo, copy);
  if (calculated != nullptr) calculated->setCalcMark(true);
}

}  // namespace PACalculationMgmt
