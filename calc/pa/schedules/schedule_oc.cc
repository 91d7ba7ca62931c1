// computeScheduleOC: PA Schedule OC, other credits (state form 488), one
// copy; the driver creates copy 1.
//
// The user enters the amount of each of the twenty credit lines; a line's
// companion fields are open while its amount is positive. The credits are
// totalled into field 11, which the PA-40 reads. On a joint return only
// lines 8 and 9 count; the entries of the other lines are kept (they count
// again should the return stop being joint). Nothing is rounded: the total
// is the host's sum of the amount fields.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

const FieldId& oc(int member) { return kPAScheduleOCFieldIds[member]; }

const int kName = 8;                  // 17
const int kNumber = 9;                // 18
const int kBusinessIncomeYes = 2;     // 20
const int kBusinessIncomeNo = 3;      // 21
const int kTotal = 71;                // 11
const int kNoField = -1;

// One credit line: the amount the user enters and its companion fields.
struct CreditLine {
  int amount;
  int paired[3];
  bool closesPaired;  // false: a line whose companions stay as they are at 0 or less
};

// Members, with the host fields in the comments (amount; companions).
const CreditLine kLines[] = {
    {12, {10, 11, kNoField}, true},   // 1: 8; 46464, 75894
    {15, {13, 14, kNoField}, true},   // 2: 9; 46465, 75895
    {18, {16, 17, kNoField}, true},   // 3: 10; 46466, 75896
    {21, {19, 20, kNoField}, false},  // 4: 12235; 46467, 75897
    {24, {22, 23, kNoField}, true},   // 5: 46470; 46468, 75899
    {27, {25, 26, kNoField}, true},   // 6: 46472; 46469, 75900
    {30, {28, 29, kNoField}, true},   // 7: 46474; 46471, 75901
    {33, {31, 32, kNoField}, true},   // 8: 50720; 46473, 75903
    {36, {34, 35, kNoField}, true},   // 9: 140347; 50717, 140346
    {39, {37, 38, kNoField}, true},   // 10: 140349; 50719, 140348
    {42, {40, 41, kNoField}, true},   // 11: 147630; 50721, 147629
    {45, {43, 44, kNoField}, true},   // 12: 36893; 50723, 75898
    {48, {46, 47, kNoField}, true},   // 13: 188762; 132863, 188761
    {51, {49, 50, kNoField}, true},   // 14: 198891; 140350, 198890
    {54, {52, 53, kNoField}, true},   // 15: 207060; 162733, 207059
    {57, {55, 56, kNoField}, true},   // 16: 207063; 207061, 207062
    {60, {58, 59, kNoField}, true},   // 17: 207066; 207064, 207065
    {63, {61, 62, kNoField}, true},   // 18: 207069; 207067, 207068
    {66, {64, 65, kNoField}, true},   // 19: 207072; 207070, 207071
    {69, {67, 68, 70}, true},         // 20: 132865; 207073, 132864, 132866
};
const std::size_t kLineCount = sizeof kLines / sizeof kLines[0];

// The two credits of a joint return (lines 8 and 9).
const int kJointCredits[] = {33, 36};  // 50720, 140347

// Business-income sources: Schedule C field 56139, PA-40 fields 56128 and 288.
const FieldId& scheduleCIncome() { return kPAScheduleCFieldIds[7]; }  // 56139
const FieldId& pa40Income() { return kPA40FieldIds[105]; }            // 56128
const FieldId& pa40Text() { return kPA40FieldIds[179]; }              // 288

template <std::size_t... I>
void sumAllLines(DataMgmt::TaxForm& form, std::index_sequence<I...>) {
  form.setValueToSumOf(oc(kTotal), {oc(kLines[I].amount)...});
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleOC(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& schedule = *form;
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const FieldId& none = Primitives::kNullFieldID;

  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, oc(kName), oc(kNumber), none, none, none, none,
               none, none, none, 0);

  if (filingStatus == 2) {
    for (int member : kJointCredits) schedule.unProtect(oc(member));
    schedule.setValueToSumOf(oc(kTotal), {oc(kJointCredits[0]), oc(kJointCredits[1])});
  } else {
    const bool businessIncome = paReturn->getAllCopies(kFormID_PAScheduleC, scheduleCIncome()) > 0 ||
                                paReturn->getAllCopies(kFormID_PA40, pa40Income()) != 0 ||
                                paReturn->hasSigValue(kFormID_PA40, 1, pa40Text());
    if (businessIncome) {
      schedule.setX(oc(kBusinessIncomeYes));
      schedule.setXNo(oc(kBusinessIncomeNo));
    } else {
      schedule.setXNo(oc(kBusinessIncomeYes));
      schedule.setX(oc(kBusinessIncomeNo));
    }
    sumAllLines(schedule, std::make_index_sequence<kLineCount>());
  }

  for (const CreditLine& line : kLines) {
    const bool open = schedule.getIR(oc(line.amount)) > 0;
    if (!open && !line.closesPaired) continue;
    for (int member : line.paired) {
      if (member == kNoField) continue;
      if (open) {
        schedule.unProtect(oc(member));
      } else {
        schedule.makeProtectedAndSetNull(oc(member));
      }
    }
  }

  if (schedule.getIR(oc(kTotal)) > 0) {
    paReturn->setDataEntered(kFormID_PAScheduleOC, copy, true, false);
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
