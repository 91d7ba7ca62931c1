// The PA writer's construction, value cleaners, per-field dispatch, header
// record lines and the reading and line helpers its records share.
#include "output/pa_tif_file_writer.h"

#include <cstdio>

#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"
#include "return/release_share.h"
#include "return/return_codes.h"

namespace PATifWriteMgmt {

namespace {

using TifWriteMgmt::kTifCodeSize;

// Lines of the header record by filing status: a joint return repeats the
// form-131 item, a separate return adds the spouse's name and number.
const FieldLine kJointHeaderLines[] = {
    {"01230.000.001", Fed131::kClearedCodeItem},
};
const FieldLine kSeparateHeaderLines[] = {
    {"01240.000.001", FedFilerInfo::kSpouseFirstName},
    {"01250.000.001", FedFilerInfo::kSpouseMiddleInitial},
    {"01260.000.001", FedFilerInfo::kSpouseLastName},
    {"01270.000.001", FedFilerInfo::kSpouseSuffix},
    {"01280.000.001", FedFilerInfo::kSpouseSsn},
};

}  // namespace

PATifFileWriter::PATifFileWriter(DataMgmt::TaxReturnPtr federalReturn,
                                 DataMgmt::TaxReturnPtr stateReturn,
                                 CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                 TaxFormPrintMgmt::TaxFormPrinterPtr printer,
                                 AuditMgmt::TaxFormAuditorPtr auditor,
                                 DataMgmt::OrvaneConfiguration* configuration)
    : StateTifWriteMgmt::StateTifFileWriter(federalReturn, stateReturn, engine, printer, auditor,
                                            configuration),
      paReturn(dynamic_cast<PADataMgmt::PATaxReturn*>(stateReturn.get())) {
  releaseShare(federalReturn);
  releaseShare(stateReturn);
  releaseShare(engine);
  releaseShare(printer);
  releaseShare(auditor);
}

PATifFileWriter::~PATifFileWriter() = default;

// ---- value cleaners ----

void PATifFileWriter::cleanFormString(DataMgmt::TaxFormPtr, const FormId& formId, const FieldId&,
                                      char* value) {
  // The electronic-filing office data of form 131 goes out as entered.
  if (formId == kFormID_Fed131) return;
  tifStringClean(value);
}

void PATifFileWriter::cleanNameString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                      char* value) {
  Utils::tifCleanNameString(value);
}

void PATifFileWriter::cleanAddressString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                         char* value) {
  tifCleanAddressString(value);
}

void PATifFileWriter::reformatDateString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                         char* value) {
  tifReformatDate(value);
}

void PATifFileWriter::cleanOtherString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                       char*) {}

void PATifFileWriter::cleanPlainString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                       char*) {}

void PATifFileWriter::reformatPhoneString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                          char* value) {
  tifReformatPhone(value);
}

// ---- per-field dispatch ----

