// StateAuditMgmt::StateTaxFormAuditor: the state layer of a state return's
// auditor, shared by every state's auditor.
//
// The engine share is the host base's. The state layer borrows the federal
// return, the state return and the state printer (no share: the host keeps
// them alive while the auditor lives). The state return is null when the
// audited return is not a StateTaxReturn, the printer when the printer is
// not a StateTaxFormPrinter.
#ifndef AUDIT_STATE_TAX_FORM_AUDITOR_H_
#define AUDIT_STATE_TAX_FORM_AUDITOR_H_

#include <cstdint>
#include <string>

#include "host/auditor.h"
#include "host/configuration.h"
#include "host/pointers.h"
#include "host/state_printer.h"
#include "host/state_tax_return.h"
#include "host/us_tax_return.h"

namespace StateAuditMgmt {

class StateTaxFormAuditor : public AuditMgmt::TaxFormAuditor {
 public:
  StateTaxFormAuditor(DataMgmt::USTaxReturn* federalReturn, DataMgmt::TaxReturn& stateReturn,
                      DataMgmt::OrvaneConfiguration*& configuration,
                      CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                      TaxFormPrintMgmt::TaxFormPrinterPtr& printer);
  ~StateTaxFormAuditor() override;

  DataMgmt::USTaxReturn* getFederalReturn() const { return federalReturn; }
  StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn; }
  StateTaxFormPrintMgmt::StateTaxFormPrinter* getStatePrinter() const { return statePrinter; }

  // ---- Audit pass, message path and generic state checks ----

  using FormId = Primitives::OVImmutableFormIdentifier;
  using FieldId = Primitives::OVImmutableIdentifier;
  using TopicId = Primitives::OVImmutableTopicIdentifier;

  // Audit pass: walks every copy of every form the state printer lists for
  // audit and hands each to checkOneForm; returns this audit's report.
  AuditMgmt::AuditReportPtr auditReturn(AuditMgmt::AuditType type) override;
  // Whether the 1099-G amount of the copy is not 0 (for the host).
  bool isFormAmountNonZero(DataMgmt::TaxFormPtr form) override;
  // Flags the state return when an electronic-filing audit finds a problem
  // of the return, then shows the message.
  virtual void showStateAuditMsg(const std::string& helpId, TopicId topic, bool flag, bool answer,
                                 char messageCode, char secondCode, const FormId& form,
                                 unsigned short copy, const FieldId& field, const char* text);
  // Bars electronic filing of copies beyond getMaxEFileCopies(form).
  virtual void auditEFileCopyLimit(const std::string& helpId, TopicId topic, bool flag,
                                   const FormId& form);
  // Generic checks, then the state's rules of `form`; releases `formCopy`.
  virtual void checkOneForm(const std::string& helpId, TopicId topic, bool flag,
                            const FormId& form, DataMgmt::TaxFormPtr formCopy,
                            unsigned short copy) = 0;
  virtual unsigned short getMaxEFileCopies(const FormId& form) = 0;

  // Message path. Every rule calls a reporter whether or not its problem is
  // present; `answer` is true when it is. `messageClass` bits: 0x01 ordinary
  // audit, 0x02 electronic-filing audit, 0x08/0x10 listing mode only, 0x20
  // (reportEFileIssue) record the refusal on the federal return. `text`
  // comes without its final period. `noteKind`: 0 none, 1 the state-only
  // note (electronic-filing audit), 2 the interview hint. Copy 0 means 1.
  void reportAuditIssue(const std::string& helpId, TopicId topic, bool flag, uint8_t messageClass,
                        bool answer, char messageCode, const FormId& form, unsigned short copy,
                        FieldId field, const char* text, int noteKind);
  void reportEFileIssue(const std::string& helpId, TopicId topic, bool flag, uint8_t messageClass,
                        bool answer, char messageCode, const FormId& form, unsigned short copy,
                        FieldId field, const char* text, int noteKind);
  void dispatchAuditIssue(const std::string& helpId, TopicId topic, bool flag,
                          uint8_t messageClass, bool answer, char messageCode, const FormId& form,
                          unsigned short copy, FieldId field, const std::string& text,
                          int noteKind);
  void dispatchEFileIssue(const std::string& helpId, TopicId topic, bool flag,
                          uint8_t messageClass, bool answer, char messageCode, const FormId& form,
                          unsigned short copy, FieldId field, const std::string& text,
                          int noteKind);
  // The common end of both reporters: words the message and hands it to the
  // host's display and report.
  void postAuditMessage(const std::string& helpId, TopicId topic, bool flag, uint8_t messageClass,
                        bool answer, char messageCode, char secondCode, const FormId& form,
                        FieldId field, unsigned short copy, const char* text, int noteKind);

