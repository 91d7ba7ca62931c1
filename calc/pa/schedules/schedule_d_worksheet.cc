// The Schedule D sales worksheet (state form 181): twelve rows per copy
// filled from the federal sale records (federal form 135, one record per
// federal copy, amounts in hundredths), three rows the user fills, and the
// gains and losses totalled by owner (taxpayer, spouse, joint) with joint
// gains split between the spouses.
//
// The driver links the rows beforehand: row r of copy w holds federal
// record 12(w - 1) + r in its link field (0 or null: no record).
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/dates.h"
#include "host/form_defaults.h"
#include "host/form_field.h"
#include "host/rounding.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;
typedef NamedColumn<PAScheduleDWorksheetFieldIds> SheetColumn;

// Rows 0 to 11 are linked to federal sale records, rows 12 to 14 the user
// fills.
const int kFederalRowCount = PAScheduleDWorksheet::kRowFederalLink.rows();
const int kHandRowCount = 3;

// The columns of a sale row, in form order.
const SheetColumn* const kRowColumns[] = {
    &PAScheduleDWorksheet::kRowTaxableInPABox,      &PAScheduleDWorksheet::kRowOwner,
    &PAScheduleDWorksheet::kRowExemptObligationBox, &PAScheduleDWorksheet::kRowDescription,
    &PAScheduleDWorksheet::kRowDateAcquired,        &PAScheduleDWorksheet::kRowDateSold,
    &PAScheduleDWorksheet::kRowSalesPrice,          &PAScheduleDWorksheet::kRowCost,
    &PAScheduleDWorksheet::kRowGain,                &PAScheduleDWorksheet::kRowGroupedSaleBox,
};

// The fields of sale row `row` (0 to 14).
struct SaleRow {
  explicit SaleRow(int row)
      : taxableInPA(PAScheduleDWorksheet::kRowTaxableInPABox.at(row)),
        owner(PAScheduleDWorksheet::kRowOwner.at(row)),
        exemptObligation(PAScheduleDWorksheet::kRowExemptObligationBox.at(row)),
        description(PAScheduleDWorksheet::kRowDescription.at(row)),
        dateAcquired(PAScheduleDWorksheet::kRowDateAcquired.at(row)),
        dateSold(PAScheduleDWorksheet::kRowDateSold.at(row)),
        salesPrice(PAScheduleDWorksheet::kRowSalesPrice.at(row)),
        cost(PAScheduleDWorksheet::kRowCost.at(row)),
        gain(PAScheduleDWorksheet::kRowGain.at(row)),
        groupedSale(PAScheduleDWorksheet::kRowGroupedSaleBox.at(row)) {}

  const OVImmutableIdentifier& taxableInPA;       // mark: the sale is taxable in PA
  const OVImmutableIdentifier& owner;             // "T", "S" or "J"
  const OVImmutableIdentifier& exemptObligation;  // mark: the gain or loss is set to zero
  const OVImmutableIdentifier& description;
  const OVImmutableIdentifier& dateAcquired;  // "mm/dd/yy" or "VARIOUS"
  const OVImmutableIdentifier& dateSold;
  const OVImmutableIdentifier& salesPrice;
  const OVImmutableIdentifier& cost;
  const OVImmutableIdentifier& gain;
  const OVImmutableIdentifier& groupedSale;  // mark: grouped sale transaction
};

// Every field of sale row `row` set null.
void clearRow(DataMgmt::TaxForm& form, int row) {
  for (const SheetColumn* column : kRowColumns) form.setNull(column->at(row));
}

// Federal date-acquired texts (upper-cased) that mean "various dates".
const char* const kVariousDates[] = {"VAR-S", "VAR-L", "INHERIT", "INH-2010"};

const int kTextSize = 128;

// Running totals of the gain or loss by owner.
struct OwnerTotals {
  double taxpayer = 0.0;
  double spouse = 0.0;
  double joint = 0.0;

  void add(char owner, double amount) {
    if (owner == 'J' || owner == 'j') {
      joint += amount;
    } else if (owner == 'S' || owner == 's') {
      spouse += amount;
    } else {
      taxpayer += amount;
    }
  }
};

