// PA Schedule C expenses: the expense lines from the federal copy with
// the PA limits and adjustments, the other-expense rows, the dated rows
// of one expense line, the total expenses and the net profit or loss.
//
// Members below are PAScheduleCFieldIds members ([k]) and
// FedScheduleCFieldIds members (F k); host field numbers in comments.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/schedule_c_copy.h"
#include "host/dates.h"
#include "host/form_defaults.h"
#include "host/string_utils.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

const std::size_t kTextSize = 128;

// Expense amounts taken from the federal copy as they stand.
const FederalAmountCopy kExpenseAmounts[] = {
    {98, 134},   // 56221 <- 31
    {102, 136},  // 56225 <- 180
    {103, 138},  // 56226 <- 34
    {11, 141},   // 56143 <- 35
    {105, 144},  // 56228 <- 36
    {113, 146},  // 56234 <- 37
    {118, 148},  // 56239 <- 39
    {13, 155},   // 56145 <- 42
    {123, 135},  // 56244 <- 43
    {124, 137},  // 56245 <- 44
    {130, 143},  // 56251 <- 47
    {131, 139},  // 56252 <- 296
    {132, 145},  // 56253 <- 48
    {133, 147},  // 56254 <- 49
    {140, 152},  // 56261 <- 54
    {141, 154},  // 56262 <- 55
    {46, 156},   // 56178 <- 155
};

// Other-expense rows: federal description and amount, PA description and
// amount (federal 56/57 ... 66/67, 209/210, 211/212 to 56282 ... 56297).
struct OtherExpenseRow {
  int fedDescription;
  int fedAmount;
  int paDescription;
  int paAmount;
};
const OtherExpenseRow kOtherExpenseRows[] = {
    {206, 207, 171, 172}, {208, 209, 173, 174}, {210, 211, 175, 176}, {212, 213, 177, 178},
    {214, 215, 179, 180}, {216, 217, 181, 182}, {218, 219, 183, 184}, {220, 221, 185, 186},
};

// The dated rows of line 56228: the date field of each row (56322 ...
// 56424); the row's amounts a1, a2, a3 follow at +1, +2 and +5.
const int kDatedRowDates[] = {207, 213, 219, 225, 232, 239, 246, 253,
                              260, 267, 274, 281, 288, 295, 302, 309};
const int kA1 = 1;
const int kA2 = 2;
const int kA3 = 5;

// Lines summed into the total of the PA adjustments (56302) and into the
// total expenses (56303).
const int kAdjustmentLines[] = {170, 172, 174, 176, 178, 180, 182, 184, 186, 188};
const int kExpenseLines[] = {98,  99,  100, 101, 102, 103, 104, 110, 111, 112, 116, 117,
                             118, 119, 120, 121, 122, 123, 127, 128, 129, 130, 131, 132,
                             137, 138, 139, 140, 144, 150, 151, 157, 189};

bool isStartUpText(const char* upperText) {
  return std::strcmp(upperText, "START UP COSTS") == 0 || std::strcmp(upperText, "START UP EXPENSES") == 0;
}

void sumMembers(DataMgmt::TaxForm& form, int target, const int* first, const int* last) {
  double sum = 0.0;
  for (const int* m = first; m != last; ++m) sum += form.getIR(ScheduleCCopy::pa(*m));
  form.assignIR(ScheduleCCopy::pa(target), sum);
}

// An amount taken in PA, at most its line: an empty `entered` takes the
// whole line.
void limitToLine(DataMgmt::TaxForm& form, int line, int entered) {
  auto P = ScheduleCCopy::pa;
  if (!form.hasSigValue(P(entered))) form.assignII(P(entered), P(line));
  form.minII(P(entered), P(entered), P(line));
}

