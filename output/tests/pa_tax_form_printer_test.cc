// The PA form printer: print orders, print texts and PDF attachments.
#include "output/pa_tax_form_printer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogs/catalogs.h"
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

const FieldId& fullYearBox() { return kPAReturnInfoFieldIds.byNumber(46); }
const FieldId& nonresidentBox() { return kPAReturnInfoFieldIds.byNumber(47); }
const FieldId& partYearBox() { return kPAReturnInfoFieldIds.byNumber(48); }

// The 25 forms of the full-year and part-year orders, in print order.
std::vector<FormId> fullOrder() {
  return {kFormID_PAEstimatedVouchers,
          kFormID_PA40,
          kFormID_PAScheduleW2S,
          kFormID_PAScheduleOC,
          kFormID_PAScheduleGL,
          kFormID_PAScheduleA,
          kFormID_PAScheduleB,
          kFormID_PAScheduleUE,
          kFormID_PAScheduleC,
          kFormID_PAScheduleD,
          kFormID_PAScheduleE,
          kFormID_PAScheduleJ,
          kFormID_PADeductions,
          kFormID_PAScheduleSP,
          kFormID_PAW2GIncome,
          kFormID_PAW2,
          kFormID_PAMiscCompWorksheet,
          kFormID_PAScheduleDWorksheet,
          kFormID_State16,
          kFormID_State17,
          kFormID_PAInterestDividendWorksheet,
          kFormID_PAReturnInfo,
          kFormID_PAEstimatedTaxWorksheet,
          kFormID_PADirectDepositDebit,
          kFormID_PALocalIncomeTaxReturn};
}

// The forms a nonresident's order leaves out.
std::vector<FormId> notForNonresidents() {
  return {kFormID_PAScheduleGL, kFormID_PAScheduleA, kFormID_PAScheduleB, kFormID_State16,
          kFormID_State17,      kFormID_PAInterestDividendWorksheet};
}

bool contains(const std::vector<FormId>& forms, const FormId& form) {
  for (const FormId& f : forms) {
    if (f == form) return true;
  }
  return false;
}

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

  DataMgmt::TaxForm& copyOf(const FormId& form, uint16_t copy = 1) {
    return *pa->getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const FieldValue& value, uint16_t copy = 1) {
    copyOf(form, copy).store(field, value);
  }
  void markResidency(const FieldId& box) { put(kFormID_PAReturnInfo, box, FieldValue::mark()); }

  // The forms of the mode-0 walk from the start.
  std::vector<FormId> walk() {
    std::vector<FormId> forms;
    FormId form;
    while (forms.size() < 100 && printer->nextFormToPrintMode0(form)) forms.push_back(form);
    return forms;
  }

  // The print text of `text` for the field.
  std::string printText(const FormId& form, const FieldId& field, const std::string& text,
                        uint16_t copy = 1) {
    char buffer[PATaxFormPrinter::kPrintTextSize];
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    printer->formatFieldForPrint(buffer, form, copy, field);
    return buffer;
  }

  DataMgmt::TaxReturnPtr federal;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<PATaxFormPrinter> printer;  // destroyed first
};

// --- print-order tables -----------------------------------------------------

TEST_F(PAFormPrinterTest, PrintOrderTablesHoldTheirFormsKindsAndEndRow) {
  struct Case {
    PATaxFormPrinter::PrintOrder order;
    bool nonresident;
  };
  const Case cases[] = {{PATaxFormPrinter::kPrintOrderA, false},
                        {PATaxFormPrinter::kPrintOrderB, true},
                        {PATaxFormPrinter::kPrintOrderC, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order);
    std::vector<FormId> expected;
    for (const FormId& form : fullOrder()) {
      if (!c.nonresident || !contains(notForNonresidents(), form)) expected.push_back(form);
    }
    ASSERT_EQ(expected.size(), c.nonresident ? 19u : 25u);

    Utils::printFormInfo table[PATaxFormPrinter::kPrintOrderRows];
    PATaxFormPrinter::buildPrintOrder(c.order, table);
    for (size_t row = 0; row < expected.size(); ++row) {
      EXPECT_TRUE(table[row].form == expected[row]) << "row " << row;
      EXPECT_EQ(table[row].value, 3) << "row " << row;
      const FormId& form = table[row].form;
      const char kind = (form == kFormID_State16 || form == kFormID_State17 ||
                         form == kFormID_PAReturnInfo)
                            ? 1
                            : form == kFormID_PALocalIncomeTaxReturn ? 3 : 0;
      EXPECT_EQ(table[row].kind, kind) << "row " << row;
    }
    const size_t end = expected.size();
    EXPECT_FALSE(table[end].form.isValid());
    EXPECT_EQ(table[end].kind, 0);
    EXPECT_EQ(table[end].value, 3);
    for (size_t row = end + 1; row < PATaxFormPrinter::kPrintOrderRows; ++row) {
      EXPECT_FALSE(table[row].form.isValid()) << "row " << row;
      EXPECT_EQ(table[row].kind, 0) << "row " << row;
      EXPECT_EQ(table[row].value, 0) << "row " << row;
    }
  }
}

