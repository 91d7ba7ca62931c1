// CalculationMgmt::TaxReturnCalcEngine: the host's base of a return's
// calculation engine.
//
// The engine keeps a share of the return's printer. The base calculates
// nothing: its operations do nothing and getSummaryAmount answers 0; a
// state engine overrides them. The return name names the files the
// engine's test hooks write: "PAReturn" unless set, and always cleaned of
// "/", "\\" and "..", so it can never lead out of a directory.
#ifndef HOST_CALC_ENGINE_H_
#define HOST_CALC_ENGINE_H_

#include <cstdint>
#include <string>

#include "host/host_api.h"
#include "host/pointers.h"
#include "host/printer.h"
#include "host/tax_return.h"

namespace CalculationMgmt {

using DataMgmt::FormId;

class HOST_API TaxReturnCalcEngine {
 public:
  explicit TaxReturnCalcEngine(TaxFormPrintMgmt::TaxFormPrinterPtr& printer);
  virtual ~TaxReturnCalcEngine();
  TaxReturnCalcEngine(const TaxReturnCalcEngine&) = delete;
  TaxReturnCalcEngine& operator=(const TaxReturnCalcEngine&) = delete;

  // Calculates the whole return.
  virtual void calcReturn(int flag);
  // Calculates one copy; `form` is a share the callee releases.
  virtual void calcForm(const FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                        int spare, DataMgmt::TaxFormPtr form);
  virtual void calcAllCopies(const FormId& formId);
  // calcReturn when the return has unsaved changes.
  virtual void calcIfChanged(int flag);
  virtual void taxCalc1();
  virtual void earnedIncome();
  // The balance of the return: positive when owed, negative for a refund.
  virtual long getSummaryAmount();

  // The cleaned return name; "PAReturn" when none is set or nothing is
  // left after cleaning.
  std::string getReturnName() const;
  void setReturnName(const std::string& name) { returnName_ = name; }  // ours

  // A share of the printer the engine was made with (ours).
  TaxFormPrintMgmt::TaxFormPrinterPtr getPrinter() const { return printer; }

 protected:
  TaxFormPrintMgmt::TaxFormPrinterPtr printer;

 private:
  std::string returnName_;
};

}  // namespace CalculationMgmt

#endif  // HOST_CALC_ENGINE_H_
