// PA Schedules A (interest, state form 155696) and B (dividends, state form
// 155697): one copy per person, copy 1 the taxpayer's and copy 2 the
// spouse's.
//
// Neither schedule works anything out from federal data: the interest and
// dividend worksheet (state form 186, copy 1) holds every amount in a
// taxpayer column and a spouse column, and a schedule copy takes its
// person's column line by line, then forms its subtotals and total. The two
// schedules share their steps; what differs is described by a Shape.
#include <cstddef>
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

const OVImmutableIdentifier& scheduleA(int member) { return kPAScheduleAFieldIds[member]; }
const OVImmutableIdentifier& scheduleB(int member) { return kPAScheduleBFieldIds[member]; }
const OVImmutableIdentifier& worksheet(int member) { return kPAInterestDividendWorksheetFieldIds[member]; }

// Header members, the same on both schedules.
const int kTitle = 1;        // A 155714, B 155756
const int kName = 4;         // A 155717, B 155759
const int kNumber = 5;       // A 155718, B 155760
const int kTaxpayerBox = 6;  // A 156244, B 155761
const int kSpouseBox = 7;    // A 156245, B 155762
const int kThirdBox = 8;     // A 156246, B 155763
const int kFirstLine = 9;    // A 155719, B 155764

const uint8_t kFilingJoint = 2;
const int32_t kNonresident = 2;

// A line copied from the worksheet: the schedule member and the worksheet
// members of the taxpayer's and the spouse's column.
struct CopiedLine {
  int member;
  int taxpayer;
  int spouse;
};

const CopiedLine kScheduleALines[] = {
    {9, 64, 65},     // A-in 1: 155719 <- 155738 / 155739
    {10, 67, 68},    // A-in 2: 155720 <- 155741 / 155742
    {11, 70, 71},    // other additions: 155721 <- 155744 / 155745
    {14, 104, 105},  // A-less 1: 155724 <- 156251 / 156252
    {15, 107, 108},  // A-less 2: 155725 <- 155753 / 155754
    {16, 110, 111},  // A-less 3: 155726 <- 156254 / 156255
    {17, 158, 159},  // A-less 4: 155727 <- 156263 / 156264
    {21, 167, 168},  // A-plus 1: 155731 <- 23889 / 23890
    {22, 172, 173},  // A-plus 2: 155732 <- 46482 / 46483
    {23, 177, 178},  // A-plus 3: 155733 <- 36541 / 36542
    {24, 191, 192},  // A-plus 4: 155734 <- 156275 / 156276
    {25, 194, 195},  // RK-1 interest: 155735 <- 156278 / 156279
};

const CopiedLine kScheduleBLines[] = {
    {9, 200, 201},   // B-in: 155764 <- 156281 / 156282
    {10, 231, 232},  // B-less 1: 155765 <- 156294 / 156295
    {11, 246, 247},  // B-less 2: 155766 <- 156297 / 156298
    {12, 282, 283},  // other reduction adjustments: 155767 <- 156309 / 156310
    {16, 291, 292},  // B-plus 1: 183070 <- 162956 / 162957
    {17, 303, 304},  // B-plus 2: 155771 <- 156321 / 156322
    {19, 308, 309},  // B-extra 1: 207102 <- 210231 / 210232 (not in the total)
    {20, 311, 312},  // B-extra 2: 207103 <- 210234 / 210235 (not in the total)
    {21, 314, 315},  // B-plus 3: 207104 <- 210237 / 210238
    {22, 317, 318},  // B-plus 4: 155773 <- 238 / 156323
    {23, 320, 321},  // RK-1 dividends: 155774 <- 156325 / 156326
};

// An explanatory text shown beside an amount.
struct Note {
  int text;
  int amount;
  const char* words;
};

const Note kScheduleANotes[] = {
    {12, 11, "Other Additions"},         // 155722 beside 155721
    {18, 17, "See attached worksheet"},  // 155728 beside 155727
};

const Note kScheduleBNotes[] = {
    {13, 12, "Other reduction adjustments"},  // 155768 beside 155767
    {18, 17, "see attached worksheet"},       // 155772 beside 155771
};

// Two lines whose values differ on a copy that holds data.
struct Pair {
  int first;
  int second;
};

const Pair kScheduleAPairs[] = {{9, 26}, {9, 13}, {9, 20}, {20, 26}};
const Pair kScheduleBPairs[] = {{9, 24}, {15, 9}, {15, 24}};

// Schedule A: additions, reductions, net interest (not below 0) and the
// total, which may be below 0.
void totalScheduleA(DataMgmt::TaxForm& form) {
  auto f = scheduleA;
  form.setValueToSumOf(f(13), {f(9), f(10), f(11)});                        // 155723
  form.setValueToSumOf(f(19), {f(14), f(15), f(16), f(17)});                // 155729
  form.minusIIge0(f(20), f(13), f(19));                                     // 155730
  form.setValueToSumOf(f(26), {f(20), f(21), f(22), f(23), f(24), f(25)});  // 155736
}

// Schedule B: reductions, net dividends (may be below 0) and the total,
// which is never below 0; the two B-extra lines are not added.
void totalScheduleB(DataMgmt::TaxForm& form) {
  auto f = scheduleB;
  form.setValueToSumOf(f(14), {f(10), f(11), f(12)});                       // 156330
  form.minusII(f(15), f(9), f(14));                                         // 155770
  form.setValueToSumOf(f(24), {f(15), f(16), f(17), f(21), f(22), f(23)});  // 155775
  if (form.getIR(f(24)) < 0.0) form.assignIR(f(24), 0.0);
}

