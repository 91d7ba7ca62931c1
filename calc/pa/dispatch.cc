// The per-form dispatch of the PA engine: calcStateForm and the category
// routers, with their routing tables.
#include <cstddef>
#include <cstdint>

#include "calc/pa/form_routes.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

namespace {

typedef PATaxReturnCalcEngine Engine;

struct CalculationRoute {
  const FormId* form;
  FormCalculation calculation;
};

struct CategoryRoute {
  const FormId* form;
  CategoryRouter router;
};

template <class Route, std::size_t N>
const Route* findRoute(const Route (&table)[N], const FormId& formId) {
  for (const Route& route : table) {
    if (*route.form == formId) return &route;
  }
  return nullptr;
}

// calcStateForm's own rows, tested before the categories.
const CalculationRoute kDirectRoutes[] = {
    {&kFormID_PAScheduleDWorksheet, &Engine::computeScheduleDWorksheet},
    {&kFormID_PAW2, &Engine::computePAW2},
};

// calcStateForm's category rows, in the order they are tested.
const CategoryRoute kCategoryRoutes[] = {
    {&kFormID_State18, &Engine::calcCommonStateForms},
    {&kFormID_State16, &Engine::calcCommonStateForms},
    {&kFormID_State17, &Engine::calcCommonStateForms},
    {&kFormID_PAScheduleE, &Engine::calcRentalForms},
    {&kFormID_PA40, &Engine::calcReturnForms},
    {&kFormID_PAScheduleW2S, &Engine::calcReturnForms},
    {&kFormID_PAMiscCompWorksheet, &Engine::calcReturnForms},
    {&kFormID_PAScheduleA, &Engine::calcReturnForms},
    {&kFormID_PAScheduleB, &Engine::calcReturnForms},
    {&kFormID_PAInterestDividendWorksheet, &Engine::calcReturnForms},
    {&kFormID_PAScheduleD, &Engine::calcReturnForms},
    {&kFormID_PAScheduleGL, &Engine::calcReturnForms},
    {&kFormID_PAScheduleJ, &Engine::calcReturnForms},
    {&kFormID_PAW2GIncome, &Engine::calcReturnForms},
    {&kFormID_PADeductions, &Engine::calcReturnForms},
    {&kFormID_PAScheduleOC, &Engine::calcReturnForms},
    {&kFormID_PAEstimatedTaxWorksheet, &Engine::calcEstimatedTaxForms},
    {&kFormID_PAEstimatedVouchers, &Engine::calcEstimatedTaxForms},
    {&kFormID_PADirectDepositDebit, &Engine::calcEstimatedTaxForms},
    {&kFormID_PAScheduleUE, &Engine::calcEmployeeExpenseAndLocalForms},
    {&kFormID_PALocalIncomeTaxReturn, &Engine::calcEmployeeExpenseAndLocalForms},
    {&kFormID_PAScheduleSP, &Engine::calcTaxForgivenessForm},
    {&kFormID_PAScheduleC, &Engine::calcBusinessForms},
};

const CalculationRoute kBusinessRoutes[] = {
    {&kFormID_PAScheduleC, &Engine::computeScheduleC},
};

const CalculationRoute kRentalRoutes[] = {
    {&kFormID_PAScheduleE, &Engine::computeScheduleE},
};

const CalculationRoute kReturnRoutes[] = {
    {&kFormID_PA40, &Engine::computePA40},
    {&kFormID_PAScheduleW2S, &Engine::computeScheduleW2S},
    {&kFormID_PAMiscCompWorksheet, &Engine::computeMiscCompWorksheet},
    {&kFormID_PAInterestDividendWorksheet, &Engine::computeInterestDividendWorksheet},
    {&kFormID_PAScheduleA, &Engine::computeScheduleA},
    {&kFormID_PAScheduleB, &Engine::computeScheduleB},
    {&kFormID_PAScheduleD, &Engine::computeScheduleD},
    {&kFormID_PAScheduleGL, &Engine::computeScheduleGL},
    {&kFormID_PAScheduleJ, &Engine::computeScheduleJ},
    {&kFormID_PAW2GIncome, &Engine::computeW2GIncome},
    {&kFormID_PAScheduleOC, &Engine::computeScheduleOC},
    {&kFormID_PADeductions, &Engine::computeDeductions},
};

const CalculationRoute kEstimatedTaxRoutes[] = {
    {&kFormID_PAEstimatedVouchers, &Engine::computeEstimatedVouchers},
    {&kFormID_PAEstimatedTaxWorksheet, &Engine::computeEstimatedTaxWorksheet},
    {&kFormID_PADirectDepositDebit, &Engine::computeDirectDepositDebit},
};

const CalculationRoute kEmployeeExpenseLocalRoutes[] = {
    {&kFormID_PAScheduleUE, &Engine::computeScheduleUE},
    {&kFormID_PALocalIncomeTaxReturn, &Engine::computeLocalIncomeTaxReturn},
};

const CalculationRoute kTaxForgivenessRoutes[] = {
    {&kFormID_PAScheduleSP, &Engine::computeScheduleSP},
};

template <std::size_t N>
FormCalculation calculationIn(const CalculationRoute (&table)[N], const FormId& formId) {
  const CalculationRoute* route = findRoute(table, formId);
  return route != nullptr ? route->calculation : nullptr;
}

}  // namespace

