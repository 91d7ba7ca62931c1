// PATaxFormPrintMgmt::PATaxFormPrinter: the Pennsylvania form printer.
//
// The host creates it through createTaxFormPrinterInstance and deletes it
// through its virtual destructor. It prints one PA return, which it
// borrows (the host keeps it alive while the printer lives) and sees both
// as the state layer's return and as the PA return.
#ifndef OUTPUT_PA_TAX_FORM_PRINTER_H_
#define OUTPUT_PA_TAX_FORM_PRINTER_H_

#include "entry/pa_tax_return.h"
#include "host/state_printer.h"

namespace PATaxFormPrintMgmt {

class PATaxFormPrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
 public:
  explicit PATaxFormPrinter(PADataMgmt::PATaxReturn& paReturn);
  ~PATaxFormPrinter() override;

  StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn; }
  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PATaxFormPrintMgmt

#endif  // OUTPUT_PA_TAX_FORM_PRINTER_H_
