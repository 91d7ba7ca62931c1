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

// Exactly four digits, month then day.
bool isMonthDay(const char* value) {
  if (std::strlen(value) != 4) return false;
  for (int i = 0; i < 4; ++i) {
    if (!Utils::isDigit(value[i])) return false;
  }
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

// A part-year resident's date "MMDD" becomes a full date of the tax year.
// Any other text (a shorter one included) is left as it is.
void PATifFileWriter::convertPartYearDateField(FieldContext& field) {
  if (!isMarked(kFormID_PAReturnInfo, 1, PAReturnInfo::kPartYearResidentBox)) return;
  if (!isMonthDay(field.value)) return;
  char monthDay[5];
  std::memcpy(monthDay, field.value, sizeof monthDay);
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

// The statements (taxpayer's first, numbered from 1; none for a person
// whose military-pay amount is zero), then the return's other records.
void PATifFileWriter::convertStatementTrigger(FieldContext&) {
  bool taxpayerPending = isMarked(kFormID_PA40, 1, PA40::kTaxpayerStatementBox);
  bool spousePending = isMarked(kFormID_PA40, 1, PA40::kSpouseStatementBox);
  const int passes = (taxpayerPending ? 1 : 0) + (spousePending ? 1 : 0);
  for (int pass = 1; pass <= passes; ++pass) {
    const uint16_t number = static_cast<uint16_t>(pass);
    if (taxpayerPending && amountOf(kFormID_PA40, 1, PA40::kTaxpayerMilitaryPay) != 0) {
      writeStatementRecord(false, number);
      taxpayerPending = false;
    } else if (spousePending && amountOf(kFormID_PA40, 1, PA40::kSpouseMilitaryPay) != 0) {
      writeStatementRecord(true, number);
      spousePending = false;
    }
  }
  writePAPARTNHDRRecord();
  writePAPAAUTHDRRecord();
  writePAPASCHW2MRecord();
  writePAPA1099GRecord();
  writePAPASCHEMRecord();
}

}  // namespace PATifWriteMgmt
