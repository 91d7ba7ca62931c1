// The four voucher blocks of the estimated tax worksheet, one per
// installment: due date, names and identity texts, daytime telephone
// number, PA-40 and address texts, the annual amount and the installment.
// Block 1's name texts come from the information form; blocks 2 to 4 copy
// them.
#include <cstdint>
#include <cstdio>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/schedules/estimated_tax_worksheet.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"
#include "parameters/tax_parameters.h"

namespace PACalculationMgmt {
namespace EstimatedTaxWorksheet {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

namespace E = PAEstimatedTaxWorksheet;
namespace Info = PAReturnInfo;
using Column = NamedColumn<PAEstimatedTaxWorksheetFieldIds>;

const int kBlocks = 4;
// Information-form texts are read into buffers of this size.
const int kTextSize = 128;
// The common-text code of the daytime telephone number.
const int kPhoneText = 141;

// A text of another form copied into a block's field.
template <class Catalog>
struct TextCopy {
  NamedField<Catalog> source;
  const Column& target;
};

// Block 1's name texts from the information form; blocks 2 to 4 copy
// them. The spouse's only on a joint return.
const TextCopy<PAReturnInfoFieldIds> kFilerTexts[] = {
    {Info::kTaxpayerSSN, E::kVoucherTaxpayerSSN},
    {Info::kTaxpayerLastName, E::kVoucherLastName},
    {Info::kTaxpayerFirstName, E::kVoucherFirstName},
    {Info::kTaxpayerMiddleInitial, E::kVoucherMiddleInitial},
};
const TextCopy<PAReturnInfoFieldIds> kSpouseTexts[] = {
    {Info::kSpouseLastName, E::kVoucherSpouseLastName},
    {Info::kSpouseFirstName, E::kVoucherSpouseFirstName},
    {Info::kSpouseMiddleInitial, E::kVoucherSpouseMiddleInitial},
    {Info::kSpouseSSN, E::kVoucherSpouseSSN},
};
// The address texts of every block.
const TextCopy<PA40FieldIds> kPA40Texts[] = {
    {PA40::kAddressLineTwo, E::kVoucherAddressLineTwo},
    {PA40::kAddressLineOne, E::kVoucherAddressLineOne},
};
const TextCopy<PAReturnInfoFieldIds> kInfoTexts[] = {
    {Info::kCity, E::kVoucherCity},
    {Info::kStateCode, E::kVoucherStateCode},
    {Info::kZipCode, E::kVoucherZipCode},
};

// Block 1's name texts; a return that is not joint has no spouse texts.
void fillFirstBlockNames(PATaxReturnCalcEngine& engine, TaxFormPtr worksheet, bool joint) {
  for (const auto& text : kFilerTexts) engine.copyInfoTextToField(text.source, worksheet, text.target.at(0));
  for (const auto& text : kSpouseTexts) {
    if (joint) {
      engine.copyInfoTextToField(text.source, worksheet, text.target.at(0));
    } else {
      worksheet->setNull(text.target.at(0));
    }
  }
}

// Blocks 2 to 4 copy block 1's name texts as they stand.
void copyFirstBlockNames(DataMgmt::TaxForm& ws) {
  for (int b = 1; b < kBlocks; ++b) {
    for (const auto& text : kFilerTexts) ws.assignII(text.target.at(b), text.target.at(0));
    for (const auto& text : kSpouseTexts) ws.assignII(text.target.at(b), text.target.at(0));
  }
}

// The federal daytime telephone number, else the PA-40's; protected once
// block 1 holds one.
void fillPhones(PATaxReturnCalcEngine& engine, PADataMgmt::PATaxReturn& pa, TaxFormPtr worksheet,
                uint16_t copy) {
  const Column& phone = E::kVoucherDaytimePhone;
  for (int b = 0; b < kBlocks; ++b) {
    engine.pullCommonText(engine.getFederalReturnFormId(), kFormID_PAEstimatedTaxWorksheet, copy, phone.at(b),
                          kPhoneText);
  }
  if (!worksheet->hasSigValue(phone.at(0))) {
    for (int b = 0; b < kBlocks; ++b) pa.getII(kFormID_PA40, PA40::kDaytimePhone, worksheet, phone.at(b));
  }
  if (worksheet->hasSigValue(phone.at(0))) {
    for (int b = 0; b < kBlocks; ++b) worksheet->makeProtected(phone.at(b));
  }
}

}  // namespace

void fillVoucherBlocks(PATaxReturnCalcEngine& engine, TaxFormPtr worksheet, uint16_t copy, bool joint) {
  PADataMgmt::PATaxReturn& pa = *engine.getPAReturn();
  DataMgmt::TaxForm& ws = *worksheet;

  for (int b = 0; b < kBlocks; ++b) {
    const PATax2018::InstallmentDueDate& due = PATax2018::kInstallmentDueDates[b];
    char date[16];
    std::snprintf(date, sizeof date, "%s-%d-%s", due.month, due.day,
                  due.followingYear ? kYearShort2020 : kYearShort2019);
    ws.assignText(E::kVoucherDueDate.at(b), date);
  }

  fillFirstBlockNames(engine, worksheet, joint);
  copyFirstBlockNames(ws);

  // The first two letters of the taxpayer's last name.
  char lastName[kTextSize];
  pa.textString(lastName, kFormID_PAReturnInfo, 1, Info::kTaxpayerLastName);
  char initials[3];
  std::snprintf(initials, sizeof initials, "%.2s", lastName);
  for (int b = 0; b < kBlocks; ++b) ws.assignText(E::kVoucherNameInitials.at(b), initials);

  fillPhones(engine, pa, worksheet, copy);

  for (int b = 0; b < kBlocks; ++b) {
    for (const auto& text : kPA40Texts) pa.getII(kFormID_PA40, text.source, worksheet, text.target.at(b));
    for (const auto& text : kInfoTexts) engine.copyInfoTextToField(text.source, worksheet, text.target.at(b));
  }

  // The annual amount: the amended one when the estimate is amended.
  const OVImmutableIdentifier& annualField =
      ws.xMarked(E::kAmendedYesBox) ? E::kAmendedAnnualAmount.id() : E::kRequiredPayment.id();
  const double annual = static_cast<double>(ws.getIN(annualField));
  for (int b = 0; b < kBlocks; ++b) ws.assignIR(E::kVoucherAnnualAmount.at(b), annual);

  // Each block pays its row's net payment. Block 1 holds an equal share of
  // the required payment until its row is copied in; a row before the first
  // due date is empty, and so is its block.
  ws.timesIR(E::kVoucherInstallment.at(0), E::kRequiredPayment, 1.0 / kBlocks);
  for (int b = 0; b < kBlocks; ++b) ws.assignII(E::kVoucherInstallment.at(b), E::kInstallmentNet.at(b));
}

}  // namespace EstimatedTaxWorksheet
}  // namespace PACalculationMgmt
