// computeScheduleGL: PA Schedule G-L, the credit for taxes paid to other
// states (state form 176), one copy per other state (the copy's other-state
// field names it).
//
// A copy belongs to the taxpayer or the spouse (its two owner boxes); on a
// return that is not joint it is always the taxpayer's. The copy's person
// P has eight income rows, each the PA income of one class less P's share
// of the deductions schedule, compared with what the other state taxed
// (four entity amounts the user enters); the lesser of the two is the
// doubly-taxed income of the row. The tax paid to the other state, less
// the part not attributable to doubly-taxed income, and the PA tax on that
// income limit the credit (also written as the taxpayer's or the spouse's
// credit), which the PA-40 reads.
//
// Fields read from the copy's previous run: the row boxes (for the
// any-row box; the order runs the form twice, the second time on the
// first run's boxes) and the user's entries: both other-state taxes and
// the entity amounts.
// Nothing is rounded.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

using GLField = NamedField<PAScheduleGLFieldIds>;

const double kMillionths = 1000000.0;
const int kTextSize = 128;

// The eight income rows: compensation, interest, dividends, business
// income, gains, rents, estates and trusts, gambling.
constexpr int kRowCount = PAScheduleGL::kRowPAIncome.rows();

// The values of the other forms for one person.
enum Source : int {
  kGross,
  kLess,
  kExtra1,
  kExtra2,
  kRow4,
  kRow5,
  kRow6,
  kRow7,
  kRow8,
  kDeductions,
  kInterest,
  kDividends,
  kSourceCount,
};

// Where a value is read (copy 1 unless the person's copy is given, or the
// sum over every copy) and whether a value not above 0 reads as 0.
struct SourceField {
  const DataMgmt::FormId* form;
  AnyNamedField taxpayer;
  AnyNamedField spouse;
  uint16_t spouseCopy;
  bool floored;
  bool allCopies = false;
};

const SourceField kSources[kSourceCount] = {
    {&kFormID_PA40, PA40::kTaxpayerCompensation, PA40::kSpouseCompensation, 1, false},
    {&kFormID_PA40, PA40::kTaxpayerExpenses, PA40::kSpouseExpenses, 1, false},
    {&kFormID_PA40, PA40::kTaxpayerInterest, PA40::kSpouseInterest, 1, false},
    {&kFormID_PA40, PA40::kTaxpayerDividends, PA40::kSpouseDividends, 1, false},
    {&kFormID_PA40, PA40::kTaxpayerBusinessIncome, PA40::kSpouseBusinessIncome, 1, true},
    {&kFormID_PAScheduleD, PAScheduleD::kTotalGain, PAScheduleD::kTotalGain, 2, true},
    {&kFormID_PA40, PA40::kTaxpayerRentsTotal, PA40::kSpouseRentsTotal, 1, true},
    {&kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerTotal, PAScheduleJ::kSpouseTotal, 1, true, true},
    {&kFormID_PAW2GIncome, PAW2GIncome::kTaxpayerNetWinnings, PAW2GIncome::kSpouseNetWinnings, 1, true},
    {&kFormID_PADeductions, PADeductions::kTaxpayerAllowedDeductions, PADeductions::kSpouseAllowedDeductions,
     1, false},
    {&kFormID_PAScheduleA, PAScheduleA::kTotalInterest, PAScheduleA::kTotalInterest, 2, false},
    {&kFormID_PAScheduleB, PAScheduleB::kTotalDividends, PAScheduleB::kTotalDividends, 2, false},
};

// One person's values.
struct Person {
  double value[kSourceCount] = {};
  // The income the deductions are spread over (interest and dividends
  // are not part of it).
  double income() const {
    return (value[kGross] - value[kLess]) + value[kExtra1] + value[kExtra2] + value[kRow4] + value[kRow5] +
           value[kRow6] + value[kRow7] + value[kRow8];
  }
};

