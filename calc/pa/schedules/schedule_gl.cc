// computeScheduleGL: PA Schedule G-L, the credit for taxes paid to other
// states (state form 176), one copy per other state (named in field 9).
//
// A copy belongs to the taxpayer (box 21) or the spouse (box 22); on a
// return that is not joint it is always the taxpayer's. The copy's person
// P has eight income rows, each the PA income of one class less P's share
// of the deductions schedule, compared with what the other state taxed
// (four detail amounts the user enters); the lesser of the two is the
// doubly-taxed income of the row. The tax paid to the other state, less
// the part not attributable to doubly-taxed income, and the PA tax on that
// income (3.07 percent) limit the credit (field 14, and 48744 or 48745 by
// person), which the PA-40 reads.
//
// Fields read from the copy's previous calculation: the row boxes (the
// any-row box), field 36186 (the tax not attributable) and the user's
// entries 36184, 36185 and the detail amounts. Nothing is rounded.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalog_ref.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

// Schedule fields: PAScheduleGLFieldIds members, named by host field.
enum Field : int {
  g16 = 2, g36162 = 3, g36168 = 9, g48744 = 15, g48745 = 16, g159108 = 19, g159109 = 20,
  g46173 = 12, g159110 = 21, g161754 = 23, g21 = 24, g22 = 25, g5 = 26, g6 = 27, g9 = 28,
  g36171 = 30, g36172 = 31, g36173 = 32, g36174 = 33, g36175 = 34, g36176 = 35, g36177 = 36,
  g36179 = 38, g36180 = 39, g36182 = 41, g158216 = 42, g158219 = 45, g158222 = 48, g158225 = 51,
  g158228 = 54, g36183 = 57, g36184 = 58, g36185 = 59, g36186 = 60, g36187 = 61, g36188 = 62,
  g36189 = 63, g14 = 64, g158235 = 69, g158239 = 73, g50646 = 109, g50647 = 110, g50648 = 111,
  g50649 = 112, g50650 = 113,
};

const FieldId& id(int member) { return kPAScheduleGLFieldIds[member]; }

const double kPATaxRate = 0.0307;
const double kMillionths = 1000000.0;
const int kTextSize = 128;

// The values of the other forms for one person.
enum Source : int {
  kGross, kLess, kExtra1, kExtra2, kRow4, kRow5, kRow6, kRow7, kRow8,
  kDeductions, kInterest, kDividends, kSourceCount,
};

// Where a value is read (copy 1 unless the person's copy is given, or the
// sum over every copy) and whether a value not above 0 reads as 0.
struct SourceField {
  const DataMgmt::FormId* form;
  FieldRef taxpayer;
  FieldRef spouse;
  uint16_t spouseCopy;
  bool floored;
  bool allCopies = false;
};

const SourceField kSources[kSourceCount] = {
    {&kFormID_PA40, {CatalogId::PA40FieldIds, 158}, {CatalogId::PA40FieldIds, 159}, 1, false},  // 36520/36521
    {&kFormID_PA40, {CatalogId::PA40FieldIds, 169}, {CatalogId::PA40FieldIds, 170}, 1, false},  // 36526/36527
    {&kFormID_PA40, {CatalogId::PA40FieldIds, 98}, {CatalogId::PA40FieldIds, 99}, 1, false},    // 46956/46957
    {&kFormID_PA40, {CatalogId::PA40FieldIds, 100}, {CatalogId::PA40FieldIds, 101}, 1, false},  // 46958/46959
    {&kFormID_PA40, {CatalogId::PA40FieldIds, 183}, {CatalogId::PA40FieldIds, 184}, 1, true},   // 292/293
    {&kFormID_PAScheduleD, {CatalogId::PAScheduleDFieldIds, 185},
     {CatalogId::PAScheduleDFieldIds, 185}, 2, true},                                          // 105
    {&kFormID_PA40, {CatalogId::PA40FieldIds, 195}, {CatalogId::PA40FieldIds, 196}, 1, true},   // 301/302
    {&kFormID_PAScheduleJ, {CatalogId::PAScheduleJFieldIds, 7},
     {CatalogId::PAScheduleJFieldIds, 8}, 1, true, true},                                      // 36894/36895
    {&kFormID_PAW2GIncome, {CatalogId::PAW2GIncomeFieldIds, 63},
     {CatalogId::PAW2GIncomeFieldIds, 64}, 1, true},                                           // 9677/9678
    {&kFormID_PADeductions, {CatalogId::PADeductionsFieldIds, 79},
     {CatalogId::PADeductionsFieldIds, 80}, 1, false},                                         // 36569/36570
    {&kFormID_PAScheduleA, {CatalogId::PAScheduleAFieldIds, 26},
     {CatalogId::PAScheduleAFieldIds, 26}, 2, false},                                          // 155736
    {&kFormID_PAScheduleB, {CatalogId::PAScheduleBFieldIds, 24},
     {CatalogId::PAScheduleBFieldIds, 24}, 2, false},                                          // 155775
};

