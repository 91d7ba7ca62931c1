// The per-form dispatch of the PA engine as data: which calculation or
// category router each PA form goes to.
//
// Each lookup answers the route of one form, or null when the form has no
// route there (it is then not calculated). The tables live for the whole
// process and name the form constants by address.
#ifndef CALC_PA_FORM_ROUTES_H_
#define CALC_PA_FORM_ROUTES_H_

#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"

namespace PACalculationMgmt {

// A per-form calculation: (the copy, its copy number, passOn).
typedef void (PATaxReturnCalcEngine::*FormCalculation)(DataMgmt::TaxFormPtr, uint16_t, int);
// A category router: (the form, the copy, its copy number, passOn).
typedef void (PATaxReturnCalcEngine::*CategoryRouter)(const DataMgmt::FormId&, DataMgmt::TaxFormPtr,
                                                      uint16_t, int);

// The calculation calcStateForm calls itself for the form, when it does
// not go through a category router (the Schedule D worksheet, the PA W-2).
FormCalculation directCalculation(const DataMgmt::FormId& formId);
// The category router calcStateForm hands the form to.
CategoryRouter categoryRouter(const DataMgmt::FormId& formId);

// The categories' own tables.
enum class FormCategory {
  kBusiness,               // calcBusinessForms
  kRental,                 // calcRentalForms
  kReturn,                 // calcReturnForms
  kEstimatedTax,           // calcEstimatedTaxForms
  kEmployeeExpenseLocal,   // calcEmployeeExpenseAndLocalForms
  kTaxForgiveness,         // calcTaxForgivenessForm
};
FormCalculation categoryCalculation(FormCategory category, const DataMgmt::FormId& formId);

}  // namespace PACalculationMgmt

#endif  // CALC_PA_FORM_ROUTES_H_