Person readPerson(const DataMgmt::TaxReturn& pa, bool spouse) {
  Person person;
  for (int s = 0; s < kSourceCount; ++s) {
    const SourceField& source = kSources[s];
    const uint16_t copy = spouse ? source.spouseCopy : 1;
    const FieldId& field = (spouse ? source.spouse : source.taxpayer).id();
    double v = static_cast<double>(source.allCopies ? pa.getAllCopies(*source.form, field)
                                                    : pa.getIN(*source.form, copy, field));
    if (source.floored && !(v > 0)) v = 0;
    person.value[s] = v;
  }
  return person;
}

// The person's amount of each income row (row 1, compensation, has its
// own rule) and whether the row's other-state amount is kept from going
// below 0.
struct IncomeRow {
  Source source;
  bool otherStateFloor;
};
const IncomeRow kRows[kRowCount] = {
    {kGross, false}, {kInterest, false}, {kDividends, false}, {kRow4, true},
    {kRow5, true},   {kRow6, true},      {kRow7, false},      {kRow8, true},
};

// The row boxes, each beside the amount it follows: the PA income of an
// income row, or for interest and dividends their total. Any amount other
// than 0 marks the boxes of business income, gains and rents, only an
// amount above 0 the others.
constexpr int kInterestDividendsTotal = -1;
struct RowBox {
  const GLField& box;
  int row;
  bool onNonZero;
};
const RowBox kRowBoxes[] = {
    {PAScheduleGL::kCompensationBox, 0, false},
    {PAScheduleGL::kInterestDividendsBox, kInterestDividendsTotal, false},
    {PAScheduleGL::kBusinessIncomeBox, 3, true},
    {PAScheduleGL::kGainsBox, 4, true},
    {PAScheduleGL::kRentsBox, 5, true},
    {PAScheduleGL::kEstateTrustBox, 6, false},
    {PAScheduleGL::kGamblingBox, 7, false},
};

void markRowBoxes(DataMgmt::TaxForm& gl) {
  for (const RowBox& row : kRowBoxes) {
    const double amount =
        gl.getIR(row.row == kInterestDividendsTotal ? PAScheduleGL::kInterestDividendsTotal.id()
                                                    : PAScheduleGL::kRowPAIncome.at(row.row));
    markOrNo(gl, row.box, row.onNonZero ? amount != 0 : amount > 0);
  }
}

// Sets the PA-income field to v, then takes off the person's share of the
// deductions: v - (v / divisor) x deductions. Without income to spread the
// deductions over (a divisor of 0 or less) v is kept.
void prorate(DataMgmt::TaxForm& gl, const FieldId& field, double v, double divisor, double deductions) {
  gl.assignIR(field, v);
  if (deductions > 0 && divisor > 0) gl.assignIR(field, v - (gl.getIR(field) / divisor) * deductions);
}

// Rows 2 to 8: the row's own amount of person P, spread over P's income.
void prorateRow(DataMgmt::TaxForm& gl, int r, const Person& p) {
  prorate(gl, PAScheduleGL::kRowPAIncome.at(r), p.value[kRows[r].source], p.income(), p.value[kDeductions]);
}

// The other-state side of row r: the four entity amounts are open while
// `open`, summed into the row's entity sum, which becomes the row's
// other-state income (its `otherState` field); else they are closed.
void fillEntityAmounts(DataMgmt::TaxForm& gl, int r, const FieldId& otherState, bool open) {
  const FieldId* const entities[] = {
      &PAScheduleGL::kFirstEntityIncome.at(r), &PAScheduleGL::kSecondEntityIncome.at(r),
      &PAScheduleGL::kThirdEntityIncome.at(r), &PAScheduleGL::kFourthEntityIncome.at(r)};
  const FieldId& sum = PAScheduleGL::kEntityIncomeSum.at(r);
  if (open) {
    for (const FieldId* entity : entities) gl.unProtect(*entity);
    gl.setValueToSumOf(sum, {*entities[0], *entities[1], *entities[2], *entities[3]});
    gl.assignII(otherState, sum);
  } else {
    for (const FieldId* entity : entities) gl.makeProtectedAndSetNull(*entity);
    gl.makeProtectedAndSetNull(sum);
  }
}

