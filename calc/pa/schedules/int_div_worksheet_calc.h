// IntDivWorksheetCalc: one calculation of the PA interest and dividend
// worksheet (state form 186), shared by the worksheet's source files.
//
// The worksheet gathers the interest (int_div_worksheet_interest.cc) and
// the dividends (int_div_worksheet_dividends.cc) of the taxpayer and the
// spouse from the state interest and dividend summaries (state forms 16
// and 17), the federal sources and the user's entries;
// computeInterestDividendWorksheet (int_div_worksheet.cc) runs the two
// halves and decides whether the copy is printed. The two halves have the
// same shapes (federal form 51 kinds with their overrides, form 89 with
// its adjustment, the summary groups, the part-year amounts); each shape
// is one routine here, fed by a table of the half's lines.
//
// Most lines are triples: a total, the taxpayer's amount and the spouse's.
// On a joint return the total is the sum of the two; on any other return
// the spouse's field is null and the total is the taxpayer's amount.
//
// The object lives for one call and borrows everything: the engine, its
// PA and federal returns and the worksheet copy. It keeps nothing between
// calls. Missing copies and fields read as 0.
#ifndef CALC_PA_SCHEDULES_INT_DIV_WORKSHEET_CALC_H_
#define CALC_PA_SCHEDULES_INT_DIV_WORKSHEET_CALC_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "calc/pa/federal_owner.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/tax_form.h"

namespace PACalculationMgmt {
namespace int_div {

using DataMgmt::FieldId;
using DataMgmt::FormId;

// A field of the worksheet.
using Field = NamedField<PAInterestDividendWorksheetFieldIds>;

// A worksheet line of three amounts.
struct Line {
  Field total;
  Field taxpayer;
  Field spouse;
};

// The taxpayer's (person 0) or the spouse's (person 1) field of a line.
inline const Field& personField(const Line& line, int person) { return person == 0 ? line.taxpayer : line.spouse; }

// Who a federal source copy counts for.
using Owner = FederalOwner;

// Amounts of the two persons: [0] the taxpayer's, [1] the spouse's.
using PersonAmounts = std::array<double, 2>;

// Federal form 51 amounts by kind (0 the first, 1 the second) and person
// (0 the taxpayer, 1 the spouse), with the number of copies counted.
struct KindTotals {
  double amount[2][2] = {};
  int count[2][2] = {};

  bool present(int kind) const { return count[kind][0] > 0 || count[kind][1] > 0; }
};

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

// One kind of federal form 51 amounts: the box saying whether any copy has
// the kind, the check-box pair given a default, the computed line, the
// override pair and the line as used.
struct PartnershipKind {
  Field presentBox;
  Field pairYes;
  Field pairNo;
  Line computed;
  Field overrideYes;
  Field overrideNo;
  Line asUsed;
};

// The federal form 51 lines of one half: both kinds, then their sums as
// computed and as used, each with its copy.
struct PartnershipLines {
  PartnershipKind kinds[2];
  Line both;
  Line bothCopy;
  Line asUsed;
  Line asUsedCopy;
};

// The federal form 89 lines of one half: the check-box pair given a
// default, the form 89 income, the user's adjustment, the remainder and
// its copy.
struct EstateTrustLines {
  Field yesBox;
  Field noBox;
  Line income;
  Line adjustment;
  Line remainder;
  Line remainderCopy;
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

  // Who federal copy `copy` of `form` counts for, by its marks (the joint
  // one when given). On a joint return a copy without a mark counts for
  // nobody; on any other return it is the taxpayer's, and a copy marked
  // for the spouse is skipped entirely.
  Owner ownerOf(const FormId& form, uint16_t copy, const FieldId& taxpayerMark, const FieldId& spouseMark,
                const FieldId& jointMark = Primitives::kNullFieldID) const;

  // Calls visit(copy, person) for every copy of `form` that counts for the
  // taxpayer (person 0) or the spouse (person 1), ascending.
  template <class Visit>
  void forEachPersonCopy(const FormId& form, const FieldId& taxpayerMark, const FieldId& spouseMark,
                         Visit visit) const;

  // Every copy of federal form 51 that counts for a person and has a kind,
  // its `amountField` read whole (getIN) or as is (getIR).
  KindTotals form51ByKind(const FieldId& amountField, bool wholeAmounts) const;

  // Shapes both halves share.
  // The summary groups 1 + 2, on the shown line and the summary line; on
  // a return that is not joint the summary total copies `singleTotalFrom`.
  void summaryFirstTwo(const Line& shown, const Line& summary, const SummaryGroups& g,
                       const FieldId& singleTotalFrom);
  // The summary groups 3 + 4 line.
  void summaryLastTwo(const Line& line, const SummaryGroups& g);
  // The federal form 51 lines from the amounts by kind.
  void partnershipLines(const PartnershipLines& lines, const KindTotals& kinds);
  // A full-year resident's total of kind `kind`; null for anyone else.
  void residentTotal(const FieldId& field, const KindTotals& kinds, int kind);
  // The federal form 89 lines from the amounts of the two persons. On a
  // joint return each person's adjustment is limited to the person's line
  // as it stands when `limitToLine` is set, else to the person's amount.
  void estateTrustLines(const EstateTrustLines& lines, const PersonAmounts& amounts, bool limitToLine);
  // A part-year resident's amounts before the part-year subtraction (the
  // total has it taken off); protected and null for anyone else, and the
  // spouse's on a return that is not joint.
  void partYearBeforeSubtraction(const Field& taxpayer, const Field& spouse, const Line& subtraction,
                                 const Line& total);