// Line 56228 split by date: both boxes 56230 and 56666 marked take the
// amount entered in 56231 (up to the line); otherwise the sixteen rows
// are limited and summed into 56437-56440.
void computeDatedRows(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  auto P = ScheduleCCopy::pa;
  if (!form.gtZero(P(105))) {
    form.makeProtectedAndSetNull(P(106));
    form.makeProtectedAndSetNull(P(107));
    form.setNull(P(110));
    form.setNull(P(111));
    return;
  }
  Utils::setDefaultX(c.holder, P(107), P(107), P(106));
  Utils::setDefaultX(c.holder, P(108), P(108), P(109));
  if (form.xMarked(P(107)) && form.xMarked(P(108))) {
    form.unProtect(P(110));
    form.minII(P(110), P(110), P(105));
    form.minusIIge0(P(111), P(105), P(110));
    engine.clearFormFields(kFormID_PAScheduleC, c.copy, P(204), P(318));
    return;
  }

  form.makeProtected(P(110));
  form.minusIIge0(P(206), P(204), P(205));
  form.assignII(P(111), P(206));
  double sumA1 = 0.0;
  double sumA3 = 0.0;
  char text[kTextSize];
  for (int date : kDatedRowDates) {
    const OVImmutableIdentifier& a1 = P(date + kA1);
    const OVImmutableIdentifier& a2 = P(date + kA2);
    const OVImmutableIdentifier& a3 = P(date + kA3);
    engine.getPAReturn()->formString(text, sizeof text, kFormID_PAScheduleC, c.copy, P(date));
    const long day = Utils::strDateToNumber(text);
    // A text that is no date stays as the user wrote it.
    if (text[0] != '\0' && day != 0) {
      std::snprintf(text, sizeof text, "%02ld/%02ld/%ld", static_cast<long>(Utils::month(day)),
                    static_cast<long>(Utils::day(day)), static_cast<long>(Utils::year(day)));
      form.assignText(P(date), text);
    }
    if (form.hasSigValue(a1)) {
      form.minII(a2, a2, a1);
      form.minIR(a3, a3, form.getIR(a1) - form.getIR(a2));
      form.maxIR(a3, a3, 0);
    }
    sumA1 += form.getIR(a1);
    sumA3 += form.getIR(a3);
  }
  form.assignIR(P(315), sumA1);
  form.assignIR(P(316), sumA3);
  form.minusIIge0(P(318), P(316), P(317));
  form.assignII(P(110), P(318));
}

// Home office: 56281 from federal 174, or the PA amount 56178 when a
// federal form 103 copy answers both of its fields 93 and 147265 yes.
void computeHomeOffice(ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  auto P = ScheduleCCopy::pa;
  const long federalAmount = c.fedAmount(165);  // 174
  bool simplified = false;
  if (federalAmount > 0) {
    const int last = c.federal.getMaxCopies(kFormID_Fed103);
    for (int k = 1; k <= last && !simplified; ++k) {
      const uint16_t copy = static_cast<uint16_t>(k);
      simplified = c.federal.formYes(kFormID_Fed103, copy, kFed103FieldIds[165]) &&
                   c.federal.formYes(kFormID_Fed103, copy, kFed103FieldIds[179]);
    }
  }
  form.assignIR(P(49), simplified ? 1 : 0);  // 150176
  if (form.gtZero(P(49))) {
    form.assignIR(P(158), federalAmount);
    form.unProtect(P(159));
    form.assignII(P(170), P(159));
  } else {
    form.assignIR(P(170), federalAmount);
    form.makeProtectedAndSetNull(P(158));
    form.makeProtectedAndSetNull(P(159));
  }
  if (form.getIN(P(170)) > 0) {
    form.assignText(P(169), "Home office exp");
  } else {
    form.setNull(P(169));
  }
}

}  // namespace