// Writes a federal date text as "mm/dd/yy"; a text that is no date is kept
// as entered, and an empty one leaves the field null.
void assignShortDate(DataMgmt::TaxForm& form, const OVImmutableIdentifier& field, const char* entered) {
  const long dayNumber = Utils::strDateToNumber(entered);
  if (dayNumber == 0) {
    if (entered[0] == '\0') {
      form.setNull(field);
    } else {
      form.assignText(field, entered);
    }
    return;
  }
  char text[kTextSize];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d", Utils::month(dayNumber), Utils::day(dayNumber),
                Utils::year(dayNumber) % 100);
  form.assignText(field, text);
}

bool isVariousDate(const char* upperText) {
  if (upperText[0] == '\0') return true;
  for (const char* various : kVariousDates) {
    if (std::strcmp(upperText, various) == 0) return true;
  }
  return false;
}

// The owner code as the worksheet keeps it: at most one character of the
// field's stored text, stripped ('\0' when empty).
char readOwnerCode(const DataMgmt::TaxReturn& pa, DataMgmt::TaxForm& form,
                   const OVImmutableIdentifier& field) {
  char text[kTextSize] = "";
  DataMgmt::FormFieldPtr handle = form.getField(field);
  if (!handle.isNull()) pa.getText(text, handle->getValue(), 1, 0);
  Utils::strip(text, text);
  return text[0];
}

void protectUnlessTaxable(DataMgmt::TaxForm& form, const OVImmutableIdentifier& field,
                          bool fullYearResident) {
  if (fullYearResident) {
    form.makeProtectedAndSetNull(field);
  } else {
    form.unProtect(field);
  }
}

// One worksheet copy under calculation and what every step reads.
struct WorksheetCopy {
  PATaxReturnCalcEngine& engine;
  DataMgmt::TaxFormPtr holder;
  DataMgmt::TaxForm& form;
  uint16_t copy;
  const DataMgmt::TaxReturn& federal;
  PADataMgmt::PATaxReturn& pa;
  uint8_t status;
  bool joint;
  bool fullYearResident;
  OwnerTotals totals;
};

// True when a federal record belongs to one of this copy's rows. (Testing
// only the record numbered like the copy would drop every row of a copy
// whose first-numbered records were deleted.)
bool hasFederalRecords(const WorksheetCopy& c) {
  const int first = (c.copy - 1) * kFederalRowCount + 1;
  for (int n = first; n >= 1 && n < first + kFederalRowCount && n <= 0xFFFF; ++n) {
    if (c.federal.formExists(kFormID_Fed135, static_cast<uint16_t>(n))) return true;
  }
  return false;
}

// Fills one federal row from its record; false when the row's link names
// no record. Adds the row's gain or loss to the totals when it counts.
bool fillFederalRow(WorksheetCopy& c, int row, uint16_t record, int& groupedRows) {
  DataMgmt::TaxForm& form = c.form;
  const SaleRow cell(row);
  if (!c.federal.formExists(kFormID_Fed135, record)) return false;  // gone: the row stays as it is

  protectUnlessTaxable(form, cell.taxableInPA, c.fullYearResident);
  char description[kTextSize];
  c.federal.formString(description, kFormID_Fed135, record, Fed135::kDescription);
  auto amount = [&c, record](const NamedField<Fed135FieldIds>& field) {
    return c.federal.getIR(kFormID_Fed135, record, field);
  };
  const double sales = amount(Fed135::kSalesPrice) / 100.0;
  const double basis = (amount(Fed135::kCostBasis) - amount(Fed135::kFirstBasisReduction) -
                        amount(Fed135::kThirdBasisReduction) - amount(Fed135::kSecondBasisReduction)) /
                       100.0;
  if (description[0] == '\0') {
    // No sale to show: nothing of the row's earlier sale may stay behind.
    clearRow(form, row);
    return true;
  }

  c.engine.normalizeOwnerText(c.holder, cell.owner, c.status);
  form.assignText(cell.description, description);

  char text[kTextSize];
  char upper[kTextSize];
  c.federal.formString(text, kFormID_Fed135, record, Fed135::kDateAcquired);
  std::snprintf(upper, sizeof upper, "%s", text);
  Utils::OVStringUtils::toUpperCase(upper);
  if (isVariousDate(upper)) {
    form.assignText(cell.dateAcquired, "VARIOUS");
  } else {
    assignShortDate(form, cell.dateAcquired, text);
  }

  c.federal.formString(text, kFormID_Fed135, record, Fed135::kDateSold);
  const bool grouped = c.federal.formYes(kFormID_Fed135, record, Fed135::kGroupedSaleBox);
  if (grouped) {
    form.setNull(cell.dateSold);
    ++groupedRows;
  } else {
    assignShortDate(form, cell.dateSold, text);
  }
  markOrNo(form, cell.groupedSale, grouped);

  form.assignIR(cell.salesPrice, sales);
  form.assignIR(cell.cost, basis);
  form.assignIR(cell.gain, sales - basis);
  if (form.xMarked(cell.exemptObligation)) form.zero(cell.gain);

  if (c.fullYearResident || form.xMarked(cell.taxableInPA)) {
    c.pa.formString(text, kFormID_PAScheduleDWorksheet, c.copy, cell.owner);
    c.totals.add(text[0], form.getIR(cell.gain));
  }
  return true;
}

