// The PA miscellaneous-compensation worksheet (state form 187): one row per
// federal Form 1099-MISC, Form 1099-R or form-57 amount that reaches the PA
// return, totalled by person for the PA-40, Schedule W-2S and the
// electronic-filing writer.
//
// Which federal copy a row stands for is fixed beforehand by the row's
// source reference ("110/3", "84/1", "57/2"; see misc_comp_sources.cc).
// Calculated columns are rewritten every time; the columns a rule leaves
// open keep what the user typed, capped where the rule says so. Federal
// 1099 amounts are hundredths, form-57 amounts whole dollars.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

namespace {

using DataMgmt::FieldId;
using DataMgmt::FormId;

typedef NamedField<PAMiscCompWorksheetFieldIds> SheetField;
typedef NamedColumn<PAMiscCompWorksheetFieldIds> SheetColumn;

const int kRows = PAMiscCompWorksheet::kRowOwner.rows();
const std::size_t kTextSize = 256;
// Rows 1 to this one mark the first open-reduction box of copy 1, later
// rows the second.
const int kLastFirstReductionRow = 10;

// The columns of a row, in form order.
const SheetColumn* const kRowColumns[] = {
    &PAMiscCompWorksheet::kRowOwner,          &PAMiscCompWorksheet::kRowCodeLetter,
    &PAMiscCompWorksheet::kRowPayer,          &PAMiscCompWorksheet::kRowDistributionCode,
    &PAMiscCompWorksheet::kRowAmount,         &PAMiscCompWorksheet::kRowReduction,
    &PAMiscCompWorksheet::kRowPACompensation, &PAMiscCompWorksheet::kRowPAWithholding,
};

// The fields of row `row` (1 to 20).
struct RowFields {
  explicit RowFields(int row)
      : owner(PAMiscCompWorksheet::kRowOwner.at(row - 1)),
        letter(PAMiscCompWorksheet::kRowCodeLetter.at(row - 1)),
        payer(PAMiscCompWorksheet::kRowPayer.at(row - 1)),
        distributionCode(PAMiscCompWorksheet::kRowDistributionCode.at(row - 1)),
        amount(PAMiscCompWorksheet::kRowAmount.at(row - 1)),
        reduction(PAMiscCompWorksheet::kRowReduction.at(row - 1)),
        paAmount(PAMiscCompWorksheet::kRowPACompensation.at(row - 1)),
        withholding(PAMiscCompWorksheet::kRowPAWithholding.at(row - 1)) {}

