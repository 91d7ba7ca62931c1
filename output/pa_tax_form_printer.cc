#include "output/pa_tax_form_printer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "catalogs/fields/fields.h"
#include "host/data_manager.h"
#include "host/descriptors.h"
#include "host/io.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PATaxFormPrintMgmt {

namespace {

using DataMgmt::FieldId;
using DataMgmt::FormId;

const DataMgmt::TaxReturnType kPAReturnType = 40;

// Every row of a print order has this value.
const uint16_t kPrintRowValue = 3;

// The print order: every form of order A (and C) in print order, with its
// row kind and whether the nonresident order B prints it too.
struct PrintOrderRow {
  const FormId* form;
  char kind;
  bool inOrderB;
};
constexpr PrintOrderRow kPrintOrderForms[] = {
    {&kFormID_PAEstimatedVouchers, 0, true},
    {&kFormID_PA40, 0, true},
    {&kFormID_PAScheduleW2S, 0, true},
    {&kFormID_PAScheduleOC, 0, true},
    {&kFormID_PAScheduleGL, 0, false},
    {&kFormID_PAScheduleA, 0, false},
    {&kFormID_PAScheduleB, 0, false},
    {&kFormID_PAScheduleUE, 0, true},
    {&kFormID_PAScheduleC, 0, true},
    {&kFormID_PAScheduleD, 0, true},
    {&kFormID_PAScheduleE, 0, true},
    {&kFormID_PAScheduleJ, 0, true},
    {&kFormID_PADeductions, 0, true},
    {&kFormID_PAScheduleSP, 0, true},
    {&kFormID_PAW2GIncome, 0, true},
    {&kFormID_PAW2, 0, true},
    {&kFormID_PAMiscCompWorksheet, 0, true},
    {&kFormID_PAScheduleDWorksheet, 0, true},
    {&kFormID_State16, 1, false},
    {&kFormID_State17, 1, false},
    {&kFormID_PAInterestDividendWorksheet, 0, false},
    {&kFormID_PAReturnInfo, 1, true},
    {&kFormID_PAEstimatedTaxWorksheet, 0, true},
    {&kFormID_PADirectDepositDebit, 0, true},
    {&kFormID_PALocalIncomeTaxReturn, 3, true},
};

// The residency boxes of copy 1 of the return information form, in the
// order they are tested, and the print order each selects.
struct ResidencyOrder {
  NamedField<PAReturnInfoFieldIds> box;
  PATaxFormPrinter::PrintOrder order;
};
constexpr ResidencyOrder kResidencyOrders[] = {
    {PAReturnInfo::kFullYearResidentBox, PATaxFormPrinter::kPrintOrderA},
    {PAReturnInfo::kNonresidentBox, PATaxFormPrinter::kPrintOrderB},
    {PAReturnInfo::kPartYearResidentBox, PATaxFormPrinter::kPrintOrderC},
};

// Text fields of the estimated-payment vouchers and worksheet whose print
// text keeps its case and punctuation: they print exactly as entered. On
// the worksheet, the same fields of each of its four voucher blocks.
constexpr NamedField<PAEstimatedVouchersFieldIds> kExemptVoucherTexts[] = {
    PAEstimatedVouchers::kTaxpayerSSN, PAEstimatedVouchers::kSpouseSSN,
    PAEstimatedVouchers::kDaytimePhone};
constexpr NamedColumn<PAEstimatedTaxWorksheetFieldIds> kExemptWorksheetTexts[] = {
    PAEstimatedTaxWorksheet::kVoucherDueDate, PAEstimatedTaxWorksheet::kVoucherTaxpayerSSN,
    PAEstimatedTaxWorksheet::kVoucherSpouseSSN, PAEstimatedTaxWorksheet::kVoucherDaytimePhone};

// Punctuation that the print text of a text field drops.
const char kPrintPunctuation[] = "/()!'.,;:?-&%";

// The most forms formsToPrint lists, and the size of its array.
const int kFormListSize = 255;

bool isExemptText(const FormId& form, const FieldId& field) {
  if (form == kFormID_PAEstimatedVouchers) {
    for (const auto& text : kExemptVoucherTexts) {
      if (text.id() == field) return true;
    }
  } else if (form == kFormID_PAEstimatedTaxWorksheet) {
    for (const auto& column : kExemptWorksheetTexts) {
      for (int row = 0; row < column.rows(); ++row) {
        if (column.at(row) == field) return true;
      }
    }
  }
  return false;
}

// Upper-cases `text` and drops its print punctuation.
void stripPrintPunctuation(std::string& text) {
  text = Utils::OVStringUtils::toUpperCase(text);
  const std::string punctuation = kPrintPunctuation;
  text.erase(std::remove_if(text.begin(), text.end(),
                            [&](char ch) { return punctuation.find(ch) != std::string::npos; }),
             text.end());
}

// An amount text for print: commas dropped when asked, ".00" appended when
// asked (not to an empty text), blanks stripped, then padded on the left
// back to the text's former length.
void formatPrintAmount(std::string& text, bool removeCommas, bool addCents) {
  const std::size_t noted = text.size();
  if (removeCommas) text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  if (addCents && !text.empty()) text += ".00";
  text = Utils::OVStringUtils::trimString(text, true, true);
  if (text.size() < noted) text.insert(0, noted - text.size(), ' ');
}

// Edit codes whose value texts already carry their decimals.
bool hasOwnDecimals(unsigned char editCode) {
  return editCode == 'H' || editCode == 'J' || editCode == 'M' || editCode == 'N' ||
         editCode == 'O';
}

}  // namespace

