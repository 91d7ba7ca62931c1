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

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalog_ref.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

namespace {

using DataMgmt::FieldId;
using DataMgmt::FormId;

const int kRows = 20;
const int kColumns = 8;
const int kFirstCellMember = 52;  // row 1, column 0
const std::size_t kTextSize = 256;

// Columns of a row.
enum Column {
  kOwner = 0,             // "T" taxpayer, "S" spouse
  kCodeLetter = 1,        // A to L, "L " or "M "
  kPayer = 2,
  kDistributionCode = 3,  // Form 1099-R rows
  kAmount = 4,
  kReduction = 5,         // entered on some Form 1099-R rows, not above the amount
  kPAAmount = 6,          // the part that counts for PA
  kWithholding = 7,       // PA tax withheld
};

// Form-level members of the worksheet catalog (host field in the comment).
const int kPA40Copies[][2] = {{21, 81}, {22, 82}, {23, 83}};  // 107-109 from PA-40 392-394
const int kTotalPAAmount = 24;                    // 17531
const int kTotalWithholding = 25;                 // 17532
const int kTaxpayerK = 26, kSpouseK = 27;         // 46475, 46476
const int kTaxpayerL = 28, kSpouseL = 29;         // 46477, 46478
const int kCode7Mark = 30;                        // 79779
const int kHCount = 31;                           // 79780
const int kMCount = 32;                           // 183797
const int kSecondCodeCount = 33;                  // 79781
const int kProblemCount = 34;                     // 139390
const int kChoiceNeededMark = 36;                 // 139392
const int kJuryDutyPay = 37, kFiduciaryFees = 38;  // 139394, 139395
const int kOpenReductionRows1To10 = 40;           // 203774
const int kOpenReductionRows11To20 = 41;          // 203775
const int kOpenReductionOtherCopy = 42;           // 203776
const int kNameFields[] = {43, 44, 45, 46};       // 5-8
const int kChoiceI = 47, kChoiceK = 48, kChoiceOwn = 49;  // 139397-139399
const int kHDescription = 50;                     // 95
const int kMDescription = 51;                     // 183798
const int kTaxpayerAmount = 212, kTaxpayerPAAmount = 213, kTaxpayerWithholding = 214;  // 79802, 9585, 9586
const int kSpouseAmount = 215, kSpousePAAmount = 216, kSpouseWithholding = 217;        // 79803, 9587, 9588

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
  const FormId* form;
  FieldRef taxpayerMark;   // host field 1
  FieldRef spouseMark;     // host field 2
  FieldRef firstState;     // compared with "PA"
  FieldRef firstWithheld;  // hundredths
  FieldRef secondState;
  FieldRef secondWithheld;
};
const Federal1099Fields kMiscFields = {
    &kFormID_Fed1099Misc,
    {CatalogId::Fed1099MiscFieldIds, 92},   // 1
    {CatalogId::Fed1099MiscFieldIds, 93},   // 2
    {CatalogId::Fed1099MiscFieldIds, 161},  // 46
    {CatalogId::Fed1099MiscFieldIds, 160},  // 45
    {CatalogId::Fed1099MiscFieldIds, 165},  // 133
    {CatalogId::Fed1099MiscFieldIds, 164},  // 132
};
const Federal1099Fields kRFields = {
    &kFormID_Fed1099R,
    {CatalogId::Fed1099RFieldIds, 427},  // 1
    {CatalogId::Fed1099RFieldIds, 428},  // 2
    {CatalogId::Fed1099RFieldIds, 479},  // 33
    {CatalogId::Fed1099RFieldIds, 478},  // 30
    {CatalogId::Fed1099RFieldIds, 486},  // 169
    {CatalogId::Fed1099RFieldIds, 485},  // 168
};

// The two kinds of a form-57 row.
struct Fed57Kind {
  int member;  // of Fed57FieldIds
  const char* letter;
  const char* description;
};
const Fed57Kind kFed57Kinds[] = {
    {213, "B", "Jury Duty Pay"},   // host field 90
    {214, "C", "Fiduciary Fees"},  // host field 91
};

