// Checks that every state module shares: the generic pass over each form
// copy, overridden and tentative values, payment, field-group completeness,
// the federal Care Of line, draft forms, residency dates and the state
// entries of the federal return.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audit/message_kinds.h"
#include "audit/state_tax_form_auditor.h"
#include "catalogs/fields/fields.h"
#include "host/data_manager.h"
#include "host/dates.h"
#include "host/efile.h"
#include "host/form_field.h"
#include "host/orvane_exception.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"

namespace StateAuditMgmt {

using namespace MessageKinds;

namespace {

const int kAuditTaxYear = 2018;

// Residency codes as a state's information form records them, which the
// caller of auditStateInfoEntered passes (for PA the calculated field 3:
// 1 full-year, 2 part-year, 3 nonresident, 4 when its box 17 is marked).
// Not the 0/1/2 codes of the return's readResidencyStatus.
const int kRecordedFullYear = 1;
const int kRecordedPartYear = 2;
const int kRecordedPartYearAllocated = 4;

// State numbers whose returns cannot be filed electronically with a
// federal Form 2555 (numbers outside 1..37 count as such too).
const int kForm2555States[] = {2,  3,  7,  8,  9,  10, 11, 12, 13, 15, 17,
                               18, 21, 23, 26, 27, 29, 30, 31, 33, 36};

// Buffers the state block writes into; every state's names fit.
struct StateNames {
  char name[64] = "";
  char abbreviation[16] = "";
};

StateNames stateNamesOf(StateDataMgmt::StateTaxReturn* stateReturn) {
  StateNames names;
  if (stateReturn != nullptr) {
    stateReturn->getStateName(names.name);
    stateReturn->getStateAbbreviation(names.abbreviation);
  }
  names.name[sizeof(names.name) - 1] = '\0';
  names.abbreviation[sizeof(names.abbreviation) - 1] = '\0';
  return names;
}

// A message composed printf-style, however long the texts it joins (a quoted
// entry is quoted whole).
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::vector<char> text(static_cast<std::size_t>(std::max(length, 0)) + 1);
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  return text.data();
}

// Position of the first empty field when the list is partly filled, else
// the list's length. `isNull(k)` reads field k.
template <class IsNull>
uint16_t scanNullState(const Primitives::OVImmutableIdentifier* list, IsNull isNull) {
  if (list == nullptr) return 0;
  uint16_t n = 0;
  int firstEmpty = -1;
  bool anyFilled = false;
  for (; list[n].getNumber() != 0; ++n) {
    if (isNull(list[n])) {
      if (firstEmpty < 0) firstEmpty = n;
    } else {
      anyFilled = true;
    }
  }
  if (firstEmpty < 0 || !anyFilled) return n;
  return static_cast<uint16_t>(firstEmpty);
}

// Message texts, in the order of the checks below; a "%s" takes the
// state's name unless said otherwise.
const char kForm2555Format[] =
    "You cannot electronically file your %s return because you have filed a federal Form 2555 "
    "or 2555EZ";
// The clean name of the payment form follows.
const char kPaymentText[] = "your payment must be submitted with your ";
const char kUnexpectedCareOfMode[] = "Unexpected case";
const char kCareOfClass[] = "StateAuditMgmt";
const char kCareOfOperation[] = "auditCareOf";
// The state's name and the Care Of line.
const char kCareOfPaperFormat[] =
    "Your federal return contains a \"Care Of\" address and Our %s program does not print this "
    "information on your paper return automatically.  You must hand write \"%s\" on your paper "
    "return in order to file it correctly.";
// The state's name, the Care Of line and the state's name.
const char kCareOfNotElectronicFormat[] =
    "Your federal return contains a \"Care Of\" address and Our %s program does not print this "
    "information on your paper return automatically.  You must hand write \"%s\" on your paper "
    "return in order to file it correctly. To e-file your %s return, you will need to go back to "
    "the federal interview and remove your \"Care Of\" address on the background worksheet";
// The state's name twice, in modes 1 and 3.
const char kCareOfMode1Format[] =
    "\"%s\" does not allow returns with a \"Care of\" address to be filed electronically. To "
    "e-file your \"%s\" return, you will need to go back to the federal interview and remove "
    "your \"Care of\" address";
const char kCareOfMode3Format[] =
    "\"Our %s program\" does not allow returns with a \"Care Of\" address to be filed "
    "electronically. To e-file your %s return, you will need to go back to the federal interview "
    "and remove your \"Care Of\" address";
const char kDraftFormsStart[] = "The ";
const char kDraftFormsSeparator[] = ", ";
const char kDraftFormsIntro[] =
    " tax office isn't ready to accept returns with the following forms you have in your "
    "return. The final versions of these forms will be available in an update. To check for an "
    "update select Update The Program from the Tools menu.    Draft forms in your return "
    "include: ";

const char kStateInfoMissing[] =
    "It looks like you didn't fill in all your state return information in your federal return. "
    "Close Accuracy Review and click the Federal tab. Then, click Personal Information to go back "
    "to that topic and fill in your state return information. We'll use this information for "
    "state e-filing.";
const char kResidencyPeriodFormat[] = "%s residency period";
const char kResidencyStartFormat[] = "starting date of %s residency";
const char kResidencyEndFormat[] = "ending date of %s residency";
// The tax year.
const char kResidencyStartYearFormat[] = "starting date of the residency must be in %d";
const char kResidencyEndYearFormat[] = "ending date of the residency must be in %d";
const char kResidencyOrderText[] = "the starting date must be before the ending date";
const char kResidencyFullYearText[] =
    "Part-year residency dates can't be for a full year.  Either change to full year residency or "
    "change dates of residence to less than a full year.";
// The one state whose part-year dates may span the whole year.
const char kFullYearPeriodState[] = "MN";
// The quotation mark around an overridden or tentative value.
const char kValueQuote[] = "\"";

}  // namespace

