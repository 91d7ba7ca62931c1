#include "host/printer.h"

#include "host/tax_form.h"

namespace TaxFormPrintMgmt {
namespace {

const int kMaxWalkSteps = 4096;
const int kMaxSignedCount = 127;

}  // namespace

TaxFormPrinter::TaxFormPrinter(DataMgmt::TaxReturn& taxReturn) : taxReturn(taxReturn) {}

TaxFormPrinter::~TaxFormPrinter() = default;

bool TaxFormPrinter::formShouldPrint(const FormId& form, uint16_t copy) {
  return isFormPrintFlagSet(form, copy, 0);
}

bool TaxFormPrinter::isFormPrintFlagSet(const FormId& form, uint16_t copy, int) {
  const DataMgmt::TaxForm* f = taxReturn.getForm(form, copy);
  return f != nullptr && f->isPrintFlag();
}

bool TaxFormPrinter::anyCopyShouldPrint(const FormId& form) {
  for (DataMgmt::TaxFormIter it = taxReturn.getForms(form); !it.atEOL(); it.next()) {
    if (formShouldPrint(form, it.getTaxForm()->getCopyNumber())) return true;
  }
  return false;
}

void TaxFormPrinter::formsToPrint(FormId* forms, char& countA, char& countB, int mode) {
  int count = 0;
  for (const FormId& form : walkPrintOrder(mode)) {
    if (count >= kMaxFormsToPrint) break;
    bool prints = false;
    for (DataMgmt::TaxFormIter it = taxReturn.getForms(form); !it.atEOL() && !prints; it.next()) {
      prints = (mode != 0 && mode != 2) ||
               isFormPrintFlagSet(form, it.getTaxForm()->getCopyNumber(), mode);
    }
    if (prints) forms[count++] = form;
  }
  forms[count] = FormId();
  // Counts are signed bytes: the part above 127 goes to the second count.
  countA = static_cast<char>(count > kMaxSignedCount ? kMaxSignedCount : count);
  countB = static_cast<char>(count > kMaxSignedCount ? count - kMaxSignedCount : 0);
}

void TaxFormPrinter::formatFieldForPrint(char*, const FormId&, uint16_t, const FieldId&) {}
void TaxFormPrinter::adjustFTPrintedDate(char*, const FormId&, uint16_t, const FieldId&) {}
void TaxFormPrinter::attachPdfFiles(DataMgmt::TaxReturnType) {}
void TaxFormPrinter::attachEntirePdfForms(DataMgmt::TaxReturnType) {}
bool TaxFormPrinter::nextFormToPrintMode0(FormId&) { return false; }
bool TaxFormPrinter::nextFormToPrintMode1(FormId&) { return false; }
bool TaxFormPrinter::nextFormToPrintMode4(FormId&) { return false; }
bool TaxFormPrinter::nextFormToPrintMode5(FormId&) { return false; }

std::vector<FormId> TaxFormPrinter::walkPrintOrder(int mode) {
  std::vector<FormId> forms;
  FormId form;
  for (int step = 0; step < kMaxWalkSteps; ++step) {
    bool more = false;
    switch (mode) {
      case 1: more = nextFormToPrintMode1(form); break;
      case 4: more = nextFormToPrintMode4(form); break;
      case 5: more = nextFormToPrintMode5(form); break;
      default: more = nextFormToPrintMode0(form); break;
    }
    if (!more) break;
    forms.push_back(form);
  }
  return forms;
}

}  // namespace TaxFormPrintMgmt
