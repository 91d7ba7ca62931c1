// The PA information form (state form 168): one straight sequence of
// rules, numbered as they run. Later rules read marks that earlier ones
// set, and some override earlier ones, so the order is part of the result.
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/return_info_view.h"
#include "catalogs/catalogs.h"
#include "host/business.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

namespace {

// Box pairs defaulted as the host does it: the first is marked when
// neither is (rules 13, 15, 18).
struct DefaultPair {
  InfoMember defaultBox;
  InfoMember otherBox;
};

const DefaultPair kAnswerDefaults[] = {
    {kInfoF138, kInfoF137},
    {kInfoF26, kInfoF27},
    {kInfoF140, kInfoF139},
};
const DefaultPair kLaterAnswerDefaults[] = {
    {kInfoF105, kInfoF104},
    {kInfoF107, kInfoF106},
};

// A filer's date of death: federal form 92's date (FedFilerInfoFieldIds
// member), the deceased box, the date copied in and the year box.
struct DeathDate {
  int fedMember;
  InfoMember deceasedBox;
  InfoMember date;
  InfoMember yearBox;
};

const DeathDate kDeathDates[] = {
    {1638, kInfoF58, kInfoF109, kInfoF111},  // taxpayer, federal field 557
    {1639, kInfoF59, kInfoF110, kInfoF112},  // spouse, federal field 558
};

// Fields kept in step: the information form's field, federal form 183's
// (Fed183FieldIds member) and state form 14's (State14FieldIds member).
struct SteppedField {
  InfoMember info;
  int fed183Member;
  int state14Member;
};

const SteppedField kSteppedFields[] = {
    {kInfoF119, 158, 5},   // 180, 5
    {kInfoF120, 159, 6},   // 181, 6
    {kInfoF117, 156, 17},  // 178, 36
    {kInfoF118, 157, 18},  // 179, 37
    {kInfoF115, 154, 1},   // 176, 1
    {kInfoF116, 155, 2},   // 177, 2
};

// Federal forms whose copies mark 150687 (rule 26). Federal form 20 counts
// only copies whose field 132 is above 0; federal form 42 counts only when
// 150738 is yes on the information form.
struct PresenceRule {
  const FormId* form;
  bool onlyPositive132;
  bool needs150738;
};

const PresenceRule kFormsFor150687[] = {
    {&kFormID_Fed36, false, false}, {&kFormID_Fed20, true, false}, {&kFormID_Fed184, false, false},
    {&kFormID_Fed35, false, false}, {&kFormID_Fed42, false, true}, {&kFormID_Fed129, false, false},
    {&kFormID_Fed83, false, false},
};

// Copies of `form` on the federal return that exist, over copies 1 to the
// highest copy number; with `onlyPositive132`, those whose federal form 20
// field 132 is above 0.
int countCopies(const DataMgmt::TaxReturn& federal, const FormId& form, bool onlyPositive132) {
  int count = 0;
  const int last = federal.getMaxCopies(form);
  for (int copy = 1; copy <= last; ++copy) {
    const uint16_t c = static_cast<uint16_t>(copy);
    if (federal.getForm(form, c) == nullptr) continue;
    if (onlyPositive132 && federal.getIN(form, c, kFed20FieldIds[214]) <= 0) continue;
    ++count;
  }
  return count;
}

// Rules 2 to 4: residency boxes, part-year dates and the 113/114 answer.
void applyResidency(const InfoFormView& info, int federalResidencyCode) {
  info.unmark(kInfoF18);
  info.form().oneX(infoField(kInfoF46), infoField(kInfoF47), infoField(kInfoF48));
  if (!info.marked(kInfoF46) && !info.marked(kInfoF47) && !info.marked(kInfoF48)) {
    info.mark(federalResidencyCode == 2 ? kInfoF48 : federalResidencyCode == 3 ? kInfoF47 : kInfoF46);
  }

  if (info.marked(kInfoF48)) {
    info.unprotect({kInfoF49, kInfoF50});
  } else {
    info.protect({kInfoF49, kInfoF50});
    info.setNull(kInfoF49);
    info.setNull(kInfoF50);
  }

  info.setDefault(kInfoF113, kInfoF114);
  if (info.marked(kInfoF48)) {
    info.unprotect({kInfoF113, kInfoF114});
    const bool answered = info.marked(kInfoF113);
    info.mark(answered ? kInfoF17 : kInfoF18);
    info.unmark(answered ? kInfoF18 : kInfoF17);
  } else {
    info.protect({kInfoF113, kInfoF114});
    info.unmark(kInfoF113);
    info.unmark(kInfoF114);
    info.mark(kInfoF18);
    info.unmark(kInfoF17);
  }
}

// Rule 5: answers open only to a federal joint return.
void applyFederalJointAnswers(const InfoFormView& info, long fedStatus) {
  if (fedStatus == 2) {
    info.unprotect({kInfoF141, kInfoF142});
    info.setDefault(kInfoF142, kInfoF141);
    info.unprotect({kInfoF23876, kInfoF23877});
    info.setDefault(kInfoF23877, kInfoF23876);
  } else {
    info.protect({kInfoF141, kInfoF142});
    info.unmark(kInfoF141);
    info.unmark(kInfoF142);
    info.protect({kInfoF23876, kInfoF23877});
    info.unmark(kInfoF23876);
    info.unmark(kInfoF23877);
  }
}

// Rule 8: the PA filing status follows the federal one.
void applyFilingStatus(const InfoFormView& info, long fedStatus) {
  for (InfoMember box : {kInfoF55, kInfoF57, kInfoF56, kInfoF58, kInfoF59}) info.unmark(box);
  bool anyMarked = false;
  for (InfoMember box : {kInfoF55, kInfoF57, kInfoF56, kInfoF58, kInfoF59})
    anyMarked = anyMarked || info.marked(box);
  if (!anyMarked) {
    if (fedStatus == 2) {
      info.mark(kInfoF57);
    } else if (fedStatus == 3) {
      info.mark(kInfoF56);
    } else if (fedStatus == 4) {
      info.mark(info.yesOnCopy1(kInfoF61) ? kInfoF56 : kInfoF55);
    } else if (fedStatus >= 0 && fedStatus <= 9) {
      info.mark(kInfoF55);
    }
  }
  info.form().oneX3(infoField(kInfoF55), infoField(kInfoF56), infoField(kInfoF57));
}

// Rules 9 and 10: a date of death from federal form 92. A death in 2018 or
// 2019 opens the 61/62 answer; any other year closes it.
void applyDateOfDeath(const InfoFormView& info, const DataMgmt::TaxReturn* federal, const DeathDate& death,
                      uint16_t copy) {
  const FieldId& fedDate = kFedFilerInfoFieldIds[death.fedMember];
  char text[128];
  info.pa().textString(text, kFormID_FedFilerInfo, copy, fedDate);
  if (text[0] == '\0') {
    info.unmark(death.deceasedBox);
    info.setNull(death.date);
    return;
  }
  info.mark(death.deceasedBox);
  if (federal != nullptr) federal->getII(kFormID_FedFilerInfo, fedDate, info.holder(), infoField(death.date));
  char year[16];
  std::snprintf(
      year, sizeof year, "%d",
      info.pa().dateParse(info.holder(), infoField(death.date), static_cast<Utils::DATEPARSE_TYPE>(0)));
  if (std::strcmp(year, kYearText2018) == 0 || std::strcmp(year, kYearText2019) == 0) {
    info.mark(death.yearBox);
    info.unprotect({kInfoF61, kInfoF62});
  } else {
    info.unmark(death.yearBox);
    info.protect({kInfoF61, kInfoF62});
    info.unmark(kInfoF61);
    info.unmark(kInfoF62);
  }
}

// Rule 11: a deceased filer whose death is not dated 2018 or 2019 files as
// single when federal form 92 answers 493 or 494 yes.
void applyDeceasedSingle(const InfoFormView& info, const DataMgmt::TaxReturn* federal) {
  const bool earlierDeath = (info.yesOnCopy1(kInfoF58) && !info.yesOnCopy1(kInfoF111)) ||
                            (info.yesOnCopy1(kInfoF59) && !info.yesOnCopy1(kInfoF112));
  const bool fedSays =
      federal != nullptr && (federal->formYes(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[1643]) ||  // 493
                             federal->formYes(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[1644]));   // 494
  if (earlierDeath && fedSays) {
    info.mark(kInfoF55);
    info.unmark(kInfoF57);
    info.unmark(kInfoF56);
  }
}

// Rules 12 and 13: answer pairs and the fields that follow them.
void applyAnswerPairs(const InfoFormView& info) {
  info.setDefault(kInfoF130, kInfoF60);
  if (info.marked(kInfoF46) || info.marked(kInfoF48)) {
    info.unprotect({kInfoF60, kInfoF130});
  } else {
    info.protect({kInfoF60});
    info.setNull(kInfoF60);
    info.protect({kInfoF130});
    info.mark(kInfoF130);
  }

  info.setDefault(kInfoF131, kInfoF108);
  info.setDefault(kInfoF14564, kInfoF14563);
  if (info.marked(kInfoF14563)) {
    info.unprotect({kInfoF14565});
  } else {
    info.protectAndNull({kInfoF14565});
  }
  info.setDefault(kInfoF74119, kInfoF74118);
  if (info.marked(kInfoF74118)) {
    info.unprotect({kInfoF74120});
  } else {
    info.protectAndNull({kInfoF74120});
  }
  info.setDefault(kInfoF50937, kInfoF50936);
  info.setDefault(kInfoF50939, kInfoF50938);
  Utils::handleFilingChoice(info.holder(), infoField(kInfoF15), infoField(kInfoF16));
}

// Rule 26: boxes that tell which federal forms the return holds.
void markFederalFormsPresent(const InfoFormView& info, const DataMgmt::TaxReturn* federal) {
  const bool has8 = federal != nullptr && federal->getForm(kFormID_Fed8, 1) != nullptr;
  if (has8) {
    info.mark(kInfoF150685);
  } else {
    info.unmark(kInfoF150685);
  }

  const int cnt36 = federal != nullptr ? countCopies(*federal, kFormID_Fed36, false) : 0;
  const bool has2 = federal != nullptr && federal->getIN(kFormID_Fed2, 1, kFed2FieldIds[281]) > 0;  // 45
  if (info.marked(kInfoF150685) || cnt36 > 0 || has2) {
    info.mark(kInfoF150684);
  } else {
    info.unmark(kInfoF150684);
  }

  bool any = false;
  for (const PresenceRule& rule : kFormsFor150687) {
    if (federal == nullptr) break;
    if (countCopies(*federal, *rule.form, rule.onlyPositive132) == 0) continue;
    if (rule.needs150738 && !info.yesOnCopy1(kInfoF150738)) continue;
    any = true;
  }
  if (any) {
    info.mark(kInfoF150687);
  } else {
    info.unmark(kInfoF150687);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeReturnInfo(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  const InfoFormView info(form, *paReturn);

  // 1. Federal return type and the federal name and address lines.
  FieldId lines[15];
  for (int n = 0; n < 15; ++n) lines[n] = kPAReturnInfoFieldIds[kInfoF31 + n];
  fillFederalReturnTypeFields(form, getFederalReturnFormId(), kFormID_State15, lines, infoField(kInfoF13),
                              infoField(kInfoF52), infoField(kInfoF53), infoField(kInfoF54));

  // 2-4. Residency.
  const bool residencyGiven = info.marked(kInfoF46) || info.marked(kInfoF47) || info.marked(kInfoF48);
  applyResidency(info, residencyGiven ? 0 : getFilerResidencyCode(0));

  // 5. Federal filing status.
  const long fedStatus = paReturn->pullCommon(getFederalReturnFormId(), 1, static_cast<Utils::PCTypes>(1));
  applyFederalJointAnswers(info, fedStatus);

  // 6. Forms this one reads back are calculated first. This PA-40 run comes
  // before the payments and answers below, so it leaves the user's PA-40
  // entries as typed.
  {
    const ProvisionalPA40Scope earlyRun(*this, true);
    for (const FormId* early : {&kFormID_PA40, &kFormID_State171, &kFormID_PAScheduleD}) {
      TaxFormPtr earlyCopy = paReturn->getFormUVPtr(*early, 1, true);
      if (!earlyCopy.isNull()) calcStateForm(*early, 1, false, 0, 0, earlyCopy);
    }
  }

  // 7. Answer 61/62 and its field, open when federal form 92 says so.
  if (federalReturn != nullptr &&
      federalReturn->formYes(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[1645])) {
    info.unprotect({kInfoF61, kInfoF62});
    info.setDefault(kInfoF62, kInfoF61);
    info.unprotect({kInfoF185897});
    if (!info.marked(kInfoF61)) info.protectAndNull({kInfoF185897});
  } else {
    info.protect({kInfoF61, kInfoF62});
    info.setNull(kInfoF61);
    info.setNull(kInfoF62);
    info.protectAndNull({kInfoF185897});
  }

  // 8-11. Filing status and deceased filers.
  applyFilingStatus(info, fedStatus);
  for (const DeathDate& death : kDeathDates) applyDateOfDeath(info, federalReturn, death, copy);
  applyDeceasedSingle(info, federalReturn);

  // 12-15. Answers and the boxes 19 and 20 (from last calculation's 63 and 88).
  applyAnswerPairs(info);
  info.unprotect({kInfoF19, kInfoF20});
  if (info.form().getIR(infoField(kInfoF63)) > 0) {
    info.protect({kInfoF19});
    info.mark(kInfoF19);
  }
  if (info.form().getIR(infoField(kInfoF88)) > 0) {
    info.protect({kInfoF20});
    info.mark(kInfoF20);
  }
  for (const DefaultPair& pair : kAnswerDefaults) info.setDefault(pair.defaultBox, pair.otherBox);

  // 16. Withholding summary of federal form 190.
  const FieldId slots[12] = {
      infoField(kInfoF65), infoField(kInfoF67), infoField(kInfoF69), infoField(kInfoF71),
      infoField(kInfoF73), infoField(kInfoF75), infoField(kInfoF77), infoField(kInfoF79),
      infoField(kInfoF81), infoField(kInfoF83), infoField(kInfoF85), infoField(kInfoF87),
  };
  sumFieldsByAbbreviation(form, infoField(kInfoF63), infoField(kInfoF88), infoField(kInfoF89), slots);

  // 17-18.
  info.setDefault(kInfoF103, kInfoF102);
  if (info.marked(kInfoF102)) {
    info.unprotect({kInfoF90, kInfoF21});
  } else {
    info.protect({kInfoF90});
    info.setNull(kInfoF90);
    info.protect({kInfoF21});
    info.setNull(kInfoF21);
  }
  for (const DefaultPair& pair : kLaterAnswerDefaults) info.setDefault(pair.defaultBox, pair.otherBox);

  // 19-21. County, school district and school code.
  applyCountyAndSchoolCode(*this, info);

  // 22. State tax withheld.
  info.form().assignIR(infoField(kInfoF142112),
                       paReturn->getStateTaxWithheldNoLocal(paReturn->getFilingStatus()));
  info.form().assignII(infoField(kInfoF142114), infoField(kInfoF142112));

  // 23-24. Boxes and texts that follow a box.
  const FieldId none = Primitives::kNullFieldID;
  fillOptionCheckBoxes(form, infoField(kInfoF95), infoField(kInfoF10), infoField(kInfoF96), none,
                       infoField(kInfoF99), infoField(kInfoF100), infoField(kInfoF97), infoField(kInfoF98),
                       none, none, none, none);
  fillMarkedText(form, infoField(kInfoF121), infoField(kInfoF122), infoField(kInfoF189150), none,
                 infoField(kInfoF125), infoField(kInfoF126), infoField(kInfoF123), infoField(kInfoF124), none,
                 none, none);

  // 25. PA-40 line 17.
  info.form().assignIR(infoField(kInfoF127), paReturn->getStateLineValue(getStateReturnFormId(), 1, 17));

  // 26. Federal forms present.
  markFederalFormsPresent(info, federalReturn);

  // 27. Return form number and filing status.
  info.form().assignIR(infoField(kInfoF1), getStateReturnFormId().getNumber());
  info.form().assignIR(infoField(kInfoF2), paReturn->readFilingStatus(kFormID_PAReturnInfo));

  // 28. Version stamp on state form 14.
  TaxFormPtr state14 = paReturn->getFormUVPtr(kFormID_State14, 1, true);
  if (!state14.isNull()) {
    const std::string version =
        BusinessMgmt::BusinessMgr::getInstance().getVersion(*paReturn->getTaxReturnDesc());
    state14->assignText(kState14FieldIds[0], version.c_str());  // 143855
  }

  // 29-30. Fields kept in step with federal form 183 and state form 14.
  for (const SteppedField& stepped : kSteppedFields) {
    copyAndProtectFields(kFormID_PAReturnInfo, infoField(stepped.info), kFormID_Fed183,
                         kFed183FieldIds[stepped.fed183Member], kFormID_State14,
                         kState14FieldIds[stepped.state14Member]);
  }
  if (federalReturn != nullptr && (federalReturn->formYes(kFormID_Fed183, 1, kFed183FieldIds[3]) ||     // 28
                                   federalReturn->formYes(kFormID_Fed183, 1, kFed183FieldIds[145]))) {  // 173
    for (InfoMember m : {kInfoF119, kInfoF117, kInfoF115, kInfoF120, kInfoF118, kInfoF116}) info.setNull(m);
  }
  if (paReturn->readFilingStatus(kFormID_PAReturnInfo) != 2) {
    for (InfoMember m : {kInfoF120, kInfoF118, kInfoF116}) info.setNull(m);
  }

  // 31. The nonresident box pair.
  info.form().oneX(infoField(kInfoF144157), infoField(kInfoF144158), infoField(kInfoF144158));
  const bool nonresident = info.marked(kInfoF47);
  info.mark(nonresident ? kInfoF144158 : kInfoF144157);
  info.unmark(nonresident ? kInfoF144157 : kInfoF144158);

  // 32. Option groups.
  const FieldId groups[18] = {
      infoField(kInfoF199150), infoField(kInfoF192411), infoField(kInfoF192412), infoField(kInfoF192413),
      infoField(kInfoF192414), infoField(kInfoF192415), infoField(kInfoF192416), infoField(kInfoF192417),
      infoField(kInfoF192418), infoField(kInfoF199151), infoField(kInfoF192419), infoField(kInfoF192420),
      infoField(kInfoF192421), infoField(kInfoF192422), infoField(kInfoF192423), infoField(kInfoF192424),
      infoField(kInfoF192425), infoField(kInfoF192426),
  };
  fillOptionGroups(form, groups);

  // 33.
  paReturn->setDataEntered(kFormID_PAReturnInfo, copy, true, false);
  DataMgmt::TaxForm* calculated = paReturn->getForm(kFormID_PAReturnInfo, copy);
  if (calculated != nullptr) calculated->setCalcMark(true);
}

}  // namespace PACalculationMgmt