void StateTaxFormAuditor::auditFormGeneric(const std::string& helpId, TopicId topic, bool flag,
                                           const FormId& form, DataMgmt::TaxFormPtr formCopy,
                                           unsigned short copy) {
  if (stateReturn == nullptr) return;
  if (form == stateReturn->getInfoFormId()) {
    listingCount = 0;
    const StateNames names = stateNamesOf(stateReturn);
    char text[512];
    std::snprintf(text, sizeof(text), kForm2555Format, names.name);
    reportEFileIssue(helpId, topic, flag, kClassEFile, federalFlagAppliesToState(), kCodeNoEFile, form,
                     0, FieldId(0), text, kStateOnlyNote);
  }
  if (stateReturn->InElf()) {
    if (formCopy.isNull()) return;
    if (copy == 1) auditEFileCopyLimit(helpId, topic, false, form);
    overrideCheckOneForm(helpId, topic, false, formCopy, form, copy, kFormID_FedFilerInfo);
  } else if (classFilter == 0) {
    auditTentativeValues(helpId, topic, false, form, copy);
  }
}

bool StateTaxFormAuditor::federalFlagAppliesToState() {
  if (federalReturn == nullptr || stateReturn == nullptr) return false;
  if (!federalReturn->isForm2555Present()) return false;
  const int32_t number = stateReturn->getStateNumber();
  if (number < 1 || number > 37) return true;
  for (int listed : kForm2555States) {
    if (listed == number) return true;
  }
  return false;
}