// --- next form to print -----------------------------------------------------

TEST_F(PAFormPrinterTest, ResidencyBoxChoosesThePrintOrder) {
  struct Case {
    const char* name;
    const FieldId& box;
    bool nonresident;
  };
  const Case cases[] = {{"full-year", fullYearBox(), false},
                        {"nonresident", nonresidentBox(), true},
                        {"part-year", partYearBox(), false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    markResidency(c.box);
    const std::vector<FormId> forms = walk();
    EXPECT_EQ(forms.size(), c.nonresident ? 19u : 25u);
    for (const FormId& form : notForNonresidents()) {
      EXPECT_EQ(contains(forms, form), !c.nonresident) << form.getNumber();
    }
    EXPECT_TRUE(forms.front() == kFormID_PAEstimatedVouchers);
    EXPECT_TRUE(forms.back() == kFormID_PALocalIncomeTaxReturn);
  }
}

TEST_F(PAFormPrinterTest, FirstMarkedResidencyBoxWins) {
  markResidency(nonresidentBox());
  markResidency(fullYearBox());
  EXPECT_EQ(walk().size(), 25u);  // full-year, though nonresident is marked too

  SetUp();
  markResidency(partYearBox());
  markResidency(nonresidentBox());
  EXPECT_EQ(walk().size(), 19u);  // nonresident before part-year
}

TEST_F(PAFormPrinterTest, NoResidencyMarkedAnswersFalseInEveryMode) {
  copyOf(kFormID_PAReturnInfo);
  put(kFormID_PAReturnInfo, nonresidentBox(), FieldValue::no());
  typedef bool (PATaxFormPrinter::*Mode)(FormId&);
  const Mode modes[] = {&PATaxFormPrinter::nextFormToPrintMode0,
                        &PATaxFormPrinter::nextFormToPrintMode1,
                        &PATaxFormPrinter::nextFormToPrintMode4,
                        &PATaxFormPrinter::nextFormToPrintMode5};
  for (Mode mode : modes) {
    FormId form;
    EXPECT_FALSE((printer.get()->*mode)(form));
    FormId pa40 = kFormID_PA40;
    EXPECT_FALSE((printer.get()->*mode)(pa40));
    EXPECT_TRUE(pa40 == kFormID_PA40);  // left alone
  }
}

TEST_F(PAFormPrinterTest, MissingInformationFormAnswersFalseAndCreatesNothing) {
  FormId form;
  EXPECT_FALSE(printer->nextFormToPrintMode1(form));
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1));
  std::vector<FormId> audited;
  char countA = 9, countB = 9;
  printer->formsToAudit(audited, countA, countB);
  EXPECT_TRUE(audited.empty());
}

TEST_F(PAFormPrinterTest, WalkStepsFromAFormToTheNextAndStopsAtTheEnd) {
  markResidency(nonresidentBox());
  FormId form = kFormID_PAScheduleOC;
  ASSERT_TRUE(printer->nextFormToPrintMode4(form));
  EXPECT_TRUE(form == kFormID_PAScheduleUE);  // G-L, A and B are skipped

  form = kFormID_PALocalIncomeTaxReturn;
  EXPECT_FALSE(printer->nextFormToPrintMode5(form));
  EXPECT_TRUE(form == kFormID_PALocalIncomeTaxReturn);

  form = kFormID_PAScheduleGL;  // not in the nonresident order
  EXPECT_FALSE(printer->nextFormToPrintMode0(form));
  EXPECT_TRUE(form == kFormID_PAScheduleGL);
}

