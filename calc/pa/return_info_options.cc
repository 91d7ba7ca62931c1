// The information form's field routines for boxes and the fields that
// follow them: the option check boxes and texts from federal form 92, the
// marked texts from federal form 183, and the two option groups.
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

// Federal form 92 (FedFilerInfoFieldIds members; host fields in comments).
const int kFiler536 = 1700;
const int kFiler765 = 551;
const int kFiler70126 = 1702;
const int kFiler392 = 1703;
const int kFiler391 = 1704;
const int kFiler393 = 1705;
const int kFiler394 = 1706;

// Federal form 183 (Fed183FieldIds members).
const int kForm183Text1 = 397;    // 188832
const int kForm183Text2 = 398;    // 188833
const int kForm183Copy1 = 399;    // 188834
const int kForm183Copy2 = 400;    // 188835
const int kForm183TextSize = 53;  // up to 52 characters

// One option group: where its fields stand among g1..g18 (0-based) and the
// federal form 92 members that answer them. Options are listed in the
// order of their federal answers (the first yes wins).
struct OptionGroupLayout {
  int options[4];
  int texts[4];
  int answer;
  int fedOptions[4];
  int fedTexts[4];
  int fedAnswer;
};

const OptionGroupLayout kTaxpayerGroup = {
    {7, 8, 1, 0},
    {2, 3, 4, 5},
    6,
    {1744, 1745, 1746, 1747},  // 195137, 195138, 195615, 199001
    {1748, 1749, 1750, 1751},  // 184582, 184584, 184586, 184588
    1752,                      // 195613
};
const OptionGroupLayout kSpouseGroup = {
    {16, 17, 10, 9},
    {11, 12, 13, 14},
    15,
    {1754, 1755, 1756, 1757},  // 195139, 195140, 195616, 199002
    {1758, 1759, 1760, 1761},  // 184583, 184585, 184587, 184589
    1762,                      // 195614
};

// Filing statuses under which the spouse's group applies.
bool spouseGroupApplies(uint8_t filingStatus) {
  return filingStatus == 2 || filingStatus == 0 || filingStatus == 8 || filingStatus == 9;
}

bool filerYes(const DataMgmt::TaxReturn* federal, int member) {
  return federal != nullptr && federal->formYes(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[member]);
}

// Steps 1 to 6 of one group.
void fillOptionGroup(DataMgmt::TaxForm& form, const DataMgmt::TaxReturn* federal,
                     const OptionGroupLayout& group, const FieldId (&g)[18]) {
  for (int i : group.options) form.unProtect(g[i]);
  for (int i : group.texts) form.unProtect(g[i]);

  bool anyMarked = false;
  for (int i : group.options) anyMarked = anyMarked || form.xMarked(g[i]);
  if (!anyMarked) {
    for (int n = 0; n < 4; ++n) {
      if (filerYes(federal, group.fedOptions[n])) {
        form.setX(g[group.options[n]]);
        break;
      }
    }
  }

  for (int n = 0; n < 4; ++n) {
    char text[128] = "";
    if (federal != nullptr) {
      federal->formString(text, sizeof text, kFormID_FedFilerInfo, 1,
                          kFedFilerInfoFieldIds[group.fedTexts[n]]);
    }
    const FieldId& field = g[group.texts[n]];
    if (text[0] != '\0' && form.isNull(field)) form.assignText(field, text);
  }

  const FieldId& answer = g[group.answer];
  if (form.isNull(answer)) {
    if (filerYes(federal, group.fedAnswer)) {
      form.setX(answer);
    } else {
      form.setXNo(answer);
    }
  }

  const int* o = group.options;
  form.setOptionGroupSelection({g[o[0]], g[o[1]], g[o[2]], g[o[3]]});

  if (form.xMarked(g[o[2]]) || form.xMarked(g[o[3]])) {
    for (int i : group.texts) form.makeProtectedAndSetNull(g[i]);
    form.makeProtectedAndSetNull(answer);
  } else {
    for (int i : group.texts) form.unProtect(g[i]);
  }
}

}  // namespace