// The other-state side of rows 2 to 8: the detail amounts are open while
// the row's PA income is positive.
void fillOtherState(DataMgmt::TaxForm& gl, int r) {
  const FieldId& paIncome = PAScheduleGL::kRowPAIncome.at(r);
  const FieldId& otherState = PAScheduleGL::kRowOtherStateIncome.at(r);
  const FieldId& lesser = PAScheduleGL::kRowLesserIncome.at(r);
  const bool open = gl.getIR(paIncome) > 0;
  fillEntityAmounts(gl, r, otherState, open);
  if (open) {
    if (kRows[r].otherStateFloor && gl.getIR(otherState) < 0) gl.assignIR(otherState, 0.0);
    gl.minII(lesser, paIncome, otherState);
  } else {
    gl.makeProtectedAndSetNull(otherState);
    gl.makeProtectedAndSetNull(lesser);
  }
}

// Row 1: the PA-40 gross and less amounts of person P.
void fillRow1(DataMgmt::TaxForm& gl, const DataMgmt::TaxReturn& pa, TaxFormPtr form, bool joint,
              const Person& p) {
  const GLField& gross = PAScheduleGL::kGrossCompensation;
  const GLField& otherStateSum = PAScheduleGL::kCompensationOtherStateSum;
  const GLField& reduction = PAScheduleGL::kCompensationReduction;
  const FieldId& paIncome = PAScheduleGL::kRowPAIncome.at(0);
  const FieldId& otherState = PAScheduleGL::kRowOtherStateIncome.at(0);
  const FieldId& lesser = PAScheduleGL::kRowLesserIncome.at(0);
  const double deductions = p.value[kDeductions];
  const double own = p.value[kGross] - p.value[kLess];
  if (!joint) {
    gl.makeProtected(gross);
    pa.getII(kFormID_PA40, PA40::kGrossCompensation, form, gross);
    if (gl.getIR(gross) > 0) {
      gl.makeProtected(reduction);
      pa.getII(kFormID_PA40, PA40::kUnreimbursedExpenses, form, reduction);
      gl.minusIIge0(paIncome, gross, reduction);
      prorate(gl, paIncome, own, static_cast<double>(pa.getIN(kFormID_PA40, 1, PA40::kTotalTaxableIncome)),
              deductions);
      gl.assignII(otherState, otherStateSum);
      gl.minII(lesser, paIncome, otherState);
    } else {
      gl.makeProtectedAndSetNull(otherStateSum);
      gl.makeProtectedAndSetNull(reduction);
      for (const FieldId* f : {&paIncome, &otherState, &lesser}) gl.setNull(*f);
    }
  } else {
    gl.assignIR(gross, p.value[kGross]);
    gl.assignIR(reduction, p.value[kLess]);
    gl.minusIIge0(paIncome, gross, reduction);
    prorate(gl, paIncome, own, p.income(), deductions);
  }

  // Other-state side, open while the gross amount is positive.
  const bool open = gl.getIR(gross) > 0;
  fillEntityAmounts(gl, 0, otherStateSum, open);
  if (open) {
    gl.assignII(otherState, otherStateSum);
    gl.minII(lesser, paIncome, otherState);
  } else {
    for (const FieldId* f : {&otherStateSum.id(), &reduction.id(), &paIncome}) gl.makeProtectedAndSetNull(*f);
    gl.setNull(otherState);
    gl.setNull(lesser);
  }
}

// The other-state income of row r as the excess test reads it: row 1's
// sum of the entity amounts, the row's own field for the others.
const FieldId& reportedIncome(int r) {
  return r == 0 ? PAScheduleGL::kCompensationOtherStateSum.id() : PAScheduleGL::kRowOtherStateIncome.at(r);
}