  const FieldId& owner;   // "T" taxpayer, "S" spouse
  const FieldId& letter;  // A to L, "L " or "M "
  const FieldId& payer;
  const FieldId& distributionCode;  // Form 1099-R rows
  const FieldId& amount;
  const FieldId& reduction;    // entered on some Form 1099-R rows, not above the amount
  const FieldId& paAmount;     // the part that counts for PA
  const FieldId& withholding;  // PA tax withheld
};

// The PA-40 amounts the worksheet shows.
const struct {
  SheetField sheet;
  NamedField<PA40FieldIds> pa40;
} kPA40Copies[] = {
    {PAMiscCompWorksheet::kPA40FederalSourceAmount, PA40::kFed181OtherCompensation},
    {PAMiscCompWorksheet::kPA40JuryAndFiduciaryAmount, PA40::kFed57OtherCompensation},
    {PAMiscCompWorksheet::kPA40PulledAmount, PA40::kPulledOtherCompensation},
};

// The entries the calculation leaves to the user: a row's reduction and
// PA amount (each at most the row's amount) and the code choices other
// than the default I; besides them, a code letter the calculation leaves
// open (the letters it writes itself it protects). A row's owner is no
// entry of the user's: the 1099 rows take it from the federal copy's
// marks on every calculation, and a form-57 row, whose owner the user of
// a joint return may change, always carries an amount.
const SheetColumn kUserColumns[] = {PAMiscCompWorksheet::kRowReduction, PAMiscCompWorksheet::kRowPACompensation};
const SheetField kUserChoices[] = {PAMiscCompWorksheet::kCodeKChoiceBox, PAMiscCompWorksheet::kOwnCodeChoiceBox};

bool holdsUserEntries(const DataMgmt::TaxForm& form) {
  if (holdsAnyOf(form, kUserChoices) || holdsAnyRowOf(form, kUserColumns)) return true;
  for (int row = 0; row < kRows; ++row) {
    const FieldId& letter = PAMiscCompWorksheet::kRowCodeLetter.at(row);
    if (!form.isProtected(letter) && form.hasSigValue(letter)) return true;
  }
  return false;
}

// Texts compared whole and case-sensitively.
const char* const kOwnerTexts[] = {"T", "t", "S", "s"};
const char* const kSpouseTexts[] = {"S", "s"};
const char* const kMiscAmountCodes[] = {"1", "2"};
// Distribution codes that open the reduction column, that give a PA
// amount, that feed the K amount, and whose open reduction is a problem
// while empty.
const char* const kReductionCodes[] = {"1", "2", "J", "L", "S", "U"};
const char* const kPAAmountCodes[] = {"1", "2", "8", "9", "J", "L", "S", "U"};
const char* const kKAmountCodes[] = {"1", "2", "3", "4", "7", "D"};
const char* const kProblemReductionCodes[] = {"1", "2", "J", "L", "S"};
const char* const kKLetters[] = {"K", "k"};
const char* const kLLetters[] = {"L", "l"};
const char* const kCode7Letters[] = {"6", "F"};

// Code letters that follow from a Form 1099-R's first distribution code.
struct DistributionLetter {
  const char* code;
  const char* letter;
  bool countsAsM;
};
const DistributionLetter kDistributionLetters[] = {
    {"J", "J", false},
    {"T", "J", false},
    {"F", "L ", false},
    {"U", "M ", true},
};

// The fields a 1099 row shares between the two forms: owner marks and the
// two state rows of withholding.
struct Federal1099Fields {
  const FormId& form;
  const FieldId& taxpayerMark;
  const FieldId& spouseMark;
  const FieldId& firstState;     // compared with "PA"
  const FieldId& firstWithheld;  // hundredths
  const FieldId& secondState;
  const FieldId& secondWithheld;
};
Federal1099Fields miscFields() {
  return {kFormID_Fed1099Misc, Fed1099Misc::kTaxpayerBox,      Fed1099Misc::kSpouseBox,
          Fed1099Misc::kState,  Fed1099Misc::kStateTaxWithheld, Fed1099Misc::kSecondState,
          Fed1099Misc::kSecondStateTaxWithheld};
}
Federal1099Fields rFields() {
  return {kFormID_Fed1099R, Fed1099R::kTaxpayerBox,      Fed1099R::kSpouseBox,
          Fed1099R::kState,  Fed1099R::kStateTaxWithheld, Fed1099R::kSecondState,
          Fed1099R::kSecondStateTaxWithheld};
}

// The two kinds of a form-57 row.
struct Fed57Kind {
  NamedField<Fed57FieldIds> amount;
  const char* letter;
  const char* description;
};
const Fed57Kind kFed57Kinds[] = {
    {Fed57::kJuryDutyPay, "B", "Jury Duty Pay"},
    {Fed57::kFiduciaryFees, "C", "Fiduciary Fees"},
};

// A count and, for codes H and "M ", the description it opens.
struct CountedCode {
  SheetField count;
  SheetField description;
  const char* defaultDescription;
};
const CountedCode kHCode = {PAMiscCompWorksheet::kCodeHCount, PAMiscCompWorksheet::kCodeHDescription,
                            "nonemployee compensation"};
const CountedCode kMCode = {PAMiscCompWorksheet::kCodeMCount, PAMiscCompWorksheet::kCodeMDescription,
                            "Allocated ESOP Stock Dividend"};

template <std::size_t N>
bool isOneOf(const std::string& text, const char* const (&set)[N]) {
  for (const char* item : set) {
    if (text == item) return true;
  }
  return false;
}

// Reads a whole number at `text` into `out` and moves `text` past it; false
// when there is none or it lies outside an int.
bool readInt(const char*& text, int& out) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) return false;
  out = static_cast<int>(value);
  text = end;
  return true;
}

// A source reference "form/second" (second: the federal copy, or the kind
// for form 57). The user may have typed it, so nothing out of range is
// taken; text after the second number is ignored.
bool parseReference(const std::string& reference, int& formNumber, int& second) {
  const char* p = reference.c_str();
  if (!readInt(p, formNumber) || *p != '/') return false;
  ++p;
  return readInt(p, second);
}

