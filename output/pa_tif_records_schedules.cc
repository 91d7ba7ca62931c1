// The PA records of the property schedules: "PAPASCHEM", every PA Schedule
// E copy as a numbered occurrence, and "PAPASCHDM", the sales of the
// Schedule D worksheet as transactions, with the Schedule D totals.
#include <cctype>
#include <cstring>
#include <string>

#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "output/pa_tif_file_writer.h"

namespace PATifWriteMgmt {

namespace {

using TifWriteMgmt::kTifCodeSize;
using TifWriteMgmt::kTifValueSize;

// ---- Schedule E ----

const OccurrenceLine kPropertyLines[] = {
    {20, PAScheduleE::kPropertyTypeCode},
    {25, PAScheduleE::kFederalPropertyText},
    {30, PAScheduleE::kPropertyDescription},
};

// A US property's ZIP code is the ZIP field's; the postal-code field holds
// only a foreign address's code.
const OccurrenceLine kUSAddressLines[] = {
    {45, PAScheduleE::kPropertyStreet},
    {50, PAScheduleE::kPropertyCity},
    {55, PAScheduleE::kPropertyState},
    {60, PAScheduleE::kPropertyZip},
};

const OccurrenceLine kForeignAddressLines[] = {
    {70, PAScheduleE::kPropertyStreet},   {75, PAScheduleE::kPropertyCity},
    {80, PAScheduleE::kPropertyCountry},  {85, PAScheduleE::kPropertyProvince},
    {90, PAScheduleE::kPropertyPostalCode},
};

const OccurrenceLine kExpenseLines[] = {
    {360, PAScheduleE::kAdvertising},
    {370, PAScheduleE::kAutoAndTravel},
    {380, PAScheduleE::kCleaningAndMaintenance},
    {390, PAScheduleE::kCommissions},
    {410, PAScheduleE::kInsurance},
    {420, PAScheduleE::kLegalAndProfessionalFees},
    {430, PAScheduleE::kManagementFees},
    {440, PAScheduleE::kMortgageInterest},
    {445, PAScheduleE::kOtherInterest},
    {450, PAScheduleE::kRepairs},
    {460, PAScheduleE::kSupplies},
    {470, PAScheduleE::kTaxes},
    {480, PAScheduleE::kUtilities},
    {490, PAScheduleE::kDepreciation},
};

// The result lines of a rental; a Form 4835 copy writes only these (and
// its rents).
const OccurrenceLine kResultLines[] = {
    {570, PAScheduleE::kTotalExpenses},
    {580, PAScheduleE::kNetIncome},
    {585, PAScheduleE::kDeductibleLoss},
};

// An owner box and its letter.
template <class Catalog>
struct OwnerMark {
  const NamedField<Catalog>& box;
  const char* letter;
};
// Schedule E's owner letter is the first marked of the three boxes.
const OwnerMark<PAScheduleEFieldIds> kOwnerMarks[] = {
    {PAScheduleE::kTaxpayerOwnerBox, "T"},
    {PAScheduleE::kSpouseOwnerBox, "S"},
    {PAScheduleE::kJointOwnerBox, "J"},
};

// The amounts summed over every copy, and their total lines.
const FieldLine kTotalLines[] = {
    {"01155.000.001", PAScheduleE::kShortTermRentalIncome},
    {"01165.000.001", PAScheduleE::kOtherRentalIncome},
    {"01170.000.001", PAScheduleE::kRK1Income},
    {"01190.000.001", PAScheduleE::kTotalIncome},
};

const char kOtherExpenses[] = "Other Expenses";

// ---- Schedule D ----

const FieldLine kScheduleDLines[] = {
    {"01350.000.001", PAScheduleD::kResidenceAddress},
    {"01360.000.001", PAScheduleD::kResidenceDateAcquired},
    {"01370.000.001", PAScheduleD::kResidenceDateSold},
    {"01380.000.001", PAScheduleD::kResidenceSalesPrice},
    {"01390.000.001", PAScheduleD::kResidenceCost},
    {"01400.000.001", PAScheduleD::kResidenceGain},
};

// Each marked owner box of Schedule D adds its letter.
const OwnerMark<PAScheduleDFieldIds> kScheduleDOwners[] = {
    {PAScheduleD::kTaxpayerBox, "T"},
    {PAScheduleD::kSpouseBox, "S"},
    {PAScheduleD::kJointBox, "J"},
};

// The totals of a record head, around the residence sale lines.
const FieldLine kScheduleDGainLines[] = {
    {"01280.000.001", PAScheduleD::kScheduleD1Gain},
    {"01290.000.001", PAScheduleD::kFirstClearedAmount},
    {"01300.000.001", PAScheduleD::kSecondClearedAmount},
    {"01310.000.001", PAScheduleD::kThirdClearedAmount},
    {"01320.000.001", PAScheduleD::kScheduleD71Gain},
    {"01330.000.001", PAScheduleD::kRK1Gain},
};
const FieldLine kScheduleDTotalLines[] = {
    {"01410.000.001", PAScheduleD::kRK1SecondGain},
    {"01420.000.001", PAScheduleD::kRK1ThirdGain},
    {"01425.000.001", PAScheduleD::kInsuranceAnnuityGain},
    {"01270.000.001", PAScheduleD::kSalesTotal},
    {"01430.000.001", PAScheduleD::kTotalGain},
};

const char kVarious[] = "VARIOUS";
const char kBankrupt[] = "Bankrupt";

// The pass that writes an owner's sales: 0 writes every owner, 1 the
// taxpayer's and 2 the spouse's; joint sales go in every pass.
bool ownerInPass(const std::string& owner, int mode) {
  switch (std::toupper(static_cast<unsigned char>(owner.empty() ? '\0' : owner[0]))) {
    case 'J': return true;
    case 'T': return mode == 0 || mode == 1;
    case 'S': return mode == 0 || mode == 2;
    default: return false;
  }
}

}  // namespace

long PATifFileWriter::splitJointAmount(long amount, const char* owner, bool lowerHalf) {
  if (owner == nullptr || std::strcmp(owner, "J") != 0) return amount;
  if (amount % 2 == 0) return amount / 2;
  return lowerHalf ? (amount - 1) / 2 : (amount + 1) / 2;
}

// The copies that hold data (those the calculation marks to print), as
// occurrences numbered from 1, and the totals over them; no record without
// one.
void PATifFileWriter::writePAPASCHEMRecord() {
  const FormId& form = kFormID_PAScheduleE;
  const int copies = paReturn->numFormCopies(form);
  long totals[4] = {0, 0, 0, 0};
  int occurrence = 0;
  for (int number = 1; number <= copies; ++number) {
    const uint16_t copy = static_cast<uint16_t>(number);
    if (!printFlagSet(form, copy)) continue;
    if (occurrence == 0) {
      outputTifSubHead("PAPASCHEM", 1, false);
      outputTifLine("00005.000.001", form, 1, PAScheduleE::kSalesTaxLicense, false);
      writeMarkLine("00010.000.001", form, 1, PAScheduleE::kSalesTaxLicenseYesBox);
    }
    writeScheduleECopy(copy, ++occurrence);
    for (int i = 0; i < 4; ++i) totals[i] += amountOf(form, copy, kTotalLines[i].field);
  }
  if (occurrence == 0) return;
  for (int i = 0; i < 4; ++i) outputTifLine(kTotalLines[i].code, totals[i], false);
}

// Copy `copy` of Schedule E as occurrence `occurrence` of the record.
void PATifFileWriter::writeScheduleECopy(uint16_t copy, int occurrence) {
  const FormId& form = kFormID_PAScheduleE;
  char code[kTifCodeSize];
  writeOccurrenceLines(form, copy, occurrence, kPropertyLines);
  writeMarkLine(lineCode(code, 35, 0, occurrence), form, copy, PAScheduleE::kLossDeductibleBox);
  if (isMarked(form, copy, PAScheduleE::kScheduleESourceBox)) {
    for (const OwnerMark<PAScheduleEFieldIds>& owner : kOwnerMarks) {
      if (!isMarked(form, copy, owner.box)) continue;
      outputTifLine(lineCode(code, 125, 0, occurrence), owner.letter, false);
      break;
    }
    writeMarkLine(lineCode(code, 127, 0, occurrence), form, copy, PAScheduleE::kPAPropertyYesBox);
    writeMarkLine(lineCode(code, 128, 0, occurrence), form, copy, PAScheduleE::kShortTermRentalYesBox);
    if (amountOf(form, copy, PAScheduleE::kRentsReceived) > 0) {
      if (returnOf(form)->formNo(form, copy, PAScheduleE::kForeignAddressBox)) {
        writeOccurrenceLines(form, copy, occurrence, kUSAddressLines);
      } else {
        writeOccurrenceLines(form, copy, occurrence, kForeignAddressLines);
      }
      outputTifLine(lineCode(code, 130, 0, occurrence), form, copy, PAScheduleE::kRentsReceived, false);
      writeScheduleEExpenses(copy, occurrence);
    } else if (amountOf(form, copy, PAScheduleE::kRoyaltiesReceived) > 0) {
      outputTifLine(lineCode(code, 140, 0, occurrence), form, copy, PAScheduleE::kRoyaltiesReceived,
                    false);
      writeScheduleEExpenses(copy, occurrence);
    }
  } else if (isMarked(form, copy, PAScheduleE::kForm4835SourceBox)) {
    outputTifLine(lineCode(code, 130, 0, occurrence), form, copy, PAScheduleE::kRentsReceived, false);
    writeOccurrenceLines(form, copy, occurrence, kResultLines);
  }
}

// The expense lines of the copy, then its other expenses: one described
// amount when a single one makes up the sum, else the sum.
void PATifFileWriter::writeScheduleEExpenses(uint16_t copy, int occurrence) {
  const FormId& form = kFormID_PAScheduleE;
  char code[kTifCodeSize];
  char line500[kTifCodeSize];
  writeOccurrenceLines(form, copy, occurrence, kExpenseLines);
  writeOccurrenceLines(form, copy, occurrence, kResultLines);
  const long first = amountOf(form, copy, PAScheduleE::kFirstOtherExpense);
  const long second = amountOf(form, copy, PAScheduleE::kSecondOtherExpense);
  const long sum = first + second + amountOf(form, copy, PAScheduleE::kThirdOtherExpense) +
                   amountOf(form, copy, PAScheduleE::kFourthOtherExpense);
  if (sum <= 0) return;
  lineCode(line500, 500, 0, occurrence);
  lineCode(code, 510, 0, occurrence);
  if (first == sum || second == sum) {
    const bool useFirst = first == sum;
    char text[kTifValueSize];
    textInto(text, form, copy,
             useFirst ? PAScheduleE::kFirstOtherExpenseText : PAScheduleE::kSecondOtherExpenseText);
    outputTifLine(line500, tifStringClean(text), false);
    outputTifLine(code, form, copy,
                  useFirst ? PAScheduleE::kFirstOtherExpense : PAScheduleE::kSecondOtherExpense,
                  false);
  } else {
    outputTifLine(line500, kOtherExpenses, false);
    outputTifLine(code, sum, false);
  }
}

void PATifFileWriter::writeScheduleDTransactions(uint16_t& recordCounter, int mode,
                                                 bool& splitFlag) {
  const FormId& sheet = kFormID_PAScheduleDWorksheet;
  const FormId& info = kFormID_PAReturnInfo;
  const bool fullYear = isMarked(info, 1, PAReturnInfo::kFullYearResidentBox);
  const bool notFullYear = isMarked(info, 1, PAReturnInfo::kNonresidentBox) ||
                           isMarked(info, 1, PAReturnInfo::kPartYearResidentBox);
  // Every sale row of every copy, the hand-filled rows after the federal
  // ones: their gains are in the Schedule D totals too.
  const NamedColumn<PAScheduleDWorksheetFieldIds>& taxableBox =
      PAScheduleDWorksheet::kRowTaxableInPABox;
  const int copies = paReturn->numFormCopies(sheet);
  int transaction = 1;
  bool newRecord = true;
  for (int number = 1; number <= copies; ++number) {
    const uint16_t copy = static_cast<uint16_t>(number);
    for (int row = 0; row < taxableBox.rows(); ++row) {
      // Outside a full-year return only a sale marked taxable in PA counts.
      if (!fullYear && !(notFullYear && isMarked(sheet, copy, taxableBox.at(row)))) continue;
      if (ownerInPass(textOf(sheet, copy, PAScheduleDWorksheet::kRowOwner.at(row)), mode)) {
        writePAPASCHDMRecord(transaction, recordCounter, mode, copy, row, newRecord, splitFlag);
        newRecord = false;
      }
      ++transaction;
    }
  }
}

void PATifFileWriter::writePAPASCHDMRecord(int transaction, uint16_t& recordCounter, int mode,
                                           uint16_t sheetCopy, int row, bool newRecord,
                                           bool& splitFlag) {
  if (newRecord) {
    outputTifSubHead("PAPASCHDM", recordCounter++, false);
    writeScheduleDTotals(mode == 2 ? 2 : 1);
  }
  char code[kTifCodeSize];
  outputTifLine(lineCode(code, 20, 0, transaction), kFormID_PAScheduleDWorksheet, sheetCopy,
                PAScheduleDWorksheet::kRowDescription.at(row), false);
  writeTransactionDates(transaction, sheetCopy, row);
  writeTransactionAmounts(transaction, sheetCopy, row, splitFlag);
}

// The totals of the Schedule D copy of a record: the taxpayer's (copy 1)
// or the spouse's (copy 2).
void PATifFileWriter::writeScheduleDTotals(uint16_t scheduleCopy) {
  const FormId& form = kFormID_PAScheduleD;
  writeScheduleDLines(scheduleCopy);
  for (const OwnerMark<PAScheduleDFieldIds>& owner : kScheduleDOwners) {
    outputTifLineCB("00018.000.001", form, scheduleCopy, owner.box, owner.letter, false);
  }
  writeFieldLines(form, scheduleCopy, kScheduleDGainLines);
  writeFieldLines(form, scheduleCopy, kScheduleDLines);  // the residence lines again
  writeFieldLines(form, scheduleCopy, kScheduleDTotalLines);
}

// A date acquired of exactly "VARIOUS" goes on its own code; a grouped sale
// names its description where the date sold would be, and a sale date of
// exactly "Bankrupt" goes there as it is.
void PATifFileWriter::writeTransactionDates(int transaction, uint16_t sheetCopy, int row) {
  const FormId& sheet = kFormID_PAScheduleDWorksheet;
  char code[kTifCodeSize];
  char date[kTifValueSize];
  textInto(date, sheet, sheetCopy, PAScheduleDWorksheet::kRowDateAcquired.at(row));
  if (std::strcmp(date, kVarious) == 0) {
    outputTifLine(lineCode(code, 27, 0, transaction), kVarious, false);
  } else {
    outputTifLine(lineCode(code, 25, 0, transaction), tifReformatDate(date), false);
  }
  textInto(date, sheet, sheetCopy, PAScheduleDWorksheet::kRowDateSold.at(row));
  if (isMarked(sheet, sheetCopy, PAScheduleDWorksheet::kRowGroupedSaleBox.at(row))) {
    outputTifLine(lineCode(code, 37, 0, transaction), sheet, sheetCopy,
                  PAScheduleDWorksheet::kRowDescription.at(row), false);
  } else if (std::strcmp(date, kBankrupt) == 0) {
    outputTifLine(lineCode(code, 37, 0, transaction), kBankrupt, false);
  } else {
    outputTifLine(lineCode(code, 30, 0, transaction), tifReformatDate(date), false);
  }
}

// The sale's price, cost and gain, a joint sale's as one side's share.
// The first pass takes the share with the larger gain, the second the
// smaller one; each joint sale whose odd unit changes the gain turns the
// flag, so the odd units alternate between the two sides.
void PATifFileWriter::writeTransactionAmounts(int transaction, uint16_t sheetCopy, int row,
                                              bool& splitFlag) {
  const FormId& sheet = kFormID_PAScheduleDWorksheet;
  const std::string owner = textOf(sheet, sheetCopy, PAScheduleDWorksheet::kRowOwner.at(row));
  const long price = amountOf(sheet, sheetCopy, PAScheduleDWorksheet::kRowSalesPrice.at(row));
  const long cost = amountOf(sheet, sheetCopy, PAScheduleDWorksheet::kRowCost.at(row));
  const long upperPrice = splitJointAmount(price, owner.c_str(), false);
  const long upperCost = splitJointAmount(cost, owner.c_str(), false);
  const long lowerPrice = splitJointAmount(price, owner.c_str(), true);
  const long lowerCost = splitJointAmount(cost, owner.c_str(), true);
  const long upperGain = upperPrice - upperCost;
  const long lowerGain = lowerPrice - lowerCost;
  const bool upper = splitFlag ? upperGain > lowerGain : upperGain <= lowerGain;
  char code[kTifCodeSize];
  outputTifLine(lineCode(code, 40, 0, transaction), upper ? upperPrice : lowerPrice, false);
  outputTifLine(lineCode(code, 50, 0, transaction), upper ? upperCost : lowerCost, false);
  outputTifLine(lineCode(code, 60, 0, transaction), upper ? upperGain : lowerGain, false);
  if (upperGain != lowerGain && !owner.empty() && owner[0] == 'J') splitFlag = !splitFlag;
}

// The residence sale lines of a Schedule D copy that has a gain there; the
// record head writes the same lines again with the totals.
void PATifFileWriter::writeScheduleDLines(uint16_t scheduleCopy) {
  if (amountOf(kFormID_PAScheduleD, scheduleCopy, PAScheduleD::kResidenceGain) <= 0) return;
  writeFieldLines(kFormID_PAScheduleD, scheduleCopy, kScheduleDLines);
}

}  // namespace PATifWriteMgmt
