// The PA-40's trigger fields in the data file: codes rewritten in place,
// the header's extra lines at the taxpayer's number, and the two fields at
// which the PA records are written (field 15: Schedule D; field 42781: the
// statements and every other record).
#include <cstdio>
#include <cstring>

#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"
#include "output/pa_tif_file_writer.h"
#include "return/return_codes.h"

namespace PATifWriteMgmt {

namespace {

using TifWriteMgmt::kTifValueSize;

const char kMovedFromPA[] = "Moved from PA";

// The spouse's name lines of a joint return.
const FieldLine kJointNameLines[] = {
    {"00065.001.001", PAReturnInfo::kSpouseLastName},
    {"00065.002.001", PAReturnInfo::kSpouseNameSuffix},
    {"00070.003.001", PAReturnInfo::kSpouseFirstName},
    {"00070.004.001", PAReturnInfo::kSpouseMiddleInitial},
};

void clear(char* value) { value[0] = '\0'; }

// The month and day of a date of the tax year as the calculation keeps it,
// "MMDD" or "MM/DD/YY" (the year may have four digits): true with the four
// digits in `monthDay`.
bool readMonthDay(const char* value, char (&monthDay)[5]) {
  const std::size_t length = std::strlen(value);
  const bool slashed = (length == 8 || length == 10) && value[2] == '/' && value[5] == '/';
  if (length != 4 && !slashed) return false;
  const char digits[4] = {value[0], value[1], value[slashed ? 3 : 2], value[slashed ? 4 : 3]};
  for (std::size_t i = slashed ? 6 : 4; i < length; ++i) {
    if (!Utils::isDigit(value[i])) return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (!Utils::isDigit(digits[i])) return false;
    monthDay[i] = digits[i];
  }
  monthDay[4] = '\0';
  return true;
}

}  // namespace

void PATifFileWriter::convertSchoolDistrictField(FieldContext& field) {
  clear(field.value);
  writeSchoolDistrictNameLine();
  writeSchoolDistrictCodeLine();
  writeScheduleSPPrintedLine();
  outputTifLine("00315.003.001", kFormID_FedFilerInfo, 1, FedFilerInfo::kTaxpayerOccupation, false);
  if (isMarked(kFormID_PAReturnInfo, 1, PAReturnInfo::kJointBox)) {
    writeFieldLines(kFormID_PAReturnInfo, 1, kJointNameLines);
    outputTifLine("00315.004.001", kFormID_FedFilerInfo, 1, FedFilerInfo::kSpouseOccupation, false);
  }
  outputTifLine("00320.000.001", kFormID_FedFilerInfo, 1, FedFilerInfo::kPractitionerPin, false);
}

void PATifFileWriter::convertDeductionCodeField(FieldContext& field) {
  const long deductions = field.form.isNull()
                              ? amountOf(kFormID_PA40, field.copy, PA40::kOtherDeductions)
                              : field.form->getIN(PA40::kOtherDeductions);
  if (deductions == 0) clear(field.value);
}

// "F" (moved from PA) keeps its letter and adds a line; "M" (married,
// filing separately) moves to the spouse's lines.
void PATifFileWriter::convertFilingStatusCodeField(FieldContext& field) {
  if (field.value[0] == 'F') {
    outputTifLine("00305.002.001", kMovedFromPA, false);
  } else if (field.value[0] == 'M') {
    outputTifLine("00310.005.001", "M", false);
    if (!textOf(kFormID_FedFilerInfo, 1, FedFilerInfo::kSpouseSsn).empty()) {
      outputTifLine("00310.007.001", kFormID_FedFilerInfo, 1, FedFilerInfo::kSpouseSsn, false);
    } else {
      outputTifLine("00310.007.001", kFormID_PAReturnInfo, 1, PAReturnInfo::kSpouseSSNSecondEntry,
                    false);
    }
    clear(field.value);
  }
}

void PATifFileWriter::convertYesCodeField(FieldContext& field) {
  if (field.value[0] == 'Y') {
    std::snprintf(field.value, kTifValueSize, "X");
  } else {
    clear(field.value);
  }
}

// A part-year resident's date becomes a full date of the tax year,
// "2018-04-15". Any other text is left as it is.
void PATifFileWriter::convertPartYearDateField(FieldContext& field) {
  if (!isMarked(kFormID_PAReturnInfo, 1, PAReturnInfo::kPartYearResidentBox)) return;
  char monthDay[5];
  if (!readMonthDay(field.value, monthDay)) return;
  std::snprintf(field.value, kTifValueSize, "%s-%c%c-%c%c", kYearText2018, monthDay[0],
                monthDay[1], monthDay[2], monthDay[3]);
}

void PATifFileWriter::convertFarmerField(FieldContext& field) {
  if (isMarked(kFormID_PAReturnInfo, 1, PAReturnInfo::kFarmerYesBox)) {
    std::snprintf(field.value, kTifValueSize, "X");
  } else {
    clear(field.value);
  }
}

// A joint return writes its sales in two records, the taxpayer's and the
// spouse's, each with a share of the joint sales; other returns in one.
void PATifFileWriter::convertScheduleDTrigger(FieldContext&) {
  if (amountOf(kFormID_PA40, 1, PA40::kNetGain) == 0) return;
  DataMgmt::TaxReturn* pa = paReturn;
  if (!pa->hasSigValue(kFormID_PAScheduleD, 1, PAScheduleD::kWorksheetReference) &&
      !pa->hasSigValue(kFormID_PAScheduleD, 2, PAScheduleD::kWorksheetReference)) {
    return;
  }
  const bool joint = paReturn->readFilingStatus(kFormID_PAReturnInfo) == PADataMgmt::kFilingJoint;
  uint16_t recordCounter = 1;
  bool splitFlag = true;
  writeScheduleDTransactions(recordCounter, joint ? 1 : 0, splitFlag);
  if (joint) {
    splitFlag = false;
    writeScheduleDTransactions(recordCounter, 2, splitFlag);
  }
}

// The statements, then the return's other records. A person whose
// statement box the calculation marked (military pay, a wage difference on
// Schedule W2-S, a W-2 withheld above the rate) has a statement, the
// taxpayer's first, numbered from 1.
void PATifFileWriter::convertStatementTrigger(FieldContext&) {
  uint16_t number = 0;
  if (isMarked(kFormID_PA40, 1, PA40::kTaxpayerStatementBox)) writeStatementRecord(false, ++number);
  if (isMarked(kFormID_PA40, 1, PA40::kSpouseStatementBox)) writeStatementRecord(true, ++number);
  writePAPARTNHDRRecord();
  writePAPAAUTHDRRecord();
  writePAPASCHW2MRecord();
  writePAPA1099GRecord();
  writePAPASCHEMRecord();
}

}  // namespace PATifWriteMgmt
