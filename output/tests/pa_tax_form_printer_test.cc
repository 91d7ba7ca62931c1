// The PA form printer (print orders, print texts and PDF attachments) and
// the PA tax summary report: each case's result under its title in
// golden/printer.txt.
#include "output/pa_tax_form_printer.h"

#include "host/data_manager.h"
#include "output/pa_tax_summary_report.h"
#include "output/tests/state_tif_writer_fixture.h"

namespace state_tif_test {
namespace {

using PATaxFormPrintMgmt::PATaxFormPrinter;
const FormId& kInfo = kFormID_PAReturnInfo;

class PAFormPrinterTest : public StateTifWriterTest {
 protected:
  // The print order walked in mode 0, by form number.
  std::string printOrder() {
    std::string forms;
    for (FormId form; forms.size() < 1000 && paPrinter.nextFormToPrintMode0(form);) {
      forms += std::to_string(form.getNumber()) + " ";
    }
    return forms;
  }
  std::string printText(const FormId& form, const FieldId& field, const std::string& text, uint16_t copy = 1) {
    char buffer[PATaxFormPrinter::kPrintTextSize];
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    paPrinter.formatFieldForPrint(buffer, form, copy, field);
    return "\"" + std::string(buffer) + "\"";
  }
  // The attachment manager's calls after attachEntirePdfForms.
  std::string attachments() {
    DataMgmt::PdfAttachMgr& manager = DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr();
    manager.clearCalls();
    paPrinter.attachEntirePdfForms(7);
    std::string calls;
    for (const auto& c : manager.calls()) {
      std::string line = c.call + " " + std::to_string(c.argType) + " " + std::to_string(c.returnType) + " " +
                         std::to_string(c.form.getNumber()) + " " + std::to_string(c.copy) + " " + c.shortName +
                         " " + c.descName + " " + c.key;
      calls += line.erase(line.find_last_not_of(' ') + 1) + "\n";
    }
    return calls;
  }
  PATaxFormPrinter paPrinter{*pa};
};

TEST_F(PAFormPrinterTest, PrintOrdersTextsAttachmentsAndTheSummary) {
  note("print order without the information form", printOrder());
  note("the information form is made", pa->formExists(kInfo, 1) ? "yes" : "no");
  put(kInfo, PAReturnInfo::kNonresidentBox, FieldValue::no());
  std::string modes;
  for (auto mode : {&PATaxFormPrinter::nextFormToPrintMode0, &PATaxFormPrinter::nextFormToPrintMode1,
                    &PATaxFormPrinter::nextFormToPrintMode4, &PATaxFormPrinter::nextFormToPrintMode5}) {
    FormId form;
    modes += (paPrinter.*mode)(form) ? "true " : "false ";
  }
  note("modes 0, 1, 4 and 5 without a residency mark", modes);
  note("attachments without a print order", attachments());
  for (const auto& box : {std::make_pair(PAReturnInfo::kPartYearResidentBox, "part-year resident"),
                          std::make_pair(PAReturnInfo::kNonresidentBox, "nonresident (and part-year)"),
                          std::make_pair(PAReturnInfo::kFullYearResidentBox, "full-year resident (and both)")}) {
    put(kInfo, box.first, FieldValue::mark());
    note(std::string("print order marked ") + box.second, printOrder());
  }

  const FieldId &rents = PAScheduleE::kRentsReceived, &compensation = PA40::kNetCompensation;
  const struct {
    const char* title;
    const FormId& form;
    const FieldId& field;
    FieldValue stored;
    std::string text;
  } cases[] = {
      {"PA-40 amount 1234", kFormID_PA40, compensation, FieldValue::of(1234), "1,234"},
      {"PA-40 amount without a value", kFormID_PA40, compensation, FieldValue::null(), ""},
      {"Schedule C amount -7", kFormID_PAScheduleC, PAScheduleC::kNetProfit, FieldValue::of(-7), "7-"},
      {"Schedule E amount 1234", kFormID_PAScheduleE, rents, FieldValue::of(1234), "1,234"},
      {"Schedule E amount -123", kFormID_PAScheduleE, rents, FieldValue::of(-123), "123-"},
      {"Schedule E amount without a value", kFormID_PAScheduleE, rents, FieldValue::null(), ""},
      {"127 characters: no room for the cents", kFormID_PAScheduleE, rents, FieldValue::of(1),
       std::string(PATaxFormPrinter::kPrintTextSize - 1, '1')},
      {"a name", kInfo, PAReturnInfo::kTaxpayerFirstName, FieldValue::null(), "o'brien-smith, jr. (50%) & co!?;:/"},
      {"a voucher's number", kFormID_PAEstimatedVouchers, PAEstimatedVouchers::kSpouseSSN, FieldValue::null(),
       "A-M, 1/2"},
      {"a box", kInfo, PAReturnInfo::kFullYearResidentBox, FieldValue::mark(), "x"},
  };
  for (const auto& c : cases) {
    put(c.form, c.field, c.stored);
    note(std::string("print text: ") + c.title + " \"" + c.text + "\"", printText(c.form, c.field, c.text));
  }
  note("print text of a copy that does not exist", printText(kFormID_PAScheduleE, rents, "1,234", 2));

  note("the key of copy 1 of pa40", PATaxFormPrintMgmt::formatFormKey("pa40", 1, "X"));
  holder(kFormID_PAScheduleE)->setPrintingEnabled(true);
  holder(kFormID_PAScheduleE, 3);  // a copy of a listed form that does not print
  holder(kFormID_PA40);            // exists, does not print
  paPrinter.attachPdfFiles(7);     // Pennsylvania has no per-copy attachments
  note("attachments, the PA-40 not printed", attachments());
  holder(kFormID_PA40)->setPrintingEnabled(true);
  note("attachments, the PA-40 printed", attachments());

  long value = 1000;
  for (const auto& field : {PA40::kNetCompensation, PA40::kTotalTaxableIncome, PA40::kOtherDeductions,
                            PA40::kAdjustedTaxableIncome, PA40::kTaxLiability, PA40::kTotalPaymentsCredits,
                            PA40::kRefund}) {
    put(kFormID_PA40, field, FieldValue::of(value++));
  }
  PAReportMgmt::PATaxSummaryReport report(state);
  put(kFormID_PA40, PA40::kTaxLiability, FieldValue::of(99));  // too late for the report
  PAReportMgmt::PATaxSummaryReport other(federal);              // not the PA return
  for (const auto* made : {&report, &other}) {
    std::string lines;
    for (const auto& line : made->getFields()) {
      lines += "\"" + line.first + "\" " + std::to_string(line.second) + "\n";
    }
    note(made == &report ? "summary report, no amount owed" : "summary report of another return", lines);
  }
  expectGolden("printer.txt", transcript);
}

}  // namespace
}  // namespace state_tif_test