void StateTaxFormAuditor::auditTentativeValues(const std::string& helpId, TopicId topic, bool flag,
                                               const FormId& form, unsigned short copy) {
  DataMgmt::TaxForm* formCopy = taxReturn.getForm(form, copy);
  if (formCopy == nullptr || formCopy->getTaxFormDescriptor().isNull()) return;
  // Most copies hold neither: the walks below would find nothing.
  if (!formCopy->holdsOverrideOrTentative()) return;
  const DataMgmt::TaxFormDescPtr desc = formCopy->getTaxFormDescriptor();
  // The value quoted whole.
  auto quoted = [&](const FieldId& field) {
    return kValueQuote + taxReturn.getFieldAsString(form, copy, field) + kValueQuote;
  };

  // Overridden values first, then tentative ones.
  for (DataMgmt::OVFieldIDIter it = desc->getFieldIDs(); !it.atEOL(); it.next()) {
    const FieldId field = it.getID();
    if (formCopy->noOverride(field)) continue;
    showAuditMsg(helpId, topic, flag, true, kCodeOverridden, 0, form, copy, field, quoted(field).c_str());
  }
  for (DataMgmt::OVFieldIDIter it = desc->getFieldIDs(); !it.atEOL(); it.next()) {
    const FieldId field = it.getID();
    DataMgmt::FormFieldPtr formField = formCopy->getField(field);
    if (formField.isNull() || !formField->isTentative()) continue;
    showAuditMsg(helpId, topic, flag, true, kCodeTentative, 0, form, copy, field, quoted(field).c_str());
  }
}

void StateTaxFormAuditor::auditPaymentSubmission(char cases) {
  if (stateReturn == nullptr) return;
  FormId mappedForm;
  FieldId mappedField;
  stateReturn->mapStateField(kFormID_Fed136, FieldId(0), mappedForm, mappedField);
  if (mappedForm.getNumber() <= 0) return;
  if (!taxReturn.formExists(mappedForm, 1)) return;
  if (stateReturn->taxBalance() <= 0) return;
  const bool inElf = stateReturn->InElf();
  if (!((inElf && (cases & 0x02) != 0) || (!inElf && (cases & 0x01) != 0))) return;

  char name[256] = "";
  taxReturn.buildCleanFormName(name, mappedForm, 1);
  const std::string text = kPaymentText + std::string(name);
  reportAuditIssue(AuditMgmt::kNoAuditHelpID, TopicId(0), false, kClassAttachment, true, kCodeNotice,
                   mappedForm, 0, FieldId(0), text.c_str(), kNoNote);
}

uint16_t StateTaxFormAuditor::scanFieldListNullState(const FormId& form, unsigned short copy,
                                                     const FieldId* list) {
  return scanNullState(list, [&](const FieldId& field) {
    return federalReturn == nullptr || federalReturn->isNull(form, copy, field);
  });
}

uint16_t StateTaxFormAuditor::scanFormFieldListNullState(DataMgmt::TaxFormPtr formCopy,
                                                         const FieldId* list) {
  return scanNullState(
      list, [&](const FieldId& field) { return formCopy.isNull() || formCopy->isNull(field); });
}

void StateTaxFormAuditor::auditCareOf(const std::string& helpId, TopicId topic, bool flag,
                                      int mode) {
  if (mode != 1 && mode != 2 && mode != 3) {
    throw Exceptions::OrvaneException(kUnexpectedCareOfMode, kCareOfClass, kCareOfOperation);
  }
  const StateNames names = stateNamesOf(stateReturn);
  const FieldId& careOfField = FedFilerInfo::kCareOf;
  // The Care Of line is quoted whole.
  std::string careOf;
  bool hasCareOf = false;
  if (federalReturn != nullptr) {
    careOf = federalReturn->getFieldAsString(kFormID_FedFilerInfo, 1, careOfField);
    hasCareOf = federalReturn->hasSigValue(kFormID_FedFilerInfo, 1, careOfField);
  }
  const bool inElf = stateReturn != nullptr && stateReturn->InElf();
  const FormId infoForm = stateReturn != nullptr ? stateReturn->getInfoFormId() : FormId();
  const char* name = names.name;
  char text[1024];

  if (mode == 2) {
    const std::string message = formatText(kCareOfPaperFormat, name, careOf.c_str());
    reportAuditIssue(helpId, topic, flag, kClassOrdinary, hasCareOf, kCodeNotice, FormId(), 0, FieldId(0),
                     message.c_str(), kNoNote);
    return;
  }
  if (!inElf) {
    const std::string message = formatText(kCareOfNotElectronicFormat, name, careOf.c_str(), name);
    reportEFileIssue(helpId, topic, flag, kClassOrdinary, hasCareOf, kCodeNotice, FormId(), 0, FieldId(0),
                     message.c_str(), kInterviewHint);
    return;
  }
  if (mode == 1) {
    std::snprintf(text, sizeof(text), kCareOfMode1Format, name, name);
  } else {
    std::snprintf(text, sizeof(text), kCareOfMode3Format, name, name);
  }
  reportEFileIssue(helpId, topic, flag, kClassEFile, hasCareOf, kCodeNoEFile, infoForm, 0, FieldId(0), text,
                   kInterviewHint);
}

