// The per-form dispatch of the PA engine: calcStateForm and the category
// routers, routed by two tables, one per level.
//
// Level one names the category of every PA form the engine calculates;
// level two names, per category, the calculation of each of its forms.
// calcStateForm calls a "direct" form's calculation itself and hands every
// other form to its category's router, which looks its calculation up in
// level two. A form without a route is not calculated. The two levels are
// checked against each other (form_routes.h, and its test), so no routed
// form can be left without a calculation.
#include <cstdint>
#include <vector>

#include "calc/pa/form_routes.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

namespace {

typedef PATaxReturnCalcEngine Engine;

// The categories; each but kDirect has its router.
enum class FormCategory {
  kDirect,                // calcStateForm itself
  kCommon,                // calcCommonStateForms
  kBusiness,              // calcBusinessForms
  kRental,                // calcRentalForms
  kReturn,                // calcReturnForms
  kEstimatedTax,          // calcEstimatedTaxForms
  kEmployeeExpenseLocal,  // calcEmployeeExpenseAndLocalForms
  kTaxForgiveness,        // calcTaxForgivenessForm
};

// One calculation of one copy: (the engine, the copy, its copy number,
// passOn).
typedef void (*FormCalculation)(Engine&, TaxFormPtr, uint16_t, int);

// An engine calculation as a FormCalculation.
template <void (Engine::*Calculation)(TaxFormPtr, uint16_t, int)>
void calculate(Engine& engine, TaxFormPtr form, uint16_t copy, int passOn) {
  (engine.*Calculation)(form, copy, passOn);
}

// The summary forms of the state layer take the return's filing status
// and residency choice (the information form's residency boxes).
int residencyChoice(Engine& engine, TaxFormPtr form) {
  return engine.readMarkedChoice(form, kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox,
                                 PAReturnInfo::kNonresidentBox, PAReturnInfo::kPartYearResidentBox,
                                 PAReturnInfo::kPartYearAllocatedBox);
}

uint16_t filingStatus(const Engine& engine) {
  PADataMgmt::PATaxReturn* pa = engine.getPAReturn();
  return pa != nullptr ? pa->readFilingStatus(kFormID_PAReturnInfo)
                       : static_cast<uint16_t>(PADataMgmt::kFilingSingle);
}

void computeInterestSummary(Engine& engine, TaxFormPtr form, uint16_t copy, int passOn) {
  const int choice = residencyChoice(engine, form);
  const uint16_t status = filingStatus(engine);
  engine.computeInterestSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, status, 0, choice);
}

void computeDividendSummary(Engine& engine, TaxFormPtr form, uint16_t copy, int passOn) {
  const int choice = residencyChoice(engine, form);
  const uint16_t status = filingStatus(engine);
  engine.computeDividendSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, status, 0, choice);
}

// Level one: the category of each form.
struct FormRoute {
  const FormId* form;
  FormCategory category;
};

constexpr FormRoute kFormRoutes[] = {
    {&kFormID_PAReturnInfo, FormCategory::kDirect},
    {&kFormID_PAScheduleDWorksheet, FormCategory::kDirect},
    {&kFormID_PAW2, FormCategory::kDirect},
    {&kFormID_State18, FormCategory::kCommon},
    {&kFormID_State16, FormCategory::kCommon},
    {&kFormID_State17, FormCategory::kCommon},
    {&kFormID_PAScheduleE, FormCategory::kRental},
    {&kFormID_PA40, FormCategory::kReturn},
    {&kFormID_PAScheduleW2S, FormCategory::kReturn},
    {&kFormID_PAMiscCompWorksheet, FormCategory::kReturn},
    {&kFormID_PAScheduleA, FormCategory::kReturn},
    {&kFormID_PAScheduleB, FormCategory::kReturn},
    {&kFormID_PAInterestDividendWorksheet, FormCategory::kReturn},
    {&kFormID_PAScheduleD, FormCategory::kReturn},
    {&kFormID_PAScheduleGL, FormCategory::kReturn},
    {&kFormID_PAScheduleJ, FormCategory::kReturn},
    {&kFormID_PAW2GIncome, FormCategory::kReturn},
    {&kFormID_PADeductions, FormCategory::kReturn},
    {&kFormID_PAScheduleOC, FormCategory::kReturn},
    {&kFormID_PAEstimatedTaxWorksheet, FormCategory::kEstimatedTax},
    {&kFormID_PAEstimatedVouchers, FormCategory::kEstimatedTax},
    {&kFormID_PADirectDepositDebit, FormCategory::kEstimatedTax},
    {&kFormID_PAScheduleUE, FormCategory::kEmployeeExpenseLocal},
    {&kFormID_PALocalIncomeTaxReturn, FormCategory::kEmployeeExpenseLocal},
    {&kFormID_PAScheduleSP, FormCategory::kTaxForgiveness},
    {&kFormID_PAScheduleC, FormCategory::kBusiness},
};

