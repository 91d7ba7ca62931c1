// PACalculationMgmt::PATaxReturnCalcEngine: the Pennsylvania calculation
// engine.
//
// The host creates it through createCalcEngineInstance and deletes it
// through its virtual destructor. Everything but the PA return pointer is
// held by the state layer; the PA return is borrowed (the host keeps it
// alive while the engine lives) and null when the state return handed to
// the factory is not a PA return.
#ifndef CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_
#define CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_

#include "calc/state/state_tax_return_calc_engine.h"
#include "entry/pa_tax_return.h"

namespace PACalculationMgmt {

class PATaxReturnCalcEngine : public StateCalculationMgmt::StateTaxReturnCalcEngine {
 public:
  // The printer argument is released before the constructor returns.
  PATaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, PADataMgmt::PATaxReturn* paReturn,
                        TaxFormPrintMgmt::TaxFormPrinterPtr printer);
  ~PATaxReturnCalcEngine() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

  // The state engine's operations. The driver, the dispatch and the hooks
  // calculate nothing yet.
  void calcStateReturn() override;
  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                     int spare, DataMgmt::TaxFormPtr form) override;
  // kFormID_PA40.
  DataMgmt::FormId getStateReturnFormId() override;
  // The federal return form in use, as the PA return reads it.
  DataMgmt::FormId getFederalReturnFormId() override;
  // The PA return's filing status: 1, 2 (joint) or 3.
  uint8_t getFilingStatus() override;
  void calcCommonStateForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                            int passOn) override;
  void calcBusinessForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                         int passOn) override;
  void calcReservedForms1(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms2(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms3(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms4(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms5(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms6(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcRentalForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                       int passOn) override;
  void calcReturnForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                       int passOn) override;
  void calcEstimatedTaxForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                             int passOn) override;
  void calcReservedForms7(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcEmployeeExpenseAndLocalForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form,
                                        uint16_t copy, int passOn) override;
  void calcTaxForgivenessForm(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                              int passOn) override;
  void preCalc() override;
  void postCalc() override;

  // One copy of the state allocation form (state form 18): records the
  // residency choice on the information form (field 3), then pulls the
  // interest and dividend lines, the federal wages and income kinds, and
  // totals the copy (state_allocation_form.cc). The copy number and passOn
  // are not used.
  void computeStateAllocationForm(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PACalculationMgmt

#endif  // CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_