// The taxpayer's excess box and, on a joint return, the spouse's: whether
// the income reported to other states over all copies exceeds the PA
// income of any row.
void markExcess(DataMgmt::TaxForm& gl, const DataMgmt::TaxReturn& pa, bool joint) {
  const DataMgmt::FormId& form = kFormID_PAScheduleGL;
  const auto& paIncome = PAScheduleGL::kRowPAIncome;
  if (!joint) {
    bool excess = false;
    for (int r = 0; r < kRowCount && !excess; ++r) {
      excess = pa.getAllCopies(form, reportedIncome(r)) > pa.getIN(form, 1, paIncome.at(r));
    }
    markOrNo(gl, PAScheduleGL::kTaxpayerExcessBox, excess);
    return;
  }
  long sums[2][kRowCount] = {};
  long income[2][kRowCount] = {};
  for (DataMgmt::TaxFormIter it = pa.getForms(form); !it.atEOL(); it.next()) {
    TaxFormPtr copy = it.getTaxForm();
    if (copy.isNull()) continue;
    const int person = copy->xMarked(PAScheduleGL::kTaxpayerBox) ? 0 : 1;
    for (int r = 0; r < kRowCount; ++r) {
      sums[person][r] += copy->getIN(PAScheduleGL::kRowOtherStateIncome.at(r));
      income[person][r] = copy->getIN(paIncome.at(r));
    }
  }
  const GLField* const boxes[2] = {&PAScheduleGL::kTaxpayerExcessBox, &PAScheduleGL::kSpouseExcessBox};
  for (int person = 0; person < 2; ++person) {
    bool excess = false;
    for (int r = 0; r < kRowCount; ++r) excess = excess || sums[person][r] > income[person][r];
    markOrNo(gl, *boxes[person], excess);
  }
}

// target := the sum of one column over every row, in row order.
template <std::size_t... R>
void sumRows(DataMgmt::TaxForm& gl, const FieldId& target, const NamedColumn<PAScheduleGLFieldIds>& column,
             std::index_sequence<R...>) {
  gl.setValueToSumOf(target, {column.at(R)...});
}

// Doubly-taxed income (the lesser amounts of every row) and the other
// states' income over every row.
void sumIncome(DataMgmt::TaxForm& gl) {
  sumRows(gl, PAScheduleGL::kDoublyTaxedIncome, PAScheduleGL::kRowLesserIncome,
          std::make_index_sequence<kRowCount>());
  gl.assignII(PAScheduleGL::kDoublyTaxedIncomeCopy, PAScheduleGL::kDoublyTaxedIncome);
  sumRows(gl, PAScheduleGL::kOtherStateIncomeTotal, PAScheduleGL::kRowOtherStateIncome,
          std::make_index_sequence<kRowCount>());
}

// Opens an entered amount while `open`, else protects and nulls it.
void openOrClose(DataMgmt::TaxForm& gl, const FieldId& field, bool open) {
  if (open) {
    gl.unProtect(field);
  } else {
    gl.makeProtectedAndSetNull(field);
  }
}

// The tax paid to the other state (entered, open while there is
// doubly-taxed income), the second amount and the lesser of the two.
void computeLesserTax(DataMgmt::TaxForm& gl) {
  openOrClose(gl, PAScheduleGL::kOtherStateTax, gl.getIR(PAScheduleGL::kDoublyTaxedIncome) > 0);
  openOrClose(gl, PAScheduleGL::kSecondOtherStateTax, gl.getIR(PAScheduleGL::kOtherStateTax) > 0);
  gl.minII(PAScheduleGL::kLesserOtherStateTax, PAScheduleGL::kOtherStateTax,
           PAScheduleGL::kSecondOtherStateTax);
}