// A code letter the check walk accepts: one letter A to L, either case.
bool isValidCodeLetter(const std::string& letter) {
  if (letter.size() != 1) return false;
  const char c = letter[0];
  return (c >= 'A' && c <= 'L') || (c >= 'a' && c <= 'l');
}

struct Counters {
  int h = 0;
  int m = 0;
  int secondCode = 0;
  int code7 = 0;
};

// One calculation of one worksheet copy: the copy, the returns it reads and
// what the row walk has counted. Borrows everything.
class WorksheetCalc {
 public:
  WorksheetCalc(PADataMgmt::PATaxReturn& pa, const DataMgmt::TaxReturn& federal, DataMgmt::TaxFormPtr form,
                uint16_t copy)
      : pa_(pa), federal_(federal), form_(form), copy_(copy),
        filingStatus_(pa.readFilingStatus(kFormID_PAReturnInfo)),
        fullYear_(pa.readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kFullYearResident),
        payerLength_(payerLength(pa)) {}

  void walkRows();
  void writeTotals();
  void writeCountsAndMarks();
  void countProblems();

 private:
  // The worksheet's own text, read back through the return.
  std::string text(const FieldId& field) const {
    char buf[kTextSize];
    pa_.formString(buf, sizeof buf, kFormID_PAMiscCompWorksheet, copy_, field);
    return buf;
  }
  std::string federalText(const FormId& form, uint16_t copy, const FieldId& field) const {
    char buf[kTextSize];
    federal_.formString(buf, sizeof buf, form, copy, field);
    return buf;
  }
  // The payer column's maximum length from the field's descriptor, within
  // the text buffer.
  static std::size_t payerLength(const DataMgmt::TaxReturn& pa);

  void protectRowsFrom(int row);
  void fillMiscRow(int row, uint16_t source);
  void fillRRow(int row, uint16_t source);
  void fillFed57Row(int row, int kind);
  void setOwnerFromMarks(const RowFields& r, const Federal1099Fields& fields, uint16_t source);
  void setPayer(const RowFields& r, const std::string& payer);
  void setPAAmount(const RowFields& r, double amount);
  double stateWithholding(const Federal1099Fields& fields, uint16_t source) const;
  void markOpenReduction(int row);

  PADataMgmt::PATaxReturn& pa_;
  const DataMgmt::TaxReturn& federal_;
  DataMgmt::TaxFormPtr form_;
  const uint16_t copy_;
  const uint8_t filingStatus_;
  const bool fullYear_;
  const std::size_t payerLength_;
  Counters counters_;
};

std::size_t WorksheetCalc::payerLength(const DataMgmt::TaxReturn& pa) {
  const std::size_t limit = kTextSize - 1;
  DataMgmt::TaxFormDescPtr desc = pa.getTaxFormDescriptor(kFormID_PAMiscCompWorksheet);
  if (desc.isNull()) return limit;
  DataMgmt::FormFieldDescPtr field = desc->getFieldDesc(PAMiscCompWorksheet::kRowPayer.at(0));
  if (field.isNull()) return limit;
  return field->getLength() < limit ? field->getLength() : limit;
}

void WorksheetCalc::walkRows() {
  for (int row = 1; row <= kRows; ++row) {
    const std::string reference = text(PAMiscCompWorksheet::kRowSourceReference.at(row - 1));
    if (reference.empty()) {
      protectRowsFrom(row);
      return;
    }
    int formNumber = 0;
    int second = 0;
    if (!parseReference(reference, formNumber, second) || formNumber <= 0) continue;
    const FormId source(formNumber);
    if (source == kFormID_Fed57) {
      fillFed57Row(row, second);
      continue;
    }
    // A copy number outside the host's range names no copy.
    if (second < 1 || second > 65535) continue;
    const uint16_t sourceCopy = static_cast<uint16_t>(second);
    if (source == kFormID_Fed1099Misc) {
      fillMiscRow(row, sourceCopy);
    } else if (source == kFormID_Fed1099R) {
      fillRRow(row, sourceCopy);
    }
  }
}

void WorksheetCalc::protectRowsFrom(int row) {
  for (int r = row; r <= kRows; ++r) {
    for (const SheetColumn* column : kRowColumns) form_->makeProtectedAndSetNull(column->at(r - 1));
  }
}

