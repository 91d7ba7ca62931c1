// IntDivWorksheetCalc: one calculation of the PA interest and dividend
// worksheet (state form 186), shared by the worksheet's source files.
//
// The worksheet gathers the interest (int_div_worksheet_interest.cc) and
// the dividends (int_div_worksheet_dividends.cc) of the taxpayer and the
// spouse from the state interest and dividend summaries (state forms 16
// and 17), the federal sources and the user's entries;
// computeInterestDividendWorksheet (int_div_worksheet.cc) runs the two
// halves and decides whether the copy is printed.
//
// Most lines are triples: a total, the taxpayer's amount and the spouse's.
// On a joint return (filing status 2) the total is the sum of the two; on
// any other return the spouse's field is null and the total is the
// taxpayer's amount.
//
// The object lives for one call and borrows everything: the engine, its
// PA and federal returns and the worksheet copy. It keeps nothing between
// calls. Missing copies and fields read as 0.
#ifndef CALC_PA_SCHEDULES_INT_DIV_WORKSHEET_CALC_H_
#define CALC_PA_SCHEDULES_INT_DIV_WORKSHEET_CALC_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/tax_form.h"

namespace PACalculationMgmt {
namespace int_div {

// A worksheet line of three amounts, by PAInterestDividendWorksheetFieldIds
// member.
struct Line {
  int total;
  int taxpayer;
  int spouse;
};

// Who a federal source copy counts for.
enum class Owner { kNone, kTaxpayer, kSpouse, kJoint };

// Federal form 51 (Fed51FieldIds members; host fields in comments): the
// two kinds of its amounts and its owner marks.
const int kFed51FirstKind = 292;  // 6, tested before the second kind
const int kFed51SecondKind = 293; // 142
const int kFed51Taxpayer = 288;   // 366
const int kFed51Spouse = 289;     // 367
// Federal form 89 owner marks (Fed89FieldIds).
const int kFed89Taxpayer = 93;    // 145
const int kFed89Spouse = 94;      // 146

// Federal form 51 amounts by kind (0 the first, 1 the second) and person
// (0 the taxpayer, 1 the spouse), with the number of copies counted.
struct KindTotals {
  double amount[2][2] = {};
  int count[2][2] = {};

  bool present(int kind) const { return count[kind][0] > 0 || count[kind][1] > 0; }
};

// Calls visit(copy number) for every existing copy of `form`, ascending;
// an empty copy the host hands back is skipped.
template <class Visit>
void forEachCopy(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form, Visit visit) {
  for (DataMgmt::TaxFormIter it = taxReturn.getForms(form); !it.atEOL(); it.next()) {
    const DataMgmt::TaxFormPtr copy = it.getTaxForm();
    if (!copy.isNull()) visit(copy->getCopyNumber());
  }
}

// The four amount groups of a state summary form, each summed over all of
// the form's copies: taxpayer[k] and spouse[k] are group k + 1.
struct SummaryGroups {
  double taxpayer[4] = {};
  double spouse[4] = {};

  // Groups 1 + 2 and 3 + 4 of one person.
  double taxpayerFirstTwo() const { return taxpayer[0] + taxpayer[1]; }
  double spouseFirstTwo() const { return spouse[0] + spouse[1]; }
  double taxpayerLastTwo() const { return taxpayer[2] + taxpayer[3]; }
  double spouseLastTwo() const { return spouse[2] + spouse[3]; }
  // Groups 3 and 4 of both persons.
  double lastTwoOfBoth() const { return taxpayerLastTwo() + spouseLastTwo(); }
};

// The calculation of one worksheet copy (see the file comment).
class IntDivWorksheetCalc {
 public:
  IntDivWorksheetCalc(PATaxReturnCalcEngine& engine, PADataMgmt::PATaxReturn& pa,
                      DataMgmt::USTaxReturn& federal, DataMgmt::TaxFormPtr form, uint16_t copy);
  IntDivWorksheetCalc(const IntDivWorksheetCalc&) = delete;
  IntDivWorksheetCalc& operator=(const IntDivWorksheetCalc&) = delete;

  // The two halves, in this order, after the name items.
  void computeInterest();
  void computeDividends();

