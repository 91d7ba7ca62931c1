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

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/dates.h"
#include "host/form_defaults.h"
#include "host/form_field.h"
#include "host/rounding.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// Worksheet fields by catalog member; host field numbers in comments.
const OVImmutableIdentifier& ws(int member) { return kPAScheduleDWorksheetFieldIds[member]; }

// A row is ten consecutive members; these are the offsets within a row.
enum RowOffset {
  kTaxableInPA = 0,   // mark: the sale is taxable in PA
  kOwner = 1,         // "T", "S" or "J"
  kZeroGain = 2,      // mark: the gain or loss is set to zero
  kDescription = 3,
  kDateAcquired = 4,  // "mm/dd/yy" or "VARIOUS"
  kDateSold = 5,
  kSalesPrice = 6,
  kBasis = 7,
  kGainOrLoss = 8,
  kGroupedSale = 9,   // mark: grouped sale transaction
  kRowWidth = 10,
};

const int kFederalRowCount = 12;
const int kFirstFederalRow = 33;  // host field 9; row 12 starts at member 143 (108)
const int kFirstLink = 17;        // host fields 196105-196116, one per federal row
const int kHandRowCount = 3;
const int kFirstHandRow = 153;    // host fields 225, 234, 243 start the hand rows

// Header and total fields (catalog members).
const int kSalesPriceMark = 1;     // 3
const int kHandRowMark = 2;        // 4
const int kTpName = 29;            // 5
const int kTpNumber = 30;          // 6
const int kSpName = 31;            // 7
const int kSpNumber = 32;          // 8
const int kHasData = 5;            // 72334
const int kFederalPairA = 6;       // 150694
const int kFederalPairB = 7;       // 150695
const int kPartYearPairA = 9;      // 150697
const int kPartYearPairB = 10;     // 150698
const int kForm42Mark = 11;        // 150699
const int kForm20Count = 12;       // 150702
const int kChainFirst = 13;        // 150703
const int kChainSecond = 14;       // 150704
const int kChainThird = 15;        // 150705
const int kGroupedCount = 16;      // 161039
const int kTpCarryIn = 183;        // 257
const int kSpCarryIn = 184;        // 258
const int kTpCarryCopy = 185;      // 263
const int kSpCarryCopy = 186;      // 264
const int kJointGain = 187;        // 265
const int kTpGain = 188;           // 266
const int kTpJointHalf = 189;      // 267
const int kTpTotal = 190;          // 268
const int kSpGain = 191;           // 269
const int kSpJointHalf = 192;      // 270
const int kSpTotal = 193;          // 271
const int kChoiceA = 194;          // 275
const int kChoiceB = 195;          // 276
const int kChoiceC = 196;          // 277
const int kResidenceGain = 202;    // 283

// The federal sale record, from its description (Fed135FieldIds member 83,
// host field 36), by offset in the record's field order.
const int kFedRecordFirst = 83;
enum FederalOffset {
  kFedDescription = 0,     // 36
  kFedGroupedSale = 8,     // 147131
  kFedDateAcquired = 10,   // 37
  kFedDateSold = 11,       // 38
  kFedSalesPrice = 12,     // 39
  kFedBasis = 13,          // 40
  kFedBasisLessA = 22,     // 163966
  kFedBasisLessB = 25,     // 188718
  kFedBasisLessC = 27,     // 79686
};
const OVImmutableIdentifier& fed(int offset) { return kFed135FieldIds[kFedRecordFirst + offset]; }

// Federal date-acquired texts (upper-cased) that mean "various dates".
const char* const kVariousDates[] = {"VAR-S", "VAR-L", "INHERIT", "INH-2010"};

const int kTextSize = 128;
const int kFilingJoint = 2;

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

