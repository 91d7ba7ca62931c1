// PA Schedule J, income from estates and trusts (state form 177).
//
// A copy holds ten rows (name, owner code, amount, entered by the user) and
// one further amount. Unlike Schedules A, B and D a copy is not tied to one
// person: each named row's owner code is normalised to "T", "S" or "J", the
// rows are totalled per person with joint rows split in two, and the copy's
// total takes every row whatever its owner. A return may hold several
// copies.
#include <cstdint>
#include <cstring>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/descriptors.h"
#include "host/form_defaults.h"
#include "host/rounding.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

const OVImmutableIdentifier& sj(int member) { return kPAScheduleJFieldIds[member]; }

// Members; host field numbers in comments.
const int kEntryCount = 0;        // 1: summed over all copies in the completion test
const int kFederalFormBox = 4;    // 43: the federal return has form 89 with this copy number
const int kPairA = 5;             // 44
const int kPairB = 6;             // 45
const int kTaxpayerTotal = 7;     // 36894
const int kSpouseTotal = 8;       // 36895
const int kName = 9;              // 8
const int kNumber = 10;           // 9
const int kFirstRow = 11;         // 12: name of row 1
const int kSecondRow = 16;        // 16: name of row 2
const int kLastRow = 56;          // 11783: name of row 10
const int kTaxpayerFurther = 61;  // 38498
const int kSpouseFurther = 62;    // 38499
const int kFurther = 63;          // 9681
const int kTotal = 64;            // 42

// Within a row, in the form's field order: name, (unused), owner code,
// (unused), amount.
const int kOwnerOffset = 2;
const int kAmountOffset = 4;

// The ten row amounts: host fields 15, 19, 23, 27, 31, 35, 39, 11778,
// 11782, 11786.
const int kRowAmounts[] = {15, 20, 25, 30, 35, 40, 45, 50, 55, 60};

const uint8_t kFilingJoint = 2;
const int kTextSize = 128;

// The owner code a named row takes: its first letter when that names an
// owner, else joint on a joint return; every row is the taxpayer's on any
// other return.
const char* ownerCodeFor(const char* strippedText, uint8_t status) {
  if (status != kFilingJoint) return "T";
  switch (strippedText[0]) {
    case 'J':
    case 'j':
      return "J";
    case 'S':
    case 's':
      return "S";
    case 'T':
    case 't':
      return "T";
    default:
      return "J";
  }
}

// The per-person sums of the rows, T and S.
struct PersonSums {
  double taxpayer = 0.0;
  double spouse = 0.0;

  // Adds a row by its owner code as stored, compared exactly; an unknown
  // code adds nothing. A joint amount is split, the taxpayer's part
  // rounded and the spouse taking the rest.
  void add(const char* owner, double amount) {
    if (std::strcmp(owner, "T") == 0) {
      taxpayer += amount;
    } else if (std::strcmp(owner, "S") == 0) {
      spouse += amount;
    } else if (std::strcmp(owner, "J") == 0) {
      const long half = Utils::roundR(0.5 * amount);
      taxpayer += half;
      spouse += amount - half;
    }
  }
};

// Normalises the owner codes of the named rows and sums every row by its
// code. The rows are found in the form's field list, a row stride apart.
PersonSums sumRows(PADataMgmt::PATaxReturn& pa, DataMgmt::TaxForm& form, uint16_t copy, uint8_t status) {
  PersonSums sums;
  const DataMgmt::FormId& self = kFormID_PAScheduleJ;
  DataMgmt::TaxFormDescPtr desc = pa.getTaxFormDescriptor(self);
  if (desc.isNull()) return sums;
  DataMgmt::OVFieldIDIter row = desc->getFieldIDs();
  const int stride = row.positionOf(sj(kSecondRow)) - row.positionOf(sj(kFirstRow));
  // A form without the row fields has no rows (and a stride of 0 would
  // never leave the first one).
  if (stride <= 0) return sums;

  char text[kTextSize];
  char stripped[kTextSize];
  for (row = sj(kFirstRow); row <= sj(kLastRow); row += stride) {
    const OVImmutableIdentifier name = row;
    const OVImmutableIdentifier owner = row + kOwnerOffset;
    const OVImmutableIdentifier amount = row + kAmountOffset;
    pa.formString(text, sizeof text, self, copy, name);
    if (text[0] != '\0') {
      pa.textString(text, self, copy, owner);
      Utils::strip(stripped, text);
      form.assignText(owner, ownerCodeFor(stripped, status));
    }
    pa.textString(text, self, copy, owner);
    sums.add(text, form.getIR(amount));
  }
  return sums;
}

// The further amount and the person totals.
void writePersonTotals(DataMgmt::TaxForm& form, const PersonSums& sums, uint8_t status) {
  if (status == kFilingJoint) {
    form.unProtect(sj(kTaxpayerFurther));
    form.unProtect(sj(kSpouseFurther));
    form.makeProtected(sj(kFurther));
    form.plus2(sj(kFurther), sj(kTaxpayerFurther), sj(kSpouseFurther));
    form.assignIR(sj(kTaxpayerTotal), form.getIR(sj(kTaxpayerFurther)) + sums.taxpayer);
    form.assignIR(sj(kSpouseTotal), form.getIR(sj(kSpouseFurther)) + sums.spouse);
  } else {
    form.makeProtectedAndSetNull(sj(kTaxpayerFurther));
    form.makeProtectedAndSetNull(sj(kSpouseFurther));
    form.unProtect(sj(kFurther));
    form.assignIR(sj(kTaxpayerTotal), form.getIR(sj(kFurther)) + sums.taxpayer);
    // No spouse on this return: a total left from an earlier joint return
    // must not stay behind.
    form.setNull(sj(kSpouseTotal));
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleJ(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  const DataMgmt::FormId& self = kFormID_PAScheduleJ;
  const uint8_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);

  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  copyNameText(form, kFormID_PAReturnInfo, status, 0, sj(kName), sj(kNumber), none, none, none, none, none,
               none, none, 0);

  if (!paReturn->getFormUVPtr(self, copy, false).isNull()) {
    writePersonTotals(*form, sumRows(*paReturn, *form, copy, status), status);
  }

  form->setValueToSumOf(sj(kTotal),
                        {sj(kRowAmounts[0]), sj(kRowAmounts[1]), sj(kRowAmounts[2]), sj(kRowAmounts[3]),
                         sj(kRowAmounts[4]), sj(kRowAmounts[5]), sj(kRowAmounts[6]), sj(kRowAmounts[7]),
                         sj(kRowAmounts[8]), sj(kRowAmounts[9]), sj(kFurther)});
  const bool federalCopy =
      federalReturn != nullptr && !federalReturn->getFormUVPtr(kFormID_Fed89, copy, false).isNull();
  markOrNo(*form, sj(kFederalFormBox), federalCopy);
  Utils::setDefaultX(form, sj(kPairA), sj(kPairA), sj(kPairB));

  if (paReturn->getAllCopies(self, sj(kEntryCount)) > 0 || form->getIR(sj(kTotal)) != 0.0) {
    paReturn->setDataEntered(self, copy, true, false);
    if (DataMgmt::TaxForm* own = paReturn->getForm(self, copy)) own->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
