// The PA form printer: print orders, print texts and PDF attachments.
#include "output/pa_tax_form_printer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/data_manager.h"
#include "host/descriptors.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace {

using DataMgmt::FieldValue;
using PATaxFormPrintMgmt::PATaxFormPrinter;
typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;

class PAFormPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    printer.reset();
    federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    printer.reset(new PATaxFormPrinter(*pa));
  }
  void TearDown() override { EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0); }

  DataMgmt::TaxForm& copyOf(const FormId& form, uint16_t copy = 1) { return *pa->getFormOrCreate(form, copy); }
  void mark(const FieldId& box) { copyOf(kFormID_PAReturnInfo).store(box, FieldValue::mark()); }
  std::string printText(const FormId& form, const FieldId& field, const std::string& text, uint16_t copy = 1) {
    char buffer[PATaxFormPrinter::kPrintTextSize];
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    printer->formatFieldForPrint(buffer, form, copy, field);
    return buffer;
  }
  const std::vector<DataMgmt::PdfAttachMgr::Call>& attached() {
    return DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().calls();
  }

  DataMgmt::TaxReturnPtr federal;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<PATaxFormPrinter> printer;  // destroyed first
};

TEST_F(PAFormPrinterTest, TheFirstMarkedResidencyBoxChoosesThePrintOrder) {
  const FieldId &full = PAReturnInfo::kFullYearResidentBox, &non = PAReturnInfo::kNonresidentBox,
                &part = PAReturnInfo::kPartYearResidentBox;
  const FormId* const notForNonresidents[] = {&kFormID_PAScheduleGL, &kFormID_PAScheduleA,
                                              &kFormID_PAScheduleB,  &kFormID_State16,
                                              &kFormID_State17,      &kFormID_PAInterestDividendWorksheet};
  const struct {
    std::vector<const FieldId*> boxes;
    bool nonresident;
  } cases[] = {{{&full}, false}, {{&non}, true}, {{&part}, false}, {{&non, &full}, false}, {{&part, &non}, true}};
  for (const auto& c : cases) {
    SetUp();
    for (const FieldId* box : c.boxes) mark(*box);
    std::vector<FormId> forms;
    for (FormId form; forms.size() < 100 && printer->nextFormToPrintMode0(form);) forms.push_back(form);
    ASSERT_EQ(forms.size(), c.nonresident ? 19u : 25u);
    for (const FormId* left : notForNonresidents) {
      EXPECT_EQ(std::count(forms.begin(), forms.end(), *left), c.nonresident ? 0 : 1);
    }
    EXPECT_TRUE(forms.front() == kFormID_PAEstimatedVouchers && forms.back() == kFormID_PALocalIncomeTaxReturn);
  }
  // The walk steps on from any form of the order and stops at its end.
  FormId form = kFormID_PAScheduleOC;
  ASSERT_TRUE(printer->nextFormToPrintMode4(form));
  EXPECT_TRUE(form == kFormID_PAScheduleUE);  // G-L, A and B are not in the nonresident order
  form = kFormID_PALocalIncomeTaxReturn;
  EXPECT_FALSE(printer->nextFormToPrintMode5(form));
}

TEST_F(PAFormPrinterTest, WithoutAResidencyMarkEveryModeAnswersFalse) {
  FormId form;
  EXPECT_FALSE(printer->nextFormToPrintMode1(form));  // no information form: none is made
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1));
  copyOf(kFormID_PAReturnInfo).store(PAReturnInfo::kNonresidentBox, FieldValue::no());
  for (auto mode : {&PATaxFormPrinter::nextFormToPrintMode0, &PATaxFormPrinter::nextFormToPrintMode1,
                    &PATaxFormPrinter::nextFormToPrintMode4, &PATaxFormPrinter::nextFormToPrintMode5}) {
    FormId pa40 = kFormID_PA40;
    EXPECT_FALSE((printer.get()->*mode)(pa40));
    EXPECT_TRUE(pa40 == kFormID_PA40);  // left alone
  }
}