// The owner comes from the federal copy's marks on every calculation (the
// user corrects it there); a copy without either mark is the taxpayer's.
void WorksheetCalc::setOwnerFromMarks(const RowFields& r, const Federal1099Fields& fields, uint16_t source) {
  const bool taxpayer = federal_.formYes(fields.form, source, fields.taxpayerMark);
  const bool spouse = federal_.formYes(fields.form, source, fields.spouseMark);
  form_->unProtect(r.owner);
  form_->assignText(r.owner, spouse && !taxpayer ? "S" : "T");
  form_->makeProtected(r.owner);
}

void WorksheetCalc::setPayer(const RowFields& r, const std::string& payer) {
  form_->assignText(r.payer, payer.substr(0, payerLength_).c_str());
}

// Full-year residents: the amount, protected. Others: what they typed,
// the amount when empty, never above it.
void WorksheetCalc::setPAAmount(const RowFields& r, double amount) {
  const FieldId& target = r.paAmount;
  if (fullYear_) {
    form_->makeProtected(target);
    form_->assignIR(target, amount);
    return;
  }
  form_->unProtect(target);
  if (form_->isNull(target)) form_->assignIR(target, amount);
  form_->minIR(target, target, amount);
}

double WorksheetCalc::stateWithholding(const Federal1099Fields& fields, uint16_t source) const {
  const FormId& form = fields.form;
  if (federalText(form, source, fields.firstState) == "PA") {
    return federal_.getIN(form, source, fields.firstWithheld) / 100.0;
  }
  if (federalText(form, source, fields.secondState) == "PA") {
    return federal_.getIN(form, source, fields.secondWithheld) / 100.0;
  }
  return 0;
}

void WorksheetCalc::fillMiscRow(int row, uint16_t source) {
  const RowFields r(row);
  const FormId& misc = kFormID_Fed1099Misc;
  const FieldId& otherIncome = Fed1099Misc::kOtherIncome;
  const FieldId& nonemployee = Fed1099Misc::kNonemployeeCompensation;
  const bool otherCounts =
      isOneOf(federalText(misc, source, Fed1099Misc::kOtherIncomeCode), kMiscAmountCodes);
  const bool nonemployeeCounts =
      isOneOf(federalText(misc, source, Fed1099Misc::kNonemployeeCompensationCode), kMiscAmountCodes);

  setOwnerFromMarks(r, miscFields(), source);
  setPayer(r, federalText(misc, source, Fed1099Misc::kPayerName));

  if ((federal_.getIN(misc, source, nonemployee) > 0 && nonemployeeCounts) ||
      (federal_.getIN(misc, source, otherIncome) > 0 && otherCounts)) {
    form_->makeProtected(r.letter);
    form_->assignText(r.letter, "H");
    ++counters_.h;
  } else {
    // The "H" of an amount that no longer counts is no letter of the
    // user's: it goes as the letter opens.
    form_->unprotectAndMaybeSetNull(r.letter);
    const std::string typed = Utils::OVStringUtils::toUpperCase(text(r.letter));
    form_->assignText(r.letter, typed.c_str());
    if (typed == "H") ++counters_.h;
  }

  form_->makeProtectedAndSetNull(r.distributionCode);
  const double a = otherCounts ? federal_.getIN(misc, source, otherIncome) / 100.0 : 0;
  const double b = nonemployeeCounts ? federal_.getIN(misc, source, nonemployee) / 100.0 : 0;
  form_->assignIR(r.amount, a + b);

  if (form_->getIR(r.amount) > 0) {
    setPAAmount(r, form_->getIR(r.amount));
  } else {
    form_->makeProtectedAndSetNull(r.paAmount);
  }
  form_->makeProtectedAndSetNull(r.reduction);
  form_->makeProtected(r.withholding);
  form_->assignIR(r.withholding, stateWithholding(miscFields(), source));
}

void WorksheetCalc::markOpenReduction(int row) {
  if (copy_ == 1) {
    form_->setX(row <= kLastFirstReductionRow ? PAMiscCompWorksheet::kOpenReductionFirstRowsBox
                                              : PAMiscCompWorksheet::kOpenReductionLastRowsBox);
  } else {
    form_->setX(PAMiscCompWorksheet::kOpenReductionOtherCopyBox);
  }
}

