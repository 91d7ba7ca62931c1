// The payment voucher (state form 184) that goes with a payment of the
// amount owed on the PA-40: the filer's and, on a joint return, the
// spouse's identity texts, five PA-40 texts, the daytime telephone number
// and the amount owed. Every calculation rewrites the fields from their
// sources; the copy is marked entered while an amount is owed and the
// federal return says a voucher is wanted, and unmarked otherwise.
#include <cstdint>
#include <cstdio>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;

namespace {

namespace V = PAEstimatedVouchers;
namespace Info = PAReturnInfo;

// Information-form texts are read into buffers of this size.
const int kTextSize = 128;
// The common-text code of the daytime telephone number.
const int kPhoneText = 141;

// A text copied as it stands from another form into the voucher.
template <class Catalog>
struct TextCopy {
  NamedField<Catalog> source;
  NamedField<PAEstimatedVouchersFieldIds> target;
};
// From the information form; the spouse's only on a joint return.
const TextCopy<PAReturnInfoFieldIds> kFilerTexts[] = {
    {Info::kTaxpayerSSN, V::kTaxpayerSSN},
    {Info::kTaxpayerLastName, V::kTaxpayerLastName},
    {Info::kTaxpayerFirstName, V::kTaxpayerFirstName},
    {Info::kTaxpayerMiddleInitial, V::kTaxpayerMiddleInitial},
};
const TextCopy<PAReturnInfoFieldIds> kSpouseTexts[] = {
    {Info::kSpouseLastName, V::kSpouseLastName},
    {Info::kSpouseFirstName, V::kSpouseFirstName},
    {Info::kSpouseMiddleInitial, V::kSpouseMiddleInitial},
    {Info::kSpouseSSN, V::kSpouseSSN},
};
// The address, from the PA-40.
const TextCopy<PA40FieldIds> kPA40Texts[] = {
    {PA40::kAddressLineTwo, V::kAddressLineTwo}, {PA40::kAddressLineOne, V::kAddressLineOne},
    {PA40::kCity, V::kCity},                     {PA40::kStateCode, V::kStateCode},
    {PA40::kZipCode, V::kZipCode},
};

}  // namespace

void PATaxReturnCalcEngine::computeEstimatedVouchers(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  PADataMgmt::PATaxReturn& pa = *paReturn;

  for (const auto& t : kFilerTexts) copyInfoTextToField(t.source, form, t.target);
  if (pa.readFilingStatus(kFormID_PAReturnInfo) == PADataMgmt::kFilingJoint) {
    for (const auto& t : kSpouseTexts) copyInfoTextToField(t.source, form, t.target);
  } else {
    for (const auto& t : kSpouseTexts) form->setNull(t.target);
  }
  for (const auto& t : kPA40Texts) pa.getII(kFormID_PA40, t.source, form, t.target);

  // Daytime telephone number: the federal one, else the PA-40's.
  pullCommonText(getFederalReturnFormId(), kFormID_PAEstimatedVouchers, copy, V::kDaytimePhone, kPhoneText);
  if (!form->hasSigValue(V::kDaytimePhone)) pa.getII(kFormID_PA40, PA40::kDaytimePhone, form, V::kDaytimePhone);
  if (form->hasSigValue(V::kDaytimePhone)) form->makeProtected(V::kDaytimePhone);

  char lastName[kTextSize];
  pa.textString(lastName, kFormID_PAReturnInfo, 1, Info::kTaxpayerLastName);
  char initials[3];
  std::snprintf(initials, sizeof initials, "%.2s", lastName);
  form->assignText(V::kNameInitials, initials);

  pa.getII(kFormID_PA40, PA40::kTotalPayment, form, V::kAmountOwed);

  const bool voucherWanted =
      federalReturn != nullptr && federalReturn->formYes(kFormID_Fed183, 1, Fed183::kPayByVoucherBox);
  // Every field of the voucher is the calculation's: a voucher with
  // nothing owed is no part of the return any more.
  const bool owed = pa.getIN(kFormID_PA40, 1, PA40::kTotalPayment) > 0 && voucherWanted;
  form->setCalcMark(owed);
  pa.setDataEntered(kFormID_PAEstimatedVouchers, copy, owed, false);
}

}  // namespace PACalculationMgmt
