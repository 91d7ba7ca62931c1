#include "host/auditor.h"

#include <string>

#include "host/tax_form.h"

namespace AuditMgmt {

const std::string kNoAuditHelpID = "AuditHelp_None";
const std::string kStateAudit_HowToGoBackToFedInterview = "AuditHelp_HowToGoBackToFedInterview";

AuditReport::AuditReport() = default;
AuditReport::~AuditReport() = default;

TaxFormAuditor::TaxFormAuditor(DataMgmt::TaxReturn& taxReturn,
                               DataMgmt::OrvaneConfiguration*& configuration,
                               CalculationMgmt::TaxReturnCalcEnginePtr& engine)
    : taxReturn(taxReturn), configuration(configuration), engine(engine), report_(new AuditReport) {}

TaxFormAuditor::~TaxFormAuditor() = default;

AuditReportPtr TaxFormAuditor::auditReturn(AuditType type) {
  createNewReport(type);
  return getAuditReport();
}

void TaxFormAuditor::auditIntDivTypesBase() {}

bool TaxFormAuditor::isFormAmountNonZero(DataMgmt::TaxFormPtr) { return false; }

void TaxFormAuditor::createNewReport(AuditType type) {
  report_ = AuditReportPtr(new AuditReport);
  eFileAudit = (type == kAuditEFile);
  // The record restarts with the audit, so that a long session's record
  // holds one audit at most; its room is kept for the next one.
  calls_.clear();
}

void TaxFormAuditor::showAuditMsg(const std::string& helpId, OVImmutableTopicIdentifier topic,
                                  bool flag, bool answer, char code, char secondCode,
                                  const FormId& form, unsigned short copy, const FieldId& field,
                                  const char* text) {
  record("showAuditMsg", helpId, topic, flag, answer, code, secondCode, form, copy, field, text);
}

void TaxFormAuditor::epFailMsg(const std::string& helpId, OVImmutableTopicIdentifier topic,
                               bool flag, bool answer, char code, char secondCode,
                               const FormId& form, unsigned short copy, const FieldId& field,
                               const char* text) {
  record("epFailMsg", helpId, topic, flag, answer, code, secondCode, form, copy, field, text);
}

void TaxFormAuditor::addMessageToReport(const std::string& helpId, OVImmutableTopicIdentifier topic,
                                        bool flag, char kind, const FormId& form,
                                        unsigned short copy, const FieldId& field,
                                        const std::string& first, const std::string& second,
                                        bool last) {
  AuditReportLine line;
  line.helpId = helpId;
  line.topic = topic;
  line.flag = flag;
  line.kind = kind;
  line.form = form;
  line.copy = copy;
  line.field = field;
  line.first = first;
  line.second = second;
  line.last = last;
  report_->addLine(line);
  record("addMessageToReport", helpId, topic, flag, false, 0, 0, form, copy, field, second.c_str());
  calls_.back().kind = kind;
  calls_.back().first = first;
  calls_.back().last = last;
}

void TaxFormAuditor::overrideCheckOneForm(const std::string& helpId,
                                          OVImmutableTopicIdentifier topic, bool flag,
                                          DataMgmt::TaxFormPtr, const FormId& formId, uint16_t copy,
                                          const FormId& federalForm) {
  record("overrideCheckOneForm", helpId, topic, flag, false, 0, 0, formId, copy, FieldId(), nullptr);
  calls_.back().federalForm = federalForm;
}

void TaxFormAuditor::record(const char* call, const std::string& helpId,
                            const OVImmutableTopicIdentifier& topic, bool flag, bool answer,
                            char code, char secondCode, const FormId& form, unsigned short copy,
                            const FieldId& field, const char* text) {
  MessageCall c;
  c.call = call;
  c.helpId = helpId;
  c.topic = topic;
  c.flag = flag;
  c.answer = answer;
  c.code = code;
  c.secondCode = secondCode;
  c.form = form;
  c.copy = copy;
  c.field = field;
  c.text = text != nullptr ? text : "";
  calls_.push_back(c);
}

std::string TaxFormAuditor::describe(const MessageCall& c) {
  const auto number = [](long n) { return std::to_string(n); };
  const auto form = [&number](const FormId& f) {
    return (f.isStateForm() || f.getNumber() == 0 ? "" : "federal ") + number(f.getNumber());
  };
  std::string line = c.call + " | " + c.helpId + " | topic " + number(c.topic.getNumber()) +
                     " | flag " + number(c.flag);
  if (c.call == "addMessageToReport") {
    return line + " | kind " + number(c.kind) + " | form " + form(c.form) + " | copy " +
           number(c.copy) + " | field " + number(c.field.getNumber()) + " | \"" + c.first +
           "\" | \"" + c.text + "\" | last " + number(c.last);
  }
  if (c.call == "overrideCheckOneForm") {
    return line + " | form " + form(c.form) + " | copy " + number(c.copy) + " | federal form " +
           number(c.federalForm.getNumber());
  }
  return line + " | answer " + number(c.answer) + " | code " + number(c.code) + " | second " +
         number(c.secondCode) + " | form " + form(c.form) + " | copy " + number(c.copy) +
         " | field " + number(c.field.getNumber()) + " | \"" + c.text + "\"";
}

}  // namespace AuditMgmt
