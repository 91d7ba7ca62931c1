// The direct deposit and debit form (state form 185), the banking form of
// an electronically filed PA return: names, address, filing-status boxes,
// daytime telephone number, five PA-40 amounts, and the election between
// direct deposit of the refund, direct debit of the amount owed and
// neither, with the bank data of the chosen one.
//
// Everything is recomputed on each calculation; the copy is marked entered
// only while the return is in electronic filing.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// Texts of the form and the information form are read into buffers of
// this size.
const int kTextSize = 128;
// The common-text code of the daytime telephone number.
const int kPhoneText = 141;

const OVImmutableIdentifier& dd(int member) { return kPADirectDepositDebitFieldIds[member]; }
const OVImmutableIdentifier& info(int member) { return kPAReturnInfoFieldIds[member]; }

// Form members (host field numbers in the comments).
const int kInfoText35 = 6;         // 4
const int kSpouseText40 = 7;       // 5
const int kLastName = 8;           // 6
const int kFirstName = 9;          // 7
const int kSpouseLastName = 10;    // 8
const int kSpouseFirstName = 11;   // 9
const int kStreet = 12;            // 10
const int kSingleBox = 16;         // 14
const int kJointBox = 17;          // 15
const int kAnswer60Box = 18;       // 23743
const int kSeparateBox = 19;       // 16
const int kAnswer58Box = 20;       // 17
const int kPhone = 21;             // 18
const int kRefund = 25;            // 22
const int kAmountOwed = 26;        // 23
const int kBankText1 = 27;         // 24
const int kBankText2 = 28;         // 25
const int kFirstAccountType = 29;  // 26
const int kSecondAccountType = 30;  // 27
const int kDebitText = 31;         // 28
const int kDepositBox = 32;        // 29
const int kNeitherBox = 33;        // 30
const int kDebitBox = 34;          // 31

// Information-form members.
const int kInfoSpouseLastName = 93;   // 38
const int kInfoAnswer58 = 118;        // 58
const int kInfoAnswer60 = 120;        // 60
const int kInfoDepositWanted = 177;   // 95
const int kInfoDepositFirstType = 179;  // 97
const int kInfoDebitFirstType = 53;   // 123
const int kFed183DebitWanted = 184;   // 155

// Fields copied from copy 1 of another form: {source member, form member}.
struct FieldCopy {
  int source;
  int target;
};
// Information fields 43, 44, 45 into 11, 12, 13.
const FieldCopy kAddressCopies[] = {{98, 13}, {99, 14}, {100, 15}};
// PA-40 fields 172, 173, 233, 252, 268 into 19 to 23.
const FieldCopy kPA40Copies[] = {{204, 22}, {207, 23}, {211, 24}, {264, kRefund}, {261, kAmountOwed}};
// Information fields 142850-142852 into 142772-142774.
const FieldCopy kInfoCopies[] = {{74, 3}, {75, 4}, {76, 5}};
// Bank texts: information fields 99 and 100 for a deposit, 125, 126 and
// 128 for a debit.
const FieldCopy kDepositBank[] = {{181, kBankText1}, {182, kBankText2}};
const FieldCopy kDebitBank[] = {{55, kBankText1}, {56, kBankText2}, {58, kDebitText}};

// Copies whole values from copy 1 of `source`, named in its `catalog`.
template <class Catalog, std::size_t N>
void copyFields(PADataMgmt::PATaxReturn& pa, const DataMgmt::FormId& source, const Catalog& catalog,
                const FieldCopy (&copies)[N], TaxFormPtr form) {
  for (const FieldCopy& copy : copies) pa.getII(source, catalog[copy.source], form, dd(copy.target));
}

}  // namespace

