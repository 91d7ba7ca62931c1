// The payment voucher (state form 184) that goes with a payment of the
// amount owed on the PA-40: the filer's and, on a joint return, the
// spouse's identity texts, five PA-40 texts, the daytime telephone number
// and the amount owed. Every calculation rewrites the fields from their
// sources; the copy is marked entered only when an amount is owed and the
// federal return says a voucher is wanted.
#include <cstdint>
#include <cstdio>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// Information-form texts are read into buffers of this size.
const int kTextSize = 128;
// The common-text code of the daytime telephone number.
const int kPhoneText = 141;

const OVImmutableIdentifier& voucher(int member) { return kPAEstimatedVouchersFieldIds[member]; }
const OVImmutableIdentifier& info(int member) { return kPAReturnInfoFieldIds[member]; }
const OVImmutableIdentifier& pa40(int member) { return kPA40FieldIds[member]; }

// Voucher members (host field numbers in the comments).
const int kInfoText35 = 0;       // 2
const int kNameInitials = 1;     // 3
const int kSpouseText40 = 2;     // 4
const int kLastName = 3;         // 5
const int kPhone = 4;            // 6
const int kFirstName = 5;        // 7
const int kMiddleInitial = 6;    // 8
const int kAmountOwed = 7;       // 9
const int kSpouseLastName = 8;   // 12
const int kSpouseFirstName = 9;  // 10
const int kSpouseMiddle = 10;    // 11

// Information-form texts copied as they stand: {source member, voucher
// member}. The spouse's only on a joint return.
struct TextCopy {
  int source;
  int target;
};
const TextCopy kFilerTexts[] = {
    {90, kInfoText35},     // 35
    {88, kLastName},       // 33
    {86, kFirstName},      // 31
    {87, kMiddleInitial},  // 32
};
const TextCopy kSpouseTexts[] = {
    {93, kSpouseLastName},   // 38
    {91, kSpouseFirstName},  // 36
    {92, kSpouseMiddle},     // 37
    {95, kSpouseText40},     // 40
};
// PA-40 texts 107, 105, 110, 111, 112 into voucher fields 13 to 17.
const TextCopy kPA40Texts[] = {{128, 11}, {130, 12}, {135, 13}, {136, 14}, {137, 15}};

const int kInfoLastName = 88;   // 33
const int kPA40Phone = 139;     // 116
const int kPA40AmountOwed = 261;  // 268, line 17
const int kFed183VoucherWanted = 183;  // 154

}  // namespace

void PATaxReturnCalcEngine::computeEstimatedVouchers(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  PADataMgmt::PATaxReturn& pa = *paReturn;

  for (const TextCopy& t : kFilerTexts) copyInfoTextToField(info(t.source), form, voucher(t.target));
  if (pa.readFilingStatus(kFormID_PAReturnInfo) == 2) {
    for (const TextCopy& t : kSpouseTexts) copyInfoTextToField(info(t.source), form, voucher(t.target));
  } else {
    for (const TextCopy& t : kSpouseTexts) form->setNull(voucher(t.target));
  }
  for (const TextCopy& t : kPA40Texts) pa.getII(kFormID_PA40, pa40(t.source), form, voucher(t.target));

  // Daytime telephone number: the federal one, else the PA-40's.
  pullCommonText(getFederalReturnFormId(), kFormID_PAEstimatedVouchers, copy, voucher(kPhone), kPhoneText);
  if (!form->hasSigValue(voucher(kPhone))) pa.getII(kFormID_PA40, pa40(kPA40Phone), form, voucher(kPhone));
  if (form->hasSigValue(voucher(kPhone))) form->makeProtected(voucher(kPhone));

  char lastName[kTextSize];
  pa.textString(lastName, kFormID_PAReturnInfo, 1, info(kInfoLastName));
  char initials[3];
  std::snprintf(initials, sizeof initials, "%.2s", lastName);
  form->assignText(voucher(kNameInitials), initials);

  pa.getII(kFormID_PA40, pa40(kPA40AmountOwed), form, voucher(kAmountOwed));

  const bool voucherWanted =
      federalReturn != nullptr &&
      federalReturn->formYes(kFormID_Fed183, 1, kFed183FieldIds[kFed183VoucherWanted]);
  if (pa.getIN(kFormID_PA40, 1, pa40(kPA40AmountOwed)) > 0 && voucherWanted) {
    form->setCalcMark(true);
    pa.setDataEntered(kFormID_PAEstimatedVouchers, copy, true, false);
  }
}

}  // namespace PACalculationMgmt
