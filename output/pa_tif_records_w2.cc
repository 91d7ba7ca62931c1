// The repeating PA records of the compensation statements: the W-2
// schedule "PAPASCHW2M" (rows of the PA W-2s and of the miscellaneous
// compensation worksheet, and the Schedule W2-S totals) and one
// "PAPA1099G" per federal Form 1099-G with Pennsylvania amounts.
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"
#include "output/pa_tif_file_writer.h"
#include "output/pa_tif_rows.h"

namespace PATifWriteMgmt {

namespace {

using TifWriteMgmt::kTifValueSize;
using Utils::OVStringUtils;

// A PA W-2 row counts when its employer number is filled in.
const ColumnLine<PAW2FieldIds> kW2RowLines[] = {
    {20, PAW2::kRowOwner},
    {30, PAW2::kRowEmployerEIN},
    {40, PAW2::kRowFederalWages},
    {50, PAW2::kRowOtherAmount},
    {60, PAW2::kRowPACompensation},
    {70, PAW2::kRowPATaxWithheld},
};
const NamedColumn<PAW2FieldIds>& kW2RowTest = PAW2::kRowEmployerEIN;

// A worksheet row counts when its code letter is filled in.
const ColumnLine<PAMiscCompWorksheetFieldIds> kMiscCompRowLines[] = {
    {880, PAMiscCompWorksheet::kRowOwner},
    {885, PAMiscCompWorksheet::kRowCodeLetter},
    {890, PAMiscCompWorksheet::kRowPayer},
    {900, PAMiscCompWorksheet::kRowDistributionCode},
    {910, PAMiscCompWorksheet::kRowAmount},
    {920, PAMiscCompWorksheet::kRowReduction},
    {930, PAMiscCompWorksheet::kRowPACompensation},
    {940, PAMiscCompWorksheet::kRowPAWithholding},
};
const NamedColumn<PAMiscCompWorksheetFieldIds>& kMiscCompRowTest =
    PAMiscCompWorksheet::kRowCodeLetter;

const FieldLine kW2STotalLines[] = {
    {"00860.000.001", PAScheduleW2S::kWagesTotalPACompensation},
    {"00870.000.001", PAScheduleW2S::kWagesTotalPATaxWithheld},
    {"01580.000.001", PAScheduleW2S::kMiscCompTotalPACompensation},
    {"01590.000.001", PAScheduleW2S::kMiscCompTotalPATaxWithheld},
    {"01600.000.001", PAScheduleW2S::kTotalPACompensation},
    {"01610.000.001", PAScheduleW2S::kTotalPATaxWithheld},
};

// ---- 1099-G ----

const char kPA[] = "PA";

const FieldLine kPayerLines[] = {
    {"00020.000.001", Fed1099G::kPayerName},
    {"00095.000.001", Fed1099G::kPayerId},
};

// Four address lines, written only when all four texts are there.
const FieldLine kPayerAddressLines[] = {
    {"00040.000.001", Fed1099G::kPayerStreet},
    {"00045.000.001", Fed1099G::kPayerCity},
    {"00050.000.001", Fed1099G::kPayerState},
    {"00055.000.001", Fed1099G::kPayerZip},
};
const FieldLine kRecipientAddressLines[] = {
    {"00110.000.001", Fed1099G::kRecipientStreet},
    {"00115.000.001", Fed1099G::kRecipientCity},
    {"00120.000.001", Fed1099G::kRecipientState},
    {"00125.000.001", Fed1099G::kRecipientZip},
};

// The two state slots of the form: amount withheld, state and state
// number, written on lines 215, 220 and 225.
struct StateSlot {
  const NamedField<Fed1099GFieldIds>& withheld;
  const NamedField<Fed1099GFieldIds>& state;
  const NamedField<Fed1099GFieldIds>& stateId;
};
const StateSlot kStateSlots[] = {
    {Fed1099G::kStateTaxWithheld, Fed1099G::kState, Fed1099G::kStateId},
    {Fed1099G::kSecondStateTaxWithheld, Fed1099G::kSecondState, Fed1099G::kSecondStateId},
};
const int kStateLineNumbers[] = {215, 220, 225};

}  // namespace

void PATifFileWriter::writeAddressLines(const FormId& formId, uint16_t copy,
                                        const FieldLine (&lines)[4]) {
  char texts[4][kTifValueSize];
  for (int i = 0; i < 4; ++i) {
    if (tifCleanAddressString(textInto(texts[i], formId, copy, lines[i].field))[0] == '\0') return;
  }
  for (int i = 0; i < 4; ++i) outputTifLine(lines[i].code, texts[i], false);
}

// One record: the rows of every PA W-2 copy numbered on from the last, then
// those of every worksheet copy, then the Schedule W2-S totals. Without a
// PA W-2 copy, or without a row to write, there is no record.
void PATifFileWriter::writePAPASCHW2MRecord() {
  const int w2Copies = paReturn->numFormCopies(kFormID_PAW2);
  if (w2Copies == 0) return;
  bool opened = false;
  // The rows of every copy whose test field is filled in, numbered from 1.
  auto writeRows = [&](const FormId& form, int copies, const auto& table, const auto& test) {
    int occurrence = 1;
    for (int number = 1; number <= copies; ++number) {
      const uint16_t copy = static_cast<uint16_t>(number);
      for (int row = 0; row < test.rows(); ++row) {
        if (!paReturn->hasSigValue(form, copy, test.at(row))) continue;
        if (!opened) outputTifSubHead("PAPASCHW2M", 1, false);
        opened = true;
        const std::vector<OccurrenceLine> lines = rowLines(table, row);
        writeOccurrenceLines(form, copy, occurrence++, lines);
      }
    }
  };
  writeRows(kFormID_PAW2, w2Copies, kW2RowLines, kW2RowTest);
  writeRows(kFormID_PAMiscCompWorksheet, paReturn->numFormCopies(kFormID_PAMiscCompWorksheet),
            kMiscCompRowLines, kMiscCompRowTest);
  if (opened) writeFieldLines(kFormID_PAScheduleW2S, 1, kW2STotalLines);
}

void PATifFileWriter::writePAPA1099GRecord() {
  if (federalReturn.isNull()) return;
  const int copies = federalReturn->numFormCopies(kFormID_Fed1099G);
  uint16_t record = 1;
  for (int number = 1; number <= copies; ++number) {
    const uint16_t copy = static_cast<uint16_t>(number);
    if (!has1099GRecord(copy)) continue;
    outputTifSubHead("PAPA1099G", record++, false);
    write1099GLines(copy);
  }
}

// Only an unemployment form with an amount withheld for PA, the state
// written exactly "PA", has a record.
bool PATifFileWriter::has1099GRecord(uint16_t copy) const {
  const FormId& form = kFormID_Fed1099G;
  if (!isMarked(form, copy, Fed1099G::kUnemploymentBox)) return false;
  for (const StateSlot& slot : kStateSlots) {
    if (textOf(form, copy, slot.state) == kPA && amountOf(form, copy, slot.withheld) > 0) return true;
  }
  return false;
}

void PATifFileWriter::write1099GLines(uint16_t copy) {
  const FormId& form = kFormID_Fed1099G;
  // A return that is not joint has no spouse: its forms are the taxpayer's.
  const bool taxpayer = isMarked(form, copy, Fed1099G::kTaxpayerBox) || !filesJointly();
  outputTifLine("00005.000.001", taxpayer ? "1" : "2", false);
  if (isMarked(form, copy, Fed1099G::kCorrectedBox)) outputTifLine("00010.000.001", "X", false);
  writeFieldLines(form, copy, kPayerLines);
  outputTifLine("00100.000.001", kFormID_PAReturnInfo, 1,
                taxpayer ? PAReturnInfo::kTaxpayerSSN : PAReturnInfo::kSpouseSSN, false);
  outputTifLine("00160.000.001", form, copy, Fed1099G::kUnemploymentCompensation, false);
  if (federalReturn->isNull(form, copy, Fed1099G::kUnemploymentCompensation)) {
    outputTifLine("00170.000.001", std::atol(kYearText2018), false);
  }
  outputTifLine("00175.000.001", form, copy, Fed1099G::kFederalTaxWithheld, false);
  const std::string name = textOf(form, copy, Fed1099G::kNameFirstPart) + " " +
                           textOf(form, copy, Fed1099G::kNameSecondPart);
  outputTifLine("00105.000.001", name.c_str(), false);
  writeAddressLines(form, copy, kPayerAddressLines);
  writeAddressLines(form, copy, kRecipientAddressLines);
  outputTifLine("00200.000.001", form, copy, Fed1099G::kRecordItem, false);

  // A PA slot's lines, compared without regard to case; the second slot
  // moves to sub-field 001 when the first one was written.
  int sub = 0;
  char code[TifWriteMgmt::kTifCodeSize];
  for (const StateSlot& slot : kStateSlots) {
    if (OVStringUtils::stricmp(textOf(form, copy, slot.state), kPA) != 0) continue;
    const FieldId* fields[] = {&slot.withheld.id(), &slot.state.id(), &slot.stateId.id()};
    for (int i = 0; i < 3; ++i) {
      outputTifLine(lineCode(code, kStateLineNumbers[i], sub, 1), form, copy, *fields[i], false);
    }
    sub = 1;
  }
}

}  // namespace PATifWriteMgmt
