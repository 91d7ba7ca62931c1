// The Department of Revenue's mailing addresses and the numbered state
// text items of the PA return.
#include <cstdio>
#include <cstdint>

#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/data_manager.h"
#include "host/efile.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

namespace PADataMgmt {

namespace {

// The host's return type of the PA return, as the e-file manager knows it.
constexpr DataMgmt::TaxReturnType kPAReturnType = 40;
// The e-file status of a return being filed electronically.
constexpr int32_t kEFileStatusElectronic = 2;

enum Address { kPaymentCapitals, kElectronicFiling, kCombatZone, kPayment, kRefund, kNeither };

// The addresses. Stored files and host screens compare these texts, so
// they stay exactly as the department's forms print them, "Brueau"
// included.
const char* const kAddresses[] = {
    // kPaymentCapitals (kinds 2 and 3)
    "PA DEPARTMENT OF REVENUE\n"
    "PAYMENT ENCLOSED\n"
    "1 Revenue Place\n"
    "Harrisburg, PA 17129-0001",
    // kElectronicFiling
    "PA Department Of Revenue\n"
    "Bureau of Individual Taxes\n"
    "Dept. 280507\n"
    "Harrisburg, PA 17128-0507\n",
    // kCombatZone
    "Combat Zone\n"
    "PA Department Of Revenue\n"
    "Brueau of Individual Taxes\n"
    "PO Box 280600\n"
    "Harrisburg, PA 17128-0600",
    // kPayment
    "PA Department Of Revenue\n"
    "PAYMENT ENCLOSED\n"
    "1 Revenue Place\n"
    "Harrisburg, PA 17129-0001",
    // kRefund
    "PA Department Of Revenue\n"
    "REFUND/CREDIT REQUESTED\n"
    "3 Revenue Place\n"
    "Harrisburg, PA 17129-0003",
    // kNeither
    "PA Department Of Revenue\n"
    "NO PAYMENT/NO REFUND/NO CREDIT DUE\n"
    "2 Revenue Place\n"
    "Harrisburg, PA 17129-0002",
};

// A code outside the item table equal to the host number of this filer
// information field answers the host number of the information form's
// field as its amount.
constexpr int kFallbackCode = FedFilerInfo::kMappedCodeItem.number();
constexpr int32_t kFallbackAmount = PAReturnInfo::kFilingChoiceFirstBox.number();

// How a text item is answered.
enum ItemRule {
  kFixed,        // the row's text and amount
  kBalance,      // the amount owed, else the refund (negated amount)
  kTax,          // the tax
  kInElf,        // amount 3 when filed electronically
  kPaperCopies,  // amount 2, plus 1 for a direct debit, plus 2 for a PIN entered
  kEFileBlock,   // the first reason the return cannot be e-filed
  kMailHeading,  // heading of the documents to mail, for residents
  kFallback,     // everything else
};

struct TextItem {
  ItemRule rule;
  const char* text;
  int32_t amount;
};

// Items 0 to 13, by code; codes outside the table answer as item 12.
const TextItem kTextItems[] = {
    {kBalance, "", 0},                                     // item 0
    {kTax, "", 0},                                         // item 1
    {kFixed, "Pennsylvania Department of Revenue", 0},     // item 2
    {kInElf, "", 0},                                       // item 3
    {kFixed, "", 0},                                       // item 4
    {kFixed,
     "You must retain this form for four years in your records along with forms W-2, W-2G, "
     "1099R, "
     "Military Orders, Philadelphia IOD, scholarship documents, and other state returns.",
     0},                                                   // item 5
    {kPaperCopies, "", 0},                                 // item 6
    {kFixed, "", 0},                                       // item 7
    {kFixed, "", 1},                                       // item 8
    {kFixed, "", 1},                                       // item 9
    {kEFileBlock, "", 0},                                  // item 10
    {kMailHeading,
     "The following documents need to be mailed to the PA DOR even though you electronically "
     "filed:\n\n",
     0},                                                   // item 11
    {kFallback, "", 0},                                    // item 12
    {kFixed, "", 1},                                       // item 13
};
constexpr int kTextItemCount = sizeof(kTextItems) / sizeof(kTextItems[0]);
static_assert(kTextItemCount == 14, "items 0 to 13");

// Reasons why the return cannot be filed electronically, tested in order.
enum ReasonTest { kYesAnswer, kAboveZero };
struct EFileBlockReason {
  bool onFederalReturn;
  const Primitives::OVImmutableFormIdentifier* form;
  AnyNamedField field;
  AnyNamedField alsoField;  // a second field that gives the same reason
  ReasonTest test;
  const char* text;
};

const EFileBlockReason kEFileBlockReasons[] = {
    {true, &kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerDeceasedBox, FedFilerInfo::kSpouseDeceasedBox,
     kYesAnswer, "This program does not support e-filing on behalf of a deceased taxpayer"},
    {false, &kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox, {}, kYesAnswer,
     "This program does not support e-filing for part-year residents."},
    {false, &kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox, {}, kYesAnswer,
     "This program does not support e-filing for nonresidents."},
    {false, &kFormID_PA40, PA40::kEstateTrustIncome, {}, kAboveZero,
     "This program does not support electronic filing for taxpayers filing a tax return with "
     "income from an Estate or Trust and reported on PA Schedule J"},
    {false, &kFormID_PA40, PA40::kOtherCredits, {}, kAboveZero,
     "The Pennsylvania Department of Revenue does not accept electronically filed tax returns "
     "from taxpayers who claim credits on PA Schedule OC"},
};

bool holds(const DataMgmt::TaxReturn& taxReturn, const EFileBlockReason& reason, const AnyNamedField& field) {
  if (!field.isSet()) return false;
  return reason.test == kYesAnswer ? taxReturn.formYes(*reason.form, 1, field)
                                   : taxReturn.greaterThanZero(*reason.form, 1, field);
}

int32_t clampToInt32(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

void PATaxReturn::getMailingAddress(char* buf, int kind) {
  if (buf == nullptr) return;
  const char* text = "";
  if (kind == 2 || kind == 3) {
    text = kAddresses[kPaymentCapitals];
  } else if (kind == 0) {
    Address address = kNeither;
    int32_t status;
    {
      // The e-file manager is asked first, before any field is read.
      DataMgmt::TaxDataMgrHandle dataMgr = DataMgmt::TaxDataMgrHandle::getInstance();
      EFileMgmt::EFileMgrHandle eFileMgr = dataMgr.getEFileMgrHandle();
      status = eFileMgr.getStateReturnStatus(kPAReturnType, false, false);
    }
    if (status == kEFileStatusElectronic) {
      address = kElectronicFiling;
    } else if (formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kCombatZoneYesBox) ||
               formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kSecondCombatZoneYesBox)) {
      address = kCombatZone;
    } else if (getStateLineValue(kFormID_PA40, 1, kLineAmountOwed) > 0) {
      address = kPayment;
    } else if (getIN(kFormID_PA40, 1, PA40::kOverpayment) > 0 ||
               getStateLineValue(kFormID_PA40, 1, kLineRefund) > 0) {
      // An overpayment asks for a refund or a credit, whether it is
      // refunded, credited to next year's estimated tax or donated.
      address = kRefund;
    }
    text = kAddresses[address];
  }
  std::snprintf(buf, kTextBufferSize, "%s", text);
}

void PATaxReturn::getStateTextItem(char* buf, int32_t* amount, int code) {
  int32_t ignored = 0;
  if (amount == nullptr) amount = &ignored;
  if (buf != nullptr) buf[0] = '\0';
  *amount = 0;

  const TextItem& item = kTextItems[(code >= 0 && code < kTextItemCount) ? code : 12];
  const char* text = item.text;
  char formatted[128] = "";  // the host's number text of one amount
  switch (item.rule) {
    case kFixed:
      *amount = item.amount;
      break;
    case kBalance: {
      const int32_t owed = getStateLineValue(kFormID_PA40, 1, kLineAmountOwed);
      if (owed != 0) {
        formatFieldString(formatted, owed, kFormID_PA40, 1, PA40::kTaxLiability);
        *amount = owed;
      } else {
        // The text shows the refund as it stands; the amount is negative.
        const int32_t refund = getStateLineValue(kFormID_PA40, 1, kLineRefund);
        formatFieldString(formatted, refund, kFormID_PA40, 1, PA40::kTaxLiability);
        *amount = clampToInt32(-static_cast<int64_t>(refund));
      }
      text = formatted;
      break;
    }
    case kTax: {
      const int32_t tax = getStateLineValue(kFormID_PA40, 1, kLineTax);
      formatFieldString(formatted, tax, kFormID_PA40, 1, PA40::kTaxLiability);
      *amount = tax;
      text = formatted;
      break;
    }
    case kInElf:
      *amount = InElf() ? 3 : 0;
      break;
    case kPaperCopies:
      *amount = 2;
      if (formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kDebitPaymentBox)) *amount += 1;
      if (hasSigValue(kFormID_PAReturnInfo, 1, PAReturnInfo::kTaxpayerPin) ||
          hasSigValue(kFormID_PAReturnInfo, 1, PAReturnInfo::kSpousePin)) {
        *amount += 2;
      }
      break;
    case kEFileBlock: {
      *amount = 1;
      const DataMgmt::TaxReturn* federal = getFederalReturn();
      for (const EFileBlockReason& reason : kEFileBlockReasons) {
        const DataMgmt::TaxReturn* where = reason.onFederalReturn ? federal : this;
        if (where == nullptr) continue;
        if (holds(*where, reason, reason.field) || holds(*where, reason, reason.alsoField)) {
          text = reason.text;
          *amount = 0;
          break;
        }
      }
      break;
    }
    case kMailHeading:
      if (!formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox)) text = "";
      break;
    case kFallback:
      if (code == kFallbackCode) *amount = kFallbackAmount;
      break;
  }
  if (buf != nullptr) std::snprintf(buf, kTextBufferSize, "%s", text);
}

}  // namespace PADataMgmt