// The part of the lesser tax that falls on income PA does not tax: the
// share of the other states' income that is not doubly taxed. It reads
// the lesser tax this calculation worked out, so that one calculation
// after an edit of the tax gives the credit the edit calls for.
void computeNotAttributable(DataMgmt::TaxForm& gl) {
  double ratio = 0;
  double complement = 0;
  const long otherStateIncome = gl.getIN(PAScheduleGL::kOtherStateIncomeTotal);
  if (otherStateIncome > 0) {
    ratio = static_cast<double>(gl.getIN(PAScheduleGL::kDoublyTaxedIncomeCopy)) /
            static_cast<double>(otherStateIncome);
    if (ratio > 1.0) ratio = 1.0;
    complement = 1.0 - ratio;
  }
  gl.assignIR(PAScheduleGL::kRatioMillionths, ratio * kMillionths);
  if (ratio == 1.0) {
    // All the other states' income is doubly taxed: none of the tax falls
    // outside it. The complement and its share are 0, written so that no
    // figure of a calculation before stays.
    gl.assignIR(PAScheduleGL::kTaxNotAttributable, 0.0);
    gl.assignIR(PAScheduleGL::kComplementMillionths, 0.0);
    gl.assignIR(PAScheduleGL::kTaxNotAttributableCopy, 0.0);
  } else {
    gl.assignIR(PAScheduleGL::kComplementMillionths, complement * kMillionths);
    const double notAttributable =
        static_cast<double>(gl.getIN(PAScheduleGL::kLesserOtherStateTax)) * complement;
    gl.assignIR(PAScheduleGL::kTaxNotAttributable, notAttributable);
    gl.assignIR(PAScheduleGL::kTaxNotAttributableCopy, notAttributable);
  }
}

// Clears what the computation writes beyond the fields from the other
// state to the credit (which the caller clears in field order): every
// row's sum of the entity amounts, the interest and dividends total and
// flag and the ratio's figures. The entity names and amounts are the
// user's and stay as they are, so that a copy set to "PA" by a slip, or a
// return switched to nonresident, and then set back has them again.
void clearFiguresBeyondCredit(DataMgmt::TaxForm& gl) {
  for (int r = 0; r < kRowCount; ++r) gl.makeProtectedAndSetNull(PAScheduleGL::kEntityIncomeSum.at(r));
  for (const GLField* f : {&PAScheduleGL::kInterestDividendsTotal, &PAScheduleGL::kInterestDividendsFlag,
                           &PAScheduleGL::kDoublyTaxedIncomeCopy, &PAScheduleGL::kOtherStateIncomeTotal,
                           &PAScheduleGL::kRatioMillionths, &PAScheduleGL::kComplementMillionths,
                           &PAScheduleGL::kTaxNotAttributableCopy}) {
    gl.setNull(*f);
  }
}