// PA-40 fields of row 1 on a return that is not joint, and the total PA income.
const FieldId& pa40Gross() { return kPA40FieldIds[160]; }         // 134
const FieldId& pa40Less() { return kPA40FieldIds[171]; }          // 138
const FieldId& pa40TotalIncome() { return kPA40FieldIds[201]; }   // 170

// Information-form residency boxes that allow the completion marks.
const FieldId& infoResidentBox() { return kPAReturnInfoFieldIds[101]; }   // 46
const FieldId& infoPartYearBox() { return kPAReturnInfoFieldIds[103]; }  // 48

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
    const FieldId& field = fieldOf(spouse ? source.spouse : source.taxpayer);
    double v = static_cast<double>(source.allCopies ? pa.getAllCopies(*source.form, field)
                                                    : pa.getIN(*source.form, copy, field));
    if (source.floored && !(v > 0)) v = 0;
    person.value[s] = v;
  }
  return person;
}

// One income row: its members on the schedule and the source of its amount.
struct IncomeRow {
  int paIncome;
  int otherState;
  int firstDetail;  // four detail amounts, then their sum
  int lesser;
  bool otherStateFloor;
  Source source;  // the person's amount of the row (row 1 has its own rule)
};

const IncomeRow kRows[8] = {
    {33, 34, 69, 35, false, kGross},      // 1: 36174, 36175, 158235-158239, 36176
    {36, 37, 74, 38, false, kInterest},   // 2: 36177, 36178, 158240-158244, 36179
    {39, 40, 79, 41, false, kDividends},  // 3: 36180, 36181, 158245-158249, 36182
    {42, 43, 84, 44, true, kRow4},        // 4: 158216, 158217, 158250-158254, 158218
    {45, 46, 89, 47, true, kRow5},        // 5: 158219, 158220, 158255-158259, 158221
    {48, 49, 94, 50, true, kRow6},        // 6: 158222, 158223, 158260-158264, 158224
    {51, 52, 99, 53, false, kRow7},       // 7: 158225, 158226, 158265-158269, 158227
    {54, 55, 104, 56, true, kRow8},       // 8: 158228, 158229, 158270-158274, 158230
};

// Row boxes: the box, the amount it follows, and whether any amount other
// than 0 marks it (else only an amount above 0).
struct RowBox {
  int box;
  int amount;
  bool onNonZero;
};
const RowBox kRowBoxes[] = {
    {3, g36174, false},  {4, g159110, false}, {5, g158216, true}, {6, g158219, true},
    {7, g158222, true},  {8, g158225, false}, {9, g158228, false},
};  // boxes 36162-36168