void StateTaxFormAuditor::auditDraftForms(const FormId* draftList) {
  if (draftList == nullptr || draftList[0].getNumber() <= 0) return;
  std::string text;
  if (statePrinter != nullptr) {
    // The host lists at most kMaxFormsToPrint forms and an empty one after
    // them; the counts are never trusted beyond that.
    const int room = TaxFormPrintMgmt::TaxFormPrinter::kMaxFormsToPrint;
    std::vector<FormId> forms(room + 2);
    char countA = 0;
    char countB = 0;
    statePrinter->formsToPrint(forms.data(), countA, countB, 1);
    const int count = std::max(0, std::min(countA + countB, room));
    const StateNames names = stateNamesOf(stateReturn);
    const DataMgmt::TaxReturnDescPtr desc = taxReturn.getTaxReturnDesc();
    for (int i = 0; i < count; ++i) {
      bool isDraft = false;
      for (const FormId* draft = draftList; draft->getNumber() > 0; ++draft) {
        if (*draft == forms[i]) {
          isDraft = true;
          break;
        }
      }
      if (!isDraft) continue;
      if (text.empty()) {
        text = kDraftFormsStart + std::string(names.name) + kDraftFormsIntro;
      } else {
        text += kDraftFormsSeparator;
      }
      const DataMgmt::TaxFormDescPtr formDesc =
          desc.isNull() ? DataMgmt::TaxFormDescPtr() : desc->getTaxFormDescriptor(forms[i]);
      if (!formDesc.isNull()) text += formDesc->getNameText();
    }
  }
  reportAuditIssue(AuditMgmt::kNoAuditHelpID, TopicId(0), false, kClassEFile, !text.empty(), kCodeNoEFile,
                   FormId(), 1, FieldId(0), text.c_str(), kNoNote);
}

void StateTaxFormAuditor::auditResidencyDates(const std::string& helpId, TopicId topic, bool flag,
                                              uint8_t messageClass, const FormId& form,
                                              FieldId markField, FieldId startField,
                                              FieldId endField) {
  auditResidencyPeriod(helpId, topic, flag, messageClass, form, 1, markField, startField, endField);
}

