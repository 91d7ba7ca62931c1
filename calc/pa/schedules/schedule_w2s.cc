// computeScheduleW2S: PA Schedule W2-S (state form 170), the summary of the
// return's wages and miscellaneous compensation.
//
// One row per person for wages (summed over every PA W-2 copy) and one per
// person for miscellaneous compensation (summed over every worksheet
// copy), each with three amounts; amount 2 is the PA compensation. Only
// amounts 2 and 3 are totalled. A row whose three sums are all 0 is
// emptied. Amounts are whole dollars.
#include <cstdint>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

// Schedule W2-S fields: PAScheduleW2SFieldIds members.
enum Field : int {
  kAnyBox = 24,              // 46174
  kWorksheetBox = 25,        // 139400
  kFilerName = 26,           // 5
  kFilerNumber = 27,         // 6
  kTaxpayerBox = 28,         // 42775
  kSpouseBox = 29,           // 42776
  kBox12 = 31,               // 12
  kBox13 = 32,               // 13
  kPAW2Box = 33,             // 72
  kBox12233 = 34,            // 12233
  kBox36531 = 36,            // 36531
  kSecondPAW2Box = 37,       // 50652
  kW2Count = 38,             // 14
  kWagesNote = 52,           // 26
  kWagesTotal2 = 99,         // 50
  kWagesTotal3 = 100,        // 51
  kCompensationTotal2 = 173,  // 9483
  kCompensationTotal3 = 174,  // 9484
  kGrandTotal2 = 175,        // 9485
  kGrandTotal3 = 176,        // 9486
  kCompWorksheetNote = 177,  // 9487
  kCompRowsNote = 119,       // 9429
};

const FieldId& id(int member) { return kPAScheduleW2SFieldIds[member]; }

const char kSeeWorksheet[] = "See Wks.";

// The source of a row: all copies of the PA W-2 (PAW2FieldIds) or of the
// miscellaneous-compensation worksheet (PAMiscCompWorksheetFieldIds).
enum class Source { kPAW2, kWorksheet };

// One summary row: its fields on the schedule, its three sources and the
// owner and description texts.
struct SummaryRow {
  int owner, description;
  int amounts[3];
  Source source;
  int sources[3];
  const char* ownerText;
  const char* descriptionText;
};

const SummaryRow kWageRows[] = {
    // Fields 15, 16, 17-19 from PA W-2 fields 79818, 133, 134.
    {39, 40, {41, 43, 44}, Source::kPAW2, {155, 156, 157}, "T", "TP - Wages"},
    // Fields 20, 21, 22-24 from PA W-2 fields 79819, 135, 136.
    {45, 46, {47, 49, 50}, Source::kPAW2, {158, 159, 160}, "S", "SP - Wages"},
};
const SummaryRow kCompensationRows[] = {
    // Fields 9413, 9415, 9417-9419 from worksheet fields 79802, 9585, 9586.
    {101, 103, {105, 107, 108}, Source::kWorksheet, {212, 213, 214}, "T", "TP - Misc. Comp."},
    // Fields 9420, 9422, 9424-9426 from worksheet fields 79803, 9587, 9588.
    {109, 111, {113, 115, 116}, Source::kWorksheet, {215, 216, 217}, "S", "SP - Misc. Comp."},
};

// Sum of one PA W-2 field over every PA W-2 copy.
long sumOfPAW2(const DataMgmt::TaxReturn& pa, int member) {
  return pa.getAllCopies(kFormID_PAW2, kPAW2FieldIds[member]);
}
// Sum of one worksheet field over every worksheet copy.
long sumOfWorksheet(const DataMgmt::TaxReturn& pa, int member) {
  return pa.getAllCopies(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds[member]);
}

// Writes the rows of one block; returns whether any of their sums is not 0.
template <std::size_t N>
bool writeRows(DataMgmt::TaxForm& w2s, const DataMgmt::TaxReturn& pa, const SummaryRow (&rows)[N]) {
  bool anyAmount = false;
  for (const SummaryRow& row : rows) {
    long sums[3];
    for (int k = 0; k < 3; ++k) {
      sums[k] = row.source == Source::kPAW2 ? sumOfPAW2(pa, row.sources[k])
                                            : sumOfWorksheet(pa, row.sources[k]);
    }
    if (sums[0] == 0 && sums[1] == 0 && sums[2] == 0) {
      w2s.setNull(id(row.owner));
      w2s.setNull(id(row.description));
      for (int member : row.amounts) w2s.setNull(id(member));
      continue;
    }
    anyAmount = true;
    for (int k = 0; k < 3; ++k) w2s.assignIR(id(row.amounts[k]), static_cast<double>(sums[k]));
    w2s.assignText(id(row.owner), row.ownerText);
    w2s.assignText(id(row.description), row.descriptionText);
  }
  return anyAmount;
}