// The credit: the lesser tax less the part not attributable, never above
// PA's own tax on the doubly-taxed income.
void computeCredit(DataMgmt::TaxForm& gl) {
  gl.minusIIge0(PAScheduleGL::kTaxOnDoublyTaxedIncome, PAScheduleGL::kLesserOtherStateTax,
                PAScheduleGL::kTaxNotAttributable);
  gl.timesIR(PAScheduleGL::kPATaxOnDoublyTaxedIncome, PAScheduleGL::kDoublyTaxedIncome, PATax2018::kTaxRate);
  gl.minII(PAScheduleGL::kCredit, PAScheduleGL::kTaxOnDoublyTaxedIncome,
           PAScheduleGL::kPATaxOnDoublyTaxedIncome);
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleGL(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& gl = *form;
  const DataMgmt::FormId& kGL = kFormID_PAScheduleGL;
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = filingStatus == PADataMgmt::kFilingJoint;

  if (paReturn->readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kNonresident) {
    // A nonresident has no credit for taxes paid to other states: the
    // figures from compensation to the credit go, with the person's credit
    // and the copy of the state. The state itself is the user's and stays,
    // as the entities do, so that a return marked nonresident by a slip
    // and then resident again names it still.
    clearFormFields(kGL, copy, PAScheduleGL::kGrossCompensation, PAScheduleGL::kCredit);
    clearFiguresBeyondCredit(gl);
    for (const GLField* f : {&PAScheduleGL::kOtherStateCopy, &PAScheduleGL::kTaxpayerCredit,
                             &PAScheduleGL::kSpouseCredit}) {
      gl.setNull(*f);
    }
  } else {
    bool anyRow = false;
    for (const RowBox& row : kRowBoxes) anyRow = anyRow || paReturn->formYes(kGL, copy, row.box);
    markOrNo(gl, PAScheduleGL::kAnyIncomeRowBox, anyRow);

    if (joint) {
      gl.unProtect(PAScheduleGL::kTaxpayerBox);
      gl.unProtect(PAScheduleGL::kSpouseBox);
      Utils::setDefaultX(form, PAScheduleGL::kTaxpayerBox, PAScheduleGL::kSpouseBox,
                         PAScheduleGL::kSpouseBox);
    } else {
      gl.setX(PAScheduleGL::kTaxpayerBox);
      gl.setXNo(PAScheduleGL::kSpouseBox);
      gl.makeProtected(PAScheduleGL::kTaxpayerBox);
      gl.makeProtected(PAScheduleGL::kSpouseBox);
    }
    const bool taxpayer = gl.xMarked(PAScheduleGL::kTaxpayerBox);
    const FieldId& none = Primitives::kNullFieldID;
    const FieldId& name = PAScheduleGL::kFilerName;
    const FieldId& number = PAScheduleGL::kFilerSSN;
    if (taxpayer) {
      copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, name, number, none, none, none, none, none,
                   none, none, 0);
    } else {
      copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, none, none, none, none, name, number, none,
                   none, none, 0);
    }

    gl.unProtect(PAScheduleGL::kOtherState);
    char state[kTextSize] = "";
    paReturn->textString(state, kGL, copy, PAScheduleGL::kOtherState);
    // The copy follows the state as entered, emptied with it.
    if (state[0] != '\0') {
      gl.assignText(PAScheduleGL::kOtherStateCopy, state);
    } else {
      gl.setNull(PAScheduleGL::kOtherStateCopy);
    }

    const Person people[2] = {readPerson(*paReturn, false), readPerson(*paReturn, true)};
    const Person& p = people[taxpayer ? 0 : 1];

    if (std::strcmp(state, "PA") == 0) {
      // Income taxed by PA itself earns no credit.
      clearFormFields(kGL, copy, PAScheduleGL::kGrossCompensation, PAScheduleGL::kCredit);
      clearFiguresBeyondCredit(gl);
      computeLesserTax(gl);
    } else {
      fillRow1(gl, *paReturn, form, joint, p);

      const double idTotal = people[0].value[kInterest] + people[1].value[kInterest] +
                             people[0].value[kDividends] + people[1].value[kDividends];
      if (idTotal > 0) {
        gl.assignIR(PAScheduleGL::kInterestDividendsTotal, idTotal);
      } else {
        gl.setNull(PAScheduleGL::kInterestDividendsTotal);
      }
      for (int r = 1; r < 3; ++r) prorateRow(gl, r, p);
      for (int r = 1; r < 3; ++r) fillOtherState(gl, r);
      const bool interestDividends = gl.getIR(PAScheduleGL::kRowLesserIncome.at(1)) > 0 ||
                                     gl.getIR(PAScheduleGL::kRowLesserIncome.at(2)) > 0;
      gl.assignIR(PAScheduleGL::kInterestDividendsFlag, interestDividends ? 1.0 : 0.0);
      for (int r = 3; r < kRowCount; ++r) {
        prorateRow(gl, r, p);
        fillOtherState(gl, r);
      }
      sumIncome(gl);
      computeLesserTax(gl);
      computeNotAttributable(gl);
    }
    computeCredit(gl);
    if (taxpayer) {
      gl.assignII(PAScheduleGL::kTaxpayerCredit, PAScheduleGL::kCredit);
      gl.setNull(PAScheduleGL::kSpouseCredit);
    } else {
      gl.setNull(PAScheduleGL::kTaxpayerCredit);
      gl.assignII(PAScheduleGL::kSpouseCredit, PAScheduleGL::kCredit);
    }
  }

  markExcess(gl, *paReturn, joint);
  markRowBoxes(gl);

  const bool residentOrPartYear =
      paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox) ||
      paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kPartYearResidentBox);
  markPartOfReturn(*paReturn, kGL, copy, gl, residentOrPartYear && gl.getIR(PAScheduleGL::kCredit) > 0,
                   [&] { return holdsUserEntry(gl, PAScheduleGL::kUserFields); });
}

}  // namespace PACalculationMgmt