FormCalculation directCalculation(const FormId& formId) { return calculationIn(kDirectRoutes, formId); }

CategoryRouter categoryRouter(const FormId& formId) {
  const CategoryRoute* route = findRoute(kCategoryRoutes, formId);
  return route != nullptr ? route->router : nullptr;
}

FormCalculation categoryCalculation(FormCategory category, const FormId& formId) {
  switch (category) {
    case FormCategory::kBusiness:
      return calculationIn(kBusinessRoutes, formId);
    case FormCategory::kRental:
      return calculationIn(kRentalRoutes, formId);
    case FormCategory::kReturn:
      return calculationIn(kReturnRoutes, formId);
    case FormCategory::kEstimatedTax:
      return calculationIn(kEstimatedTaxRoutes, formId);
    case FormCategory::kEmployeeExpenseLocal:
      return calculationIn(kEmployeeExpenseLocalRoutes, formId);
    case FormCategory::kTaxForgiveness:
      return calculationIn(kTaxForgivenessRoutes, formId);
  }
  return nullptr;
}

void PATaxReturnCalcEngine::calcStateForm(const FormId& formId, uint16_t copy, bool markDataEntered,
                                          int passOn, int /*spare*/, TaxFormPtr form) {
  if (formId == kFormID_PAReturnInfo) computeReturnInfo(form, copy, passOn);
  if (FormCalculation calculation = directCalculation(formId)) {
    (this->*calculation)(form, copy, passOn);
  } else if (CategoryRouter router = categoryRouter(formId)) {
    (this->*router)(formId, form, copy, passOn);
  }
  if (markDataEntered && paReturn != nullptr) paReturn->setDataEntered(formId, copy, true, false);
}

void PATaxReturnCalcEngine::calcCommonStateForms(const FormId& formId, TaxFormPtr form, uint16_t copy,
                                                 int passOn) {
  // Worked out for every form, before the tests, as the summaries need it.
  const int residencyChoice =
      readMarkedChoice(form, kFormID_PAReturnInfo, kPAReturnInfoFieldIds[101] /* 46 */,
                       kPAReturnInfoFieldIds[102] /* 47 */, kPAReturnInfoFieldIds[103] /* 48 */,
                       kPAReturnInfoFieldIds[27] /* 17 */);
  if (formId == kFormID_State18) {
    computeStateAllocationForm(form, copy, passOn);
    return;
  }
  const bool isInterest = formId == kFormID_State16;
  if (!isInterest && formId != kFormID_State17) return;
  const uint16_t filingStatus =
      paReturn != nullptr ? paReturn->readFilingStatus(kFormID_PAReturnInfo) : uint16_t{1};
  if (isInterest) {
    computeInterestSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, filingStatus, 0, residencyChoice);
  } else {
    computeDividendSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, filingStatus, 0, residencyChoice);
  }
}

namespace {

void routeInCategory(Engine& engine, FormCategory category, const FormId& formId, TaxFormPtr form,
                     uint16_t copy, int passOn) {
  if (FormCalculation calculation = categoryCalculation(category, formId)) {
    (engine.*calculation)(form, copy, passOn);
  }
}

}  // namespace

void PATaxReturnCalcEngine::calcBusinessForms(const FormId& formId, TaxFormPtr form, uint16_t copy,
                                              int passOn) {
  routeInCategory(*this, FormCategory::kBusiness, formId, form, copy, passOn);
}

void PATaxReturnCalcEngine::calcRentalForms(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) {
  routeInCategory(*this, FormCategory::kRental, formId, form, copy, passOn);
}

void PATaxReturnCalcEngine::calcReturnForms(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) {
  routeInCategory(*this, FormCategory::kReturn, formId, form, copy, passOn);
}

void PATaxReturnCalcEngine::calcEstimatedTaxForms(const FormId& formId, TaxFormPtr form, uint16_t copy,
                                                  int passOn) {
  routeInCategory(*this, FormCategory::kEstimatedTax, formId, form, copy, passOn);
}

void PATaxReturnCalcEngine::calcEmployeeExpenseAndLocalForms(const FormId& formId, TaxFormPtr form,
                                                             uint16_t copy, int passOn) {
  routeInCategory(*this, FormCategory::kEmployeeExpenseLocal, formId, form, copy, passOn);
}

void PATaxReturnCalcEngine::calcTaxForgivenessForm(const FormId& formId, TaxFormPtr form, uint16_t copy,
                                                   int passOn) {
  routeInCategory(*this, FormCategory::kTaxForgiveness, formId, form, copy, passOn);
}

// The reserved categories have no forms; the copy's share is released on
// return.
void PATaxReturnCalcEngine::calcReservedForms1(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms2(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms3(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms4(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms5(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms6(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms7(const FormId&, TaxFormPtr, uint16_t, int) {}

}  // namespace PACalculationMgmt