void noteIf(DataMgmt::TaxForm& w2s, Field note, bool shown) {
  if (shown) {
    w2s.assignText(id(note), kSeeWorksheet);
  } else {
    w2s.setNull(id(note));
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleW2S(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& w2s = *form;
  const DataMgmt::TaxReturn& pa = *paReturn;
  const FieldId& none = Primitives::kNullFieldID;
  const uint8_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);

  // Filer name and number.
  copyNameText(form, kFormID_PAReturnInfo, status, 0, id(kFilerName), id(kFilerNumber), none, none, none,
               none, none, none, none, 0);

  // Copy 1 of the PA W-2 is calculated twice in succession before its
  // sums are read; the other copies stand as the driver left them.
  {
    TaxFormPtr firstW2 = paReturn->getFormUVPtr(kFormID_PAW2, 1, false);
    if (!firstW2.isNull()) {
      calcStateForm(kFormID_PAW2, 1, false, 1, 0, firstW2);
      calcStateForm(kFormID_PAW2, 1, false, 1, 0, firstW2);
    }
  }

  // Federal W-2 copies of each person; a copy of both counts twice.
  const int w2Count = countW2CopiesMarkedFirstBox() + countW2CopiesMarkedSecondBox();
  w2s.assignIR(id(kW2Count), static_cast<double>(w2Count));

  // Indicator boxes from the PA W-2 (42786 or 42787; 50653).
  markOrNo(w2s, id(kPAW2Box), sumOfPAW2(pa, 21) > 0 || sumOfPAW2(pa, 22) > 0);
  if (status == 2) {
    w2s.unProtect(id(kSpouseBox));
  } else {
    w2s.makeProtected(id(kSpouseBox));
    w2s.setXNo(id(kSpouseBox));
  }
  markOrNo(w2s, id(kSecondPAW2Box), sumOfPAW2(pa, 24) > 0);
  bool anyBox = false;
  for (Field box : {kTaxpayerBox, kSpouseBox, kBox12, kBox13, kBox12233, kSecondPAW2Box, kBox36531}) {
    if (w2s.xMarked(id(box))) {
      anyBox = true;
      break;
    }
  }
  markOrNo(w2s, id(kAnyBox), anyBox);

  // Wages.
  noteIf(w2s, kWagesNote, writeRows(w2s, pa, kWageRows));
  w2s.plus2(id(kWagesTotal2), id(43), id(49));  // 18 + 23
  w2s.plus2(id(kWagesTotal3), id(44), id(50));  // 19 + 24

  // Miscellaneous compensation (worksheet 79780 holds its note count).
  noteIf(w2s, kCompWorksheetNote, sumOfWorksheet(pa, 31) > 0);
  noteIf(w2s, kCompRowsNote, writeRows(w2s, pa, kCompensationRows));

  // Totals.
  w2s.plus2(id(kCompensationTotal2), id(107), id(115));  // 9418 + 9425
  w2s.plus2(id(kCompensationTotal3), id(108), id(116));  // 9419 + 9426
  w2s.plus2(id(kGrandTotal2), id(kWagesTotal2), id(kCompensationTotal2));
  w2s.plus2(id(kGrandTotal3), id(kWagesTotal3), id(kCompensationTotal3));

  // Worksheet rows in need of attention (139390).
  markOrNo(w2s, id(kWorksheetBox), sumOfWorksheet(pa, 34) > 0);

  // A wage total of either sign, or a positive compensation total, makes
  // the schedule part of the return.
  if (w2s.getIR(id(kWagesTotal2)) != 0 || w2s.getIR(id(kWagesTotal3)) != 0 ||
      w2s.getIR(id(kCompensationTotal2)) > 0 || w2s.getIR(id(kCompensationTotal3)) > 0) {
    paReturn->setDataEntered(kFormID_PAScheduleW2S, copy, true, false);
    w2s.setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