std::string formatFormKey(const std::string& name, uint16_t copy, const std::string& qualifier) {
  std::string key = name + " " + Utils::nStr(copy);
  if (!qualifier.empty()) key += " " + qualifier;
  return key;
}

PATaxFormPrinter::PATaxFormPrinter(PADataMgmt::PATaxReturn& paReturn)
    : StateTaxFormPrintMgmt::StateTaxFormPrinter(paReturn), paReturn(&paReturn) {
  stateReturn = &paReturn;
}

PATaxFormPrinter::~PATaxFormPrinter() = default;

bool PATaxFormPrinter::isFormPrintFlagSet(const FormId& form, uint16_t copy, int) {
  return isPrintFlagSet(form, copy);
}

// --- print order ----------------------------------------------------------

void PATaxFormPrinter::buildPrintOrder(PrintOrder order, Utils::printFormInfo* table) {
  for (int row = 0; row < kPrintOrderRows; ++row) table[row] = Utils::printFormInfo();
  int row = 0;
  for (const PrintOrderRow& entry : kPrintOrderForms) {
    if (order == kPrintOrderB && !entry.inOrderB) continue;
    table[row].form = *entry.form;
    table[row].kind = entry.kind;
    table[row].value = kPrintRowValue;
    ++row;
  }
  // The end row: the empty form, with the value of a printed row.
  table[row].value = kPrintRowValue;
}

bool PATaxFormPrinter::nextFormToPrint(FormId& form, char mode) {
  const FormId current = form;  // `form` receives the answer
  DataMgmt::TaxFormPtr info = paReturn->getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (info.isNull()) return false;
  for (const ResidencyOrder& residency : kResidencyOrders) {
    if (!info->xMarked(residency.box)) continue;
    Utils::printFormInfo table[kPrintOrderRows];
    buildPrintOrder(residency.order, table);
    return getNextForm(table, current, form, mode);
  }
  return false;
}

bool PATaxFormPrinter::nextFormToPrintMode0(FormId& form) { return nextFormToPrint(form, 0); }
bool PATaxFormPrinter::nextFormToPrintMode1(FormId& form) { return nextFormToPrint(form, 1); }
bool PATaxFormPrinter::nextFormToPrintMode4(FormId& form) { return nextFormToPrint(form, 4); }
bool PATaxFormPrinter::nextFormToPrintMode5(FormId& form) { return nextFormToPrint(form, 5); }

// --- print text -----------------------------------------------------------

