// PA Schedule C (state form 56126): the profit or loss of one business,
// from the federal Schedule C copy named in its field 56133. This file
// holds the filer and business heading, the codes and the income part;
// the expenses are in schedule_c_expenses.cc.
//
// Members below are PAScheduleCFieldIds members ([k]) and
// FedScheduleCFieldIds members (F k); host field numbers in comments.
#include <initializer_list>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/schedule_c_copy.h"
#include "host/form_defaults.h"
#include "host/string_utils.h"

namespace PACalculationMgmt {

namespace {

const std::size_t kTextSize = 128;

// Income amounts taken from the federal copy as they stand.
const FederalAmountCopy kIncomeAmounts[] = {
    {77, 56},    // 56201 <- 183 gross receipts
    {78, 61},    // 56202 <- 25 returns and allowances
    {194, 186},  // 56309 <- 72
    {198, 188},  // 56313 <- 74
    {199, 189},  // 56314 <- 75
    {200, 190},  // 56315 <- 76
    {201, 191},  // 56316 <- 77
    {202, 192},  // 56317 <- 78
    {203, 193},  // 56318 <- 79, cost of goods sold
    {82, 65},    // 56206 <- 29
};

void assignYesNo(DataMgmt::TaxForm& form, int member, bool yes) {
  form.assignText(ScheduleCCopy::pa(member), yes ? "Y" : "N");
}

// Filer, business name, identifying numbers.
void computeHeading(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  PADataMgmt::PATaxReturn& pa = *engine.getPAReturn();
  DataMgmt::TaxForm& form = c.form;
  auto P = ScheduleCCopy::pa;
  char text[kTextSize];

  // 56183/56184: a full-year resident's business is all PA business.
  if (pa.readResidencyStatus(kFormID_PAReturnInfo) == 0) {
    form.makeProtected(P(55));
    form.makeProtected(P(56));
    form.setX(P(55));
    form.setNull(P(56));
  } else {
    form.unProtect(P(55));
    form.unProtect(P(56));
    Utils::setDefaultX(c.holder, P(55), P(56), P(56));
  }
  form.assignII(P(52), P(1));                   // 56180 := the federal copy number
  if (form.getIN(P(1)) > 0) form.assignIR(P(2), 1);  // 56134

  // Whose business: the taxpayer's (56181, 56139) or the spouse's (56182, 56140).
  form.setXNo(P(53));
  form.setXNo(P(54));
  const bool taxpayers = c.fedYes(2);  // 175
  if (taxpayers) {
    form.setX(P(53));
    form.assignIR(P(7), 1);
    form.setNull(P(8));
  } else {
    form.setX(P(54));
    form.assignIR(P(8), 1);
    form.setNull(P(7));
  }
  char name[Utils::kNameBufferSize];
  if (taxpayers) {
    engine.getFederalLineFieldID(name, kFormID_PAReturnInfo, 1, 2, 3, 4, Utils::DISPLAY_NAME(0));
  } else {
    engine.getFederalLineFieldID(name, kFormID_PAReturnInfo, 6, 7, 8, 9, Utils::DISPLAY_NAME(0));
  }
  form.assignText(P(57), name);  // 56185
  // 56186 := the owner's identifying number (information form 35 or 40).
  pa.getII(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[taxpayers ? 90 : 95], c.holder, P(58));
  form.assignII(P(193), P(57));  // 56308
  form.assignII(P(192), P(58));  // 56307

  c.fedText(text, 31, 16);  // 172, the proprietor's name, at most 30 characters
  form.assignText(P(61), text);
  if (!form.hasSigValue(P(61))) form.assignII(P(61), P(57));

  // Business name 56187 (from 327) and 56611 (from 7); each takes the
  // other federal text when it is empty on both sides.
  char federal327[kTextSize];
  char federal7[kTextSize];
  c.fedText(federal327, kTextSize, 12);
  c.fedText(federal7, kTextSize, 14);
  if (federal327[0] != '\0') {
    form.assignText(P(59), federal327);
    form.makeProtected(P(59));
    form.setX(P(48));  // 79774
  } else {
    form.unProtect(P(59));
    form.setXNo(P(48));
  }
  if (federal7[0] != '\0') {
    form.assignText(P(60), federal7);
    form.makeProtected(P(60));
  } else {
    form.unProtect(P(60));
  }
  if (form.isNull(P(60)) && federal327[0] != '\0') form.assignText(P(60), federal327);
  if (form.isNull(P(59)) && federal7[0] != '\0') form.assignText(P(59), federal7);

  form.assignText(P(71), c.fedText(text, kTextSize, 15));  // 56188 <- 8
  // Employer number 56141 (from 11), else the owner's number in 56142.
  c.fedText(text, kTextSize, 17);
  if (text[0] != '\0') {
    form.assignText(P(9), text);
    form.setNull(P(10));
  } else {
    form.setNull(P(9));
    form.assignII(P(10), P(58));
  }
  form.assignII(P(62), P(9));  // 56190
}

// Business address: foreign (federal 247 yes) or domestic, else the
// PA-40's address.
void computeAddress(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  auto P = ScheduleCCopy::pa;
  char street[kTextSize], city[kTextSize], state[kTextSize], zip[kTextSize];
  c.fedText(street, kTextSize, 18);  // 9
  c.fedText(city, kTextSize, 20);    // 240
  c.fedText(state, kTextSize, 21);   // 241
  c.fedText(zip, kTextSize, 22);     // 242

  if (c.fedYes(25)) {  // 247
    char country[kTextSize], province[kTextSize], postalCode[kTextSize];
    c.fedText(country, kTextSize, 28);     // 150598
    c.fedText(province, kTextSize, 29);    // 150599
    c.fedText(postalCode, kTextSize, 30);  // 150600
    form.assignText(P(65), street);
    form.makeProtectedAndSetNull(P(64));
    form.makeProtectedAndSetNull(P(63));
    std::string line = city;
    if (province[0] != '\0') line += std::string(" ") + province;
    if (postalCode[0] != '\0') line += std::string(" ") + postalCode;
    form.assignText(P(67), line.c_str());
    form.assignText(P(68), country);
    form.assignText(P(69), "OC");
    form.makeProtectedAndSetNull(P(70));
  } else {
    form.unProtect(P(64));
    form.unProtect(P(63));
    Utils::setDefaultX(c.holder, P(64), P(63), P(63));
    if (form.xMarked(P(63))) {
      form.assignText(P(65), street);
      form.makeProtectedAndSetNull(P(67));
    } else {
      form.assignText(P(67), street);
      form.makeProtectedAndSetNull(P(65));
    }
    form.assignText(P(68), city);
    form.assignText(P(69), state);
    form.assignText(P(70), zip);
  }

  // No address at all: the PA-40's (fields 107, 105, 110, 111, 112).
  const int kAddress[] = {65, 67, 68, 69, 70};
  const int kPA40Address[] = {128, 130, 135, 136, 137};
  for (int member : kAddress) {
    if (form.hasSigValue(P(member))) return;
  }
  for (int k = 0; k < 5; ++k) {
    engine.getPAReturn()->getII(kFormID_PA40, kPA40FieldIds[kPA40Address[k]], c.holder, P(kAddress[k]));
  }
}

void computeCodes(ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  auto P = ScheduleCCopy::pa;
  // 56196: accounting method from 12, 13, 14 (cash by default).
  const char* method = "C";
  if (!c.fedYes(175)) {
    if (c.fedYes(176)) {
      method = "L";
    } else if (c.fedYes(177)) {
      method = "O";
    }
  }
  form.assignText(P(72), method);
  // 56197: inventory method from 16, 17, 18; the last one marked wins.
  if (c.fedYes(31)) form.assignText(P(73), "C");
  if (c.fedYes(32)) form.assignText(P(73), "A");
  if (c.fedYes(33)) form.assignText(P(73), "O");
  assignYesNo(form, 74, c.federal.getIR(kFormID_FedScheduleC, c.federalCopy, c.fed(165)) > 0);  // 174
  Utils::setDefaultX(c.holder, P(15), P(14), P(14));
  assignYesNo(form, 75, form.xMarked(P(14)));
  assignYesNo(form, 76, c.fedYes(178));  // 147
}

void computeIncome(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  auto P = ScheduleCCopy::pa;
  for (const FederalAmountCopy& row : kIncomeAmounts) {
    form.assignIR(P(row.paMember), c.fedAmount(row.fedMember));
  }

  form.minusIIge0(P(79), P(77), P(78));  // 56203
  const long inventoryPurchases = c.fedAmount(187);  // 73
  if (inventoryPurchases != 0) {
    form.assignIR(P(197), inventoryPurchases);
    form.unProtect(P(196));
    form.plus2(P(195), P(196), P(197));
  } else {
    form.makeProtectedAndSetNull(P(195));
    form.makeProtectedAndSetNull(P(196));
    form.setNull(P(197));
  }
  form.assignII(P(80), P(203));          // 56204 := cost of goods sold
  form.minusII(P(81), P(79), P(80));     // 56205 gross profit

  PADataMgmt::PATaxReturn& pa = *engine.getPAReturn();
  form.assignIR(P(45), pa.pullCommon(pa.readFederalReturnForm(), 1, Utils::PCTypes(19)));  // 56177
  if (form.gtZero(P(45))) {
    form.unProtect(P(18));
    form.unProtect(P(90));
  } else {
    form.makeProtectedAndSetNull(P(18));
    form.makeProtectedAndSetNull(P(90));
  }
  std::initializer_list<Primitives::OVImmutableIdentifier> otherIncome = {
      P(82), P(83), P(84), P(85), P(86), P(87), P(88), P(89), P(90), P(91), P(92), P(93), P(94)};
  form.setValueToSumOf(P(95), otherIncome);  // 56218 := 56206..56217
  form.maxIR(P(96), P(95), 0);                // 56219
  form.plus2(P(97), P(81), P(96));            // 56220 gross income
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleC(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  auto P = ScheduleCCopy::pa;

  if (form->xMarked(P(3))) {  // 56135, set by the driver on linked copies
    // Field 56133 names the federal copy; 0 stands for copy 1.
    long federalCopy = form->getIN(P(1));
    if (federalCopy == 0) federalCopy = 1;
    if (federalCopy < 0 || federalCopy > 0xFFFF) federalCopy = 0;  // no such copy: reads empty
    ScheduleCCopy c{form, *form, copy, *federalReturn, static_cast<uint16_t>(federalCopy)};
    computeHeading(*this, c);
    computeAddress(*this, c);
    computeCodes(c);
    computeIncome(*this, c);
    computeScheduleCExpenses(*this, c);
  }

  // 56183 (PA business) with a net profit or loss.
  if (form->xMarked(P(55)) && form->nonZero(P(191))) {
    paReturn->setDataEntered(kFormID_PAScheduleC, copy, true, false);
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
