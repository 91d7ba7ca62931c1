// The PA engine's identity answers (which form carries the return's lines,
// which federal return form is in use, the filing status) and the small
// read-only services the schedules share: federal W-2 counts, a text copy
// from the information form, and the name composers.
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/descriptors.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// Field texts are read into buffers of this size (127 characters and NUL).
const int kTextSize = 128;
// A composed text longer than its target is first cut to this many
// characters, then to the target's maximum length.
const int kScratchLength = 80;

// Federal W-2 copies whose `mark` (field 1 or 2) is set and whose name
// field (4) is filled in. The highest copy number is asked again before
// every copy.
uint16_t countMarkedW2Copies(DataMgmt::TaxReturn* federal, const OVImmutableIdentifier& mark) {
  if (federal == nullptr) return 0;
  const OVImmutableIdentifier& name = kFedW2FieldIds[210];  // 4
  uint16_t count = 0;
  for (int copy = 1; copy <= federal->getMaxCopies(kFormID_FedW2); ++copy) {
    const uint16_t c = static_cast<uint16_t>(copy);
    TaxFormPtr w2 = federal->getFormUVPtr(kFormID_FedW2, c, false);
    if (w2.isNull()) continue;
    if (federal->formYes(kFormID_FedW2, c, mark) && federal->hasSigValue(kFormID_FedW2, c, name)) ++count;
  }
  return count;
}

// The text of `field` of the information form copy `info`, at `width`,
// without surrounding blanks, into `out` (kTextSize bytes).
void readInfoPart(const PADataMgmt::PATaxReturn& pa, TaxFormPtr info, const OVImmutableIdentifier& field,
                  int width, char* out) {
  char raw[kTextSize];
  DataMgmt::FormFieldPtr handle = info->getField(field);
  pa.getText(raw, handle.isNull() ? 0L : handle->getValue(), width, 0);
  Utils::strip(out, raw);
}

// "first second" (or "first" alone when the second part is empty) from two
// fields of copy 1 of the information form, cut to the target field's
// maximum length and written to it. A missing information form writes the
// empty text; a target field without a descriptor is written uncut.
void composeInfoPair(PADataMgmt::PATaxReturn* pa, TaxFormPtr target, const FormId& targetForm,
                     const OVImmutableIdentifier& targetField, const OVImmutableIdentifier& first,
                     int firstWidth, const OVImmutableIdentifier& second, int secondWidth) {
  if (pa == nullptr || target.isNull()) return;
  char composed[2 * kTextSize] = "";
  TaxFormPtr info = pa->getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (!info.isNull()) {
    char firstText[kTextSize];
    char secondText[kTextSize];
    readInfoPart(*pa, info, first, firstWidth, firstText);
    readInfoPart(*pa, info, second, secondWidth, secondText);
    if (secondText[0] != '\0') {
      std::snprintf(composed, sizeof(composed), "%s%c%s", firstText, ' ', secondText);
    } else {
      std::snprintf(composed, sizeof(composed), "%s", firstText);
    }
  }

  DataMgmt::TaxFormDescPtr formDesc = pa->getTaxFormDescriptor(targetForm);
  DataMgmt::FormFieldDescPtr fieldDesc =
      formDesc.isNull() ? DataMgmt::FormFieldDescPtr() : formDesc->getFieldDesc(targetField);
  if (!fieldDesc.isNull()) {
    const int maxLength = fieldDesc->getLength();
    if (static_cast<int>(std::strlen(composed)) > maxLength) {
      char scratch[kScratchLength + 1];
      Utils::safestrncpy(scratch, composed, sizeof(scratch));
      std::snprintf(composed, sizeof(composed), "%.*s", maxLength, scratch);
    }
  }
  target->assignText(targetField, composed);
}

}  // namespace

// Identity answers.

FormId PATaxReturnCalcEngine::getStateReturnFormId() {
  return paReturn != nullptr ? paReturn->getPA40FormId() : kFormID_PA40;
}

FormId PATaxReturnCalcEngine::getFederalReturnFormId() {
  return paReturn != nullptr ? paReturn->readFederalReturnForm() : kFormID_FedReturn;
}

uint8_t PATaxReturnCalcEngine::getFilingStatus() {
  return paReturn != nullptr ? paReturn->readFilingStatus(getStateReturnFormId()) : 1;
}

// Federal W-2 counts.

uint16_t PATaxReturnCalcEngine::countW2CopiesMarkedFirstBox() {
  return countMarkedW2Copies(federalReturn, kFedW2FieldIds[199]);  // 1
}

uint16_t PATaxReturnCalcEngine::countW2CopiesMarkedSecondBox() {
  return countMarkedW2Copies(federalReturn, kFedW2FieldIds[200]);  // 2
}

// Text services.

void PATaxReturnCalcEngine::copyInfoTextToField(const OVImmutableIdentifier& sourceField, TaxFormPtr target,
                                                const OVImmutableIdentifier& targetField) {
  if (paReturn == nullptr || target.isNull()) return;
  char text[kTextSize];
  paReturn->textString(text, kFormID_PAReturnInfo, 1, sourceField);
  target->assignText(targetField, text);
}

// Widths: first names 12, initials 1, last names 20, suffixes 3.
void PATaxReturnCalcEngine::composeInfoPairText1(TaxFormPtr target, const FormId& targetForm,
                                                 const OVImmutableIdentifier& targetField) {
  composeInfoPair(paReturn, target, targetForm, targetField, kPAReturnInfoFieldIds[86], 12,  // 31
                  kPAReturnInfoFieldIds[87], 1);                                            // 32
}

void PATaxReturnCalcEngine::composeInfoPairText2(TaxFormPtr target, const FormId& targetForm,
                                                 const OVImmutableIdentifier& targetField) {
  composeInfoPair(paReturn, target, targetForm, targetField, kPAReturnInfoFieldIds[88], 20,  // 33
                  kPAReturnInfoFieldIds[89], 3);                                            // 34
}

void PATaxReturnCalcEngine::composeInfoPairText3(TaxFormPtr target, const FormId& targetForm,
                                                 const OVImmutableIdentifier& targetField) {
  composeInfoPair(paReturn, target, targetForm, targetField, kPAReturnInfoFieldIds[91], 12,  // 36
                  kPAReturnInfoFieldIds[92], 1);                                            // 37
}

void PATaxReturnCalcEngine::composeInfoPairText4(TaxFormPtr target, const FormId& targetForm,
                                                 const OVImmutableIdentifier& targetField) {
  composeInfoPair(paReturn, target, targetForm, targetField, kPAReturnInfoFieldIds[93], 20,  // 38
                  kPAReturnInfoFieldIds[94], 3);                                            // 39
}

}  // namespace PACalculationMgmt