TEST_F(PAFormPrinterTest, FormsToPrintListsFormsWithPrintingCopiesInOrder) {
  markResidency(fullYearBox());
  copyOf(kFormID_PAScheduleE, 2).setPrintingEnabled(true);
  copyOf(kFormID_PA40).setPrintingEnabled(true);
  copyOf(kFormID_PAScheduleA);  // exists but does not print
  FormId forms[255];
  char countA = 0, countB = 0;
  printer->formsToPrint(forms, countA, countB, 0);
  ASSERT_EQ(countA, 2);
  EXPECT_EQ(countB, 0);
  EXPECT_TRUE(forms[0] == kFormID_PA40);
  EXPECT_TRUE(forms[1] == kFormID_PAScheduleE);

  EXPECT_TRUE(printer->isFormPrintFlagSet(kFormID_PAScheduleE, 2, 7));
  EXPECT_FALSE(printer->isFormPrintFlagSet(kFormID_PAScheduleE, 1, 0));
  EXPECT_FALSE(printer->isFormPrintFlagSet(kFormID_PAScheduleA, 1, 0));
}

// --- print text -------------------------------------------------------------

TEST_F(PAFormPrinterTest, PrintTextOfNumberFields) {
  const FieldId& pa40Line = kPA40FieldIds.byNumber(139);
  const FieldId& scheduleELine = kPAScheduleEFieldIds.byNumber(30);
  const FieldId& scheduleCLine = kPAScheduleCFieldIds.byNumber(56306);
  struct Case {
    const char* name;
    const FormId& form;
    const FieldId& field;
    FieldValue stored;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      // PA-40 and Schedule C: commas out, no cents, padded back.
      {"PA-40 commas", kFormID_PA40, pa40Line, FieldValue::of(1234), "1,234", " 1234"},
      {"PA-40 plain", kFormID_PA40, pa40Line, FieldValue::of(1234), "1234", "1234"},
      {"PA-40 empty", kFormID_PA40, pa40Line, FieldValue::null(), "", "0"},
      {"PA-40 zero", kFormID_PA40, pa40Line, FieldValue::of(0), "0", "0"},
      {"PA-40 blanks", kFormID_PA40, pa40Line, FieldValue::of(12), "  12 ", "   12"},
      {"PA-40 negative", kFormID_PA40, pa40Line, FieldValue::of(-7), "7-", "7-"},
      {"Schedule C", kFormID_PAScheduleC, scheduleCLine, FieldValue::of(1000), "1,000", " 1000"},
      // Other forms: sign in front, cents added.
      {"Schedule E commas", kFormID_PAScheduleE, scheduleELine, FieldValue::of(1234), "1,234",
       "1234.00"},
      {"Schedule E trailing minus", kFormID_PAScheduleE, scheduleELine, FieldValue::of(-1234),
       "1234-", "-1234.00"},
      {"Schedule E leading minus", kFormID_PAScheduleE, scheduleELine, FieldValue::of(-5), "-5",
       "-5.00"},
      {"Schedule E minus without text sign", kFormID_PAScheduleE, scheduleELine,
       FieldValue::of(-5), "5", "-5.00"},
      {"Schedule E empty", kFormID_PAScheduleE, scheduleELine, FieldValue::null(), "", "0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    put(c.form, c.field, c.stored);
    EXPECT_EQ(printText(c.form, c.field, c.text), c.expected);
  }
}

TEST_F(PAFormPrinterTest, PrintTextOfTextAndBoxFields) {
  const FieldId& name = kPAReturnInfoFieldIds.byNumber(31);
  const FieldId& voucherText = kPAEstimatedVouchersFieldIds.byNumber(2);
  const FieldId& worksheetDate = kPAEstimatedTaxWorksheetFieldIds.byNumber(73);
  const FieldId& worksheetText = kPAEstimatedTaxWorksheetFieldIds.byNumber(8);
  struct Case {
    const char* name;
    const FormId& form;
    const FieldId& field;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"name", kFormID_PAReturnInfo, name, "o'brien-smith, jr. (50%) & co!?;:/",
       "OBRIENSMITH JR 50  CO"},  // blanks are kept
      {"exempt voucher text", kFormID_PAEstimatedVouchers, voucherText, "Ann-Marie, 1/2",
       "Ann-Marie, 1/2"},
      {"exempt worksheet date", kFormID_PAEstimatedTaxWorksheet, worksheetDate, "04/15/2019",
       "04/15/2019"},
      {"worksheet text", kFormID_PAEstimatedTaxWorksheet, worksheetText, "04/15/2019",
       "04152019"},
      {"check box", kFormID_PAReturnInfo, fullYearBox(), "x", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    copyOf(c.form);
    EXPECT_EQ(printText(c.form, c.field, c.text), c.expected);
  }
}

TEST_F(PAFormPrinterTest, PrintTextLeftAloneWithoutCopyFieldOrBuffer) {
  const FieldId& line = kPAScheduleEFieldIds.byNumber(30);
  EXPECT_EQ(printText(kFormID_PAScheduleE, line, "1,234"), "1,234");  // no copy 1
  copyOf(kFormID_PAScheduleE);
  EXPECT_EQ(printText(kFormID_PAScheduleE, line, "1,234", 2), "1,234");   // no copy 2
  EXPECT_EQ(printText(kFormID_PAScheduleE, FieldId(999999), "1,234"), "1,234");  // no such field
  printer->formatFieldForPrint(nullptr, kFormID_PAScheduleE, 1, line);     // no crash
}

TEST_F(PAFormPrinterTest, PrintTextThatWouldNotFitStaysAsItWas) {
  const FieldId& line = kPAScheduleEFieldIds.byNumber(30);
  put(kFormID_PAScheduleE, line, FieldValue::of(1));
  // 127 characters: the cents would take it past the buffer.
  const std::string longText(PATaxFormPrinter::kPrintTextSize - 1, '1');
  char buffer[PATaxFormPrinter::kPrintTextSize + 16];
  std::memset(buffer, '#', sizeof buffer);
  std::snprintf(buffer, PATaxFormPrinter::kPrintTextSize, "%s", longText.c_str());
  printer->formatFieldForPrint(buffer, kFormID_PAScheduleE, 1, line);
  EXPECT_EQ(std::string(buffer), longText);
  for (size_t i = PATaxFormPrinter::kPrintTextSize; i < sizeof buffer; ++i) {
    EXPECT_EQ(buffer[i], '#') << "byte " << i;
  }
}

// Edit codes and lengths the generated PA descriptors do not use: a form
// described by hand.
TEST_F(PAFormPrinterTest, NumbersWithOwnDecimalsOrShortFieldsGetNoCents) {
  const FieldId hundredths(30);
  const FieldId shortField(18);
  const FieldId fourDecimals(19);
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "", "", "Pennsylvania"));
  DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(kFormID_PAScheduleE, "PASCHEDULEE", ""));
  form->addField(DataMgmt::FormFieldDescPtr(new DataMgmt::FormFieldDesc(
      hundredths, DataMgmt::kNumberField, 15, 'H', false, "kPASCHEDULEE_F30", "F30")));
  form->addField(DataMgmt::FormFieldDescPtr(new DataMgmt::FormFieldDesc(
      shortField, DataMgmt::kNumberField, 2, 0, false, "kPASCHEDULEE_F18", "F18")));
  form->addField(DataMgmt::FormFieldDescPtr(new DataMgmt::FormFieldDesc(
      fourDecimals, DataMgmt::kNumberField, 15, 'J', false, "kPASCHEDULEE_F19", "F19")));
  desc->registerForm(form);
  PADataMgmt::PATaxReturn handMade(federal, desc, Utils::StringPool::shared());
  PATaxFormPrinter handPrinter(handMade);
  DataMgmt::TaxForm& copy = *handMade.getFormOrCreate(kFormID_PAScheduleE, 1);
  copy.store(hundredths, FieldValue::of(-1250));
  copy.store(shortField, FieldValue::of(12));
  copy.store(fourDecimals, FieldValue::null());

  char text[PATaxFormPrinter::kPrintTextSize];
  std::snprintf(text, sizeof text, "12.50-");
  handPrinter.formatFieldForPrint(text, kFormID_PAScheduleE, 1, hundredths);
  EXPECT_STREQ(text, "-12.50");
  std::snprintf(text, sizeof text, "12");
  handPrinter.formatFieldForPrint(text, kFormID_PAScheduleE, 1, shortField);
  EXPECT_STREQ(text, "12");
  std::snprintf(text, sizeof text, "%s", "");
  handPrinter.formatFieldForPrint(text, kFormID_PAScheduleE, 1, fourDecimals);
  EXPECT_STREQ(text, "0");
}

