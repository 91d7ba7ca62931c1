#include "host/state_printer.h"

#include "host/state_tax_return.h"
#include "host/tax_form.h"

namespace StateTaxFormPrintMgmt {

StateTaxFormPrinter::StateTaxFormPrinter(DataMgmt::TaxReturn& taxReturn)
    : TaxFormPrinter(taxReturn), stateReturn(dynamic_cast<StateDataMgmt::StateTaxReturn*>(&taxReturn)) {}

StateTaxFormPrinter::~StateTaxFormPrinter() = default;

bool StateTaxFormPrinter::isPrintFlagSet(const FormId& form, uint16_t copy) const {
  const DataMgmt::TaxForm* f = taxReturn.getForm(form, copy);
  return f != nullptr && f->isPrintFlag();
}

bool StateTaxFormPrinter::getNextForm(const Utils::printFormInfo* table, const FormId& current,
                                      FormId& next, char) {
  if (table == nullptr) return false;
  // The row to take: the first row for an empty current form, else the
  // row after the one holding it. The table ends at its first empty row.
  int row = 0;
  if (current.isValid()) {
    row = -1;
    for (int i = 0; table[i].form.isValid(); ++i) {
      if (table[i].form == current) {
        row = i + 1;
        break;
      }
    }
    if (row < 0) return false;
  }
  if (!table[row].form.isValid()) return false;
  next = table[row].form;
  return true;
}

void StateTaxFormPrinter::formsToAudit(std::vector<FormId>& list, char& countA, char& countB) {
  list.clear();
  for (const FormId& form : walkPrintOrder(1)) {
    if (static_cast<int>(list.size()) >= kMaxFormsToAudit) break;
    list.push_back(form);
  }
  countA = static_cast<char>(list.size());
  countB = 0;
}

}  // namespace StateTaxFormPrintMgmt
