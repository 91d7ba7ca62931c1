// The direct deposit and debit form (state form 185), the banking form of
// an electronically filed PA return: names, address, filing-status boxes,
// daytime telephone number, five PA-40 amounts, and the election between
// direct deposit of the refund, direct debit of the amount owed and
// neither, with the bank data of the chosen one.
//
// Everything but the two bank items is recomputed on each calculation;
// the copy is part of the return while the return is in electronic filing
// or a bank item holds an entry.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "calc/pa/schedules/bank_election.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

namespace DD = PADirectDepositDebit;
namespace Info = PAReturnInfo;
using Field = NamedField<PADirectDepositDebitFieldIds>;

// Texts of the form and the information form are read into buffers of
// this size.
const int kTextSize = 128;
// The common-text code of the daytime telephone number.
const int kPhoneText = 141;

// A field copied from copy 1 of another form.
template <class Catalog>
struct FieldCopy {
  NamedField<Catalog> source;
  Field target;
};
const FieldCopy<PAReturnInfoFieldIds> kAddressCopies[] = {
    {Info::kCity, DD::kCity}, {Info::kStateCode, DD::kStateCode}, {Info::kZipCode, DD::kZipCode}};
const FieldCopy<PA40FieldIds> kPA40Copies[] = {{PA40::kAdjustedTaxableIncome, DD::kAdjustedTaxableIncome},
                                               {PA40::kTaxLiability, DD::kTaxLiability},
                                               {PA40::kTaxWithheld, DD::kTaxWithheld},
                                               {PA40::kRefund, DD::kRefund},
                                               {PA40::kTotalPayment, DD::kAmountOwed}};
const FieldCopy<PAReturnInfoFieldIds> kInfoCopies[] = {{Info::kTransferItemOne, DD::kTransferItemOne},
                                                       {Info::kTransferItemTwo, DD::kTransferItemTwo},
                                                       {Info::kTransferItemThree, DD::kTransferItemThree}};
// The bank data of a deposit and of a debit.
const FieldCopy<PAReturnInfoFieldIds> kDepositBank[] = {{Info::kDepositRoutingNumber, DD::kRoutingNumber},
                                                        {Info::kDepositAccountNumber, DD::kAccountNumber}};
const FieldCopy<PAReturnInfoFieldIds> kDebitBank[] = {{Info::kDebitRoutingNumber, DD::kRoutingNumber},
                                                      {Info::kDebitAccountNumber, DD::kAccountNumber},
                                                      {Info::kDebitDate, DD::kDebitDate}};

// The filing-status boxes; the status codes mark one of the first three,
// the information form's answers the last two.
const Field kStatusBoxes[] = {DD::kSingleBox, DD::kJointBox, DD::kSeparateBox, DD::kTaxpayerDeceasedBox,
                              DD::kFilingStatusFBox};
const FieldCopy<PAReturnInfoFieldIds> kAnswerBoxes[] = {{Info::kTaxpayerDeceasedBox, DD::kTaxpayerDeceasedBox},
                                                        {Info::kFilingStatusFBox, DD::kFilingStatusFBox}};

// Copies whole values from copy 1 of `source`.
template <class Catalog, std::size_t N>
void copyFields(PADataMgmt::PATaxReturn& pa, const DataMgmt::FormId& source, const FieldCopy<Catalog> (&copies)[N],
                TaxFormPtr form) {
  for (const FieldCopy<Catalog>& copy : copies) pa.getII(source, copy.source, form, copy.target);
}