// The twelve federal rows, the count of grouped sales and the zero sales
// price box. Without a federal record the count and the box go with the
// rows: a copy whose records were deleted holds what one that never had
// any holds.
void fillFederalRows(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  if (!hasFederalRecords(c)) {
    c.engine.clearFormFields(kFormID_PAScheduleDWorksheet, c.copy, kRowColumns[0]->at(0),
                             PAScheduleDWorksheet::kRowGroupedSaleBox.at(kFederalRowCount - 1));
    form.setNull(PAScheduleDWorksheet::kGroupedSaleCount);
    form.setNull(PAScheduleDWorksheet::kZeroSalesPriceBox);
    form.setXNo(PAScheduleDWorksheet::kFederalRowsFirstBox);
    form.setXNo(PAScheduleDWorksheet::kFederalRowsSecondBox);
    return;
  }
  int groupedRows = 0;
  for (int row = 0; row < kFederalRowCount; ++row) {
    const long link = form.getIN(PAScheduleDWorksheet::kRowFederalLink.at(row));
    if (link <= 0 || link > 0xFFFF) {
      clearRow(form, row);
      continue;
    }
    fillFederalRow(c, row, static_cast<uint16_t>(link), groupedRows);
  }
  form.assignIR(PAScheduleDWorksheet::kGroupedSaleCount, groupedRows);
  // Only the first row's sales price is tested.
  markOrNo(form, PAScheduleDWorksheet::kZeroSalesPriceBox,
           form.getIR(PAScheduleDWorksheet::kRowSalesPrice.at(0)) == 0.0);
}

// The owner code of a hand row without a sale: none the calculation
// writes itself beside a sale (the "T" it fixes off a joint return, the
// joint default "J"), so that a row whose sale is emptied holds what a row
// never filled holds; a code the user chose stays.
void dropOwnerWithoutSale(WorksheetCopy& c, const OVImmutableIdentifier& owner) {
  const char code = readOwnerCode(c.pa, c.form, owner);
  if (c.joint && (code == 'J' || code == 'j')) {
    c.form.setNull(owner);
  } else {
    c.form.unprotectAndMaybeSetNull(owner);
  }
}

// The three rows the user fills, and the box that says one holds a sale.
void totalHandRows(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const DataMgmt::FormId& self = kFormID_PAScheduleDWorksheet;
  bool anyRowWithData = false;
  for (int row = kFederalRowCount; row < kFederalRowCount + kHandRowCount; ++row) {
    const SaleRow cell(row);

    protectUnlessTaxable(form, cell.taxableInPA, c.fullYearResident);
    if (c.pa.hasSigValue(self, c.copy, cell.salesPrice) || c.pa.hasSigValue(self, c.copy, cell.cost)) {
      form.minusII(cell.gain, cell.salesPrice, cell.cost);
    } else {
      form.setNull(cell.gain);
    }
    const bool described = c.pa.hasSigValue(self, c.copy, cell.description);
    if (described || form.nonNull(cell.gain)) {
      c.engine.normalizeOwnerText(c.holder, cell.owner, c.status);
    } else {
      dropOwnerWithoutSale(c, cell.owner);
    }
    if (described && form.nonNull(cell.gain)) anyRowWithData = true;
    if (form.xMarked(cell.exemptObligation)) form.zero(cell.gain);

    if (c.fullYearResident || form.xMarked(cell.taxableInPA)) {
      const char owner = c.joint ? readOwnerCode(c.pa, form, cell.owner) : 'T';
      c.totals.add(owner, form.getIR(cell.gain));
    }
  }
  markOrNo(form, PAScheduleDWorksheet::kHandRowEnteredBox, anyRowWithData);
}