// A count and, for codes H and "M ", the description it opens.
struct CountedCode {
  int countMember;
  int descriptionMember;
  const char* defaultDescription;
};
const CountedCode kHCode = {kHCount, kHDescription, "nonemployee compensation"};
const CountedCode kMCode = {kMCount, kMDescription, "Allocated ESOP Stock Dividend"};

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

const FieldId& member(int k) { return kPAMiscCompWorksheetFieldIds[k]; }
const FieldId& cell(int row, int column) {
  return kPAMiscCompWorksheetFieldIds[kFirstCellMember + kColumns * (row - 1) + column];
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
        fullYear_(pa.readResidencyStatus(kFormID_PAReturnInfo) == 0),
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
  void setOwnerFromMarks(int row, const Federal1099Fields& fields, uint16_t source);
  void setPayer(int row, const std::string& payer);
  void setPAAmount(int row, double amount);
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
  DataMgmt::FormFieldDescPtr field = desc->getFieldDesc(cell(1, kPayer));  // host field 11
  if (field.isNull()) return limit;
  return field->getLength() < limit ? field->getLength() : limit;
}

void WorksheetCalc::walkRows() {
  for (int row = 1; row <= kRows; ++row) {
    const std::string reference = text(member(row));
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
    for (int c = 0; c < kColumns; ++c) form_->makeProtectedAndSetNull(cell(r, c));
  }
}

// The owner comes from the federal copy's marks on every calculation (the
// user corrects it there); a copy without either mark is the taxpayer's.
void WorksheetCalc::setOwnerFromMarks(int row, const Federal1099Fields& fields, uint16_t source) {
  const bool taxpayer = federal_.formYes(*fields.form, source, fieldOf(fields.taxpayerMark));
  const bool spouse = federal_.formYes(*fields.form, source, fieldOf(fields.spouseMark));
  form_->unProtect(cell(row, kOwner));
  form_->assignText(cell(row, kOwner), spouse && !taxpayer ? "S" : "T");
  form_->makeProtected(cell(row, kOwner));
}

void WorksheetCalc::setPayer(int row, const std::string& payer) {
  form_->assignText(cell(row, kPayer), payer.substr(0, payerLength_).c_str());
}

// Full-year residents: the amount, protected. Others: what they typed,
// the amount when empty, never above it.
void WorksheetCalc::setPAAmount(int row, double amount) {
  const FieldId& target = cell(row, kPAAmount);
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
  const FormId& form = *fields.form;
  if (federalText(form, source, fieldOf(fields.firstState)) == "PA") {
    return federal_.getIN(form, source, fieldOf(fields.firstWithheld)) / 100.0;
  }
  if (federalText(form, source, fieldOf(fields.secondState)) == "PA") {
    return federal_.getIN(form, source, fieldOf(fields.secondWithheld)) / 100.0;
  }
  return 0;
}

void WorksheetCalc::fillMiscRow(int row, uint16_t source) {
  const FormId& misc = kFormID_Fed1099Misc;
  const FieldId& amount17 = kFed1099MiscFieldIds[113];
  const FieldId& amount32 = kFed1099MiscFieldIds[133];
  const bool code18 = isOneOf(federalText(misc, source, kFed1099MiscFieldIds[114]), kMiscAmountCodes);
  const bool code33 = isOneOf(federalText(misc, source, kFed1099MiscFieldIds[134]), kMiscAmountCodes);

  setOwnerFromMarks(row, kMiscFields, source);
  setPayer(row, federalText(misc, source, kFed1099MiscFieldIds[101]));  // host field 5

  const FieldId& letter = cell(row, kCodeLetter);
  if ((federal_.getIN(misc, source, amount32) > 0 && code33) ||
      (federal_.getIN(misc, source, amount17) > 0 && code18)) {
    form_->makeProtected(letter);
    form_->assignText(letter, "H");
    ++counters_.h;
  } else {
    form_->unProtect(letter);
    const std::string typed = Utils::OVStringUtils::toUpperCase(text(letter));
    form_->assignText(letter, typed.c_str());
    if (typed == "H") ++counters_.h;
  }

  form_->makeProtectedAndSetNull(cell(row, kDistributionCode));
  const double a = code18 ? federal_.getIN(misc, source, amount17) / 100.0 : 0;
  const double b = code33 ? federal_.getIN(misc, source, amount32) / 100.0 : 0;
  form_->assignIR(cell(row, kAmount), a + b);

  if (form_->getIR(cell(row, kAmount)) > 0) {
    setPAAmount(row, form_->getIR(cell(row, kAmount)));
  } else {
    form_->makeProtectedAndSetNull(cell(row, kPAAmount));
  }
  form_->makeProtectedAndSetNull(cell(row, kReduction));
  form_->makeProtected(cell(row, kWithholding));
  form_->assignIR(cell(row, kWithholding), stateWithholding(kMiscFields, source));
}