void WorksheetCalc::fillRRow(int row, uint16_t source) {
  const RowFields r(row);
  const FormId& fed1099R = kFormID_Fed1099R;
  setOwnerFromMarks(r, rFields(), source);

  const std::string firstCode = federalText(fed1099R, source, Fed1099R::kDistributionCode);
  form_->makeProtected(r.distributionCode);
  form_->assignText(r.distributionCode, firstCode.c_str());
  if (federal_.hasSigValue(fed1099R, source, Fed1099R::kSecondDistributionCode)) ++counters_.secondCode;

  const DistributionLetter* automatic = nullptr;
  for (const DistributionLetter& entry : kDistributionLetters) {
    if (firstCode == entry.code) {
      automatic = &entry;
      break;
    }
  }
  if (federal_.formYes(fed1099R, source, Fed1099R::kIraSepSimpleBox)) automatic = &kDistributionLetters[0];
  if (automatic != nullptr) {
    form_->makeProtected(r.letter);
    form_->assignText(r.letter, automatic->letter);
    if (automatic->countsAsM) ++counters_.m;
  } else {
    Utils::setDefaultX(form_, PAMiscCompWorksheet::kCodeIChoiceBox, PAMiscCompWorksheet::kCodeKChoiceBox,
                       PAMiscCompWorksheet::kOwnCodeChoiceBox);
    // A letter the calculation wrote (of the distribution code, or of the
    // I or K choice) goes as the letter opens to the user's own code.
    form_->unprotectAndMaybeSetNull(r.letter);
    form_->setX(PAMiscCompWorksheet::kCodeChoiceNeededBox);
    if (form_->xMarked(PAMiscCompWorksheet::kCodeIChoiceBox)) {
      form_->makeProtected(r.letter);
      form_->assignText(r.letter, "I");
    } else if (form_->xMarked(PAMiscCompWorksheet::kCodeKChoiceBox)) {
      form_->makeProtected(r.letter);
      form_->assignText(r.letter, "K");
    }
  }

  char payer[2 * kTextSize + 1];
  std::snprintf(payer, sizeof payer, "%s %s", federalText(fed1099R, source, Fed1099R::kPayerName).c_str(),
                federalText(fed1099R, source, Fed1099R::kPayerNameContinued).c_str());
  Utils::strip(payer, payer);
  setPayer(r, payer);

  const double gross = federal_.getIN(fed1099R, source, Fed1099R::kGrossDistribution) / 100.0;
  form_->assignIR(r.amount, gross);

  const std::string code = text(r.distributionCode);
  if (isOneOf(code, kReductionCodes)) {
    form_->unProtect(r.reduction);
    if (form_->nonNull(r.reduction)) form_->minII(r.reduction, r.reduction, r.amount);
    markOpenReduction(row);
  } else {
    form_->makeProtectedAndSetNull(r.reduction);
  }

  // Without a gross amount there is nothing for PA, and no PA amount of an
  // earlier calculation may stay behind.
  if (isOneOf(code, kPAAmountCodes) && gross > 0) {
    double x = form_->getIR(r.amount) - form_->getIR(r.reduction);
    if (x < 0) x = 0;
    setPAAmount(r, x);
  } else {
    form_->makeProtectedAndSetNull(r.paAmount);
  }

  if (code == "7" && isOneOf(text(r.letter), kCode7Letters)) ++counters_.code7;

  form_->makeProtected(r.withholding);
  form_->assignIR(r.withholding, stateWithholding(rFields(), source));
}

void WorksheetCalc::fillFed57Row(int row, int kind) {
  const RowFields r(row);
  const FormId& fed57 = kFormID_Fed57;
  // Whole dollars, as the form holds them.
  form_->assignIR(PAMiscCompWorksheet::kJuryDutyPay, federal_.getIN(fed57, 1, Fed57::kJuryDutyPay));
  form_->assignIR(PAMiscCompWorksheet::kFiduciaryFees, federal_.getIN(fed57, 1, Fed57::kFiduciaryFees));
  if (kind != 1 && kind != 2) return;
  const Fed57Kind& entry = kFed57Kinds[kind - 1];
  const double amount = federal_.getIN(fed57, 1, entry.amount);

  if (filingStatus_ == PADataMgmt::kFilingJoint) {
    // The owner the calculation wrote off a joint return goes as it opens.
    form_->unprotectAndMaybeSetNull(r.owner);
    if (!isOneOf(text(r.owner), kOwnerTexts)) form_->assignText(r.owner, "T");
  } else {
    form_->makeProtected(r.owner);
    form_->assignText(r.owner, "T");
  }
  if (amount > 0) {
    form_->assignText(r.letter, entry.letter);
    form_->assignText(r.payer, entry.description);
    form_->assignIR(r.amount, amount);
  }
  form_->makeProtectedAndSetNull(r.distributionCode);
  form_->makeProtectedAndSetNull(r.reduction);
  setPAAmount(r, amount);
  form_->makeProtectedAndSetNull(r.withholding);
}

