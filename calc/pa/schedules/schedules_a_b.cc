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
#include <iterator>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

namespace {

namespace A = PAScheduleA;
namespace B = PAScheduleB;
namespace W = PAInterestDividendWorksheet;

using Primitives::OVImmutableIdentifier;
using WorksheetField = NamedField<PAInterestDividendWorksheetFieldIds>;

// A line copied from the worksheet: the schedule's field and the worksheet
// fields of the taxpayer's and the spouse's column.
template <class Catalog>
struct CopiedLine {
  NamedField<Catalog> field;
  WorksheetField taxpayer;
  WorksheetField spouse;
};

const CopiedLine<PAScheduleAFieldIds> kScheduleALines[] = {
    {A::kFederalTaxableInterest, W::kTaxpayerSummaryInterest, W::kSpouseSummaryInterest},
    {A::kFederalExemptInterest, W::kTaxpayerSummaryExemptInterest, W::kSpouseSummaryExemptInterest},
    {A::kOtherAdditions, W::kTaxpayerOtherInterest, W::kSpouseOtherInterest},
    {A::kPartnershipInterestIncluded, W::kTaxpayerPartnershipInterestCopy, W::kSpousePartnershipInterestCopy},
    {A::kPAExemptInterest, W::kTaxpayerPAExemptInterest, W::kSpousePAExemptInterest},
    {A::kUSObligationInterest, W::kTaxpayerUSObligationInterest, W::kSpouseUSObligationInterest},
    {A::kOtherReductions, W::kTaxpayerInterestSubtractionsCopy, W::kSpouseInterestSubtractionsCopy},
    {A::kAnnuityInterest, W::kTaxpayerAnnuityInterest, W::kSpouseAnnuityInterest},
    {A::kMiscCompCodeLInterest, W::kTaxpayerMiscCompCodeLInterest, W::kSpouseMiscCompCodeLInterest},
    {A::kFed57PairInterest, W::kTaxpayerFed57PairInterest, W::kSpouseFed57PairInterest},
    {A::kFed57AndFed10297Interest, W::kTaxpayerFed57AndFed10297InterestCopy,
     W::kSpouseFed57AndFed10297InterestCopy},
    {A::kPartnershipInterest, W::kTaxpayerPartnershipInterestUsedCopy, W::kSpousePartnershipInterestUsedCopy},
};

const CopiedLine<PAScheduleBFieldIds> kScheduleBLines[] = {
    {B::kFederalTaxableDividends, W::kTaxpayerSummaryDividends, W::kSpouseSummaryDividends},
    {B::kPartnershipDividendsIncluded, W::kTaxpayerPartnershipDividendsCopy, W::kSpousePartnershipDividendsCopy},
    {B::kDividendsNotTaxed, W::kTaxpayerSummaryDividendsNotTaxed, W::kSpouseSummaryDividendsNotTaxed},
    {B::kOtherReductions, W::kTaxpayerDividendSubtractionsCopy, W::kSpouseDividendSubtractionsCopy},
    {B::kFederalExemptDividends, W::kTaxpayerSummaryExemptDividends, W::kSpouseSummaryExemptDividends},
    {B::kOtherDividends, W::kTaxpayerOtherAndFed57DividendsCopy, W::kSpouseOtherAndFed57DividendsCopy},
    // The two B-extra lines are shown but not totalled.
    {B::kForeignDividendIncome, W::kTaxpayerForeignDividendIncome, W::kSpouseForeignDividendIncome},
    {B::kSecondEnteredDividendIncome, W::kTaxpayerSecondEnteredDividendIncome,
     W::kSpouseSecondEnteredDividendIncome},
    {B::kCurrentYearForeignDividendIncome, W::kTaxpayerCurrentYearForeignDividendIncome,
     W::kSpouseCurrentYearForeignDividendIncome},
    {B::kFederalDividendsShare, W::kTaxpayerFederalDividends, W::kSpouseFederalDividends},
    {B::kPartnershipDividends, W::kTaxpayerPartnershipDividendsUsedCopy, W::kSpousePartnershipDividendsUsedCopy},
};

// An explanatory text shown beside an amount.
template <class Catalog>
struct Note {
  NamedField<Catalog> text;
  NamedField<Catalog> amount;
  const char* words;
};

const Note<PAScheduleAFieldIds> kScheduleANotes[] = {
    {A::kOtherAdditionsText, A::kOtherAdditions, "Other Additions"},
    {A::kOtherReductionsText, A::kOtherReductions, "See attached worksheet"},
};

const Note<PAScheduleBFieldIds> kScheduleBNotes[] = {
    {B::kOtherReductionsText, B::kOtherReductions, "Other reduction adjustments"},
    {B::kOtherDividendsText, B::kOtherDividends, "see attached worksheet"},
};

// Two lines whose values differ on a copy that holds data.
template <class Catalog>
struct Pair {
  NamedField<Catalog> first;
  NamedField<Catalog> second;
};

const Pair<PAScheduleAFieldIds> kScheduleAPairs[] = {{A::kFederalTaxableInterest, A::kTotalInterest},
                                                     {A::kFederalTaxableInterest, A::kTotalAdditions},
                                                     {A::kFederalTaxableInterest, A::kNetInterest},
                                                     {A::kNetInterest, A::kTotalInterest}};
const Pair<PAScheduleBFieldIds> kScheduleBPairs[] = {{B::kFederalTaxableDividends, B::kTotalDividends},
                                                     {B::kNetDividends, B::kFederalTaxableDividends},
                                                     {B::kNetDividends, B::kTotalDividends}};

// Schedule A: additions, reductions, net interest (not below 0) and the
// total, which may be below 0.
void totalScheduleA(DataMgmt::TaxForm& form) {
  form.setValueToSumOf(A::kTotalAdditions,
                       {A::kFederalTaxableInterest, A::kFederalExemptInterest, A::kOtherAdditions});
  form.setValueToSumOf(A::kTotalReductions, {A::kPartnershipInterestIncluded, A::kPAExemptInterest,
                                             A::kUSObligationInterest, A::kOtherReductions});
  form.minusIIge0(A::kNetInterest, A::kTotalAdditions, A::kTotalReductions);
  form.setValueToSumOf(A::kTotalInterest, {A::kNetInterest, A::kAnnuityInterest, A::kMiscCompCodeLInterest,
                                           A::kFed57PairInterest, A::kFed57AndFed10297Interest,
                                           A::kPartnershipInterest});
}

// Schedule B: reductions, net dividends (may be below 0) and the total,
// which is never below 0; the two B-extra lines are not added.
void totalScheduleB(DataMgmt::TaxForm& form) {
  form.setValueToSumOf(B::kTotalReductions, {B::kPartnershipDividendsIncluded, B::kDividendsNotTaxed,
                                             B::kOtherReductions});
  form.minusII(B::kNetDividends, B::kFederalTaxableDividends, B::kTotalReductions);
  form.setValueToSumOf(B::kTotalDividends, {B::kNetDividends, B::kFederalExemptDividends, B::kOtherDividends,
                                            B::kCurrentYearForeignDividendIncome, B::kFederalDividendsShare,
                                            B::kPartnershipDividends});
  if (form.getIR(B::kTotalDividends) < 0.0) form.assignIR(B::kTotalDividends, 0.0);
}

// What tells the twins apart: the form, its header fields, texts, lines,
// notes, totals and compared pairs.
template <class Catalog>
struct Shape {
  const DataMgmt::FormId* form;
  NamedField<Catalog> title;
  NamedField<Catalog> name;
  NamedField<Catalog> number;
  NamedField<Catalog> taxpayerBox;
  NamedField<Catalog> spouseBox;
  NamedField<Catalog> jointBox;  // always No
  const char* taxpayerTitle;
  const char* spouseTitle;
  const CopiedLine<Catalog>* lines;
  std::size_t lineCount;
  const Note<Catalog>* notes;
  std::size_t noteCount;
  bool notesWhenNegative;  // A shows a note for any amount but 0; B only above 0
  void (*total)(DataMgmt::TaxForm& form);
  NamedField<Catalog> firstLine;  // the lines a nonresident's copy clears
  NamedField<Catalog> lastLine;   // the total
  const Pair<Catalog>* pairs;
  std::size_t pairCount;
  const UserFields<Catalog>* userFields;  // the user's on a copy above 2
};

const Shape<PAScheduleAFieldIds> kScheduleA = {&kFormID_PAScheduleA,
                                               A::kTitle,
                                               A::kFilerName,
                                               A::kFilerSSN,
                                               A::kTaxpayerBox,
                                               A::kSpouseBox,
                                               A::kJointBox,
                                               "PA40A Copy 1 - Taxpayer",
                                               "PA40A Copy 2 - Spouse",
                                               kScheduleALines,
                                               std::size(kScheduleALines),
                                               kScheduleANotes,
                                               std::size(kScheduleANotes),
                                               /*notesWhenNegative=*/true,
                                               totalScheduleA,
                                               A::kFederalTaxableInterest,
                                               A::kTotalInterest,
                                               kScheduleAPairs,
                                               std::size(kScheduleAPairs),
                                               &A::kUserFields};

const Shape<PAScheduleBFieldIds> kScheduleB = {&kFormID_PAScheduleB,
                                               B::kTitle,
                                               B::kFilerName,
                                               B::kFilerSSN,
                                               B::kTaxpayerBox,
                                               B::kSpouseBox,
                                               B::kJointBox,
                                               "PA40B Copy 1 - Taxpayer",
                                               "PA40B Copy 2 - Spouse",
                                               kScheduleBLines,
                                               std::size(kScheduleBLines),
                                               kScheduleBNotes,
                                               std::size(kScheduleBNotes),
                                               /*notesWhenNegative=*/false,
                                               totalScheduleB,
                                               B::kFederalTaxableDividends,
                                               B::kTotalDividends,
                                               kScheduleBPairs,
                                               std::size(kScheduleBPairs),
                                               &B::kUserFields};

// Boxes and title of the person the copy belongs to; copies above 2 keep
// theirs.
template <class Catalog>
void markPerson(const Shape<Catalog>& s, DataMgmt::TaxForm& form, uint16_t copy, uint8_t status) {
  if (copy == 1) {
    form.setX(s.taxpayerBox);
    form.setXNo(s.spouseBox);
    form.assignText(s.title, s.taxpayerTitle);
  } else if (copy == 2) {
    form.setXNo(s.taxpayerBox);
    form.setX(s.spouseBox);
    if (status == PADataMgmt::kFilingJoint) {
      form.assignText(s.title, s.spouseTitle);
    } else {
      form.setNull(s.title);
    }
  }
}

// The person's column of the worksheet, the notes and the totals.
template <class Catalog>
void fillLines(const Shape<Catalog>& s, const PADataMgmt::PATaxReturn& pa, DataMgmt::TaxForm& form,
               uint16_t copy) {
  for (std::size_t k = 0; k < s.lineCount; ++k) {
    const CopiedLine<Catalog>& line = s.lines[k];
    const WorksheetField& source = copy == 1 ? line.taxpayer : line.spouse;
    form.assignIR(line.field, pa.getIN(kFormID_PAInterestDividendWorksheet, 1, source));
  }
  for (std::size_t k = 0; k < s.noteCount; ++k) {
    const Note<Catalog>& note = s.notes[k];
    const double amount = form.getIR(note.amount);
    const bool shown = s.notesWhenNegative ? amount != 0.0 : amount > 0.0;
    if (shown) {
      form.assignText(note.text, note.words);
    } else {
      form.setNull(note.text);
    }
  }
  s.total(form);
}

// A copy whose compared lines all agree (empty, cleared, or holding its
// first line alone) is not marked as holding data.
template <class Catalog>
bool holdsData(const Shape<Catalog>& s, const DataMgmt::TaxForm& form) {
  for (std::size_t k = 0; k < s.pairCount; ++k) {
    if (form.getIR(s.pairs[k].first) != form.getIR(s.pairs[k].second)) return true;
  }
  return false;
}

// Whether a copy above 2, which the calculation never fills, holds an
// entry of the user's: its title, a person's box or any of its lines, as
// the table marks them (only the name, the number and the joint box are
// written there).
template <class Catalog>
bool holdsUserLines(const Shape<Catalog>& s, const DataMgmt::TaxForm& form, uint16_t copy) {
  return copy > 2 && holdsUserEntry(form, *s.userFields);
}

template <class Catalog>
void computePersonSchedule(const Shape<Catalog>& s, PATaxReturnCalcEngine& engine, PADataMgmt::PATaxReturn& pa,
                           DataMgmt::TaxFormPtr holder, uint16_t copy) {
  DataMgmt::TaxForm& form = *holder;
  const uint8_t status = pa.readFilingStatus(kFormID_PAReturnInfo);

  form.setXNo(s.jointBox);
  markPerson(s, form, copy, status);
  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  engine.copyNameText(holder, kFormID_PAReturnInfo, status, 0, s.name, s.number, none, none, none, none, none,
                      none, none, 0);

  if (pa.readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kNonresident) {
    engine.clearFormFields(*s.form, copy, s.firstLine, s.lastLine);
  } else if (copy == 1 || copy == 2) {
    fillLines(s, pa, form, copy);
  }

  // Copies 1 and 2 are the calculation's through and through; a copy
  // above 2 stays part of the return while it holds the user's lines.
  markPartOfReturn(pa, *s.form, copy, holdsData(s, form), [&] { return holdsUserLines(s, form, copy); });
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