// Sets the PA-income field to v, then takes off the person's share of the
// deductions: v - (v / divisor) x deductions. Without income to spread the
// deductions over (a divisor of 0 or less) v is kept.
void prorate(DataMgmt::TaxForm& gl, const FieldId& field, double v, double divisor, double deductions) {
  gl.assignIR(field, v);
  if (deductions > 0 && divisor > 0) gl.assignIR(field, v - (gl.getIR(field) / divisor) * deductions);
}

// Rows 2 to 8: the row's own amount of person P, spread over P's income.
void prorateRow(DataMgmt::TaxForm& gl, const IncomeRow& row, const Person& p) {
  prorate(gl, id(row.paIncome), p.value[row.source], p.income(), p.value[kDeductions]);
}

void markIf(DataMgmt::TaxForm& gl, int member, bool marked) {
  if (marked) {
    gl.setX(id(member));
  } else {
    gl.setXNo(id(member));
  }
}

void closeFields(DataMgmt::TaxForm& gl, int first, int last) {
  for (int m = first; m <= last; ++m) gl.makeProtectedAndSetNull(id(m));
}

// The other-state side of rows 2 to 8: the detail amounts are open while
// the row's PA income is positive.
void fillOtherState(DataMgmt::TaxForm& gl, const IncomeRow& row) {
  const int sum = row.firstDetail + 4;
  if (gl.getIR(id(row.paIncome)) > 0) {
    for (int m = row.firstDetail; m < sum; ++m) gl.unProtect(id(m));
    gl.setValueToSumOf(id(sum), {id(row.firstDetail), id(row.firstDetail + 1), id(row.firstDetail + 2),
                                 id(row.firstDetail + 3)});
    gl.assignII(id(row.otherState), id(sum));
    if (row.otherStateFloor && gl.getIR(id(row.otherState)) < 0) gl.assignIR(id(row.otherState), 0.0);
    gl.minII(id(row.lesser), id(row.paIncome), id(row.otherState));
  } else {
    closeFields(gl, row.firstDetail, sum);
    gl.makeProtectedAndSetNull(id(row.otherState));
    gl.makeProtectedAndSetNull(id(row.lesser));
  }
}

// Row 1: the PA-40 gross and less amounts of person P.
void fillRow1(DataMgmt::TaxForm& gl, const DataMgmt::TaxReturn& pa, TaxFormPtr form, bool joint,
              const Person& p) {
  const double deductions = p.value[kDeductions];
  const double own = p.value[kGross] - p.value[kLess];
  if (!joint) {
    gl.makeProtected(id(g36171));
    pa.getII(kFormID_PA40, pa40Gross(), form, id(g36171));
    if (gl.getIR(id(g36171)) > 0) {
      gl.makeProtected(id(g36173));
      pa.getII(kFormID_PA40, pa40Less(), form, id(g36173));
      gl.minusIIge0(id(g36174), id(g36171), id(g36173));
      prorate(gl, id(g36174), own, static_cast<double>(pa.getIN(kFormID_PA40, 1, pa40TotalIncome())),
              deductions);
      gl.assignII(id(g36175), id(g36172));
      gl.minII(id(g36176), id(g36174), id(g36175));
    } else {
      gl.makeProtectedAndSetNull(id(g36172));
      gl.makeProtectedAndSetNull(id(g36173));
      for (int m : {g36174, g36175, g36176}) gl.setNull(id(m));
    }
  } else {
    gl.assignIR(id(g36171), p.value[kGross]);
    gl.assignIR(id(g36173), p.value[kLess]);
    gl.minusIIge0(id(g36174), id(g36171), id(g36173));
    prorate(gl, id(g36174), own, p.income(), deductions);
  }

  // Other-state side, open while the gross amount is positive.
  if (gl.getIR(id(g36171)) > 0) {
    for (int m = g158235; m < g158239; ++m) gl.unProtect(id(m));
    gl.setValueToSumOf(id(g158239), {id(g158235), id(g158235 + 1), id(g158235 + 2), id(g158235 + 3)});
    gl.assignII(id(g36172), id(g158239));
    gl.assignII(id(g36175), id(g36172));
    gl.minII(id(g36176), id(g36174), id(g36175));
  } else {
    closeFields(gl, g158235, g158239);
    for (int m : {g36172, g36173, g36174}) gl.makeProtectedAndSetNull(id(m));
    gl.setNull(id(g36175));
    gl.setNull(id(g36176));
  }
}