void WorksheetCalc::markOpenReduction(int row) {
  if (copy_ == 1) {
    form_->setX(member(row <= 10 ? kOpenReductionRows1To10 : kOpenReductionRows11To20));
  } else {
    form_->setX(member(kOpenReductionOtherCopy));
  }
}

void WorksheetCalc::fillRRow(int row, uint16_t source) {
  const FormId& r = kFormID_Fed1099R;
  setOwnerFromMarks(row, kRFields, source);

  const std::string firstCode = federalText(r, source, kFed1099RFieldIds[463]);  // host field 202
  form_->makeProtected(cell(row, kDistributionCode));
  form_->assignText(cell(row, kDistributionCode), firstCode.c_str());
  if (federal_.hasSigValue(r, source, kFed1099RFieldIds[464])) ++counters_.secondCode;  // 203

  const FieldId& letter = cell(row, kCodeLetter);
  const DistributionLetter* automatic = nullptr;
  for (const DistributionLetter& entry : kDistributionLetters) {
    if (firstCode == entry.code) {
      automatic = &entry;
      break;
    }
  }
  if (federal_.formYes(r, source, kFed1099RFieldIds[465])) automatic = &kDistributionLetters[0];  // 35
  if (automatic != nullptr) {
    form_->makeProtected(letter);
    form_->assignText(letter, automatic->letter);
    if (automatic->countsAsM) ++counters_.m;
  } else {
    Utils::setDefaultX(form_, member(kChoiceI), member(kChoiceK), member(kChoiceOwn));
    form_->unProtect(letter);
    form_->setX(member(kChoiceNeededMark));
    if (form_->xMarked(member(kChoiceI))) {
      form_->makeProtected(letter);
      form_->assignText(letter, "I");
    } else if (form_->xMarked(member(kChoiceK))) {
      form_->makeProtected(letter);
      form_->assignText(letter, "K");
    }
  }

  char payer[2 * kTextSize + 1];
  std::snprintf(payer, sizeof payer, "%s %s", federalText(r, source, kFed1099RFieldIds[435]).c_str(),
                federalText(r, source, kFed1099RFieldIds[436]).c_str());  // 155, 413
  Utils::strip(payer, payer);
  setPayer(row, payer);

  const double gross = federal_.getIN(r, source, kFed1099RFieldIds[434]) / 100.0;  // host field 4
  form_->assignIR(cell(row, kAmount), gross);

  const std::string code = text(cell(row, kDistributionCode));
  const FieldId& reduction = cell(row, kReduction);
  if (isOneOf(code, kReductionCodes)) {
    form_->unProtect(reduction);
    if (form_->nonNull(reduction)) form_->minII(reduction, reduction, cell(row, kAmount));
    markOpenReduction(row);
  } else {
    form_->makeProtectedAndSetNull(reduction);
  }

  // Without a gross amount there is nothing for PA, and no PA amount of an
  // earlier calculation may stay behind.
  if (isOneOf(code, kPAAmountCodes) && gross > 0) {
    double x = form_->getIR(cell(row, kAmount)) - form_->getIR(reduction);
    if (x < 0) x = 0;
    setPAAmount(row, x);
  } else {
    form_->makeProtectedAndSetNull(cell(row, kPAAmount));
  }

  if (code == "7" && isOneOf(text(letter), kCode7Letters)) ++counters_.code7;

  form_->makeProtected(cell(row, kWithholding));
  form_->assignIR(cell(row, kWithholding), stateWithholding(kRFields, source));
}