 private:
  // The summary groups of state form 16 (interest) and 17 (dividends).
  SummaryGroups interestGroups() const;
  SummaryGroups dividendGroups() const;

  // The filing status and residency, asked afresh at each step that
  // depends on them.
  bool joint() const;
  bool partYearResident() const;
  bool fullYearResident() const;

  // Who federal copy `copy` of `form` counts for: the taxpayer when its
  // taxpayer mark is set, else the spouse when its spouse mark is set, else
  // joint when a joint mark is given and set, else nobody. A copy that the
  // return skips also counts for nobody: on a return that is not joint, a
  // copy whose spouse mark is set is skipped entirely.
  Owner ownerOf(const DataMgmt::FormId& form, uint16_t copy, const DataMgmt::FieldId& taxpayerMark,
                const DataMgmt::FieldId& spouseMark,
                const DataMgmt::FieldId& jointMark = Primitives::kNullFieldID) const;

  // Every copy of federal form 51 that counts for a person and has a kind,
  // its `amountMember` (Fed51FieldIds) read whole (getIN) or as is (getIR).
  KindTotals form51ByKind(int amountMember, bool wholeAmounts) const;

  // Worksheet field of catalog member `member`.
  static const DataMgmt::FieldId& field(int member);

  // Line patterns.
  // T := t; on a joint return S := s, otherwise S is nulled (its
  // protection kept); total := T + S.
  void splitFill(const Line& line, double t, double s);
  // Unprotects both boxes, then gives the pair its default (the no box).
  void choiceBox(int yesBox, int noBox);
  // The as-used line: the user's own amounts while the yes box is marked,
  // the computed line otherwise.
  void overrideLine(int yesBox, const Line& asUsed, const Line& computed);
  // target := sum of the sources (at most kMaxSummands; nulls count as 0).
  void sum(int target, std::initializer_list<int> sources);
  // The same column by column: total, taxpayer and spouse.
  void sumLines(const Line& target, std::initializer_list<Line> sources);
  // Field by field: total, taxpayer and spouse.
  void copyLine(const Line& from, const Line& to);
  void copyField(int from, int to);
  // Opens an entered amount and cuts it to `limit`.
  void openAndLimit(int member, double limit);
  // member := min(member, limitMember).
  void limitToField(int member, int limitMember);
  // target := max(0, from - less).
  void remainder(int target, int from, int less);
  // target := a + b.
  void plus(int target, int a, int b);
  // An amount the user splits on a joint return: there the total is the
  // sum of the open taxpayer and spouse fields; otherwise the user enters
  // the total, the taxpayer's field copies it and the spouse's is closed.
  void enteredSplit(const Line& line);
  void set(int member, double value);
  void setNull(int member);
  void protect(int member);
  void unprotect(int member);
  void protectAndNull(int member);
  void defaultMark(int a, int b, int c);
  double amount(int member) const;
  void clearRange(int first, int last);

  static const std::size_t kMaxSummands = 6;

  PATaxReturnCalcEngine& engine;
  PADataMgmt::PATaxReturn& pa;
  DataMgmt::USTaxReturn& federal;
  DataMgmt::TaxFormPtr holder;  // the worksheet copy's share, for the box defaults
  DataMgmt::TaxForm& ws;        // the worksheet copy
  const uint16_t copy;

  // Step groups of the interest half.
  void summaryInterest(const SummaryGroups& g);
  void form51Interest();
  void summaryInterestNotTaxed(const SummaryGroups& g);
  void federalInterest();
  void form89Interest();
  void interestSubtractions();
  void netInterest();
  void form187Amounts();
  void form57AndForm10297Interest();
  void totalInterest();

  // Step groups of the dividend half.
  void summaryDividends(const SummaryGroups& g);
  void form51Dividends();
  void summaryDividendsNotTaxed(const SummaryGroups& g);
  void form89Dividends();
  void dividendSubtractions();
  void otherDividends(const SummaryGroups& g);
  void federalDividends();
  void totalDividends(const SummaryGroups& g);
};

}  // namespace int_div
}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_INT_DIV_WORKSHEET_CALC_H_