// Field 159108 (taxpayer) and, on a joint return, 159109 (spouse): whether
// the income reported to other states over all copies exceeds the PA
// income of any row.
void markExcess(DataMgmt::TaxForm& gl, const DataMgmt::TaxReturn& pa, bool joint) {
  const DataMgmt::FormId& form = kFormID_PAScheduleGL;
  if (!joint) {
    bool excess = false;
    for (int r = 0; r < 8 && !excess; ++r) {
      const int otherState = r == 0 ? g36172 : kRows[r].otherState;
      excess = pa.getAllCopies(form, id(otherState)) > pa.getIN(form, 1, id(kRows[r].paIncome));
    }
    markIf(gl, g159108, excess);
    return;
  }
  long sums[2][8] = {};
  long income[2][8] = {};
  for (DataMgmt::TaxFormIter it = pa.getForms(form); !it.atEOL(); it.next()) {
    TaxFormPtr copy = it.getTaxForm();
    if (copy.isNull()) continue;
    const int person = copy->xMarked(id(g21)) ? 0 : 1;
    for (int r = 0; r < 8; ++r) {
      sums[person][r] += copy->getIN(id(kRows[r].otherState));
      income[person][r] = copy->getIN(id(kRows[r].paIncome));
    }
  }
  const int boxes[2] = {g159108, g159109};
  for (int person = 0; person < 2; ++person) {
    bool excess = false;
    for (int r = 0; r < 8; ++r) excess = excess || sums[person][r] > income[person][r];
    markIf(gl, boxes[person], excess);
  }
}

// target := the sum of one field of every row, in row order.
template <std::size_t... R>
void sumRows(DataMgmt::TaxForm& gl, int target, int IncomeRow::*field, std::index_sequence<R...>) {
  gl.setValueToSumOf(id(target), {id(kRows[R].*field)...});
}

// The tax side: doubly-taxed income, the share of the other state's tax
// that falls on it, and the credit.
void computeCredit(DataMgmt::TaxForm& gl) {
  sumRows(gl, g36183, &IncomeRow::lesser, std::make_index_sequence<8>());
  gl.assignII(id(g50646), id(g36183));
  sumRows(gl, g50647, &IncomeRow::otherState, std::make_index_sequence<8>());

  double ratio = 0;
  double complement = 0;
  const long otherStateIncome = gl.getIN(id(g50647));
  if (otherStateIncome > 0) {
    ratio = static_cast<double>(gl.getIN(id(g50646))) / static_cast<double>(otherStateIncome);
    if (ratio > 1.0) ratio = 1.0;
    complement = 1.0 - ratio;
  }
  gl.assignIR(id(g50648), ratio * kMillionths);
  if (ratio * kMillionths == 1.0) {
    gl.assignIR(id(g36187), 0.0);
  } else {
    gl.assignIR(id(g50649), complement * kMillionths);
    // Field 36186 still holds the previous calculation's lesser tax.
    const double notAttributable = static_cast<double>(gl.getIN(id(g36186))) * complement;
    gl.assignIR(id(g36187), notAttributable);
    gl.assignIR(id(g50650), notAttributable);
  }
}