  // Generic state checks. A field list ends at an empty identifier (number
  // 0); a draft list at a form numbered 0 or less.
  void auditFormGeneric(const std::string& helpId, TopicId topic, bool flag, const FormId& form,
                        DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  bool federalFlagAppliesToState();
  void auditTentativeValues(const std::string& helpId, TopicId topic, bool flag,
                            const FormId& form, unsigned short copy);
  // `cases`: 0x01 the paper case, 0x02 the electronic case.
  void auditPaymentSubmission(char cases);
  // With n fields in `list`: n when none, all or no fields are filled, else
  // the position of the first empty field (the group is partly filled).
  uint16_t scanFieldListNullState(const FormId& form, unsigned short copy, const FieldId* list);
  uint16_t scanFormFieldListNullState(DataMgmt::TaxFormPtr formCopy, const FieldId* list);
  // `mode` 1, 2 or 3; any other throws Exceptions::OrvaneException.
  void auditCareOf(const std::string& helpId, TopicId topic, bool flag, int mode);
  void auditDraftForms(const FormId* draftList);
  void auditResidencyDates(const std::string& helpId, TopicId topic, bool flag,
                           uint8_t messageClass, const FormId& form, FieldId markField,
                           FieldId startField, FieldId endField);
  void auditResidencyPeriod(const std::string& helpId, TopicId topic, bool flag,
                            uint8_t messageClass, const FormId& form, unsigned short copy,
                            FieldId markField, FieldId startField, FieldId endField);
  // `residency`: the code the state's information form records (PA: field
  // 3, 1 to 4), not readResidencyStatus's.
  void auditStateInfoEntered(int residency);

  // Generic electronic-filing checks of the state layer written beside the
  // PA information-form rules (their own files): direct deposit, driver's
  // licence, state information of wage and income statements.
  // Empty identifiers (number 0) stand for fields the state does not have.
  void auditDirectDeposit(const std::string& helpId, TopicId topic, bool flag, const FormId& form,
                          int messageClass, bool refundDue, FieldId requestBox,
                          FieldId carriedBox, FieldId bankName, FieldId routingNumber,
                          FieldId accountNumber, FieldId checkingBox, FieldId savingsBox,
                          FieldId thirdKindBox, FieldId fourthKindBox, FieldId fifthKindBox);
  // The taxpayer's nine fields, then the spouse's nine in the same order.
  void auditDriversLicense(const FormId& form, int messageClass, FieldId otherOption,
                           FieldId secondOtherOption, FieldId idNumber, FieldId issuingState,
                           FieldId issueDate, FieldId expirationDate, FieldId noExpirationBox,
                           FieldId hasIdBox, FieldId secondHasIdBox, FieldId spouseOtherOption,
                           FieldId spouseSecondOtherOption, FieldId spouseIdNumber,
                           FieldId spouseIssuingState, FieldId spouseIssueDate,
                           FieldId spouseExpirationDate, FieldId spouseNoExpirationBox,
                           FieldId spouseHasIdBox, FieldId spouseSecondHasIdBox);
  void auditStateInfoReturns(const std::string& helpId, TopicId topic, bool flag,
                             const FormId& form, int options, bool reportOnForms);

 protected:
  DataMgmt::USTaxReturn* federalReturn;                      // borrowed
  StateDataMgmt::StateTaxReturn* stateReturn;                // borrowed
  StateTaxFormPrintMgmt::StateTaxFormPrinter* statePrinter;  // borrowed, no share

 private:
  bool passesClassFilter(uint8_t messageClass, int& noteKind) const;
  // Stores the first recorded e-file refusal on federal form 183.
  void recordEFileRefusal(const std::string& text);
};

}  // namespace StateAuditMgmt

#endif  // AUDIT_STATE_TAX_FORM_AUDITOR_H_