void setXOrNo(DataMgmt::TaxForm& form, const OVImmutableIdentifier& field, bool marked) {
  if (marked) {
    form.setX(field);
  } else {
    form.setXNo(field);
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
  bool fullYearResident;  // information form field 46
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
bool fillFederalRow(WorksheetCopy& c, int first, uint16_t record, int& groupedRows) {
  DataMgmt::TaxForm& form = c.form;
  auto cell = [first](int offset) -> const OVImmutableIdentifier& { return ws(first + offset); };
  if (!c.federal.formExists(kFormID_Fed135, record)) return false;  // gone: the row stays as it is

  protectUnlessTaxable(form, cell(kTaxableInPA), c.fullYearResident);
  char description[kTextSize];
  c.federal.formString(description, kFormID_Fed135, record, fed(kFedDescription));
  auto amount = [&c, record](int offset) { return c.federal.getIR(kFormID_Fed135, record, fed(offset)); };
  const double sales = amount(kFedSalesPrice) / 100.0;
  const double basis =
      (amount(kFedBasis) - amount(kFedBasisLessA) - amount(kFedBasisLessC) - amount(kFedBasisLessB)) / 100.0;
  if (description[0] == '\0') {
    // No sale to show: nothing of the row's earlier sale may stay behind.
    for (int offset = 0; offset < kRowWidth; ++offset) form.setNull(cell(offset));
    return true;
  }

  c.engine.normalizeOwnerText(c.holder, cell(kOwner), c.status);
  form.assignText(cell(kDescription), description);

  char text[kTextSize];
  char upper[kTextSize];
  c.federal.formString(text, kFormID_Fed135, record, fed(kFedDateAcquired));
  std::snprintf(upper, sizeof upper, "%s", text);
  Utils::OVStringUtils::toUpperCase(upper);
  if (isVariousDate(upper)) {
    form.assignText(cell(kDateAcquired), "VARIOUS");
  } else {
    assignShortDate(form, cell(kDateAcquired), text);
  }

  c.federal.formString(text, kFormID_Fed135, record, fed(kFedDateSold));
  const bool grouped = c.federal.formYes(kFormID_Fed135, record, fed(kFedGroupedSale));
  if (grouped) {
    form.setNull(cell(kDateSold));
    ++groupedRows;
  } else {
    assignShortDate(form, cell(kDateSold), text);
  }
  setXOrNo(form, cell(kGroupedSale), grouped);

  form.assignIR(cell(kSalesPrice), sales);
  form.assignIR(cell(kBasis), basis);
  form.assignIR(cell(kGainOrLoss), sales - basis);
  if (form.xMarked(cell(kZeroGain))) form.zero(cell(kGainOrLoss));

  if (c.fullYearResident || form.xMarked(cell(kTaxableInPA))) {
    c.pa.formString(text, kFormID_PAScheduleDWorksheet, c.copy, cell(kOwner));
    c.totals.add(text[0], form.getIR(cell(kGainOrLoss)));
  }
  return true;
}

// The twelve federal rows, the count of grouped sales and field 3.
void fillFederalRows(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  if (!hasFederalRecords(c)) {
    c.engine.clearFormFields(kFormID_PAScheduleDWorksheet, c.copy, ws(kFirstFederalRow),
                             ws(kFirstFederalRow + kFederalRowCount * kRowWidth - 1));
    form.setXNo(ws(kFederalPairA));
    form.setXNo(ws(kFederalPairB));
    return;
  }
  int groupedRows = 0;
  for (int row = 0; row < kFederalRowCount; ++row) {
    const int first = kFirstFederalRow + row * kRowWidth;
    const long link = form.getIN(ws(kFirstLink + row));
    if (link <= 0 || link > 0xFFFF) {
      for (int offset = 0; offset < kRowWidth; ++offset) form.setNull(ws(first + offset));
      continue;
    }
    fillFederalRow(c, first, static_cast<uint16_t>(link), groupedRows);
  }
  form.assignIR(ws(kGroupedCount), groupedRows);
  // Only the first row's sales price is tested.
  setXOrNo(form, ws(kSalesPriceMark), form.getIR(ws(kFirstFederalRow + kSalesPrice)) == 0.0);
}

// The three rows the user fills, and field 4.
void totalHandRows(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const DataMgmt::FormId& self = kFormID_PAScheduleDWorksheet;
  bool anyRowWithData = false;
  for (int row = 0; row < kHandRowCount; ++row) {
    const int first = kFirstHandRow + row * kRowWidth;
    auto cell = [first](int offset) -> const OVImmutableIdentifier& { return ws(first + offset); };

    protectUnlessTaxable(form, cell(kTaxableInPA), c.fullYearResident);
    if (c.pa.hasSigValue(self, c.copy, cell(kSalesPrice)) || c.pa.hasSigValue(self, c.copy, cell(kBasis))) {
      form.minusII(cell(kGainOrLoss), cell(kSalesPrice), cell(kBasis));
    } else {
      form.setNull(cell(kGainOrLoss));
    }
    const bool described = c.pa.hasSigValue(self, c.copy, cell(kDescription));
    if (described || form.nonNull(cell(kGainOrLoss))) {
      c.engine.normalizeOwnerText(c.holder, cell(kOwner), c.status);
    }
    if (described && form.nonNull(cell(kGainOrLoss))) anyRowWithData = true;
    if (form.xMarked(cell(kZeroGain))) form.zero(cell(kGainOrLoss));

    if (c.fullYearResident || form.xMarked(cell(kTaxableInPA))) {
      const char owner = c.joint ? readOwnerCode(c.pa, form, cell(kOwner)) : 'T';
      c.totals.add(owner, form.getIR(cell(kGainOrLoss)));
    }
  }
  setXOrNo(form, ws(kHandRowMark), anyRowWithData);
}

// Amounts from the interest and dividend worksheet, negated (copy 1 only).
void carryInInterestAndDividends(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  if (c.copy != 1) {
    for (int member : {kTpCarryIn, kTpCarryCopy, kSpCarryIn, kSpCarryCopy}) form.setNull(ws(member));
    return;
  }
  if (c.pa.formExists(kFormID_State171, 1)) {
    auto worksheetAmount = [&c](int member) {
      return c.pa.getIN(kFormID_PAInterestDividendWorksheet, 1, kPAInterestDividendWorksheetFieldIds[member]);
    };
    form.assignIR(ws(kTpCarryIn), -1.0 * worksheetAmount(119));  // 175
    if (c.joint) {
      form.assignIR(ws(kSpCarryIn), -1.0 * worksheetAmount(120));  // 176
    } else {
      form.setNull(ws(kSpCarryIn));
    }
  }
  auto nullWhenZero = [&form](int member) {
    if (form.getIR(ws(member)) == 0.0) form.setNull(ws(member));
  };
  nullWhenZero(kTpCarryIn);
  nullWhenZero(kSpCarryIn);
  form.assignII(ws(kTpCarryCopy), ws(kTpCarryIn));
  nullWhenZero(kTpCarryCopy);
  if (c.joint) {
    form.assignII(ws(kSpCarryCopy), ws(kSpCarryIn));
    nullWhenZero(kSpCarryCopy);
  } else {
    form.setNull(ws(kSpCarryCopy));
  }
}

// The owners' totals; joint gains are split, the taxpayer's half rounded.
void writeTotals(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const OwnerTotals& t = c.totals;
  const double tpCarry = c.copy == 1 ? form.getIN(ws(kTpCarryCopy)) : 0.0;
  const double spCarry = c.copy == 1 ? form.getIN(ws(kSpCarryCopy)) : 0.0;
  if (!c.joint) {
    form.assignIR(ws(kTpGain), t.taxpayer + tpCarry);
    for (int member : {kJointGain, kTpJointHalf, kSpGain, kSpJointHalf, kSpTotal}) form.setNull(ws(member));
    form.assignII(ws(kTpTotal), ws(kTpGain));
    return;
  }
  const long half = Utils::roundR(t.joint * 0.5);
  form.assignIR(ws(kJointGain), t.joint);
  form.assignIR(ws(kTpGain), t.taxpayer + tpCarry);
  form.assignIR(ws(kTpJointHalf), half);
  form.assignIR(ws(kSpGain), t.spouse + spCarry);
  form.assignIR(ws(kSpJointHalf), t.joint - half);
  form.plus2(ws(kTpTotal), ws(kTpGain), ws(kTpJointHalf));
  form.plus2(ws(kSpTotal), ws(kSpGain), ws(kSpJointHalf));
}

// Field 150699 from federal form 42, and the count of federal form 20
// copies with an amount in field 132 with the three-way choice it opens.
void readFederalForms42And20(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const long form42 = c.federal.getAllCopies(kFormID_Fed42, kFed42FieldIds[86]) +  // 48
                      c.federal.getAllCopies(kFormID_Fed42, kFed42FieldIds[38]);   // 32
  setXOrNo(form, ws(kForm42Mark), form42 > 0);

  if (c.copy == 1) {
    int count = 0;
    const int last = c.federal.getMaxCopies(kFormID_Fed20);
    for (int k = 1; k <= last; ++k) {
      const uint16_t fedCopy = static_cast<uint16_t>(k);
      if (c.federal.formExists(kFormID_Fed20, fedCopy) &&
          c.federal.getIN(kFormID_Fed20, fedCopy, kFed20FieldIds[214]) > 0) {
        ++count;
      }
    }
    form.assignIR(ws(kForm20Count), count);
  } else {
    form.setNull(ws(kForm20Count));
  }

  const int kChoices[] = {kChoiceA, kChoiceB, kChoiceC};
  if (c.joint && form.getIR(ws(kForm20Count)) == 1.0) {
    // Federal form 20 copy 1, fields 142, 140, 141; the last one set wins.
    const struct {
      int fedMember;
      int choice;
    } kAnswers[] = {{92, kChoiceC}, {90, kChoiceA}, {91, kChoiceB}};
    for (const auto& answer : kAnswers) {
      if (!c.federal.formYes(kFormID_Fed20, 1, kFed20FieldIds[answer.fedMember])) continue;
      for (int member : kChoices) setXOrNo(form, ws(member), member == answer.choice);
    }
  } else if (c.joint) {
    for (int member : kChoices) form.unProtect(ws(member));
    Utils::setDefaultX(c.holder, ws(kChoiceC), ws(kChoiceA), ws(kChoiceB));
  } else {
    for (int member : kChoices) form.makeProtected(ws(member));
    for (int member : kChoices) setXOrNo(form, ws(member), member == kChoiceA);
  }
}

// Boxes opened by other answers: the chain 150703-150705 (when host field
// 150687 of the information form is yes) and the part-year pair.
void openDependentBoxes(WorksheetCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  if (c.pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[82])) {
    if (form.xMarked(ws(kChainFirst))) {
      form.unProtect(ws(kChainSecond));
    } else {
      form.makeProtectedAndSetNull(ws(kChainSecond));
      form.makeProtectedAndSetNull(ws(kChainThird));
    }
    if (form.xMarked(ws(kChainSecond))) {
      form.unProtect(ws(kChainThird));
    } else {
      form.makeProtectedAndSetNull(ws(kChainThird));
    }
  }
  if (c.fullYearResident) {
    form.makeProtectedAndSetNull(ws(kPartYearPairA));
    form.makeProtectedAndSetNull(ws(kPartYearPairB));
  } else {
    form.unProtect(ws(kPartYearPairA));
    form.unProtect(ws(kPartYearPairB));
    Utils::setDefaultX(c.holder, ws(kPartYearPairA), ws(kPartYearPairB), ws(kPartYearPairB));
  }
}

// Row 1's owner (host field 10), a hand row's gain, a carry-in or the
// residence gain make the copy one that holds data.
void markData(WorksheetCopy& c) {
  const DataMgmt::FormId& self = kFormID_PAScheduleDWorksheet;
  DataMgmt::TaxForm& form = c.form;
  bool hasData = c.pa.hasSigValue(self, c.copy, ws(kFirstFederalRow + kOwner));
  for (int member : {kFirstHandRow + kGainOrLoss, kFirstHandRow + kRowWidth + kGainOrLoss,
                     kFirstHandRow + 2 * kRowWidth + kGainOrLoss, kTpCarryCopy, kSpCarryCopy,
                     kResidenceGain}) {
    if (form.nonNull(ws(member))) hasData = true;
  }
  if (hasData) {
    c.pa.setDataEntered(self, c.copy, true, false);
    if (DataMgmt::TaxForm* own = c.pa.getForm(self, c.copy)) own->setCalcMark(true);
  }
  form.assignIR(ws(kHasData), hasData ? 1.0 : 0.0);
}

}  // namespace

void PATaxReturnCalcEngine::normalizeOwnerText(DataMgmt::TaxFormPtr form, const OVImmutableIdentifier& field,
                                               uint8_t filingStatus) {
  if (form.isNull() || paReturn == nullptr) return;
  const char c = readOwnerCode(*paReturn, *form, field);
  const char* owner = "J";
  if (filingStatus != kFilingJoint || c == 'T' || c == 't') {
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
                  status == kFilingJoint,
                  paReturn->formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[101]),
                  OwnerTotals()};

  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  copyNameText(worksheet, kFormID_PAReturnInfo, status, 0, ws(kTpName), ws(kTpNumber), none, none,
               ws(kSpName), ws(kSpNumber), none, none, none, 0);
  Utils::setDefaultX(worksheet, ws(kFederalPairB), ws(kFederalPairA), ws(kFederalPairA));

  fillFederalRows(c);
  totalHandRows(c);
  carryInInterestAndDividends(c);
  writeTotals(c);
  readFederalForms42And20(c);
  openDependentBoxes(c);
  markData(c);
}

}  // namespace PACalculationMgmt