// Person totals of the amount, PA amount and withholding columns, and the
// K and L amounts by owner.
void WorksheetCalc::writeTotals() {
  const bool joint = filingStatus_ == PADataMgmt::kFilingJoint;
  double amount[2] = {0, 0}, paAmount[2] = {0, 0}, withholding[2] = {0, 0};
  double kTotal[2] = {0, 0}, lTotal[2] = {0, 0};
  for (int row = 1; row <= kRows; ++row) {
    const RowFields r(row);
    const std::string owner = text(r.owner);
    const std::string letter = text(r.letter);
    const std::string code = text(r.distributionCode);
    // A row without the spouse's letter is the taxpayer's.
    const int codeOwner = isOneOf(owner, kSpouseTexts) ? 1 : 0;
    const int person = joint ? codeOwner : 0;
    amount[person] += form_->getIR(r.amount);
    paAmount[person] += form_->getIR(r.paAmount);
    // Whole dollars, as the rows show them: Schedule W2-S and the data file
    // add the rows' withholding with the W-2s' (the rounding of the sum in
    // cents is carried on a W-2 row).
    withholding[person] += static_cast<double>(form_->getIN(r.withholding));

    const double rowAmount = form_->getIR(r.amount);
    if (isOneOf(code, kKAmountCodes) && isOneOf(letter, kKLetters)) kTotal[codeOwner] += rowAmount;
    if (isOneOf(letter, kLLetters)) lTotal[codeOwner] += rowAmount;
  }

  form_->assignIR(PAMiscCompWorksheet::kTaxpayerPACompensation, paAmount[0]);
  form_->assignIR(PAMiscCompWorksheet::kTaxpayerPAWithholding, withholding[0]);
  if (joint) {
    form_->assignIR(PAMiscCompWorksheet::kSpousePACompensation, paAmount[1]);
    form_->assignIR(PAMiscCompWorksheet::kSpousePAWithholding, withholding[1]);
  } else {
    form_->setNull(PAMiscCompWorksheet::kSpousePACompensation);
    form_->setNull(PAMiscCompWorksheet::kSpousePAWithholding);
  }
  form_->assignIR(PAMiscCompWorksheet::kTaxpayerCodeKAmount, kTotal[0]);
  form_->assignIR(PAMiscCompWorksheet::kSpouseCodeKAmount, kTotal[1]);
  form_->assignIR(PAMiscCompWorksheet::kTaxpayerCodeLAmount, lTotal[0]);
  form_->assignIR(PAMiscCompWorksheet::kSpouseCodeLAmount, lTotal[1]);
  form_->assignIR(PAMiscCompWorksheet::kTaxpayerAmount, amount[0]);
  form_->assignIR(PAMiscCompWorksheet::kSpouseAmount, amount[1]);
  form_->plus2(PAMiscCompWorksheet::kTotalPACompensation, PAMiscCompWorksheet::kTaxpayerPACompensation,
               PAMiscCompWorksheet::kSpousePACompensation);
  form_->plus2(PAMiscCompWorksheet::kTotalPAWithholding, PAMiscCompWorksheet::kTaxpayerPAWithholding,
               PAMiscCompWorksheet::kSpousePAWithholding);
}

void WorksheetCalc::writeCountsAndMarks() {
  markOrNo(*form_, PAMiscCompWorksheet::kNormalDistributionCodeLetterBox, counters_.code7 > 0);
  const std::pair<int, const CountedCode*> counted[] = {{counters_.h, &kHCode}, {counters_.m, &kMCode}};
  for (const auto& entry : counted) {
    const CountedCode& code = *entry.second;
    if (entry.first > 0) {
      form_->assignIR(code.count, entry.first);
      form_->unProtect(code.description);
      if (form_->isNull(code.description)) form_->assignText(code.description, code.defaultDescription);
    } else {
      form_->makeProtectedAndSetNull(code.count);
      form_->makeProtectedAndSetNull(code.description);
    }
  }
  if (counters_.secondCode > 0) {
    form_->assignIR(PAMiscCompWorksheet::kSecondDistributionCodeCount, counters_.secondCode);
  } else {
    form_->setNull(PAMiscCompWorksheet::kSecondDistributionCodeCount);
  }
}

