#include "output/pa_tax_form_printer.h"

namespace PATaxFormPrintMgmt {

PATaxFormPrinter::PATaxFormPrinter(PADataMgmt::PATaxReturn& paReturn)
    : StateTaxFormPrintMgmt::StateTaxFormPrinter(paReturn), paReturn(&paReturn) {
  stateReturn = &paReturn;
}

PATaxFormPrinter::~PATaxFormPrinter() = default;

}  // namespace PATaxFormPrintMgmt
