// The PA engine's identity answers (which form carries the return's lines,
// which federal return form is in use, the filing status) and the small
// read-only services the schedules share: federal W-2 counts, a text copy
// from the information form, and the name composers.
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/state/joined_text.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

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

// Federal W-2 copies whose owner `mark` is set and whose employer name is
// filled in. The highest copy number is asked again before every copy.
uint16_t countMarkedW2Copies(DataMgmt::TaxReturn* federal, const OVImmutableIdentifier& mark) {
  if (federal == nullptr) return 0;
  uint16_t count = 0;
  for (int copy = 1; copy <= federal->getMaxCopies(kFormID_FedW2); ++copy) {
    const uint16_t c = static_cast<uint16_t>(copy);
    TaxFormPtr w2 = federal->getFormUVPtr(kFormID_FedW2, c, false);
    if (w2.isNull()) continue;
    const bool named = federal->hasSigValue(kFormID_FedW2, c, FedW2::kEmployerName);
    if (federal->formYes(kFormID_FedW2, c, mark) && named) ++count;
  }
  return count;
}

// The same count, kept while no federal W-2 changes.
uint16_t countMarkedW2Copies(CopyScanCache& scans, DataMgmt::TaxReturn* federal, const OVImmutableIdentifier& mark) {
  const ScanTotals count = scans.get(scanKey(CopyScan::kMarkedW2, mark.getNumber()), {{federal, kFormID_FedW2}},
                                     [&] { return ScanTotals{static_cast<double>(countMarkedW2Copies(federal, mark))}; });
  return static_cast<uint16_t>(count[0]);
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

// Two name parts of the information form, each read at its width: first
// names 12, initials 1, last names 20, suffixes 3.
struct NamePair {
  NamedField<PAReturnInfoFieldIds> first;
  int firstWidth;
  NamedField<PAReturnInfoFieldIds> second;
  int secondWidth;
};
const NamePair kNamePairs[] = {
    {PAReturnInfo::kTaxpayerFirstName, 12, PAReturnInfo::kTaxpayerMiddleInitial, 1},
    {PAReturnInfo::kTaxpayerLastName, 20, PAReturnInfo::kTaxpayerNameSuffix, 3},
    {PAReturnInfo::kSpouseFirstName, 12, PAReturnInfo::kSpouseMiddleInitial, 1},
    {PAReturnInfo::kSpouseLastName, 20, PAReturnInfo::kSpouseNameSuffix, 3},
};

// "first second" (or "first" alone when the second part is empty) from the
// two fields of copy 1 of the information form, cut to the target field's
// maximum length and written to it. A missing information form writes the
// empty text; a target field without a descriptor is written uncut.
void composeInfoPair(PADataMgmt::PATaxReturn* pa, TaxFormPtr target, const FormId& targetForm,
                     const OVImmutableIdentifier& targetField, const NamePair& pair) {
  if (pa == nullptr || target.isNull()) return;
  char composed[2 * kTextSize] = "";
  TaxFormPtr info = pa->getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (!info.isNull()) {
    char firstText[kTextSize];
    char secondText[kTextSize];
    readInfoPart(*pa, info, pair.first, pair.firstWidth, firstText);
    readInfoPart(*pa, info, pair.second, pair.secondWidth, secondText);
    if (secondText[0] != '\0') {
      StateCalculationMgmt::joinWithBlank(composed, sizeof(composed), firstText, secondText);
    } else {
      Utils::safestrncpy(composed, firstText, sizeof(composed));
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
  return paReturn != nullptr ? paReturn->readFilingStatus(getStateReturnFormId())
                             : static_cast<uint8_t>(PADataMgmt::kFilingSingle);
}

// Federal W-2 counts.

uint16_t PATaxReturnCalcEngine::countW2CopiesMarkedFirstBox() {
  return countMarkedW2Copies(copyScans, federalReturn, FedW2::kTaxpayerBox);
}

uint16_t PATaxReturnCalcEngine::countW2CopiesMarkedSecondBox() {
  return countMarkedW2Copies(copyScans, federalReturn, FedW2::kSpouseBox);
}

// Text services.

void PATaxReturnCalcEngine::copyInfoTextToField(const OVImmutableIdentifier& sourceField, TaxFormPtr target,
                                                const OVImmutableIdentifier& targetField) {
  if (paReturn == nullptr || target.isNull()) return;
  char text[kTextSize];
  paReturn->textString(text, kFormID_PAReturnInfo, 1, sourceField);
  target->assignText(targetField, text);
}

// Composer n writes name pair n.
#define NAME_PAIR_COMPOSER(n)                                                                         \
  void PATaxReturnCalcEngine::composeInfoPairText##n(TaxFormPtr target, const FormId& targetForm,   \
                                                     const OVImmutableIdentifier& targetField) {   \
    composeInfoPair(paReturn, target, targetForm, targetField, kNamePairs[n - 1]);                  \
  }
NAME_PAIR_COMPOSER(1)
NAME_PAIR_COMPOSER(2)
NAME_PAIR_COMPOSER(3)
NAME_PAIR_COMPOSER(4)
#undef NAME_PAIR_COMPOSER

}  // namespace PACalculationMgmt