  // Line patterns.
  // T := t; on a joint return S := s, otherwise S is nulled (its
  // protection kept).
  void setPair(const Line& line, double t, double s);
  // setPair, then total := T + S.
  void splitFill(const Line& line, double t, double s);
  // On a joint return `spouse` := value, otherwise it is protected and
  // nulled.
  void setSpouse(const FieldId& spouse, double value);
  // On a joint return `spouse` is open to the user, otherwise it is
  // protected and nulled.
  void openSpouse(const FieldId& spouse);
  // Unprotects both boxes, then gives the pair its default (the no box).
  void choiceBox(const FieldId& yesBox, const FieldId& noBox);
  // The as-used line: the user's own amounts (enteredSplit) while the yes
  // box is marked, the computed line otherwise. The computed amounts a
  // marked box finds there stay as the user's start.
  void overrideLine(const FieldId& yesBox, const Line& asUsed, const Line& computed);
  // target := sum of the sources (nulls count as 0).
  void sum(const FieldId& target, std::initializer_list<FieldId> sources);
  // The same column by column: total, taxpayer and spouse (at most
  // kMaxSummands lines).
  void sumLines(const Line& target, std::initializer_list<Line> sources);
  // The total of a line whose T (and, on a joint return, S) is written:
  // T + S on a joint return; otherwise S is protected and nulled and the
  // total copies T.
  void jointTotal(const Line& line);
  // Field by field: total, taxpayer and spouse.
  void copyLine(const Line& from, const Line& to);
  // The three fields written as given.
  void setLine(const Line& line, double total, double t, double s);
  // A line shown only when `shown`: then the total and S are protected and
  // the line is split-filled from t and s; otherwise T and S are protected
  // and nulled and the total is nulled.
  void gatedLine(const Line& line, bool shown, double t, double s);
  void copyField(const FieldId& from, const FieldId& to);
  // Opens a field to the user's entry; an amount the calculation held
  // there (protected: a total of the other filing status, a copy of the
  // total, an amount of another residency) goes, an entry of the user's
  // stays.
  void openEntry(const FieldId& field);
  // openEntry, then the entry is cut to `limit`.
  void openAndLimit(const FieldId& field, double limit);
  // openAndLimit when `open`, else the field is protected and nulled.
  void openUpTo(const FieldId& field, bool open, double limit);
  // field := min(field, limit field).
  void limitToField(const FieldId& field, const FieldId& limit);
  // target := max(0, from - less).
  void remainder(const FieldId& target, const FieldId& from, const FieldId& less);
  // target := a + b.
  void plus(const FieldId& target, const FieldId& a, const FieldId& b);
  // An amount the user splits on a joint return: there the total is the
  // sum of the open taxpayer and spouse fields; otherwise the user enters
  // the total, the taxpayer's field copies it and the spouse's is closed.
  // Each side protects what it calculates, so that the other side drops
  // it when the filing status changes (openEntry).
  void enteredSplit(const Line& line);
  // T := total, protected: calculated, never the user's.
  void copyTotalToTaxpayer(const Line& line);
  // value when above 0, else null.
  void setIfPositive(const FieldId& field, double value);
  void set(const FieldId& field, double value);
  void setNull(const FieldId& field);
  void protect(const FieldId& field);
  void unprotect(const FieldId& field);
  void protectAndNull(const FieldId& field);
  // All three fields of the line protected and nulled.
  void closeLine(const Line& line);
  // T and S protected and nulled, the total nulled.
  void closeAmounts(const Line& line);
  void defaultMark(const FieldId& a, const FieldId& b, const FieldId& c);
  double amount(const FieldId& field) const;
  void clearRange(const FieldId& first, const FieldId& last);

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
  void jointFederalInterest(PersonAmounts& form166, PersonAmounts& federalLine) const;
  void federalInterestAdjustment();
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
  void spouseShareOfFederalDividends();
  void totalDividends(const SummaryGroups& g);
};

// Calls visit(copy number) for every existing copy of `form`, ascending;
// an empty copy the host hands back is skipped.
template <class Visit>
void forEachCopy(const DataMgmt::TaxReturn& taxReturn, const FormId& form, Visit visit) {
  for (DataMgmt::TaxFormIter it = taxReturn.getForms(form); !it.atEOL(); it.next()) {
    const DataMgmt::TaxFormPtr copy = it.getTaxForm();
    if (!copy.isNull()) visit(copy->getCopyNumber());
  }
}

template <class Visit>
void IntDivWorksheetCalc::forEachPersonCopy(const FormId& form, const FieldId& taxpayerMark,
                                            const FieldId& spouseMark, Visit visit) const {
  forEachCopy(federal, form, [&](uint16_t c) {
    const Owner owner = ownerOf(form, c, taxpayerMark, spouseMark);
    if (owner == Owner::kTaxpayer) visit(c, 0);
    if (owner == Owner::kSpouse) visit(c, 1);
  });
}

}  // namespace int_div
}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_INT_DIV_WORKSHEET_CALC_H_