// --- attachments ------------------------------------------------------------

TEST_F(PAFormPrinterTest, EveryCopyOfEveryPrintedFormIsAttached) {
  markResidency(fullYearBox());
  copyOf(kFormID_PA40).setPrintingEnabled(true);
  copyOf(kFormID_PAScheduleE, 1).setPrintingEnabled(true);
  copyOf(kFormID_PAScheduleE, 3);  // listed form, copy that does not print: still attached
  copyOf(kFormID_PAScheduleA);     // form that does not print

  printer->attachEntirePdfForms(7);
  const auto& calls = DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().calls();
  ASSERT_EQ(calls.size(), 4u);
  struct Expected {
    const FormId& form;
    uint16_t copy;
    const char* shortName;
    const char* key;
  };
  const Expected expected[] = {
      {kFormID_PA40, 1, "PA40_1.pdf", "PA40_1.PDF 1 X"},
      {kFormID_PAScheduleE, 1, "PASCHEDULEE_1.pdf", "PASCHEDULEE_1.PDF 1 X"},
      {kFormID_PAScheduleE, 3, "PASCHEDULEE_3.pdf", "PASCHEDULEE_3.PDF 3 X"},
  };
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const DataMgmt::TaxFormDescPtr desc = pa->getTaxFormDescriptor(expected[i].form);
    EXPECT_EQ(calls[i].call, "addPdfIntAttachEntire");
    EXPECT_EQ(calls[i].argType, 7);
    EXPECT_EQ(calls[i].returnType, 40);
    EXPECT_TRUE(calls[i].form == expected[i].form);
    EXPECT_EQ(calls[i].copy, expected[i].copy);
    EXPECT_EQ(calls[i].shortName, expected[i].shortName);
    EXPECT_EQ(calls[i].descName, desc->getNameText());
    EXPECT_EQ(calls[i].key, expected[i].key);
  }
  EXPECT_EQ(calls[3].call, "setPdfIntFormIdToUseForEntire");
  EXPECT_EQ(calls[3].argType, 7);
  EXPECT_EQ(calls[3].returnType, 40);
  EXPECT_TRUE(calls[3].form == kFormID_PA40);
}