// Level two: the calculation of each form in its category.
struct CategoryCalculation {
  FormCategory category;
  const FormId* form;
  FormCalculation calculation;
};

constexpr CategoryCalculation kCategoryCalculations[] = {
    {FormCategory::kDirect, &kFormID_PAReturnInfo, calculate<&Engine::computeReturnInfo>},
    {FormCategory::kDirect, &kFormID_PAScheduleDWorksheet, calculate<&Engine::computeScheduleDWorksheet>},
    {FormCategory::kDirect, &kFormID_PAW2, calculate<&Engine::computePAW2>},
    {FormCategory::kCommon, &kFormID_State18, calculate<&Engine::computeStateAllocationForm>},
    {FormCategory::kCommon, &kFormID_State16, computeInterestSummary},
    {FormCategory::kCommon, &kFormID_State17, computeDividendSummary},
    {FormCategory::kBusiness, &kFormID_PAScheduleC, calculate<&Engine::computeScheduleC>},
    {FormCategory::kRental, &kFormID_PAScheduleE, calculate<&Engine::computeScheduleE>},
    {FormCategory::kReturn, &kFormID_PA40, calculate<&Engine::computePA40>},
    {FormCategory::kReturn, &kFormID_PAScheduleW2S, calculate<&Engine::computeScheduleW2S>},
    {FormCategory::kReturn, &kFormID_PAMiscCompWorksheet, calculate<&Engine::computeMiscCompWorksheet>},
    {FormCategory::kReturn, &kFormID_PAInterestDividendWorksheet,
     calculate<&Engine::computeInterestDividendWorksheet>},
    {FormCategory::kReturn, &kFormID_PAScheduleA, calculate<&Engine::computeScheduleA>},
    {FormCategory::kReturn, &kFormID_PAScheduleB, calculate<&Engine::computeScheduleB>},
    {FormCategory::kReturn, &kFormID_PAScheduleD, calculate<&Engine::computeScheduleD>},
    {FormCategory::kReturn, &kFormID_PAScheduleGL, calculate<&Engine::computeScheduleGL>},
    {FormCategory::kReturn, &kFormID_PAScheduleJ, calculate<&Engine::computeScheduleJ>},
    {FormCategory::kReturn, &kFormID_PAW2GIncome, calculate<&Engine::computeW2GIncome>},
    {FormCategory::kReturn, &kFormID_PAScheduleOC, calculate<&Engine::computeScheduleOC>},
    {FormCategory::kReturn, &kFormID_PADeductions, calculate<&Engine::computeDeductions>},
    {FormCategory::kEstimatedTax, &kFormID_PAEstimatedVouchers, calculate<&Engine::computeEstimatedVouchers>},
    {FormCategory::kEstimatedTax, &kFormID_PAEstimatedTaxWorksheet,
     calculate<&Engine::computeEstimatedTaxWorksheet>},
    {FormCategory::kEstimatedTax, &kFormID_PADirectDepositDebit,
     calculate<&Engine::computeDirectDepositDebit>},
    {FormCategory::kEmployeeExpenseLocal, &kFormID_PAScheduleUE, calculate<&Engine::computeScheduleUE>},
    {FormCategory::kEmployeeExpenseLocal, &kFormID_PALocalIncomeTaxReturn,
     calculate<&Engine::computeLocalIncomeTaxReturn>},
    {FormCategory::kTaxForgiveness, &kFormID_PAScheduleSP, calculate<&Engine::computeScheduleSP>},
};

