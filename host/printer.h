// TaxFormPrintMgmt::TaxFormPrinter: the host's base of a return's printer.
//
// A printer walks the forms of one return (borrowed; the host keeps it
// alive) in the print order that a state printer supplies through the
// nextFormToPrintMode* operations, and decides which copies print. The
// base knows no print order: its walk operations answer false, so it lists
// no forms. A copy prints when it exists and its print flag is set.
#ifndef HOST_PRINTER_H_
#define HOST_PRINTER_H_

#include <cstdint>
#include <vector>

#include "host/host_api.h"
#include "host/tax_return.h"

namespace TaxFormPrintMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;

class HOST_API TaxFormPrinter {
 public:
  // formsToPrint lists at most this many forms; its array must hold 255
  // identifiers (the entries and an empty identifier after the last).
  static const int kMaxFormsToPrint = 253;

  explicit TaxFormPrinter(DataMgmt::TaxReturn& taxReturn);
  virtual ~TaxFormPrinter();
  TaxFormPrinter(const TaxFormPrinter&) = delete;
  TaxFormPrinter& operator=(const TaxFormPrinter&) = delete;

  // Whether the copy prints: isFormPrintFlagSet with mode 0.
  virtual bool formShouldPrint(const FormId& form, uint16_t copy);
  // Whether the copy exists and its print flag is set; `mode` is not read.
  virtual bool isFormPrintFlagSet(const FormId& form, uint16_t copy, int mode);
  // Walks the print order of `mode` from the start (modes 0 and 2:
  // nextFormToPrintMode0, 1: Mode1, 4: Mode4, 5: Mode5) and lists into
  // `forms` each form that prints: in modes 0 and 2 a form with a copy whose
  // print flag is set, in the other modes a form with any copy. countA
  // receives the number of entries up to 127 and countB the rest, so that
  // countA + countB is the count (countB is 0 below 128 entries).
  virtual void formsToPrint(FormId* forms, char& countA, char& countB, int mode);
  // Whether any existing copy of the form prints (formShouldPrint).
  virtual bool anyCopyShouldPrint(const FormId& form);
  // Rewrite the print text of a field in place; the base changes nothing.
  virtual void formatFieldForPrint(char* text, const FormId& form, uint16_t copy, const FieldId& field);
  virtual void adjustFTPrintedDate(char* text, const FormId& form, uint16_t copy, const FieldId& field);
  // Register PDF attachments for electronic filing; the base registers none.
  virtual void attachPdfFiles(DataMgmt::TaxReturnType type);
  virtual void attachEntirePdfForms(DataMgmt::TaxReturnType type);
  // Move `form` to the next form of the print order of a mode; false at
  // the end. The base has no order and answers false.
  virtual bool nextFormToPrintMode0(FormId& form);
  virtual bool nextFormToPrintMode1(FormId& form);
  virtual bool nextFormToPrintMode4(FormId& form);
  virtual bool nextFormToPrintMode5(FormId& form);

  DataMgmt::TaxReturn& getTaxReturn() const { return taxReturn; }  // ours

 protected:
  // The forms the print order of `mode` yields from its start, in order
  // (modes 0 and 2 walk nextFormToPrintMode0). The walk stops after 4096
  // steps, so a print order that never ends cannot hang the host.
  std::vector<FormId> walkPrintOrder(int mode);

  DataMgmt::TaxReturn& taxReturn;
};

}  // namespace TaxFormPrintMgmt

#endif  // HOST_PRINTER_H_