TEST_F(PAFormPrinterTest, WithoutAPrintedPA40TheFirstListedFormStandsForTheReturn) {
  markResidency(nonresidentBox());
  copyOf(kFormID_PA40);  // exists, does not print
  copyOf(kFormID_PAScheduleD).setPrintingEnabled(true);
  copyOf(kFormID_PAScheduleJ).setPrintingEnabled(true);
  printer->attachEntirePdfForms(1);
  const auto& calls = DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls.back().call, "setPdfIntFormIdToUseForEntire");
  EXPECT_TRUE(calls.back().form == kFormID_PAScheduleD);
}

TEST_F(PAFormPrinterTest, NothingToPrintAttachesNothing) {
  markResidency(partYearBox());
  copyOf(kFormID_PA40);
  printer->attachEntirePdfForms(1);
  printer->attachPdfFiles(1);
  EXPECT_TRUE(DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().calls().empty());
}

TEST(PAFormKeyTest, NameCopyAndQualifier) {
  EXPECT_EQ(PATaxFormPrintMgmt::formatFormKey("a.pdf", 12, "X"), "a.pdf 12 X");
  EXPECT_EQ(PATaxFormPrintMgmt::formatFormKey("a.pdf", 1, ""), "a.pdf 1");
}

}  // namespace