void computeScheduleCExpenses(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  auto P = ScheduleCCopy::pa;
  char text[kTextSize];
  for (const FederalAmountCopy& row : kExpenseAmounts) {
    form.assignIR(P(row.paMember), c.fedAmount(row.fedMember));
  }
  form.setNull(P(100));
  form.setNull(P(101));
  if (form.gtZero(P(11))) {
    form.unProtect(P(104));
    if (!form.hasSigValue(P(104))) form.assignII(P(104), P(11));
  }
  computeDatedRows(engine, c);
  form.setNull(P(112));

  // Line 56234: a part not allowed in PA (56235) leaves 56236/56237.
  if (form.gtZero(P(113))) {
    form.unProtect(P(114));
    form.minusIIge0(P(115), P(113), P(114));
    form.assignII(P(116), P(115));
  } else {
    form.makeProtectedAndSetNull(P(114));
    form.setNull(P(115));
    form.setNull(P(116));
  }
  form.setNull(P(117));

  form.assignIR(P(12), c.fedAmount(151) + c.fedAmount(153));  // 56144 <- 40 + 41
  limitToLine(form, 12, 119);                                  // 56240
  form.setNull(P(112));
  limitToLine(form, 13, 121);                                  // 56242
  form.setNull(P(122));

  form.makeProtected(P(127));
  if (form.gtZero(P(124))) {
    form.unProtect(P(125));
    form.minusIIge0(P(126), P(124), P(125));
    form.assignII(P(127), P(126));
  } else {
    form.makeProtectedAndSetNull(P(125));
    form.setNull(P(126));
    form.setNull(P(127));
  }
  form.setNull(P(128));

  form.assignIR(P(129), c.fedAmount(140) + c.fedAmount(142));  // 56250 <- 45 + 46
  if (form.gtZero(P(133))) form.unProtect(P(134));
  form.assignIR(P(136), form.getIR(P(133)) - form.getIR(P(134)) + form.getIR(P(135)));
  form.assignII(P(137), P(136));
  form.setNull(P(138));
  form.assignIR(P(139), c.fedAmount(149) + c.fedAmount(100));  // 56260 <- 50 + 246
  if (form.gtZero(P(141))) form.unProtect(P(142));
  form.minII(P(142), P(142), P(141));
  form.plus2(P(143), P(141), P(142));
  form.assignII(P(144), P(143));

  Utils::setDefaultX(c.holder, P(51), P(51), P(50));
  Utils::setDefaultX(c.holder, P(145), P(145), P(146));
  if (form.xMarked(P(145))) {  // 161035
    form.timesIR(P(148), P(147), 0.33333);
  } else {
    form.setNull(P(148));
    form.assignIR(P(149), form.getIR(P(147)) / 10);
  }
  form.assignII(P(150), P(148));
  form.assignII(P(151), P(149));

  if (form.gtZero(P(46))) {  // 56178
    form.unProtect(P(152));
    form.unProtect(P(153));
    Utils::setDefaultX(c.holder, P(153), P(153), P(152));
    if (form.xMarked(P(152))) {
      form.unProtect(P(154));
      form.unProtect(P(155));
    } else {
      form.makeProtectedAndSetNull(P(154));
      form.makeProtectedAndSetNull(P(155));
    }
  }
  form.plus2(P(156), P(154), P(155));
  form.minIR(P(156), P(156), 5000);
  form.assignII(P(157), P(156));

  computeHomeOffice(c);

  const long federal38873 = c.federal.getIN(kFormID_FedReturn, 1, kFedReturnFieldIds[176]);
  if (federal38873 > 0) {
    form.assignIR(P(47), federal38873);
    form.unProtect(P(164));
  } else {
    form.setNull(P(47));
    form.makeProtectedAndSetNull(P(164));
  }

  // Start-up costs are not a PA adjustment.
  c.fedText(text, kTextSize, 222);  // 213
  Utils::OVStringUtils::toUpperCase(text);
  form.assignIR(P(167), isStartUpText(text) ? 0 : c.fedAmount(223));  // 161038 <- 214
  const int kAdjustments[] = {160, 161, 162, 163, 164, 165, 166, 167};
  sumMembers(form, 168, std::begin(kAdjustments), std::end(kAdjustments));  // 56279
  form.assignII(P(188), P(168));
  if (form.nonZero(P(188))) {
    form.assignText(P(187), "Other PA Adj.");
  } else {
    form.setNull(P(187));
  }

  for (const OtherExpenseRow& row : kOtherExpenseRows) {
    c.fedText(text, kTextSize, row.fedDescription);
    Utils::OVStringUtils::toUpperCase(text);
    if (isStartUpText(text)) {
      form.assignText(P(row.paDescription), " ");
      form.setNull(P(row.paAmount));
    } else {
      form.assignText(P(row.paDescription), text);
      form.assignIR(P(row.paAmount), c.fedAmount(row.fedAmount));
    }
  }

  sumMembers(form, 189, std::begin(kAdjustmentLines), std::end(kAdjustmentLines));  // 56302
  sumMembers(form, 190, std::begin(kExpenseLines), std::end(kExpenseLines));        // 56303
  form.minusII(P(191), P(97), P(190));  // 56306 net profit or loss
}

}  // namespace PACalculationMgmt
