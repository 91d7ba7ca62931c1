// PA Schedule J, income from estates and trusts (state form 177).
//
// A copy holds ten rows (name, owner code, amount, entered by the user) and
// one further amount. Unlike Schedules A, B and D a copy is not tied to one
// person: each named row's owner code is normalised to "T", "S" or "J", the
// rows are totalled per person with joint rows split in two, and the copy's
// total takes every row whatever its owner. A return may hold several
// copies.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/form_defaults.h"
#include "host/rounding.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// Within a row, in the form's field order: the name, the owner code two
// fields on, the amount four fields on.
constexpr int kOwnerOffset = PAScheduleJ::kRowOwner.first() - PAScheduleJ::kRowName.first();
constexpr int kAmountOffset = PAScheduleJ::kRowIncome.first() - PAScheduleJ::kRowName.first();
constexpr int kRowCount = PAScheduleJ::kRowName.rows();

const int kTextSize = 128;

// The owner code a named row takes: its first letter when that names an
// owner, else joint on a joint return; every row is the taxpayer's on any
// other return.
const char* ownerCodeFor(const char* strippedText, uint8_t status) {
  if (status != PADataMgmt::kFilingJoint) return "T";
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

// Normalises the owner codes of the named rows, empties those of the empty
// rows, and sums every row by its code. The rows are found in the form's field list, a row stride apart.
PersonSums sumRows(PADataMgmt::PATaxReturn& pa, DataMgmt::TaxForm& form, uint16_t copy, uint8_t status) {
  PersonSums sums;
  const DataMgmt::FormId& self = kFormID_PAScheduleJ;
  DataMgmt::TaxFormDescPtr desc = pa.getTaxFormDescriptor(self);
  if (desc.isNull()) return sums;
  DataMgmt::OVFieldIDIter row = desc->getFieldIDs();
  const auto& names = PAScheduleJ::kRowName;
  const int stride = row.positionOf(names.at(1)) - row.positionOf(names.at(0));
  // A form without the row fields has no rows (and a stride of 0 would
  // never leave the first one).
  if (stride <= 0) return sums;

  char text[kTextSize];
  char stripped[kTextSize];
  for (row = names.at(0); row <= names.at(kRowCount - 1); row += stride) {
    const OVImmutableIdentifier name = row;
    const OVImmutableIdentifier owner = row + kOwnerOffset;
    const OVImmutableIdentifier amount = row + kAmountOffset;
    pa.formString(text, sizeof text, self, copy, name);
    if (text[0] != '\0') {
      pa.textString(text, self, copy, owner);
      Utils::strip(stripped, text);
      form.assignText(owner, ownerCodeFor(stripped, status));
    } else if (!form.hasSigValue(amount)) {
      // An empty row has no owner: a code written while it was named goes.
      form.setNull(owner);
    }
    pa.textString(text, self, copy, owner);
    sums.add(text, form.getIR(amount));
  }
  return sums;
}

// The copy's total: every row's amount, whatever its owner, and the further
// amount.
template <std::size_t... R>
void sumRowsAndFurther(DataMgmt::TaxForm& form, std::index_sequence<R...>) {
  form.setValueToSumOf(PAScheduleJ::kTotalIncome,
                       {PAScheduleJ::kRowIncome.at(R)..., PAScheduleJ::kFurtherIncome});
}

// The further amount and the person totals.
void writePersonTotals(DataMgmt::TaxForm& form, const PersonSums& sums, uint8_t status) {
  if (status == PADataMgmt::kFilingJoint) {
    form.unProtect(PAScheduleJ::kTaxpayerFurtherIncome);
    form.unProtect(PAScheduleJ::kSpouseFurtherIncome);
    form.makeProtected(PAScheduleJ::kFurtherIncome);
    form.plus2(PAScheduleJ::kFurtherIncome, PAScheduleJ::kTaxpayerFurtherIncome,
               PAScheduleJ::kSpouseFurtherIncome);
    form.assignIR(PAScheduleJ::kTaxpayerTotal,
                  form.getIR(PAScheduleJ::kTaxpayerFurtherIncome) + sums.taxpayer);
    form.assignIR(PAScheduleJ::kSpouseTotal, form.getIR(PAScheduleJ::kSpouseFurtherIncome) + sums.spouse);
  } else {
    form.makeProtectedAndSetNull(PAScheduleJ::kTaxpayerFurtherIncome);
    form.makeProtectedAndSetNull(PAScheduleJ::kSpouseFurtherIncome);
    // Open to the user's entry; the persons' sum a joint return wrote
    // there (closed) is of amounts this return no longer has, and goes.
    form.unprotectAndMaybeSetNull(PAScheduleJ::kFurtherIncome);
    form.assignIR(PAScheduleJ::kTaxpayerTotal, form.getIR(PAScheduleJ::kFurtherIncome) + sums.taxpayer);
    // No spouse on this return: a total left from an earlier joint return
    // must not stay behind.
    form.setNull(PAScheduleJ::kSpouseTotal);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleJ(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  const DataMgmt::FormId& self = kFormID_PAScheduleJ;
  const uint8_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);

  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  copyNameText(form, kFormID_PAReturnInfo, status, 0, PAScheduleJ::kFilerName, PAScheduleJ::kFilerSSN, none,
               none, none, none, none, none, none, 0);

  if (!paReturn->getFormUVPtr(self, copy, false).isNull()) {
    writePersonTotals(*form, sumRows(*paReturn, *form, copy, status), status);
  }

  sumRowsAndFurther(*form, std::make_index_sequence<kRowCount>());
  const bool federalCopy =
      federalReturn != nullptr && !federalReturn->getFormUVPtr(kFormID_Fed89, copy, false).isNull();
  markOrNo(*form, PAScheduleJ::kFed89CopyBox, federalCopy);
  Utils::setDefaultX(form, PAScheduleJ::kQuestionNoBox, PAScheduleJ::kQuestionNoBox,
                     PAScheduleJ::kQuestionYesBox);

  // The entry mark summed over all copies tells whether any copy holds
  // entries: while one does, every copy stays part of the return, as it
  // always has. The test reads the entries as they stand, so an edited
  // return and the same entries loaded afresh decide alike.
  const bool entries = paReturn->getAllCopies(self, PAScheduleJ::kEntryMark) > 0 ||
                       form->getIR(PAScheduleJ::kTotalIncome) != 0.0;
  markPartOfReturn(*paReturn, self, copy, entries,
                   [&] { return holdsUserEntry(*form, PAScheduleJ::kUserFields); });
}

}  // namespace PACalculationMgmt