const FormRoute* findRoute(const FormId& formId) {
  for (const FormRoute& route : kFormRoutes) {
    if (*route.form == formId) return &route;
  }
  return nullptr;
}

// Runs the calculation of the form in the category; nothing for a form of
// another category.
void calculateInCategory(Engine& engine, FormCategory category, const FormId& formId, TaxFormPtr form,
                         uint16_t copy, int passOn) {
  for (const CategoryCalculation& row : kCategoryCalculations) {
    if (row.category == category && *row.form == formId) {
      row.calculation(engine, form, copy, passOn);
      return;
    }
  }
}

// The router of each category but kDirect.
typedef void (Engine::*CategoryRouter)(const FormId&, TaxFormPtr, uint16_t, int);
CategoryRouter routerOf(FormCategory category) {
  switch (category) {
    case FormCategory::kDirect: break;
    case FormCategory::kCommon: return &Engine::calcCommonStateForms;
    case FormCategory::kBusiness: return &Engine::calcBusinessForms;
    case FormCategory::kRental: return &Engine::calcRentalForms;
    case FormCategory::kReturn: return &Engine::calcReturnForms;
    case FormCategory::kEstimatedTax: return &Engine::calcEstimatedTaxForms;
    case FormCategory::kEmployeeExpenseLocal: return &Engine::calcEmployeeExpenseAndLocalForms;
    case FormCategory::kTaxForgiveness: return &Engine::calcTaxForgivenessForm;
  }
  return nullptr;
}

}  // namespace

std::vector<FormId> formsTheRoutingLevelsDisagreeOn() {
  std::vector<FormId> disagreements;
  for (const FormRoute& route : kFormRoutes) {
    int calculations = 0;
    for (const CategoryCalculation& row : kCategoryCalculations) {
      if (row.category == route.category && *row.form == *route.form && row.calculation != nullptr) {
        ++calculations;
      }
    }
    if (calculations != 1) disagreements.push_back(*route.form);
  }
  for (const CategoryCalculation& row : kCategoryCalculations) {
    bool routed = false;
    for (const FormRoute& route : kFormRoutes) {
      routed = routed || (*route.form == *row.form && route.category == row.category);
    }
    if (!routed) disagreements.push_back(*row.form);
  }
  return disagreements;
}

void PATaxReturnCalcEngine::calcStateForm(const FormId& formId, uint16_t copy, bool markDataEntered,
                                          int passOn, int /*spare*/, TaxFormPtr form) {
  if (const FormRoute* route = findRoute(formId)) {
    if (route->category == FormCategory::kDirect) {
      calculateInCategory(*this, FormCategory::kDirect, formId, form, copy, passOn);
    } else {
      (this->*routerOf(route->category))(formId, form, copy, passOn);
    }
  }
  if (markDataEntered && paReturn != nullptr) paReturn->setDataEntered(formId, copy, true, false);
}

void PATaxReturnCalcEngine::calcStateFormTwice(const FormId& formId, uint16_t copy, int passOn, TaxFormPtr form) {
  const unsigned long before = DataMgmt::changeCount();
  calcStateForm(formId, copy, false, passOn, 0, form);
  if (DataMgmt::changeCount() != before) calcStateForm(formId, copy, false, passOn, 0, form);
}

// Each category router runs its category's calculation of the form.
#define CATEGORY_ROUTER(router, category)                                                                 \
  void PATaxReturnCalcEngine::router(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) { \
    calculateInCategory(*this, FormCategory::category, formId, form, copy, passOn);                      \
  }
CATEGORY_ROUTER(calcCommonStateForms, kCommon)
CATEGORY_ROUTER(calcBusinessForms, kBusiness)
CATEGORY_ROUTER(calcRentalForms, kRental)
CATEGORY_ROUTER(calcReturnForms, kReturn)
CATEGORY_ROUTER(calcEstimatedTaxForms, kEstimatedTax)
CATEGORY_ROUTER(calcEmployeeExpenseAndLocalForms, kEmployeeExpenseLocal)
CATEGORY_ROUTER(calcTaxForgivenessForm, kTaxForgiveness)
#undef CATEGORY_ROUTER

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