// The forfeited interest of the interest and dividend worksheet, negated
// (copy 1 only).
void carryInInterestAndDividends(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const auto& taxpayerIn = PAScheduleDWorksheet::kTaxpayerForfeitedInterest;
  const auto& spouseIn = PAScheduleDWorksheet::kSpouseForfeitedInterest;
  const auto& taxpayerCopy = PAScheduleDWorksheet::kTaxpayerForfeitedInterestCopy;
  const auto& spouseCopy = PAScheduleDWorksheet::kSpouseForfeitedInterestCopy;
  if (c.copy != 1) {
    for (const OVImmutableIdentifier* field :
         {&taxpayerIn.id(), &taxpayerCopy.id(), &spouseIn.id(), &spouseCopy.id()}) {
      form.setNull(*field);
    }
    return;
  }
  if (c.pa.formExists(kFormID_State171, 1)) {
    auto worksheetAmount = [&c](const NamedField<PAInterestDividendWorksheetFieldIds>& field) {
      return c.pa.getIN(kFormID_PAInterestDividendWorksheet, 1, field);
    };
    form.assignIR(taxpayerIn,
                  -1.0 * worksheetAmount(PAInterestDividendWorksheet::kTaxpayerFederalInterestRemainder));
    if (c.joint) {
      form.assignIR(spouseIn,
                    -1.0 * worksheetAmount(PAInterestDividendWorksheet::kSpouseFederalInterestRemainder));
    } else {
      form.setNull(spouseIn);
    }
  }
  auto nullWhenZero = [&form](const OVImmutableIdentifier& field) {
    if (form.getIR(field) == 0.0) form.setNull(field);
  };
  nullWhenZero(taxpayerIn);
  nullWhenZero(spouseIn);
  form.assignII(taxpayerCopy, taxpayerIn);
  nullWhenZero(taxpayerCopy);
  if (c.joint) {
    form.assignII(spouseCopy, spouseIn);
    nullWhenZero(spouseCopy);
  } else {
    form.setNull(spouseCopy);
  }
}

// The owners' totals; joint gains are split, the taxpayer's half rounded.
void writeTotals(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const OwnerTotals& t = c.totals;
  const double tpCarry = c.copy == 1 ? form.getIN(PAScheduleDWorksheet::kTaxpayerForfeitedInterestCopy) : 0.0;
  const double spCarry = c.copy == 1 ? form.getIN(PAScheduleDWorksheet::kSpouseForfeitedInterestCopy) : 0.0;
  if (!c.joint) {
    form.assignIR(PAScheduleDWorksheet::kTaxpayerGain, t.taxpayer + tpCarry);
    for (const OVImmutableIdentifier* field :
         {&PAScheduleDWorksheet::kJointGain.id(), &PAScheduleDWorksheet::kTaxpayerJointHalf.id(),
          &PAScheduleDWorksheet::kSpouseGain.id(), &PAScheduleDWorksheet::kSpouseJointHalf.id(),
          &PAScheduleDWorksheet::kSpouseTotal.id()}) {
      form.setNull(*field);
    }
    form.assignII(PAScheduleDWorksheet::kTaxpayerTotal, PAScheduleDWorksheet::kTaxpayerGain);
    return;
  }
  const long half = Utils::roundR(t.joint * 0.5);
  form.assignIR(PAScheduleDWorksheet::kJointGain, t.joint);
  form.assignIR(PAScheduleDWorksheet::kTaxpayerGain, t.taxpayer + tpCarry);
  form.assignIR(PAScheduleDWorksheet::kTaxpayerJointHalf, half);
  form.assignIR(PAScheduleDWorksheet::kSpouseGain, t.spouse + spCarry);
  form.assignIR(PAScheduleDWorksheet::kSpouseJointHalf, t.joint - half);
  form.plus2(PAScheduleDWorksheet::kTaxpayerTotal, PAScheduleDWorksheet::kTaxpayerGain,
             PAScheduleDWorksheet::kTaxpayerJointHalf);
  form.plus2(PAScheduleDWorksheet::kSpouseTotal, PAScheduleDWorksheet::kSpouseGain,
             PAScheduleDWorksheet::kSpouseJointHalf);
}