const PATifFileWriter::FormTriggers* PATifFileWriter::triggersOf(const FormId& formId) {
  using W = PATifFileWriter;
  // PA-40: the field 42781 and field 15 triggers write whole records.
  static const Trigger kPA40[] = {
      {PA40::kTaxpayerSSN, &W::convertSchoolDistrictField},
      {PA40::kDeductionCodeText, &W::convertDeductionCodeField},
      {PA40::kFilingStatusCode, &W::convertFilingStatusCodeField},
      {PA40::kExtensionText, &W::convertYesCodeField},
      {PA40::kPenaltyFiguredText, &W::convertYesCodeField},
      {PA40::kPartYearFromDate, &W::convertPartYearDateField},
      {PA40::kPartYearToDate, &W::convertPartYearDateField},
      {PA40::kFarmerText, &W::convertFarmerField},
      {PA40::kScheduleDRecordsTrigger, &W::convertScheduleDTrigger},
      {PA40::kStatementBox, &W::convertStatementTrigger},
  };
  static const Trigger kScheduleUE[] = {
      {PAScheduleUE::kTaxpayerBox, &W::convertScheduleUEOwnerField},
      {PAScheduleUE::kOfficeRatioCopy, &W::convertScheduleUEPercentField},
      // The ratios the calculation keeps in whole numbers, as the copy.
      {PAScheduleUE::kOfficeRatio, &W::convertScheduleUEPercentField},
      {PAScheduleUE::kBusinessShare, &W::convertScheduleUEShareField},
      {PAScheduleUE::kEmployerName, &W::convertScheduleUEEmployerField},
      {PAScheduleUE::kJobDescription, &W::convertScheduleUENameField},
  };
  static const Trigger kScheduleC[] = {
      {PAScheduleC::kOwnerSSN, &W::convertScheduleCOwnerField},
      {PAScheduleC::kFederalMarkAnswer, &W::convertScheduleCAnswerField},
      {PAScheduleC::kHomeOfficeAnswer, &W::convertScheduleCAnswerField},
  };
  static const Trigger kScheduleSP[] = {
      {PAScheduleSP::kTaxpayerSSN, &W::convertScheduleSPFilerField},
      {PAScheduleSP::kMarriedBox, &W::convertScheduleSPSpouseField},
      {PAScheduleSP::kSeparatedBox, &W::convertScheduleSPSpouseField},
  };
  static const Trigger kGambling[] = {{PAW2GIncome::kFilerSSN, &W::convertGamblingField}};
  static const Trigger kDeductions[] = {{PADeductions::kFilerSSN, &W::convertDeductionsField}};
  static const Trigger kDeposit[] = {
      {PADirectDepositDebit::kTaxpayerSSN, &W::convertDirectDepositField}};
  static const Trigger kScheduleA[] = {{PAScheduleA::kTaxpayerBox, &W::convertScheduleAOwnerField}};
  static const Trigger kScheduleB[] = {{PAScheduleB::kTaxpayerBox, &W::convertScheduleBOwnerField}};
  static const FormTriggers kForms[] = {
      formTriggers(kFormID_PA40, kPA40),
      formTriggers(kFormID_PAScheduleUE, kScheduleUE),
      formTriggers(kFormID_PAScheduleC, kScheduleC),
      formTriggers(kFormID_PAScheduleSP, kScheduleSP),
      formTriggers(kFormID_PAW2GIncome, kGambling),
      formTriggers(kFormID_PADeductions, kDeductions),
      formTriggers(kFormID_PADirectDepositDebit, kDeposit),
      formTriggers(kFormID_PAScheduleA, kScheduleA),
      formTriggers(kFormID_PAScheduleB, kScheduleB),
  };
  for (const FormTriggers& form : kForms) {
    if (*form.form == formId) return &form;
  }
  return nullptr;
}

void PATifFileWriter::convertStateTifField(DataMgmt::TaxFormPtr form, const FormId& formId,
                                           uint16_t copy, const FieldId& field, char*,
                                           char* value, bool&, bool&) {
  if (paReturn == nullptr || value == nullptr || !field.isValid()) return;
  const FormTriggers* triggers = triggersOf(formId);
  if (triggers == nullptr) return;
  for (std::size_t i = 0; i < triggers->count; ++i) {
    const Trigger& trigger = triggers->triggers[i];
    if (trigger.field.id() != field) continue;
    FieldContext context{form, copy, value};
    (this->*trigger.action)(context);
    return;
  }
}

bool PATifFileWriter::filedOncePerReturn(const FormId& formId) const {
  static const FormId* const kOnce[] = {&kFormID_PA40, &kFormID_PAScheduleSP, &kFormID_PAW2GIncome,
                                        &kFormID_PADirectDepositDebit};
  for (const FormId* form : kOnce) {
    if (*form == formId) return true;
  }
  return false;
}

// ---- header record ----

