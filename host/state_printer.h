// StateTaxFormPrintMgmt::StateTaxFormPrinter: the host's base of a state
// return's printer.
//
// Adds to TaxFormPrinter what every state printer shares: the walk of a
// print-order table (getNextForm), the print flag of a copy and the list of
// forms to audit. `stateReturn` is the printed return seen as a state
// return (borrowed; null when it is not one); the printer factory sets it.
#ifndef HOST_STATE_PRINTER_H_
#define HOST_STATE_PRINTER_H_

#include <cstdint>
#include <vector>

#include "host/host_api.h"
#include "host/print_form_info.h"
#include "host/printer.h"

namespace StateDataMgmt {
class StateTaxReturn;
}  // namespace StateDataMgmt

namespace StateTaxFormPrintMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;

class HOST_API StateTaxFormPrinter : public TaxFormPrintMgmt::TaxFormPrinter {
 public:
  // formsToAudit lists at most this many forms.
  static const int kMaxFormsToAudit = 127;

  explicit StateTaxFormPrinter(DataMgmt::TaxReturn& taxReturn);
  ~StateTaxFormPrinter() override;

  // Whether the copy exists and its print flag is set.
  bool isPrintFlagSet(const FormId& form, uint16_t copy) const;
  // The form after `current` in `table` (an empty `current` starts before
  // the first row). False, leaving `next` alone, when that row ends the
  // table or `current` is not in it. `mode` and the rows' kinds and values
  // are not read.
  bool getNextForm(const Utils::printFormInfo* table, const FormId& current, FormId& next, char mode);
  // Replaces `list` with the forms of the mode-1 print order (whether or
  // not they have copies), at most 127; countA = the list's size, countB = 0.
  // Virtual in the stand-in only, so that tests can hand out other counts.
  virtual void formsToAudit(std::vector<FormId>& list, char& countA, char& countB);

 protected:
  StateDataMgmt::StateTaxReturn* stateReturn;
};

}  // namespace StateTaxFormPrintMgmt

#endif  // HOST_STATE_PRINTER_H_