// The federal form 42 box, and the count of federal form 20 copies with a
// sale amount with the owner choice of the residence sale it opens.
void readFederalForms42And20(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const long form42 = c.federal.getAllCopies(kFormID_Fed42, Fed42::kSecondSaleAmount) +
                      c.federal.getAllCopies(kFormID_Fed42, Fed42::kFirstSaleAmount);
  markOrNo(form, PAScheduleDWorksheet::kFed42AmountsBox, form42 > 0);

  const auto& form20Count = PAScheduleDWorksheet::kFed20Count;
  if (c.copy == 1) {
    int count = 0;
    const int last = c.federal.getMaxCopies(kFormID_Fed20);
    for (int k = 1; k <= last; ++k) {
      const uint16_t fedCopy = static_cast<uint16_t>(k);
      if (c.federal.formExists(kFormID_Fed20, fedCopy) &&
          c.federal.getIN(kFormID_Fed20, fedCopy, Fed20::kSaleAmount) > 0) {
        ++count;
      }
    }
    form.assignIR(form20Count, count);
  } else {
    form.setNull(form20Count);
  }

  const OVImmutableIdentifier& taxpayer = PAScheduleDWorksheet::kResidenceTaxpayerBox;
  const OVImmutableIdentifier& spouse = PAScheduleDWorksheet::kResidenceSpouseBox;
  const OVImmutableIdentifier& joint = PAScheduleDWorksheet::kResidenceJointBox;
  const OVImmutableIdentifier* const kChoices[] = {&taxpayer, &spouse, &joint};
  // The owner a single federal form 20 of a joint return answers (the last
  // one set wins), the taxpayer on any other return: the calculation's,
  // protected. Otherwise the joint return's user chooses, joint by default,
  // and an owner the calculation fixed before goes.
  const OVImmutableIdentifier* owner = c.joint ? nullptr : &taxpayer;
  if (c.joint && form.getIR(form20Count) == 1.0) {
    const struct {
      NamedField<Fed20FieldIds> answer;
      const OVImmutableIdentifier* choice;
    } kAnswers[] = {{Fed20::kJointOwnerBox, &joint},
                    {Fed20::kTaxpayerOwnerBox, &taxpayer},
                    {Fed20::kSpouseOwnerBox, &spouse}};
    for (const auto& answer : kAnswers) {
      if (c.federal.formYes(kFormID_Fed20, 1, answer.answer)) owner = answer.choice;
    }
  }
  if (owner != nullptr) {
    for (const OVImmutableIdentifier* choice : kChoices) form.makeProtected(*choice);
    for (const OVImmutableIdentifier* choice : kChoices) markOrNo(form, *choice, choice == owner);
  } else {
    for (const OVImmutableIdentifier* choice : kChoices) form.unprotectAndMaybeSetNull(*choice);
    Utils::setDefaultX(c.holder, joint, taxpayer, spouse);
  }
}

// Boxes opened by other answers: the chain of three boxes (when the
// information form's other-federal-sales box is yes) and the part-year
// pair.
void openDependentBoxes(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const auto& first = PAScheduleDWorksheet::kFirstChainedBox;
  const auto& second = PAScheduleDWorksheet::kSecondChainedBox;
  const auto& third = PAScheduleDWorksheet::kThirdChainedBox;
  if (c.pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kOtherFederalSalesBox)) {
    if (form.xMarked(first)) {
      form.unProtect(second);
    } else {
      form.makeProtectedAndSetNull(second);
      form.makeProtectedAndSetNull(third);
    }
    if (form.xMarked(second)) {
      form.unProtect(third);
    } else {
      form.makeProtectedAndSetNull(third);
    }
  }
  const auto& partYearFirst = PAScheduleDWorksheet::kPartYearFirstBox;
  const auto& partYearSecond = PAScheduleDWorksheet::kPartYearSecondBox;
  if (c.fullYearResident) {
    form.makeProtectedAndSetNull(partYearFirst);
    form.makeProtectedAndSetNull(partYearSecond);
  } else {
    form.unProtect(partYearFirst);
    form.unProtect(partYearSecond);
    Utils::setDefaultX(c.holder, partYearFirst, partYearSecond, partYearSecond);
  }
}