void PATifFileWriter::convertStateHeaderField(DataMgmt::TaxFormPtr, const FormId&, uint16_t,
                                              const FieldId& field, char*, char*) {
  if (field != Fed131::kStateReturnChoice.id()) return;
  outputTifLine("00315.000.001", kYearText2018, false);
  outputTifLine("01085.000.001", taxPeriodStart().c_str(), false);
  outputTifLine("01090.000.001", taxPeriodEnd().c_str(), false);
  outputTifLineMixedCase("01190.000.001", kSoftwareName, false);
  outputTifLine("01225.000.001", kFormID_Fed131, 1, Fed131::kClearedCodeItem, false);
  switch (filingStatus()) {
    case PADataMgmt::kFilingJoint:
      writeFieldLines(kFormID_Fed131, 1, kJointHeaderLines);
      break;
    case PADataMgmt::kFilingSeparate:
      writeFieldLines(kFormID_FedFilerInfo, 1, kSeparateHeaderLines);
      break;
    default: break;
  }
}

// ---- helpers ----

DataMgmt::TaxReturn* PATifFileWriter::returnOf(const FormId& formId) const {
  return formId.isStateForm() ? stateReturn.get() : federalReturn.get();
}

std::string PATifFileWriter::textOf(const FormId& formId, uint16_t copy,
                                    const FieldId& field) const {
  const DataMgmt::TaxReturn* r = returnOf(formId);
  return r != nullptr ? r->getFieldAsString(formId, copy, field) : std::string();
}

char* PATifFileWriter::textInto(char* buffer, const FormId& formId, uint16_t copy,
                                const FieldId& field) const {
  return Utils::safestrncpy(buffer, textOf(formId, copy, field).c_str(), TifWriteMgmt::kTifValueSize);
}

bool PATifFileWriter::isMarked(const FormId& formId, uint16_t copy, const FieldId& field) const {
  const DataMgmt::TaxReturn* r = returnOf(formId);
  return r != nullptr && r->formYes(formId, copy, field);
}

long PATifFileWriter::amountOf(const FormId& formId, uint16_t copy, const FieldId& field) const {
  const DataMgmt::TaxReturn* r = returnOf(formId);
  return r != nullptr ? r->getIN(formId, copy, field) : 0;
}

std::string PATifFileWriter::taxPeriodStart() { return std::string(kYearText2018) + "-01-01"; }

std::string PATifFileWriter::taxPeriodEnd() { return std::string(kYearText2018) + "-12-31"; }

uint8_t PATifFileWriter::filingStatus() {
  return stateTaxReturn != nullptr ? stateTaxReturn->getFilingStatus()
                                   : static_cast<uint8_t>(PADataMgmt::kFilingSingle);
}

bool PATifFileWriter::filesJointly() {
  const uint8_t status = filingStatus();
  return status == PADataMgmt::kFilingJoint || status == 0;
}

char* PATifFileWriter::lineCode(char* code, int line, int sub, int occurrence) {
  std::snprintf(code, kTifCodeSize, "%05d.%03d.%03d", line, sub, occurrence);
  return code;
}

void PATifFileWriter::writeFieldLines(const FormId& formId, uint16_t copy, const FieldLine* lines,
                                      std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const FieldLine& line = lines[i];
    if (line.mixedCase) {
      outputTifLineMixedCase(line.code, textOf(formId, copy, line.field).c_str(), false);
    } else {
      outputTifLine(line.code, formId, copy, line.field, false);
    }
  }
}

void PATifFileWriter::writeOccurrenceLines(const FormId& formId, uint16_t copy, int occurrence,
                                           const OccurrenceLine* lines, std::size_t count) {
  char code[kTifCodeSize];
  for (std::size_t i = 0; i < count; ++i) {
    outputTifLine(lineCode(code, lines[i].line, 0, occurrence), formId, copy, lines[i].field,
                  false);
  }
}

void PATifFileWriter::writeMarkLine(const char* code, const FormId& formId, uint16_t copy,
                                    const FieldId& field) {
  outputTifLine(code, isMarked(formId, copy, field) ? "1" : "0", false);
}

}  // namespace PATifWriteMgmt