void WorksheetCalc::fillFed57Row(int row, int kind) {
  const FormId& fed57 = kFormID_Fed57;
  // Whole dollars, as the form holds them.
  form_->assignIR(member(kJuryDutyPay), federal_.getIN(fed57, 1, kFed57FieldIds[213]));    // 90
  form_->assignIR(member(kFiduciaryFees), federal_.getIN(fed57, 1, kFed57FieldIds[214]));  // 91
  if (kind != 1 && kind != 2) return;
  const Fed57Kind& entry = kFed57Kinds[kind - 1];
  const double amount = federal_.getIN(fed57, 1, kFed57FieldIds[entry.member]);

  const FieldId& owner = cell(row, kOwner);
  if (filingStatus_ == 2) {
    form_->unProtect(owner);
    if (!isOneOf(text(owner), kOwnerTexts)) form_->assignText(owner, "T");
  } else {
    form_->makeProtected(owner);
    form_->assignText(owner, "T");
  }
  if (amount > 0) {
    form_->assignText(cell(row, kCodeLetter), entry.letter);
    form_->assignText(cell(row, kPayer), entry.description);
    form_->assignIR(cell(row, kAmount), amount);
  }
  form_->makeProtectedAndSetNull(cell(row, kDistributionCode));
  form_->makeProtectedAndSetNull(cell(row, kReduction));
  setPAAmount(row, amount);
  form_->makeProtectedAndSetNull(cell(row, kWithholding));
}

// Person totals of the amount, PA amount and withholding columns, and the
// K and L amounts by owner.
void WorksheetCalc::writeTotals() {
  const bool joint = filingStatus_ == 2;
  double amount[2] = {0, 0}, paAmount[2] = {0, 0}, withholding[2] = {0, 0};
  double kTotal[2] = {0, 0}, lTotal[2] = {0, 0};
  for (int row = 1; row <= kRows; ++row) {
    const std::string owner = text(cell(row, kOwner));
    const std::string letter = text(cell(row, kCodeLetter));
    const std::string code = text(cell(row, kDistributionCode));
    // A row without the spouse's letter is the taxpayer's.
    const int codeOwner = isOneOf(owner, kSpouseTexts) ? 1 : 0;
    const int person = joint ? codeOwner : 0;
    amount[person] += form_->getIR(cell(row, kAmount));
    paAmount[person] += form_->getIR(cell(row, kPAAmount));
    withholding[person] += form_->getIR(cell(row, kWithholding));

    if (isOneOf(code, kKAmountCodes) && isOneOf(letter, kKLetters)) {
      kTotal[codeOwner] += form_->getIR(cell(row, kAmount));
    }
    if (isOneOf(letter, kLLetters)) lTotal[codeOwner] += form_->getIR(cell(row, kAmount));
  }

  form_->assignIR(member(kTaxpayerPAAmount), paAmount[0]);
  form_->assignIR(member(kTaxpayerWithholding), withholding[0]);
  if (joint) {
    form_->assignIR(member(kSpousePAAmount), paAmount[1]);
    form_->assignIR(member(kSpouseWithholding), withholding[1]);
  } else {
    form_->setNull(member(kSpousePAAmount));
    form_->setNull(member(kSpouseWithholding));
  }
  form_->assignIR(member(kTaxpayerK), kTotal[0]);
  form_->assignIR(member(kSpouseK), kTotal[1]);
  form_->assignIR(member(kTaxpayerL), lTotal[0]);
  form_->assignIR(member(kSpouseL), lTotal[1]);
  form_->assignIR(member(kTaxpayerAmount), amount[0]);
  form_->assignIR(member(kSpouseAmount), amount[1]);
  form_->plus2(member(kTotalPAAmount), member(kTaxpayerPAAmount), member(kSpousePAAmount));
  form_->plus2(member(kTotalWithholding), member(kTaxpayerWithholding), member(kSpouseWithholding));
}

