// The information form's field routines for boxes and the fields that
// follow them: the option check boxes and texts from federal form 92, the
// marked texts from federal form 183, and the two option groups.
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

typedef NamedField<FedFilerInfoFieldIds> FilerField;

// Federal form 183's texts are read up to 52 characters.
const int kForm183TextSize = 53;

// One option group: where its fields stand among g1..g18 (0-based) and the
// federal form 92 fields that answer them. Options are listed in the
// order of their federal answers (the first yes wins).
struct OptionGroupLayout {
  int options[4];
  int texts[4];
  int answer;
  FilerField fedOptions[4];
  FilerField fedTexts[4];
  FilerField fedAnswer;
};

const OptionGroupLayout kTaxpayerGroup = {
    {7, 8, 1, 0},
    {2, 3, 4, 5},
    6,
    {FedFilerInfo::kTaxpayerDriversLicenseBox, FedFilerInfo::kTaxpayerStateIdBox,
     FedFilerInfo::kTaxpayerNoIdBox, FedFilerInfo::kTaxpayerIdDeclinedBox},
    {FedFilerInfo::kTaxpayerIdNumber, FedFilerInfo::kTaxpayerIdState, FedFilerInfo::kTaxpayerIdIssueDate,
     FedFilerInfo::kTaxpayerIdExpirationDate},
    FedFilerInfo::kTaxpayerIdNoExpirationBox,
};
const OptionGroupLayout kSpouseGroup = {
    {16, 17, 10, 9},
    {11, 12, 13, 14},
    15,
    {FedFilerInfo::kSpouseDriversLicenseBox, FedFilerInfo::kSpouseStateIdBox, FedFilerInfo::kSpouseNoIdBox,
     FedFilerInfo::kSpouseIdDeclinedBox},
    {FedFilerInfo::kSpouseIdNumber, FedFilerInfo::kSpouseIdState, FedFilerInfo::kSpouseIdIssueDate,
     FedFilerInfo::kSpouseIdExpirationDate},
    FedFilerInfo::kSpouseIdNoExpirationBox,
};

// Filing statuses under which the spouse's group applies: joint, and the
// host's codes 0, 8 and 9 that name no PA status.
bool spouseGroupApplies(uint8_t filingStatus) {
  return filingStatus == PADataMgmt::kFilingJoint || filingStatus == 0 || filingStatus == 8 ||
         filingStatus == 9;
}

bool filerYes(const DataMgmt::TaxReturn* federal, const FilerField& field) {
  return federal != nullptr && federal->formYes(kFormID_FedFilerInfo, 1, field);
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
      federal->formString(text, sizeof text, kFormID_FedFilerInfo, 1, group.fedTexts[n]);
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

  // Step 1: the federal choice while no box is marked. Once a box is
  // marked it is the user's answer, which a later federal change does not
  // reach; a pair left unanswered (a copy made anew) takes the default on
  // any calculation, as the same entries loaded afresh do.
  if (!form->xMarked(p1) && !form->xMarked(p2) && !(withP12 && form->xMarked(p12))) {
    if (filerYes(federalReturn, FedFilerInfo::kDirectDepositBox) ||
        filerYes(federalReturn, FedFilerInfo::kSecondDirectDepositBox)) {
      form->setX(p1);
      form->setXNo(p2);
      form->setXNo(p12);
      if (federalReturn->hasSigValue(kFormID_FedFilerInfo, 1, FedFilerInfo::kRoutingNumber) &&
          federalReturn->hasSigValue(kFormID_FedFilerInfo, 1, FedFilerInfo::kAccountNumber)) {
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
  if (filerYes(federalReturn, FedFilerInfo::kRefundOptionAnswerBox)) {
    form->setXNo(p3);
  } else {
    form->unProtect(p3);
  }
  if (form->xMarked(p3)) {
    char routing[128] = "";
    char account[128] = "";
    if (federalReturn != nullptr) {
      federalReturn->formString(routing, sizeof routing, kFormID_FedFilerInfo, 1,
                                FedFilerInfo::kRoutingNumber);
      federalReturn->formString(account, sizeof account, kFormID_FedFilerInfo, 1,
                                FedFilerInfo::kAccountNumber);
      federalReturn->getII(kFormID_FedFilerInfo, FedFilerInfo::kCheckingAccountBox, form, p7);
      federalReturn->getII(kFormID_FedFilerInfo, FedFilerInfo::kSavingsAccountBox, form, p8);
    }
    form->assignText(p5, routing);
    form->assignText(p6, account);
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
    federalReturn->formString(text, sizeof text, kFormID_Fed183, 1, Fed183::kOtherAccountRoutingNumber);
  }
  form->assignText(q5, text);
  form->makeProtected(q5);
  text[0] = '\0';
  if (federalReturn != nullptr) {
    federalReturn->formString(text, sizeof text, kFormID_Fed183, 1, Fed183::kOtherAccountNumber);
  }
  form->assignText(q6, text);
  form->makeProtected(q6);
  if (federalReturn != nullptr) {
    federalReturn->getII(kFormID_Fed183, Fed183::kOtherAccountCheckingBox, form, q7);
    federalReturn->getII(kFormID_Fed183, Fed183::kOtherAccountSavingsBox, form, q8);
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