// Rows in need of attention: a used row without a code letter A to L, and
// an open reduction left empty where the distribution code calls for one.
void WorksheetCalc::countProblems() {
  int problems = 0;
  for (int row = 1; row <= kRows; ++row) {
    bool used = false;
    for (const SheetColumn* column : kRowColumns) {
      used = used || pa_.hasSigValue(kFormID_PAMiscCompWorksheet, copy_, column->at(row - 1));
    }
    if (!used) continue;
    const RowFields r(row);
    if (!isValidCodeLetter(text(r.letter))) ++problems;
    if (form_->isNull(r.reduction) && isOneOf(text(r.distributionCode), kProblemReductionCodes)) ++problems;
  }
  form_->assignIR(PAMiscCompWorksheet::kProblemCount, problems);
}

}  // namespace

void PATaxReturnCalcEngine::computeMiscCompWorksheet(DataMgmt::TaxFormPtr form, uint16_t copy,
                                                     int /*passOn*/) {
  DataMgmt::USTaxReturn* federal = getFederalReturn();
  if (form.isNull() || paReturn == nullptr || federal == nullptr) return;
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);

  // Header: names, the PA-40 fields the worksheet shows, the marks and the
  // form-57 amounts the rows set afresh.
  const FieldId& none = Primitives::kNullFieldID;
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, PAMiscCompWorksheet::kTaxpayerName,
               PAMiscCompWorksheet::kTaxpayerSSN, none, none, PAMiscCompWorksheet::kSpouseName,
               PAMiscCompWorksheet::kSpouseSSN, none, none, none, 0);
  for (const auto& pair : kPA40Copies) paReturn->getII(kFormID_PA40, pair.pa40, form, pair.sheet);
  form->setXNo(PAMiscCompWorksheet::kCodeChoiceNeededBox);
  form->setNull(PAMiscCompWorksheet::kJuryDutyPay);
  form->setNull(PAMiscCompWorksheet::kFiduciaryFees);
  form->setNull(PAMiscCompWorksheet::kOpenReductionFirstRowsBox);
  form->setNull(PAMiscCompWorksheet::kOpenReductionLastRowsBox);
  form->setNull(PAMiscCompWorksheet::kOpenReductionOtherCopyBox);
  if (copy == 1) {
    // Copies are calculated from the highest down, so every other copy's
    // mark already stands. The mark reads as 0 when summed as a number,
    // so the copies are asked for the mark itself.
    for (DataMgmt::TaxFormIter it = paReturn->getForms(kFormID_PAMiscCompWorksheet); !it.atEOL(); it.next()) {
      if (it.getTaxForm()->xMarked(PAMiscCompWorksheet::kOpenReductionOtherCopyBox)) {
        form->setX(PAMiscCompWorksheet::kOpenReductionOtherCopyBox);
        break;
      }
    }
  }

  WorksheetCalc calc(*paReturn, *federal, form, copy);
  calc.walkRows();
  // The I choice is the default the rows that need a choice take; with no
  // such row left it goes (the K and own-code choices are the user's).
  if (!form->xMarked(PAMiscCompWorksheet::kCodeChoiceNeededBox) &&
      form->xMarked(PAMiscCompWorksheet::kCodeIChoiceBox)) {
    form->setNull(PAMiscCompWorksheet::kCodeIChoiceBox);
  }
  calc.writeTotals();
  calc.writeCountsAndMarks();
  calc.countProblems();

  const bool amounts = form->getIR(PAMiscCompWorksheet::kTaxpayerAmount) > 0 ||
                       form->getIR(PAMiscCompWorksheet::kSpouseAmount) > 0;
  markPartOfReturn(*paReturn, kFormID_PAMiscCompWorksheet, copy, *form, amounts,
                   [&] { return holdsUserEntries(*form); });
}

}  // namespace PACalculationMgmt