void PATaxReturnCalcEngine::computeDirectDepositDebit(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  PADataMgmt::PATaxReturn& pa = *paReturn;
  DataMgmt::TaxForm& f = *form;
  const DataMgmt::FormId& formId = kFormID_PADirectDepositDebit;
  const uint8_t filingStatus = pa.readFilingStatus(kFormID_PAReturnInfo);

  // Names.
  composeInfoPairText2(form, formId, dd(kLastName));
  composeInfoPairText1(form, formId, dd(kFirstName));
  copyInfoTextToField(info(90), form, dd(kInfoText35));  // 35
  if (filingStatus == 2) {
    // A spouse who shares the taxpayer's last name gets none of his own.
    char taxpayerLast[kTextSize];
    char spouseLast[kTextSize];
    pa.formString(taxpayerLast, formId, copy, dd(kLastName));
    pa.formString(spouseLast, kFormID_PAReturnInfo, 1, info(kInfoSpouseLastName));
    if (std::strcmp(taxpayerLast, spouseLast) != 0) {
      composeInfoPairText4(form, formId, dd(kSpouseLastName));
    } else {
      f.setNull(dd(kSpouseLastName));
    }
    composeInfoPairText3(form, formId, dd(kSpouseFirstName));
    copyInfoTextToField(info(95), form, dd(kSpouseText40));  // 40
  } else {
    f.setNull(dd(kSpouseLastName));
    f.setNull(dd(kSpouseFirstName));
    f.setNull(dd(kSpouseText40));
  }

  // Address.
  char street[kApartmentTextSize];
  f.assignText(dd(kStreet), formatApartment(street, kFormID_PAReturnInfo, 0));
  copyFields(pa, kFormID_PAReturnInfo, kPAReturnInfoFieldIds, kAddressCopies, form);

  // Filing-status boxes, recomputed from the information form every time.
  const int boxes[] = {kSingleBox, kJointBox, kSeparateBox, kAnswer58Box, kAnswer60Box};
  for (int box : boxes) f.setXNo(dd(box));
  bool anyMarked = false;
  for (int box : boxes) anyMarked = anyMarked || f.xMarked(dd(box));
  if (!anyMarked) {
    if (filingStatus == 1) f.setX(dd(kSingleBox));
    if (filingStatus == 2) f.setX(dd(kJointBox));
    if (filingStatus == 3) f.setX(dd(kSeparateBox));
    const struct {
      int answer;
      int box;
    } answers[] = {{kInfoAnswer58, kAnswer58Box}, {kInfoAnswer60, kAnswer60Box}};
    for (const auto& a : answers) {
      if (pa.formYes(kFormID_PAReturnInfo, 1, info(a.answer))) {
        f.setX(dd(a.box));
      } else {
        f.setNull(dd(a.box));
      }
    }
  }

  pullCommonText(getFederalReturnFormId(), formId, copy, dd(kPhone), kPhoneText);
  copyFields(pa, kFormID_PA40, kPA40FieldIds, kPA40Copies, form);

  // Election: a refund goes to the bank when asked; else an amount owed is
  // debited when the federal return asks for it; else neither.
  const bool debitWanted = federalReturn != nullptr &&
                           federalReturn->formYes(kFormID_Fed183, 1, kFed183FieldIds[kFed183DebitWanted]);
  if (pa.formYes(kFormID_PAReturnInfo, 1, info(kInfoDepositWanted)) && f.getIR(dd(kRefund)) > 0) {
    f.makeProtected(dd(kDepositBox));
    f.setX(dd(kDepositBox));
    f.makeProtected(dd(kNeitherBox));
    f.setXNo(dd(kNeitherBox));
    f.setXNo(dd(kDebitBox));
  } else if (debitWanted && f.getIR(dd(kAmountOwed)) > 0) {
    f.setX(dd(kDebitBox));
    f.setXNo(dd(kDepositBox));
    f.setXNo(dd(kNeitherBox));
  } else {
    f.setXNo(dd(kDebitBox));
    f.setXNo(dd(kDepositBox));
    f.setX(dd(kNeitherBox));
  }

  // Bank data of the chosen election.
  const bool deposit = f.xMarked(dd(kDepositBox));
  const bool debit = f.xMarked(dd(kDebitBox));
  if (!deposit && !debit) {
    for (int member : {kBankText1, kFirstAccountType, kSecondAccountType, kBankText2, kDebitText}) {
      f.setNull(dd(member));
    }
  } else {
    const bool firstType =
        (deposit && pa.formYes(kFormID_PAReturnInfo, 1, info(kInfoDepositFirstType))) ||
        (debit && pa.formYes(kFormID_PAReturnInfo, 1, info(kInfoDebitFirstType)));
    f.setX(dd(firstType ? kFirstAccountType : kSecondAccountType));
    f.setXNo(dd(firstType ? kSecondAccountType : kFirstAccountType));
    if (debit) {
      copyFields(pa, kFormID_PAReturnInfo, kPAReturnInfoFieldIds, kDebitBank, form);
    } else {
      copyFields(pa, kFormID_PAReturnInfo, kPAReturnInfoFieldIds, kDepositBank, form);
      f.setNull(dd(kDebitText));
    }
  }

  copyFields(pa, kFormID_PAReturnInfo, kPAReturnInfoFieldIds, kInfoCopies, form);

  if (pa.InElf()) {
    pa.setDataEntered(formId, copy, true, false);
    f.setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