void PATaxReturnCalcEngine::fillOptionCheckBoxes(TaxFormPtr form, FieldId p1, FieldId p2, FieldId p3,
                                                 FieldId p4, FieldId p5, FieldId p6, FieldId p7, FieldId p8,
                                                 FieldId p9, FieldId p10, FieldId p11, FieldId p12) {
  if (form.isNull()) return;
  const bool withP12 = p12.isValid();

  // Step 1, on the first call for this return only.
  if (!optionCheckBoxesDefaulted) {
    optionCheckBoxesDefaulted = true;
    if (!form->xMarked(p1) && !form->xMarked(p2) && !(withP12 && form->xMarked(p12))) {
      if (filerYes(federalReturn, kFiler536) || filerYes(federalReturn, kFiler765)) {
        form->setX(p1);
        form->setXNo(p2);
        form->setXNo(p12);
        if (federalReturn->hasSigValue(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[kFiler392]) &&
            federalReturn->hasSigValue(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[kFiler391])) {
          form->setX(p3);
        }
      } else if (withP12) {
        form->setXNo(p1);
        form->setXNo(p2);
        form->setX(p12);
      } else {
        form->setXNo(p1);
        form->setX(p2);
      }
    }
  }

  // Step 2.
  if (withP12) {
    form->oneX(p1, p2, p12);
    if (form->xMarked(p1)) {
      form->makeProtected(p12);
    } else {
      form->unProtect(p12);
    }
  } else {
    form->oneX(p1, p2, p2);
  }

  // Step 3.
  for (const FieldId* field : {&p3, &p4, &p5, &p6, &p7, &p8, &p9, &p10, &p11}) form->makeProtected(*field);

  // Step 4: the fields that follow p1.
  if (!form->xMarked(p1)) return;
  form->unProtect(p4);
  if (filerYes(federalReturn, kFiler70126)) {
    form->setXNo(p3);
  } else {
    form->unProtect(p3);
  }
  if (form->xMarked(p3)) {
    char text392[128] = "";
    char text391[128] = "";
    if (federalReturn != nullptr) {
      federalReturn->formString(text392, sizeof text392, kFormID_FedFilerInfo, 1,
                                kFedFilerInfoFieldIds[kFiler392]);
      federalReturn->formString(text391, sizeof text391, kFormID_FedFilerInfo, 1,
                                kFedFilerInfoFieldIds[kFiler391]);
      federalReturn->getII(kFormID_FedFilerInfo, kFedFilerInfoFieldIds[kFiler393], form, p7);
      federalReturn->getII(kFormID_FedFilerInfo, kFedFilerInfoFieldIds[kFiler394], form, p8);
    }
    form->assignText(p5, text392);
    form->assignText(p6, text391);
    form->setXNo(p9);
    form->setXNo(p10);
    form->setXNo(p11);
    return;
  }
  for (const FieldId* field : {&p5, &p6, &p7, &p8, &p9, &p10, &p11}) form->unProtect(*field);
  if (p9.isValid() && p10.isValid() && p11.isValid()) {
    form->oneXAndDefault(p7, p8, p9, p10, p11);
  } else if (p9.isValid() && p10.isValid()) {
    form->oneX4AndDefault(p7, p8, p9, p10);
  } else if (p9.isValid()) {
    Utils::setDefaultX(form, p7, p8, p9);
  } else {
    Utils::setDefaultX(form, p7, p8, p8);
  }
}

void PATaxReturnCalcEngine::fillMarkedText(TaxFormPtr form, FieldId q1, FieldId q2, FieldId q3, FieldId q4,
                                           FieldId q5, FieldId q6, FieldId q7, FieldId q8, FieldId q9,
                                           FieldId q10, FieldId q11) {
  if (form.isNull()) return;
  if (form->xMarked(q1) && form->xMarked(q2)) form->setXNo(q2);

  if (!form->xMarked(q1)) {
    for (const FieldId* field : {&q3, &q4, &q5, &q6, &q7, &q8, &q9, &q10, &q11}) form->makeProtected(*field);
    return;
  }
  form->unProtect(q3);
  form->unProtect(q4);
  if (!form->xMarked(q3)) {
    for (const FieldId* field : {&q5, &q6, &q7, &q8, &q9, &q10, &q11}) form->makeProtected(*field);
    return;
  }
  char text[kForm183TextSize] = "";
  if (federalReturn != nullptr) {
    federalReturn->formString(text, sizeof text, kFormID_Fed183, 1, kFed183FieldIds[kForm183Text1]);
  }
  form->assignText(q5, text);
  form->makeProtected(q5);
  text[0] = '\0';
  if (federalReturn != nullptr) {
    federalReturn->formString(text, sizeof text, kFormID_Fed183, 1, kFed183FieldIds[kForm183Text2]);
  }
  form->assignText(q6, text);
  form->makeProtected(q6);
  if (federalReturn != nullptr) {
    federalReturn->getII(kFormID_Fed183, kFed183FieldIds[kForm183Copy1], form, q7);
    federalReturn->getII(kFormID_Fed183, kFed183FieldIds[kForm183Copy2], form, q8);
  }
  form->makeProtected(q7);
  form->makeProtected(q8);
  for (const FieldId* field : {&q9, &q10, &q11}) {
    form->setXNo(*field);
    form->makeProtected(*field);
  }
}

void PATaxReturnCalcEngine::fillOptionGroups(TaxFormPtr form, const FieldId (&g)[18]) {
  if (form.isNull() || paReturn == nullptr) return;
  const bool spouseApplies = spouseGroupApplies(paReturn->getFilingStatus());

  // The taxpayer's group; a fourth text makes the answer moot.
  fillOptionGroup(*form, federalReturn, kTaxpayerGroup, g);
  const FieldId& answer = g[kTaxpayerGroup.answer];
  if (form->nonNull(g[kTaxpayerGroup.texts[3]])) {
    if (spouseApplies) {
      form->makeProtectedAndSetNull(answer);
    } else {
      form->setNull(answer);
    }
  } else {
    form->unProtect(answer);
  }

  // The spouse's group, only for the statuses it applies to.
  if (!spouseApplies) {
    for (int i : kSpouseGroup.options) form->makeProtectedAndSetNull(g[i]);
    for (int i : kSpouseGroup.texts) form->makeProtectedAndSetNull(g[i]);
    form->makeProtectedAndSetNull(g[kSpouseGroup.answer]);
    return;
  }
  fillOptionGroup(*form, federalReturn, kSpouseGroup, g);
  const FieldId& spouseAnswer = g[kSpouseGroup.answer];
  if (form->nonNull(g[kSpouseGroup.texts[3]])) {
    form->setNull(spouseAnswer);
  } else {
    form->unProtect(spouseAnswer);
  }
}

}  // namespace PACalculationMgmt