void WorksheetCalc::writeCountsAndMarks() {
  if (counters_.code7 > 0) {
    form_->setX(member(kCode7Mark));
  } else {
    form_->setXNo(member(kCode7Mark));
  }
  const std::pair<int, const CountedCode*> counted[] = {{counters_.h, &kHCode}, {counters_.m, &kMCode}};
  for (const auto& entry : counted) {
    const CountedCode& code = *entry.second;
    if (entry.first > 0) {
      form_->assignIR(member(code.countMember), entry.first);
      form_->unProtect(member(code.descriptionMember));
      if (form_->isNull(member(code.descriptionMember))) {
        form_->assignText(member(code.descriptionMember), code.defaultDescription);
      }
    } else {
      form_->makeProtectedAndSetNull(member(code.countMember));
      form_->makeProtectedAndSetNull(member(code.descriptionMember));
    }
  }
  if (counters_.secondCode > 0) {
    form_->assignIR(member(kSecondCodeCount), counters_.secondCode);
  } else {
    form_->setNull(member(kSecondCodeCount));
  }
}

// Rows in need of attention: a used row without a code letter A to L, and
// an open reduction left empty where the distribution code calls for one.
void WorksheetCalc::countProblems() {
  int problems = 0;
  for (int row = 1; row <= kRows; ++row) {
    bool used = false;
    for (int c = 0; c < kColumns && !used; ++c) {
      used = pa_.hasSigValue(kFormID_PAMiscCompWorksheet, copy_, cell(row, c));
    }
    if (!used) continue;
    if (!isValidCodeLetter(text(cell(row, kCodeLetter)))) ++problems;
    if (form_->isNull(cell(row, kReduction)) &&
        isOneOf(text(cell(row, kDistributionCode)), kProblemReductionCodes)) {
      ++problems;
    }
  }
  form_->assignIR(member(kProblemCount), problems);
}

}  // namespace

void PATaxReturnCalcEngine::computeMiscCompWorksheet(DataMgmt::TaxFormPtr form, uint16_t copy,
                                                     int /*passOn*/) {
  DataMgmt::USTaxReturn* federal = getFederalReturn();
  if (form.isNull() || paReturn == nullptr || federal == nullptr) return;
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);

  // Header: names, the PA-40 fields the worksheet shows, the marks the
  // rows set afresh.
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, member(kNameFields[0]), member(kNameFields[1]),
               Primitives::kNullFieldID, Primitives::kNullFieldID, member(kNameFields[2]),
               member(kNameFields[3]), Primitives::kNullFieldID, Primitives::kNullFieldID,
               Primitives::kNullFieldID, 0);
  for (const auto& pair : kPA40Copies) {
    paReturn->getII(kFormID_PA40, kPA40FieldIds[pair[1]], form, member(pair[0]));
  }
  form->setXNo(member(kChoiceNeededMark));
  form->setNull(member(kOpenReductionRows1To10));
  form->setNull(member(kOpenReductionRows11To20));
  form->setNull(member(kOpenReductionOtherCopy));
  if (copy == 1) {
    // Copies are calculated from the highest down, so every other copy's
    // mark already stands. The mark reads as 0 when summed as a number,
    // so the copies are asked for the mark itself.
    for (DataMgmt::TaxFormIter it = paReturn->getForms(kFormID_PAMiscCompWorksheet); !it.atEOL(); it.next()) {
      if (it.getTaxForm()->xMarked(member(kOpenReductionOtherCopy))) {
        form->setX(member(kOpenReductionOtherCopy));
        break;
      }
    }
  }

  WorksheetCalc calc(*paReturn, *federal, form, copy);
  calc.walkRows();
  calc.writeTotals();
  calc.writeCountsAndMarks();
  calc.countProblems();

  if (form->getIR(member(kTaxpayerAmount)) > 0 || form->getIR(member(kSpouseAmount)) > 0) {
    paReturn->setDataEntered(kFormID_PAMiscCompWorksheet, copy, true, false);
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