// Tax paid (entered), the lesser tax and the credit.
void computeTaxLimits(DataMgmt::TaxForm& gl) {
  if (gl.getIR(id(g36183)) > 0) {
    gl.unProtect(id(g36184));
  } else {
    gl.makeProtectedAndSetNull(id(g36184));
  }
  if (gl.getIR(id(g36184)) > 0) {
    gl.unProtect(id(g36185));
  } else {
    gl.makeProtectedAndSetNull(id(g36185));
  }
  gl.minII(id(g36186), id(g36184), id(g36185));
  gl.minusIIge0(id(g36188), id(g36186), id(g36187));
  gl.timesIR(id(g36189), id(g36183), kPATaxRate);
  gl.minII(id(g14), id(g36188), id(g36189));
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleGL(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& gl = *form;
  const DataMgmt::FormId& kGL = kFormID_PAScheduleGL;
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = filingStatus == 2;

  if (paReturn->readResidencyStatus(kFormID_PAReturnInfo) == 2) {
    // A nonresident has no credit for taxes paid to other states.
    clearFormFields(kGL, copy, id(g9), id(g14));
  } else {
    bool anyRow = false;
    for (int m = g36162; m <= g36168 && !anyRow; ++m) anyRow = paReturn->formYes(kGL, copy, id(m));
    markIf(gl, g46173, anyRow);

    if (joint) {
      gl.unProtect(id(g21));
      gl.unProtect(id(g22));
      Utils::setDefaultX(form, id(g21), id(g22), id(g22));
    } else {
      gl.setX(id(g21));
      gl.setXNo(id(g22));
      gl.makeProtected(id(g21));
      gl.makeProtected(id(g22));
    }
    const bool taxpayer = gl.xMarked(id(g21));
    const FieldId& none = Primitives::kNullFieldID;
    if (taxpayer) {
      copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, id(g5), id(g6), none, none, none, none, none,
                   none, none, 0);
    } else {
      copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, none, none, none, none, id(g5), id(g6), none,
                   none, none, 0);
    }

    gl.unProtect(id(g9));
    char state[kTextSize] = "";
    paReturn->textString(state, kGL, copy, id(g9));
    if (state[0] != '\0') gl.assignText(id(g16), state);

    const Person people[2] = {readPerson(*paReturn, false), readPerson(*paReturn, true)};
    const Person& p = people[taxpayer ? 0 : 1];

    if (std::strcmp(state, "PA") == 0) {
      // Income taxed by PA itself earns no credit.
      clearFormFields(kGL, copy, id(g36171), id(g14));
    } else {
      fillRow1(gl, *paReturn, form, joint, p);

      const double idTotal = people[0].value[kInterest] + people[1].value[kInterest] +
                             people[0].value[kDividends] + people[1].value[kDividends];
      if (idTotal > 0) {
        gl.assignIR(id(g159110), idTotal);
      } else {
        gl.setNull(id(g159110));
      }
      for (int r = 1; r < 3; ++r) prorateRow(gl, kRows[r], p);
      for (int r = 1; r < 3; ++r) fillOtherState(gl, kRows[r]);
      gl.assignIR(id(g161754), gl.getIR(id(g36179)) > 0 || gl.getIR(id(g36182)) > 0 ? 1.0 : 0.0);
      for (int r = 3; r < 8; ++r) {
        prorateRow(gl, kRows[r], p);
        fillOtherState(gl, kRows[r]);
      }
      computeCredit(gl);
    }
    computeTaxLimits(gl);
    if (taxpayer) {
      gl.assignII(id(g48744), id(g14));
      gl.setNull(id(g48745));
    } else {
      gl.setNull(id(g48744));
      gl.assignII(id(g48745), id(g14));
    }
  }

  markExcess(gl, *paReturn, joint);
  for (const RowBox& row : kRowBoxes) {
    const double amount = gl.getIR(id(row.amount));
    const bool marked = row.onNonZero ? amount != 0 : amount > 0;
    markIf(gl, row.box, marked);
  }

  const bool residentOrPartYear = paReturn->formYes(kFormID_PAReturnInfo, 1, infoResidentBox()) ||
                                  paReturn->formYes(kFormID_PAReturnInfo, 1, infoPartYearBox());
  if (residentOrPartYear && gl.getIR(id(g14)) > 0) {
    paReturn->setDataEntered(kGL, copy, true, false);
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
