// The host-facing calculate operations of the state engine.
#include <cstdint>

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/release_share.h"

namespace StateCalculationMgmt {

namespace {

// Text items answer into buffers of this size.
const int kTextItemBufferSize = 256;

}  // namespace

void StateTaxReturnCalcEngine::clearCalculatedFlags() {
  if (stateReturn == nullptr) return;
  for (DataMgmt::ReturnFormsIter forms = stateReturn->getForms(); !forms.atEOL(); forms.next()) {
    for (DataMgmt::TaxFormIter copies = forms.getTaxFormIter(); !copies.atEOL(); copies.next()) {
      DataMgmt::TaxFormPtr copy = copies.getTaxForm();
      if (!copy.isNull()) copy->setCalcMark(false);
    }
  }
}

void StateTaxReturnCalcEngine::calcReturn(int /*flag*/) {
  builtNames.clear();  // every pass reads the names afresh once
  clearCalculatedFlags();
  preCalc();
  calcStateReturn();
  postCalc();
}

void StateTaxReturnCalcEngine::calcForm(const FormId& formId, uint16_t copy, bool markDataEntered,
                                        int passOn, int spare, TaxFormPtr form) {
  releaseShare(form);  // the copy is fetched afresh below
  if (stateReturn == nullptr) return;
  TaxFormPtr target = stateReturn->getFormUVPtr(formId, copy, false);
  if (formId == kFormID_State14) {
    // State form 14 only needs its filing box pair defaulted, on copy 1
    // whatever copy was asked for; it has no calculation of its own.
    TaxFormPtr first = stateReturn->getFormUVPtr(kFormID_State14, 1, true);
    if (!first.isNull()) {
      Utils::setDefaultX(first, State14::kUpdateOnNextBox, State14::kUpdateSecondBox,
                         State14::kUpdateSecondBox);
    }
    return;
  }
  if (!target.isNull()) calcStateForm(formId, copy, markDataEntered, passOn, spare, target);
}

void StateTaxReturnCalcEngine::calcAllCopies(const FormId& formId) {
  if (stateReturn == nullptr) return;
  const int16_t count = static_cast<int16_t>(stateReturn->getFormCount(formId));
  for (int16_t c = count; c >= 1; --c) {
    const uint16_t copy = static_cast<uint16_t>(c);
    TaxFormPtr target = stateReturn->getFormUVPtr(formId, copy, false);
    if (!target.isNull()) calcForm(formId, copy, false, 1, 1, target);
  }
}

void StateTaxReturnCalcEngine::calcIfChanged(int flag) {
  if (stateReturn != nullptr && stateReturn->isSaveNeeded()) calcReturn(flag);
}

long StateTaxReturnCalcEngine::getSummaryAmount() {
  if (stateReturn == nullptr) return 0;
  char text[kTextItemBufferSize] = "";
  int32_t amount = 0;
  stateReturn->getStateTextItem(text, &amount, 0);
  return amount;
}

}  // namespace StateCalculationMgmt