TEST_F(PAFormPrinterTest, PrintTexts) {
  const FieldId &compensation = PA40::kNetCompensation, &rents = PAScheduleE::kRentsReceived;
  const struct {
    const FormId& form;
    const FieldId& field;
    FieldValue stored;
    const char *text, *expected;
  } cases[] = {
      // PA-40 and Schedule C: commas out, no cents, padded back.
      {kFormID_PA40, compensation, FieldValue::of(1234), "1,234", " 1234"},
      {kFormID_PA40, compensation, FieldValue::null(), "", "0"},
      {kFormID_PA40, compensation, FieldValue::of(12), "  12 ", "   12"},
      {kFormID_PA40, compensation, FieldValue::of(-7), "7-", "7-"},
      {kFormID_PAScheduleC, PAScheduleC::kNetProfit, FieldValue::of(1000), "1,000", " 1000"},
      // Other forms: sign in front, cents added.
      {kFormID_PAScheduleE, rents, FieldValue::of(1234), "1,234", "1234.00"},
      {kFormID_PAScheduleE, rents, FieldValue::of(-1234), "1234-", "-1234.00"},
      {kFormID_PAScheduleE, rents, FieldValue::of(-5), "5", "-5.00"},
      {kFormID_PAScheduleE, rents, FieldValue::null(), "", "0.00"},
      // Texts: upper case without punctuation, blanks kept; a few print as entered.
      {kFormID_PAReturnInfo, PAReturnInfo::kTaxpayerFirstName, FieldValue::null(),
       "o'brien-smith, jr. (50%) & co!?;:/", "OBRIENSMITH JR 50  CO"},
      {kFormID_PAEstimatedVouchers, PAEstimatedVouchers::kSpouseSSN, FieldValue::null(), "A-M, 1/2", "A-M, 1/2"},
      {kFormID_PAEstimatedTaxWorksheet, PAEstimatedTaxWorksheet::kVoucherDueDate.at(3), FieldValue::null(),
       "04/15/2019", "04/15/2019"},
      {kFormID_PAEstimatedTaxWorksheet, PAEstimatedTaxWorksheet::kTaxpayerName, FieldValue::null(),
       "04/15/2019", "04152019"},
      {kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox, FieldValue::mark(), "x", "x"},
  };
  for (const auto& c : cases) {
    copyOf(c.form).store(c.field, c.stored);
    EXPECT_EQ(printText(c.form, c.field, c.text), c.expected) << c.text;
  }
}

TEST_F(PAFormPrinterTest, PrintTextStaysWithoutCopyFieldBufferOrRoom) {
  const FieldId& rents = PAScheduleE::kRentsReceived;
  EXPECT_EQ(printText(kFormID_PAScheduleE, rents, "1,234"), "1,234");  // no copy 1
  copyOf(kFormID_PAScheduleE).store(rents, FieldValue::of(1));
  EXPECT_EQ(printText(kFormID_PAScheduleE, rents, "1,234", 2), "1,234");         // no copy 2
  EXPECT_EQ(printText(kFormID_PAScheduleE, FieldId(999999), "1,234"), "1,234");  // no such field
  printer->formatFieldForPrint(nullptr, kFormID_PAScheduleE, 1, rents);          // no crash
  // 127 characters: the cents would take it past the buffer.
  const std::string longText(PATaxFormPrinter::kPrintTextSize - 1, '1');
  char buffer[PATaxFormPrinter::kPrintTextSize + 16];
  std::memset(buffer, '#', sizeof buffer);
  std::snprintf(buffer, PATaxFormPrinter::kPrintTextSize, "%s", longText.c_str());
  printer->formatFieldForPrint(buffer, kFormID_PAScheduleE, 1, rents);
  EXPECT_EQ(std::string(buffer), longText);
  EXPECT_EQ(std::string(buffer + PATaxFormPrinter::kPrintTextSize, 16), std::string(16, '#'));
}

TEST_F(PAFormPrinterTest, EveryCopyOfEveryPrintedFormIsAttached) {
  mark(PAReturnInfo::kNonresidentBox);
  copyOf(kFormID_PA40);  // exists, does not print
  copyOf(kFormID_PAScheduleE, 1).setPrintingEnabled(true);
  copyOf(kFormID_PAScheduleE, 3);  // listed form, copy that does not print: still attached
  copyOf(kFormID_PAScheduleA);     // form that does not print
  printer->attachPdfFiles(7);      // Pennsylvania has no per-copy attachments
  printer->attachEntirePdfForms(7);
  ASSERT_EQ(attached().size(), 3u);
  for (uint16_t copy : {1, 3}) {
    const auto& call = attached()[copy / 2];
    EXPECT_TRUE(call.call == "addPdfIntAttachEntire" && call.argType == 7 && call.returnType == 40);
    EXPECT_TRUE(call.form == kFormID_PAScheduleE && call.copy == copy);
    EXPECT_EQ(call.shortName, "PASCHEDULEE_" + std::to_string(copy) + ".pdf");
    EXPECT_EQ(call.descName, pa->getTaxFormDescriptor(kFormID_PAScheduleE)->getNameText());
    EXPECT_EQ(call.key, "PASCHEDULEE_" + std::to_string(copy) + ".PDF " + std::to_string(copy) + " X");
  }
  // Without a printed PA-40 the first listed form stands for the return.
  EXPECT_TRUE(attached()[2].call == "setPdfIntFormIdToUseForEntire" && attached()[2].argType == 7);
  EXPECT_TRUE(attached()[2].returnType == 40 && attached()[2].form == kFormID_PAScheduleE);
  copyOf(kFormID_PA40).setPrintingEnabled(true);
  printer->attachEntirePdfForms(7);
  EXPECT_TRUE(attached().back().form == kFormID_PA40);
}

}  // namespace