// Text fields print upper-cased without punctuation (a few dates and names
// print as entered); boxes print as they are; a number without a
// significant value prints as "0". PA-40 and Schedule C amounts lose their
// commas; other amounts get their sign in front and, unless their edit
// code gives them decimals already, ".00".
void PATaxFormPrinter::formatFieldForPrint(char* text, const FormId& form, uint16_t copy,
                                           const FieldId& field) {
  if (text == nullptr || !paReturn->formExists(form, copy)) return;
  DataMgmt::TaxFormDescPtr formDesc = paReturn->getTaxFormDescriptor(form);
  if (formDesc.isNull()) return;
  DataMgmt::FormFieldDescPtr desc = formDesc->getFieldDesc(field);
  if (desc.isNull() || desc->isBoolean()) return;
  if (desc->isText() && isExemptText(form, field)) return;

  std::string work(text, strnlen(text, kPrintTextSize - 1));
  if (desc->isText()) {
    stripPrintPunctuation(work);
  } else {
    if (!paReturn->hasSigValue(form, copy, field)) work = "0";
    if (form == kFormID_PA40 || form == kFormID_PAScheduleC) {
      if (!work.empty()) formatPrintAmount(work, true, false);
    } else {
      if (paReturn->getIN(form, copy, field) < 0) {
        work.erase(std::remove(work.begin(), work.end(), '-'), work.end());
        work.insert(0, 1, '-');
      }
      if (!hasOwnDecimals(desc->getValidator().getEditCode()) && desc->getLength() > 2 &&
          !work.empty()) {
        formatPrintAmount(work, true, true);
      }
    }
  }
  // The sign and the cents can make the text longer; one that would not
  // fit the caller's buffer leaves the value's own text in place rather
  // than a cut amount.
  if (work.size() < static_cast<std::size_t>(kPrintTextSize)) {
    std::memcpy(text, work.c_str(), work.size() + 1);
  }
}

// --- attachments ------------------------------------------------------------

void PATaxFormPrinter::attachPdfFiles(DataMgmt::TaxReturnType) {}

void PATaxFormPrinter::attachEntirePdfForms(DataMgmt::TaxReturnType type) {
  FormId forms[kFormListSize];
  char countA = 0;
  char countB = 0;
  formsToPrint(forms, countA, countB, 0);
  int count = static_cast<unsigned char>(countA) + static_cast<unsigned char>(countB);
  if (count > kMaxFormsToPrint) count = kMaxFormsToPrint;

  DataMgmt::PdfAttachMgr& attachments = DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr();
  DataMgmt::TaxDataMgrHandle& files = DataMgmt::TaxDataMgrHandle::getInstance();
  int listed = 0;
  bool pa40Listed = false;
  for (; listed < count && forms[listed].isValid(); ++listed) {
    if (forms[listed] == kFormID_PA40) pa40Listed = true;
    DataMgmt::TaxFormDescPtr desc = paReturn->getTaxFormDescriptor(forms[listed]);
    if (desc.isNull()) continue;
    const FormId formType = desc->getTypeID();
    for (DataMgmt::TaxFormIter it = paReturn->getForms(formType); !it.atEOL(); it.next()) {
      const uint16_t copy = it.getTaxForm()->getCopyNumber();
      IOMgmt::FileNamePtr file = files.getMefPDFFileSpec(kPAReturnType, formType, copy);
      const std::string shortName = file.isNull() ? std::string() : file->getShortName();
      const std::string key =
          Utils::OVStringUtils::toUpperCase(formatFormKey(shortName, copy, "X"));
      attachments.addPdfIntAttachEntire(type, paReturn->getReturnType(), desc, copy, shortName,
                                        desc->getNameText(), key);
    }
  }
  // With nothing listed there is no PDF to stand for the return.
  if (listed == 0) return;
  const bool usePA40 = pa40Listed && paReturn->formExists(kFormID_PA40, 1);
  attachments.setPdfIntFormIdToUseForEntire(type, kPAReturnType, usePA40 ? kFormID_PA40 : forms[0]);
}

}  // namespace PATaxFormPrintMgmt