void StateTaxFormAuditor::auditResidencyPeriod(const std::string& helpId, TopicId topic, bool flag,
                                               uint8_t messageClass, const FormId& form,
                                               unsigned short copy, FieldId markField,
                                               FieldId startField, FieldId endField) {
  // A missing copy reads as an unmarked box and empty dates.
  const DataMgmt::TaxFormPtr formCopy = taxReturn.getFormUVPtr(form, copy, false);
  const bool marked = !formCopy.isNull() && formCopy->xMarked(markField);
  const bool startEmpty = formCopy.isNull() || formCopy->isNull(startField);
  const bool endEmpty = formCopy.isNull() || formCopy->isNull(endField);
  const StateNames names = stateNamesOf(stateReturn);
  char text[256];

  auto report = [&](uint8_t cls, char code, FieldId field) {
    reportAuditIssue(helpId, topic, flag, cls, marked, code, form, copy, field, text, kNoNote);
  };
  if (startEmpty && endEmpty) {
    std::snprintf(text, sizeof(text), kResidencyPeriodFormat, names.name);
    report(messageClass, kCodeMissing, startField);
    return;
  }
  if (startEmpty) {
    std::snprintf(text, sizeof(text), kResidencyStartFormat, names.name);
    report(messageClass, kCodeMissing, startField);
    return;
  }
  if (endEmpty) {
    std::snprintf(text, sizeof(text), kResidencyEndFormat, names.name);
    report(messageClass, kCodeMissing, endField);
    return;
  }

  auto part = [&](FieldId field, Utils::DATEPARSE_TYPE which) {
    return stateReturn != nullptr ? stateReturn->dateParse(formCopy, field, which) : 0;
  };
  const int startYear = part(startField, Utils::kDateYear);
  const int startMonth = part(startField, Utils::kDateMonth);
  const int startDay = part(startField, Utils::kDateDay);
  const int endYear = part(endField, Utils::kDateYear);
  const int endMonth = part(endField, Utils::kDateMonth);
  const int endDay = part(endField, Utils::kDateDay);

  if (startYear != kAuditTaxYear) {
    std::snprintf(text, sizeof(text), kResidencyStartYearFormat, kAuditTaxYear);
    report(messageClass, kCodeNotice, startField);
    return;
  }
  if (endYear != kAuditTaxYear) {
    std::snprintf(text, sizeof(text), kResidencyEndYearFormat, kAuditTaxYear);
    report(messageClass, kCodeNotice, endField);
    return;
  }
  if (Utils::dateToNumber(startMonth, startDay, startYear) >=
      Utils::dateToNumber(endMonth, endDay, endYear)) {
    std::snprintf(text, sizeof(text), "%s", kResidencyOrderText);
    report(messageClass, kCodeInconsistent, startField);
    return;
  }
  if (std::strcmp(names.abbreviation, kFullYearPeriodState) != 0 && startMonth == 1 && startDay == 1 &&
      endMonth == 12 && endDay == 31) {
    std::snprintf(text, sizeof(text), "%s", kResidencyFullYearText);
    report(kClassEFile, kCodeInconsistent, startField);
  }
}

void StateTaxFormAuditor::auditStateInfoEntered(int residency) {
  bool answer = true;
  if (stateReturn == nullptr || stateReturn->getReturnType() == 32) {
    answer = false;
  } else {
    const StateNames names = stateNamesOf(stateReturn);
    int emptyEntries = 0;
    bool listed = false;
    for (int row = 0; row < FedFilerInfo::kResidencyState.rows(); ++row) {
      const FieldId& entry = FedFilerInfo::kResidencyState.at(row);
      const std::string value =
          federalReturn == nullptr
              ? std::string()
              : federalReturn->getFieldAsString(kFormID_FedFilerInfo, 1, entry);
      if (Utils::OVStringUtils::stricmp(value.c_str(), names.abbreviation) == 0) {
        listed = true;
        break;
      }
      if (value.empty()) ++emptyEntries;
    }
    if (listed) {
      answer = false;
    } else {
      if (emptyEntries == 0) answer = false;
      const int type =
          DataMgmt::TaxDataMgrHandle::getInstance().getEFileMgrHandle().getStateResEfileType(
              stateReturn->getReturnType());
      const bool keeps = (residency != kRecordedFullYear && (type == 2 || type == 3)) ||
                         (type == 1 && (residency == kRecordedPartYear ||
                                        residency == kRecordedPartYearAllocated));
      if (!keeps) answer = false;
    }
  }
  reportEFileIssue(AuditMgmt::kNoAuditHelpID, TopicId(0), false, kClassBothAudits, answer, kCodeNotice,
                   FormId(), 1, FieldId(0), kStateInfoMissing, kStateOnlyNote);
}

}  // namespace StateAuditMgmt
