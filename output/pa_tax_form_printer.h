// PATaxFormPrintMgmt::PATaxFormPrinter: the Pennsylvania form printer.
//
// The host creates it through createTaxFormPrinterInstance and deletes it
// through its virtual destructor. It prints one PA return, which it
// borrows (the host keeps it alive while the printer lives) and sees both
// as the state layer's return and as the PA return.
//
// It supplies what is particular to Pennsylvania: the print order (one of
// three tables, chosen by the residency boxes of the return information
// form), the print text of a field value, and the registration of the
// whole-form PDF attachments of an electronic return. A return without its
// information form, or with no residency box marked, has no print order:
// every walk answers false and nothing is listed to print or audit.
#ifndef OUTPUT_PA_TAX_FORM_PRINTER_H_
#define OUTPUT_PA_TAX_FORM_PRINTER_H_

#include <cstdint>
#include <string>

#include "host/print_form_info.h"
#include "host/state_printer.h"
#include "return/pa_tax_return.h"

namespace PATaxFormPrintMgmt {

class PATaxFormPrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
 public:
  typedef DataMgmt::FormId FormId;
  typedef DataMgmt::FieldId FieldId;

  // The three print orders: A full-year resident, B nonresident, C
  // part-year resident. Each table has kPrintOrderRows rows; the row after
  // its last form holds the empty form and ends it.
  enum PrintOrder { kPrintOrderA, kPrintOrderB, kPrintOrderC };
  static const int kPrintOrderRows = 80;

  // Size of the text buffer formatFieldForPrint works on: a field's value
  // text (at most 127 characters) and its terminator. The caller's buffer
  // must hold this many bytes; the print text never grows beyond it.
  static const int kPrintTextSize = 128;

  explicit PATaxFormPrinter(PADataMgmt::PATaxReturn& paReturn);
  ~PATaxFormPrinter() override;

  // Host virtual operations.
  // Whether the copy exists and its print flag is set; `mode` is not read.
  bool isFormPrintFlagSet(const FormId& form, uint16_t copy, int mode) override;
  // Rewrites the print text of one field in place (see the .cc for the
  // rules by field kind). A copy that does not exist, a field the form does
  // not describe or a null text leaves the text as it is.
  void formatFieldForPrint(char* text, const FormId& form, uint16_t copy,
                           const FieldId& field) override;
  // Per-copy attachments: Pennsylvania has none, so nothing is registered.
  void attachPdfFiles(DataMgmt::TaxReturnType type) override;
  // Registers the PDF of every copy of every form that prints, and names the
  // form whose PDF stands for the whole return.
  void attachEntirePdfForms(DataMgmt::TaxReturnType type) override;
  bool nextFormToPrintMode0(FormId& form) override;
  bool nextFormToPrintMode1(FormId& form) override;
  bool nextFormToPrintMode4(FormId& form) override;
  bool nextFormToPrintMode5(FormId& form) override;

  // Moves `form` to the form after it in the return's print order (an
  // empty `form` starts at the first); false at the end, for a form not in
  // the order, and when the return has no print order.
  bool nextFormToPrint(FormId& form, char mode);

  // Fills `table` (kPrintOrderRows rows) with print order `order`.
  static void buildPrintOrder(PrintOrder order, Utils::printFormInfo* table);

  StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn; }
  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

// The attachment key of a PDF: the name, a blank and the copy number, then
// a blank and the qualifier when there is one ("PA40_1.pdf 1 X").
std::string formatFormKey(const std::string& name, uint16_t copy, const std::string& qualifier);

}  // namespace PATaxFormPrintMgmt

#endif  // OUTPUT_PA_TAX_FORM_PRINTER_H_