// What tells the twins apart.
struct Shape {
  const DataMgmt::FormId* form;
  const OVImmutableIdentifier& (*field)(int member);
  const char* taxpayerTitle;
  const char* spouseTitle;
  const CopiedLine* lines;
  std::size_t lineCount;
  const Note* notes;
  std::size_t noteCount;
  bool notesWhenNegative;  // A shows a note for any amount but 0; B only above 0
  void (*total)(DataMgmt::TaxForm& form);
  int lastLine;  // the total's member
  const Pair* pairs;
  std::size_t pairCount;
};

template <class T, std::size_t N>
constexpr std::size_t countOf(const T (&)[N]) {
  return N;
}

const Shape kScheduleA = {&kFormID_PAScheduleA,
                          scheduleA,
                          "PA40A Copy 1 - Taxpayer",
                          "PA40A Copy 2 - Spouse",
                          kScheduleALines,
                          countOf(kScheduleALines),
                          kScheduleANotes,
                          countOf(kScheduleANotes),
                          /*notesWhenNegative=*/true,
                          totalScheduleA,
                          /*lastLine=*/26,
                          kScheduleAPairs,
                          countOf(kScheduleAPairs)};

const Shape kScheduleB = {&kFormID_PAScheduleB,
                          scheduleB,
                          "PA40B Copy 1 - Taxpayer",
                          "PA40B Copy 2 - Spouse",
                          kScheduleBLines,
                          countOf(kScheduleBLines),
                          kScheduleBNotes,
                          countOf(kScheduleBNotes),
                          /*notesWhenNegative=*/false,
                          totalScheduleB,
                          /*lastLine=*/24,
                          kScheduleBPairs,
                          countOf(kScheduleBPairs)};

// Boxes and title of the person the copy belongs to; copies above 2 keep
// theirs.
void markPerson(const Shape& s, DataMgmt::TaxForm& form, uint16_t copy, uint8_t status) {
  if (copy == 1) {
    form.setX(s.field(kTaxpayerBox));
    form.setXNo(s.field(kSpouseBox));
    form.assignText(s.field(kTitle), s.taxpayerTitle);
  } else if (copy == 2) {
    form.setXNo(s.field(kTaxpayerBox));
    form.setX(s.field(kSpouseBox));
    if (status == kFilingJoint) {
      form.assignText(s.field(kTitle), s.spouseTitle);
    } else {
      form.setNull(s.field(kTitle));
    }
  }
}

// The person's column of the worksheet, the notes and the totals.
void fillLines(const Shape& s, const PADataMgmt::PATaxReturn& pa, DataMgmt::TaxForm& form, uint16_t copy) {
  for (std::size_t k = 0; k < s.lineCount; ++k) {
    const CopiedLine& line = s.lines[k];
    const int source = copy == 1 ? line.taxpayer : line.spouse;
    form.assignIR(s.field(line.member), pa.getIN(kFormID_PAInterestDividendWorksheet, 1, worksheet(source)));
  }
  for (std::size_t k = 0; k < s.noteCount; ++k) {
    const Note& note = s.notes[k];
    const double amount = form.getIR(s.field(note.amount));
    const bool shown = s.notesWhenNegative ? amount != 0.0 : amount > 0.0;
    if (shown) {
      form.assignText(s.field(note.text), note.words);
    } else {
      form.setNull(s.field(note.text));
    }
  }
  s.total(form);
}

// A copy whose compared lines all agree (empty, cleared, or holding its
// first line alone) is not marked as holding data.
bool holdsData(const Shape& s, const DataMgmt::TaxForm& form) {
  for (std::size_t k = 0; k < s.pairCount; ++k) {
    if (form.getIR(s.field(s.pairs[k].first)) != form.getIR(s.field(s.pairs[k].second))) return true;
  }
  return false;
}

void computePersonSchedule(const Shape& s, PATaxReturnCalcEngine& engine, PADataMgmt::PATaxReturn& pa,
                           DataMgmt::TaxFormPtr holder, uint16_t copy) {
  DataMgmt::TaxForm& form = *holder;
  const uint8_t status = pa.readFilingStatus(kFormID_PAReturnInfo);

  form.setXNo(s.field(kThirdBox));
  markPerson(s, form, copy, status);
  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  engine.copyNameText(holder, kFormID_PAReturnInfo, status, 0, s.field(kName), s.field(kNumber), none, none,
                      none, none, none, none, none, 0);

  if (pa.readResidencyStatus(kFormID_PAReturnInfo) == kNonresident) {
    engine.clearFormFields(*s.form, copy, s.field(kFirstLine), s.field(s.lastLine));
  } else if (copy == 1 || copy == 2) {
    fillLines(s, pa, form, copy);
  }

  if (holdsData(s, form)) {
    pa.setDataEntered(*s.form, copy, true, false);
    if (DataMgmt::TaxForm* own = pa.getForm(*s.form, copy)) own->setCalcMark(true);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleA(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  computePersonSchedule(kScheduleA, *this, *paReturn, form, copy);
}

void PATaxReturnCalcEngine::computeScheduleB(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  computePersonSchedule(kScheduleB, *this, *paReturn, form, copy);
}

}  // namespace PACalculationMgmt