// The filing-status boxes, recomputed from the information form every
// time.
void markFilingStatus(PADataMgmt::PATaxReturn& pa, DataMgmt::TaxForm& f, uint8_t filingStatus) {
  for (const Field& box : kStatusBoxes) f.setXNo(box);
  bool anyMarked = false;
  for (const Field& box : kStatusBoxes) anyMarked = anyMarked || f.xMarked(box);
  if (anyMarked) return;
  if (filingStatus == PADataMgmt::kFilingSingle) f.setX(DD::kSingleBox);
  if (filingStatus == PADataMgmt::kFilingJoint) f.setX(DD::kJointBox);
  if (filingStatus == PADataMgmt::kFilingSeparate) f.setX(DD::kSeparateBox);
  for (const auto& answer : kAnswerBoxes) {
    if (pa.formYes(kFormID_PAReturnInfo, 1, answer.source)) {
      f.setX(answer.target);
    } else {
      f.setNull(answer.target);
    }
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeDirectDepositDebit(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  PADataMgmt::PATaxReturn& pa = *paReturn;
  DataMgmt::TaxForm& f = *form;
  const DataMgmt::FormId& formId = kFormID_PADirectDepositDebit;
  const uint8_t filingStatus = pa.readFilingStatus(kFormID_PAReturnInfo);

  // Names.
  composeInfoPairText2(form, formId, DD::kTaxpayerLastName);
  composeInfoPairText1(form, formId, DD::kTaxpayerFirstName);
  copyInfoTextToField(Info::kTaxpayerSSN, form, DD::kTaxpayerSSN);
  if (filingStatus == PADataMgmt::kFilingJoint) {
    // A spouse who shares the taxpayer's last name gets none of his own.
    char taxpayerLast[kTextSize];
    char spouseLast[kTextSize];
    pa.formString(taxpayerLast, formId, copy, DD::kTaxpayerLastName);
    pa.formString(spouseLast, kFormID_PAReturnInfo, 1, Info::kSpouseLastName);
    if (std::strcmp(taxpayerLast, spouseLast) != 0) {
      composeInfoPairText4(form, formId, DD::kSpouseLastName);
    } else {
      f.setNull(DD::kSpouseLastName);
    }
    composeInfoPairText3(form, formId, DD::kSpouseFirstName);
    copyInfoTextToField(Info::kSpouseSSN, form, DD::kSpouseSSN);
  } else {
    f.setNull(DD::kSpouseLastName);
    f.setNull(DD::kSpouseFirstName);
    f.setNull(DD::kSpouseSSN);
  }

  // Address.
  char street[kApartmentTextSize];
  f.assignText(DD::kStreet, formatApartment(street, kFormID_PAReturnInfo, 0));
  copyFields(pa, kFormID_PAReturnInfo, kAddressCopies, form);

  markFilingStatus(pa, f, filingStatus);

  pullCommonText(getFederalReturnFormId(), formId, copy, DD::kDaytimePhone, kPhoneText);
  copyFields(pa, kFormID_PA40, kPA40Copies, form);

  // Election, on the amounts this copy holds.
  const BankElection election =
      bankElection(pa, federalReturn, f.getIR(DD::kRefund), f.getIR(DD::kAmountOwed));
  if (election == BankElection::kDirectDeposit) {
    f.makeProtected(DD::kDirectDepositBox);
    f.setX(DD::kDirectDepositBox);
    f.makeProtected(DD::kNeitherBox);
    f.setXNo(DD::kNeitherBox);
    f.setXNo(DD::kDirectDebitBox);
  } else if (election == BankElection::kDirectDebit) {
    f.setX(DD::kDirectDebitBox);
    f.setXNo(DD::kDirectDepositBox);
    f.setXNo(DD::kNeitherBox);
  } else {
    f.setXNo(DD::kDirectDebitBox);
    f.setXNo(DD::kDirectDepositBox);
    f.setX(DD::kNeitherBox);
  }

  // Bank data of the chosen election.
  const bool deposit = f.xMarked(DD::kDirectDepositBox);
  const bool debit = f.xMarked(DD::kDirectDebitBox);
  if (!deposit && !debit) {
    for (const Field& field :
         {DD::kRoutingNumber, DD::kCheckingBox, DD::kSavingsBox, DD::kAccountNumber, DD::kDebitDate}) {
      f.setNull(field);
    }
  } else {
    const bool checking = (deposit && pa.formYes(kFormID_PAReturnInfo, 1, Info::kDepositCheckingBox)) ||
                          (debit && pa.formYes(kFormID_PAReturnInfo, 1, Info::kDebitCheckingBox));
    f.setX(checking ? DD::kCheckingBox : DD::kSavingsBox);
    f.setXNo(checking ? DD::kSavingsBox : DD::kCheckingBox);
    if (debit) {
      copyFields(pa, kFormID_PAReturnInfo, kDebitBank, form);
    } else {
      copyFields(pa, kFormID_PAReturnInfo, kDepositBank, form);
      f.setNull(DD::kDebitDate);
    }
  }

  copyFields(pa, kFormID_PAReturnInfo, kInfoCopies, form);

  markPartOfReturn(pa, formId, copy, f, pa.InElf(), [&] { return holdsUserEntry(f, DD::kUserFields); });
}

}  // namespace PACalculationMgmt
