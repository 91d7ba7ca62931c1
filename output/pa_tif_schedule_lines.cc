// Lines the PA writer adds at trigger fields of the PA-40 and the smaller
// schedules without a record of their own: school district, Schedule SP's
// print code, answers and dependents, gambling winnings, the deductions
// schedule's rows, direct deposit or debit, and the owner codes of
// Schedules A and B.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "output/pa_tif_file_writer.h"
#include "output/pa_tif_rows.h"

namespace PATifWriteMgmt {

namespace {

using TifWriteMgmt::kTifCodeSize;
using TifWriteMgmt::kTifValueSize;

void clear(char* value) { value[0] = '\0'; }

// Schedule SP's print code: the first marked box's letter.
struct PrintCode {
  const NamedField<PAScheduleSPFieldIds>& box;
  const char* letter;
};
const PrintCode kSPPrintCodes[] = {
    {PAScheduleSP::kUnmarriedBox, "U"},
    {PAScheduleSP::kSeparatedBox, "U"},
    {PAScheduleSP::kDeceasedBox, "D"},
    {PAScheduleSP::kMarriedBox, "M"},
};

const FieldLine kSPSpouseLines[] = {
    {"00020.001.001", PAScheduleSP::kSpouseFirstName},
    {"00020.002.001", PAScheduleSP::kSpouseMiddleInitial},
    {"00020.003.001", PAScheduleSP::kSpouseLastName},
    {"00020.004.001", PAScheduleSP::kSpouseSuffix},
    {"00025.000.001", PAScheduleSP::kSpouseSSN},
};

// Dependents the data file lists: children of the filer, compared
// without regard to case.
const char* const kChildRelationships[] = {
    "SON",        "DAUGHTER",         "STEPCHILD",   "GRANDCHILD",
    "GREAT GRANDCHILD", "ADOPTED SON", "ADOPTED DAUGHTER", "FOSTERCHILD",
};

bool isChild(const std::string& relationship) {
  for (const char* child : kChildRelationships) {
    if (Utils::OVStringUtils::stricmp(relationship, child) == 0) return true;
  }
  return false;
}

const FieldLine kGamblingLines[] = {
    {"00070.000.001", PAW2GIncome::kSpouseW2GRemainderCarried},
    {"00080.000.001", PAW2GIncome::kSpouseOtherRemainderCarried},
    {"00090.000.001", PAW2GIncome::kSpouseWinningsBeforeLosses},
    {"00100.000.001", PAW2GIncome::kSpouseLossesUsed},
    {"00110.000.001", PAW2GIncome::kSpouseNetWinnings},
};

// The deductions schedule's two tables of beneficiary rows; a row counts
// when its name is filled in.
const ColumnLine<PADeductionsFieldIds> kTuitionRowLines[] = {
    {20, PADeductions::kTuitionBeneficiaryName},
    {30, PADeductions::kTuitionBeneficiarySSN},
    {40, PADeductions::kTaxpayerTuitionContribution},
    {50, PADeductions::kSpouseTuitionContribution},
};
const ColumnLine<PADeductionsFieldIds> kAbleRowLines[] = {
    {70, PADeductions::kAbleBeneficiaryName},
    {80, PADeductions::kAbleBeneficiarySSN},
    {90, PADeductions::kTaxpayerAbleContribution},
    {100, PADeductions::kSpouseAbleContribution},
};

// Refund by direct deposit, or payment by direct debit.
const FieldLine kDepositLines[] = {
    {"00200.000.001", PAReturnInfo::kDepositRoutingNumber},
    {"00205.000.001", PAReturnInfo::kDepositAccountNumber},
};
const FieldLine kDebitLines[] = {
    {"00250.000.001", PAReturnInfo::kDebitDate},
    {"00260.000.001", PAReturnInfo::kDebitAmount},
};
const FieldLine kDebitAccountLines[] = {
    {"04060.000.001", PAReturnInfo::kDebitRoutingNumber},
    {"04070.000.001", PAReturnInfo::kDebitAccountNumber},
};

}  // namespace

// ---- PA-40 header: school district and Schedule SP ----

void PATifFileWriter::writeSchoolDistrictNameLine() {
  char name[kTifValueSize];
  if (textInto(name, kFormID_PAReturnInfo, 1, PAReturnInfo::kSchoolDistrict)[0] == '\0') return;
  outputTifLineMixedCase("00310.003.001", Utils::replaceChars(name, '-', ' '), false);
}

void PATifFileWriter::writeSchoolDistrictCodeLine() {
  const std::string text = textOf(kFormID_PAReturnInfo, 1, PAReturnInfo::kSchoolCode);
  char code[kTifValueSize];
  std::snprintf(code, sizeof code, "%05ld", std::atol(text.c_str()));
  outputTifLine("00310.004.001", code, false);
}

void PATifFileWriter::writeScheduleSPPrintedLine() {
  if (!printFlagSet(kFormID_PAScheduleSP, 1)) return;
  const char* letter = "";
  for (const PrintCode& code : kSPPrintCodes) {
    if (!isMarked(kFormID_PAScheduleSP, 1, code.box)) continue;
    letter = code.letter;
    break;
  }
  outputTifLine("00315.008.001", letter, false);
}

// ---- Schedule SP ----

void PATifFileWriter::convertScheduleSPFilerField(FieldContext& field) {
  writeDependentLines();
  const bool claimed = isMarked(kFormID_PAScheduleSP, 1, PAScheduleSP::kTaxpayerClaimedYesBox);
  outputTifLine("00027.000.001", claimed ? "1" : "0", false);
  if (claimed) {
    writeMarkLine("00029.000.001", kFormID_PAScheduleSP, 1, PAScheduleSP::kTaxpayerClaimantYesBox);
  }
  clear(field.value);
}

void PATifFileWriter::convertScheduleSPSpouseField(FieldContext& field) {
  if (field.value[0] == '\0') return;
  writeFieldLines(kFormID_PAScheduleSP, 1, kSPSpouseLines);
}

void PATifFileWriter::writeDependentLines() {
  if (federalReturn.isNull()) return;
  const FormId& form = kFormID_FedDependents;
  const int copies = federalReturn->numFormCopies(form);
  int occurrence = 1;
  char code[kTifCodeSize];
  for (int number = 1; number <= copies; ++number) {
    const uint16_t copy = static_cast<uint16_t>(number);
    const std::string relationship = textOf(form, copy, FedDependents::kRelationship);
    if (!isChild(relationship)) continue;
    const std::string first = textOf(form, copy, FedDependents::kFirstName);
    if (!first.empty()) {
      std::string name = first;
      for (const std::string& part : {textOf(form, copy, FedDependents::kMiddleInitial),
                                      textOf(form, copy, FedDependents::kLastName)}) {
        if (!part.empty()) name += " " + part;
      }
      char cleaned[kTifValueSize];
      Utils::safestrncpy(cleaned, name.c_str(), sizeof cleaned);
      outputTifLine(lineCode(code, 210, 0, occurrence), Utils::tifCleanNameString(cleaned), false);
    }
    outputTifLine(lineCode(code, 220, 0, occurrence), form, copy, FedDependents::kAge, false);
    outputTifLine(lineCode(code, 230, 0, occurrence), relationship.c_str(), false);
    outputTifLine(lineCode(code, 240, 0, occurrence), form, copy, FedDependents::kSsn, false);
    ++occurrence;
  }
}

// ---- gambling winnings, deductions, direct deposit ----

void PATifFileWriter::convertGamblingField(FieldContext& field) {
  clear(field.value);
  writeFieldLines(kFormID_PAW2GIncome, 1, kGamblingLines);
}

void PATifFileWriter::convertDeductionsField(FieldContext& field) {
  clear(field.value);
  writeScheduleORows(field.form);
}

// Each table's rows that have a name, numbered from 1, tested on and
// written from the copy being converted.
void PATifFileWriter::writeScheduleORows(DataMgmt::TaxFormPtr form) {
  if (form.isNull()) return;
  const uint16_t copy = form->getCopyNumber();
  auto writeRows = [&](const auto& table) {
    int occurrence = 1;
    for (int row = 0; row < table[0].column.rows(); ++row) {
      if (form->isNull(table[0].column.at(row))) continue;
      const std::vector<OccurrenceLine> lines = rowLines(table, row);
      writeOccurrenceLines(kFormID_PADeductions, copy, occurrence++, lines);
    }
  };
  writeRows(kTuitionRowLines);
  writeRows(kAbleRowLines);
}

void PATifFileWriter::convertDirectDepositField(FieldContext& field) {
  clear(field.value);
  writeDirectDepositLines();
}

// A refund deposited wins over a payment debited.
void PATifFileWriter::writeDirectDepositLines() {
  const FormId& deposit = kFormID_PADirectDepositDebit;
  const FormId& info = kFormID_PAReturnInfo;
  outputRefundCodeLine("00240.000.001");
  if (amountOf(deposit, 1, PADirectDepositDebit::kRefund) > 0 &&
      isMarked(deposit, 1, PADirectDepositDebit::kDirectDepositBox)) {
    outputTifLine("00024.000.001", "1", false);
    writeFieldLines(info, 1, kDepositLines);
    outputTifLineCB("00210.000.001", info, 1, PAReturnInfo::kDepositCheckingBox, "X", false);
    outputTifLineCB("00215.000.001", info, 1, PAReturnInfo::kDepositSavingsBox, "X", false);
    outputTifLine("04000.000.001", deposit, 1, PADirectDepositDebit::kDaytimePhone, false);
    outputTifLine("04020.000.001", "X", false);
  } else if (amountOf(deposit, 1, PADirectDepositDebit::kAmountOwed) > 0 &&
             isMarked(deposit, 1, PADirectDepositDebit::kDirectDebitBox)) {
    outputTifLine("00024.000.001", 2, false);
    writeFieldLines(info, 1, kDebitLines);
    outputTifLineCB("04040.000.001", info, 1, PAReturnInfo::kDebitCheckingBox, "X", false);
    outputTifLineCB("04050.000.001", info, 1, PAReturnInfo::kDebitSavingsBox, "X", false);
    writeFieldLines(info, 1, kDebitAccountLines);
    outputTifLine("04080.000.001", "X", false);
  }
}

// ---- Schedules A and B: owner code ----

// The owner letter of the marks of this copy; the last marked one wins,
// and with none marked the value stays.
void PATifFileWriter::convertScheduleAOwnerField(FieldContext& field) {
  const FieldId* boxes[] = {&PAScheduleA::kTaxpayerBox.id(), &PAScheduleA::kSpouseBox.id(),
                            &PAScheduleA::kJointBox.id()};
  writeOwnerLetter(field, boxes);
}

void PATifFileWriter::convertScheduleBOwnerField(FieldContext& field) {
  const FieldId* boxes[] = {&PAScheduleB::kTaxpayerBox.id(), &PAScheduleB::kSpouseBox.id(),
                            &PAScheduleB::kJointBox.id()};
  writeOwnerLetter(field, boxes);
}

void PATifFileWriter::writeOwnerLetter(FieldContext& field, const FieldId* const (&boxes)[3]) {
  static const char* const kLetters[] = {"T", "S", "J"};
  if (field.form.isNull()) return;
  for (int i = 0; i < 3; ++i) {
    if (field.form->xMarked(*boxes[i])) std::snprintf(field.value, kTifValueSize, "%s", kLetters[i]);
  }
}

}  // namespace PATifWriteMgmt
