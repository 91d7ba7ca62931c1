// Lines the PA writer adds at trigger fields of the two business
// schedules: Schedule UE (owner, employer and the office, education and
// moving expense detail) and Schedule C (owner, methods, the other-expense
// and depreciation rows, and the business address).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "calc/pa/schedules/schedule_ue_ratios.h"
#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "output/pa_tif_file_writer.h"
#include "output/pa_tif_rows.h"

namespace PATifWriteMgmt {

namespace {

using TifWriteMgmt::kTifCodeSize;
using TifWriteMgmt::kTifValueSize;

// ---- Schedule UE ----

const FieldLine kSpouseNameLines[] = {
    {"05000.001.001", PAReturnInfo::kSpouseFirstName},
    {"05000.002.001", PAReturnInfo::kSpouseMiddleInitial},
    {"05000.003.001", PAReturnInfo::kSpouseLastName},
    {"05000.004.001", PAReturnInfo::kSpouseNameSuffix},
};

const FieldLine kOfficeLines[] = {
    {"00440.000.001", PAScheduleUE::kOfficeFirstExpense},
    {"00450.000.001", PAScheduleUE::kOfficeSecondExpense},
    {"00460.000.001", PAScheduleUE::kOfficeThirdExpense},
    {"00470.000.001", PAScheduleUE::kOfficeFourthExpense},
    {"00480.000.001", PAScheduleUE::kOfficeFifthExpense},
    {"00500.000.001", PAScheduleUE::kOfficePropertyMaintenance},
    {"00520.000.001", PAScheduleUE::kOfficeOtherApportionable},
    {"00530.000.001", PAScheduleUE::kOfficeEighthExpense},
    {"00540.000.001", PAScheduleUE::kOfficeExpenseSubtotal},
    {"00560.000.001", PAScheduleUE::kOfficeAllowedPart},
    {"00570.000.001", PAScheduleUE::kOfficeFurtherAmount},
};

const FieldLine kOfficeMarkLines[] = {
    {"00410.000.001", PAScheduleUE::kOfficeFirstYesBox},
    {"00420.000.001", PAScheduleUE::kOfficeSecondYesBox},
    {"00430.000.001", PAScheduleUE::kOfficeThirdYesBox},
};

// An education answer: "1" for its first box, "0" for its second, none
// when neither is marked; the boxes are read in this order.
struct Answer {
  const char* code;
  const NamedField<PAScheduleUEFieldIds>& first;
  const char* firstText;
  const NamedField<PAScheduleUEFieldIds>& second;
  const char* secondText;
};
const Answer kEducationAnswers[] = {
    {"00690.000.001", PAScheduleUE::kEducationYesBox, "1", PAScheduleUE::kEducationNoBox, "0"},
    {"00700.000.001", PAScheduleUE::kFirstEducationQuestionYesBox, "1",
     PAScheduleUE::kFirstEducationQuestionNoBox, "0"},
    {"00710.000.001", PAScheduleUE::kSecondEducationQuestionNoBox, "0",
     PAScheduleUE::kSecondEducationQuestionYesBox, "1"},
};

const FieldLine kEducationLines[] = {
    {"00720.000.001", PAScheduleUE::kEducationalInstitution},
    {"00730.000.001", PAScheduleUE::kCourseOfStudy},
    {"00740.000.001", PAScheduleUE::kFirstEducationExpense},
    {"00750.000.001", PAScheduleUE::kSecondEducationExpense},
    {"00760.000.001", PAScheduleUE::kThirdEducationExpense},
};

const FieldLine kMovingLines[] = {
    {"00630.000.001", PAScheduleUE::kNewWorkplaceMiles},
    {"00640.000.001", PAScheduleUE::kOldWorkplaceMiles},
    {"00650.000.001", PAScheduleUE::kMovingDistance},
    {"00660.000.001", PAScheduleUE::kFirstMovingExpense},
    {"00670.000.001", PAScheduleUE::kSecondMovingExpense},
};

// A ratio the calculation keeps as a whole number of 10^-places, written as
// the ratio itself with `places` decimals (0.2500 for a quarter), like the
// percent fields; 0 stays as it is.
void writeRatio(char* value, int places) {
  if (std::atol(value) == 0) return;
  const double ratio = std::atof(value) / std::pow(10.0, places);
  std::snprintf(value, kTifValueSize, "%.*f", places + 2, ratio);
  TifWriteMgmt::TifFileWriter::tifConvertPercentToDecimal(value, places, 100);
}

// ---- Schedule C ----

// The owner's lines by the owner box marked: the code and the name.
struct BusinessOwner {
  const NamedField<PAScheduleCFieldIds>& box;
  const char* code;
  FieldLine names[4];
};
const BusinessOwner kBusinessOwners[] = {
    {PAScheduleC::kTaxpayerBox,
     "1",
     {{"00020.001.001", PAReturnInfo::kTaxpayerFirstName},
      {"00020.002.001", PAReturnInfo::kTaxpayerMiddleInitial},
      {"00020.003.001", PAReturnInfo::kTaxpayerLastName},
      {"00020.004.001", PAReturnInfo::kTaxpayerNameSuffix}}},
    {PAScheduleC::kSpouseBox,
     "2",
     {{"00020.001.001", PAReturnInfo::kSpouseFirstName},
      {"00020.002.001", PAReturnInfo::kSpouseMiddleInitial},
      {"00020.003.001", PAReturnInfo::kSpouseLastName},
      {"00020.004.001", PAReturnInfo::kSpouseNameSuffix}}},
};

// A method letter and its code in the data file.
struct MethodCode {
  const char* letter;
  const char* code;
};
const MethodCode kAccountingMethods[] = {{"C", "1"}, {"L", "2"}, {"O", "3"}};
const MethodCode kInventoryMethods[] = {{"A", "2"}, {"C", "1"}, {"O", "3"}};

// The code of `letter`, null for a letter not in the table.
template <std::size_t N>
const char* methodCode(const MethodCode (&table)[N], const std::string& letter) {
  for (const MethodCode& method : table) {
    if (letter == method.letter) return method.code;
  }
  return nullptr;
}

// A depreciation row: its description, then its date (written apart), then
// the amounts.
const ColumnLine<PAScheduleCFieldIds> kAssetNameLines[] = {{1290, PAScheduleC::kAssetDescription}};
const ColumnLine<PAScheduleCFieldIds> kAssetAmountLines[] = {
    {1310, PAScheduleC::kAssetBasis},  {1320, PAScheduleC::kAssetPriorDepreciation},
    {1330, PAScheduleC::kAssetMethod}, {1340, PAScheduleC::kAssetLife},
    {1350, PAScheduleC::kAssetDepreciation},
};

const FieldLine kForeignBusinessLines[] = {
    {"02250.000.001", FedScheduleC::kBusinessStreet},
    {"02255.000.001", FedScheduleC::kBusinessCity},
    {"02260.000.001", FedScheduleC::kForeignProvince},
    {"02265.000.001", FedScheduleC::kForeignCountryCode},
    {"02270.000.001", FedScheduleC::kForeignPostalCode},
};
const FieldLine kUSBusinessLines[] = {
    {"00060.000.001", PAScheduleC::kBusinessAddress},
    {"00080.000.001", PAScheduleC::kBusinessCity},
    {"00090.000.001", PAScheduleC::kBusinessState},
    {"00100.000.001", PAScheduleC::kBusinessZip},
};

}  // namespace

// ---- Schedule UE ----

void PATifFileWriter::convertScheduleUEOwnerField(FieldContext& field) {
  const bool taxpayer = isMarked(kFormID_PAScheduleUE, field.copy, PAScheduleUE::kTaxpayerBox);
  std::snprintf(field.value, kTifValueSize, "%s", taxpayer ? "T" : "S");
  outputTifLine("00015.000.001", kFormID_PAReturnInfo, 1,
                taxpayer ? PAReturnInfo::kTaxpayerSSN : PAReturnInfo::kSpouseSSN, false);
  writeScheduleUEDetail(field.copy);
}

void PATifFileWriter::convertScheduleUEPercentField(FieldContext& field) {
  writeRatio(field.value, PAScheduleUERatios::kOfficeRatioPlaces);
}

void PATifFileWriter::convertScheduleUEShareField(FieldContext& field) {
  writeRatio(field.value, PAScheduleUERatios::kBusinessSharePlaces);
}

void PATifFileWriter::convertScheduleUEEmployerField(FieldContext& field) {
  const FormId& form = kFormID_PAScheduleUE;
  char text[kTifValueSize];
  textInto(text, form, field.copy, PAScheduleUE::kEmployerAddress);
  outputTifLine("00030.000.001", Utils::removeChars(tifCleanAddressString(text), "/-"), false);
  textInto(text, form, field.copy, PAScheduleUE::kEmployerCity);
  outputTifLine("00050.000.001", Utils::removeChars(Utils::tifCleanNameString(text), "-"), false);
  textInto(text, form, field.copy, PAScheduleUE::kEmployerEIN);
  outputTifLine("00090.000.001", Utils::removeChars(text, "-"), false);
  if (!isMarked(form, field.copy, PAScheduleUE::kTaxpayerBox) &&
      isMarked(form, field.copy, PAScheduleUE::kSpouseBox)) {
    writeFieldLines(kFormID_PAReturnInfo, 1, kSpouseNameLines);
  }
}

void PATifFileWriter::convertScheduleUENameField(FieldContext& field) {
  Utils::tifCleanNameString(field.value);
}

void PATifFileWriter::writeScheduleUEDetail(uint16_t copy) {
  const FormId& form = kFormID_PAScheduleUE;
  if (amountOf(form, copy, PAScheduleUE::kOfficeExpenses) > 0) {
    for (const FieldLine& mark : kOfficeMarkLines) writeMarkLine(mark.code, form, copy, mark.field);
    writeFieldLines(form, copy, kOfficeLines);
  }
  if (amountOf(form, copy, PAScheduleUE::kEducationExpenses) > 0) {
    for (const Answer& answer : kEducationAnswers) {
      if (isMarked(form, copy, answer.first)) {
        outputTifLine(answer.code, answer.firstText, false);
      } else if (isMarked(form, copy, answer.second)) {
        outputTifLine(answer.code, answer.secondText, false);
      }
    }
    writeFieldLines(form, copy, kEducationLines);
  }
  if (amountOf(form, copy, PAScheduleUE::kMovingExpenses) > 0) {
    writeFieldLines(form, copy, kMovingLines);
  }
}

// ---- Schedule C ----

void PATifFileWriter::convertScheduleCOwnerField(FieldContext& field) {
  const FormId& form = kFormID_PAScheduleC;
  writeScheduleCOwnerLines(field.copy);
  if (amountOf(form, field.copy, PAScheduleC::kTotalOtherExpenses) > 0) {
    writeScheduleCAmountRows(field.form, field.copy);
  }
  if (amountOf(form, field.copy, PAScheduleC::kTotalAssetBasis) > 0) {
    writeScheduleCDatedRows(field.form);
  }
  writeScheduleCFederalLines(field.copy);
}

void PATifFileWriter::convertScheduleCAnswerField(FieldContext& field) {
  std::snprintf(field.value, kTifValueSize, "%s", field.value[0] == 'Y' ? "1" : "0");
}

void PATifFileWriter::writeScheduleCOwnerLines(uint16_t copy) {
  const FormId& form = kFormID_PAScheduleC;
  for (const BusinessOwner& owner : kBusinessOwners) {
    if (!isMarked(form, copy, owner.box)) continue;
    outputTifLine("00008.000.001", owner.code, false);
    writeFieldLines(kFormID_PAReturnInfo, 1, owner.names);
    break;
  }
  const char* accounting =
      methodCode(kAccountingMethods, textOf(form, copy, PAScheduleC::kAccountingMethod));
  if (accounting != nullptr) outputTifLine("00120.000.001", accounting, false);
  const char* inventory =
      methodCode(kInventoryMethods, textOf(form, copy, PAScheduleC::kInventoryMethod));
  if (inventory != nullptr) outputTifLine("00140.000.001", inventory, false);
}

// Every other-expense row with an amount above zero (the home office's and
// the federal ones), numbered from 1.
void PATifFileWriter::writeScheduleCAmountRows(DataMgmt::TaxFormPtr form, uint16_t copy) {
  if (form.isNull()) return;
  char code[kTifCodeSize];
  int occurrence = 1;
  for (int row = 0; row < PAScheduleC::kOtherExpenseAmount.rows(); ++row) {
    const FieldId& amount = PAScheduleC::kOtherExpenseAmount.at(row);
    if (!form->gtZero(amount)) continue;
    outputTifLine(lineCode(code, 540, 0, occurrence), kFormID_PAScheduleC, copy,
                  PAScheduleC::kOtherExpenseDescription.at(row), false);
    outputTifLine(lineCode(code, 550, 0, occurrence), kFormID_PAScheduleC, copy, amount, false);
    ++occurrence;
  }
}

// Every depreciation row of the copy being converted, as occurrence row + 1;
// the date goes out as "YYYY-MM-DD".
void PATifFileWriter::writeScheduleCDatedRows(DataMgmt::TaxFormPtr form) {
  if (form.isNull()) return;
  const uint16_t copy = form->getCopyNumber();
  const FormId& formId = kFormID_PAScheduleC;
  char code[kTifCodeSize];
  for (int row = 0; row < PAScheduleC::kAssetDate.rows(); ++row) {
    const int occurrence = row + 1;
    std::vector<OccurrenceLine> lines = rowLines(kAssetNameLines, row);
    writeOccurrenceLines(formId, copy, occurrence, lines);
    char date[kTifValueSize];
    if (textInto(date, formId, copy, PAScheduleC::kAssetDate.at(row))[0] != '\0') {
      outputTifLine(lineCode(code, 1300, 0, occurrence),
                    Utils::replaceChars(tifReformatDate(date), '/', '-'), false);
    }
    lines = rowLines(kAssetAmountLines, row);
    writeOccurrenceLines(formId, copy, occurrence, lines);
  }
}

void PATifFileWriter::writeScheduleCFederalLines(uint16_t copy) {
  if (isMarked(kFormID_FedScheduleC, copy, FedScheduleC::kForeignAddressBox)) {
    writeFieldLines(kFormID_FedScheduleC, copy, kForeignBusinessLines);
  } else {
    writeFieldLines(kFormID_PAScheduleC, copy, kUSBusinessLines);
  }
}

}  // namespace PATifWriteMgmt