// Row 1's owner, a hand row's gain, a carry-in or the residence gain make
// the copy one that holds data; it is part of the return while it holds
// data or an entry of the user's.
void markData(WorksheetCopy& c) {
  const DataMgmt::FormId& self = kFormID_PAScheduleDWorksheet;
  DataMgmt::TaxForm& form = c.form;
  const auto& gain = PAScheduleDWorksheet::kRowGain;
  bool hasData = c.pa.hasSigValue(self, c.copy, PAScheduleDWorksheet::kRowOwner.at(0));
  for (const OVImmutableIdentifier* field :
       {&gain.at(kFederalRowCount), &gain.at(kFederalRowCount + 1), &gain.at(kFederalRowCount + 2),
        &PAScheduleDWorksheet::kTaxpayerForfeitedInterestCopy.id(),
        &PAScheduleDWorksheet::kSpouseForfeitedInterestCopy.id(),
        &PAScheduleDWorksheet::kResidenceGain.id()}) {
    if (form.nonNull(*field)) hasData = true;
  }
  markPartOfReturn(c.pa, self, c.copy, hasData,
                   [&] { return holdsUserEntry(form, PAScheduleDWorksheet::kUserFields); });
  form.assignIR(PAScheduleDWorksheet::kHasDataMark, hasData ? 1.0 : 0.0);
}

}  // namespace

void PATaxReturnCalcEngine::normalizeOwnerText(DataMgmt::TaxFormPtr form, const OVImmutableIdentifier& field,
                                               uint8_t filingStatus) {
  if (form.isNull() || paReturn == nullptr) return;
  if (filingStatus != PADataMgmt::kFilingJoint) {
    // The taxpayer's alone. Where the field held no code of the user's (or
    // the joint code, which means nothing here) the "T" is the
    // calculation's: protected, it goes once the return is joint again.
    const char held = readOwnerCode(*paReturn, *form, field);
    if (held == '\0' || held == 'J' || held == 'j') form->makeProtected(field);
    form->assignText(field, "T");
    return;
  }
  form->unprotectAndMaybeSetNull(field);
  const char c = readOwnerCode(*paReturn, *form, field);
  const char* owner = "J";
  if (c == 'T' || c == 't') {
    owner = "T";
  } else if (c == 'S' || c == 's') {
    owner = "S";
  }
  form->assignText(field, owner);
}

void PATaxReturnCalcEngine::computeScheduleDWorksheet(DataMgmt::TaxFormPtr worksheet, uint16_t copy,
                                                      int /*passOn*/) {
  if (worksheet.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  const uint8_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  WorksheetCopy c{*this,
                  worksheet,
                  *worksheet,
                  copy,
                  *federalReturn,
                  *paReturn,
                  status,
                  status == PADataMgmt::kFilingJoint,
                  paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox),
                  OwnerTotals()};

  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  copyNameText(worksheet, kFormID_PAReturnInfo, status, 0, PAScheduleDWorksheet::kTaxpayerName,
               PAScheduleDWorksheet::kTaxpayerSSN, none, none, PAScheduleDWorksheet::kSpouseName,
               PAScheduleDWorksheet::kSpouseSSN, none, none, none, 0);
  Utils::setDefaultX(worksheet, PAScheduleDWorksheet::kFederalRowsSecondBox,
                     PAScheduleDWorksheet::kFederalRowsFirstBox, PAScheduleDWorksheet::kFederalRowsFirstBox);

  fillFederalRows(c);
  totalHandRows(c);
  carryInInterestAndDividends(c);
  writeTotals(c);
  readFederalForms42And20(c);
  openDependentBoxes(c);
  markData(c);
}

}  // namespace PACalculationMgmt
