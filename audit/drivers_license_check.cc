// auditDriversLicense: the generic check of the driver's licence or state
// ID that a state return holds for the taxpayer and, on a joint return,
// the spouse. The state fields are the caller's (copy 1 of the caller's
// form); the federal ones are fixed fields of the federal filer
// information form. Eleven rules per person, each reported with its
// answer.
#include <cstddef>
#include <string>

#include "audit/message_kinds.h"
#include "audit/state_tax_form_auditor.h"
#include "catalogs/fields/fields.h"
#include "host/dates.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace StateAuditMgmt {

using namespace MessageKinds;

namespace {

typedef Primitives::OVImmutableIdentifier FieldId;

// The state fields of one person, in the caller's order.
struct PersonFields {
  FieldId otherOption;
  FieldId secondOtherOption;
  FieldId idNumber;
  FieldId issuingState;
  FieldId issueDate;
  FieldId expirationDate;
  FieldId noExpirationBox;
  FieldId hasIdBox;
  FieldId secondHasIdBox;
};

// One person's federal ID entries on the federal filer information form.
struct FederalIdFields {
  NamedField<FedFilerInfoFieldIds> idNumber;
  NamedField<FedFilerInfoFieldIds> issuingState;
  NamedField<FedFilerInfoFieldIds> issueDate;
  NamedField<FedFilerInfoFieldIds> expirationDate;
  NamedField<FedFilerInfoFieldIds> noExpiration;  // yes/no
};
constexpr FederalIdFields kTaxpayerFederal = {
    FedFilerInfo::kTaxpayerIdNumber, FedFilerInfo::kTaxpayerIdState,
    FedFilerInfo::kTaxpayerIdIssueDate, FedFilerInfo::kTaxpayerIdExpirationDate,
    FedFilerInfo::kTaxpayerIdNoExpirationBox};
constexpr FederalIdFields kSpouseFederal = {
    FedFilerInfo::kSpouseIdNumber, FedFilerInfo::kSpouseIdState, FedFilerInfo::kSpouseIdIssueDate,
    FedFilerInfo::kSpouseIdExpirationDate, FedFilerInfo::kSpouseIdNoExpirationBox};

// The texts of the rules that name the person.
struct PersonTexts {
  const char* numberMissing;
  const char* stateMissing;
  const char* issueDateMissing;
  const char* expirationMissing;
  const char* noOption;
  const char* issueAfterToday;
  const char* expiredBeforeToday;
};
const PersonTexts kTaxpayerTexts = {
    "Your driver's license or state ID number",
    "State your ID was issued in",
    "Issue date of your ID",
    "Enter the expiration date or tell us your driver's license or ID doesn't have one",
    "Select one of the options for your driver's license or state-issued ID.",
    "The issue date of your ID must be on or before today's date",
    "The expiration date of your ID must be on or after today's date",
};
const PersonTexts kSpouseTexts = {
    "Spouse's driver's license or state ID number",
    "State your spouse's ID was issued in",
    "Issue date of your spouse's ID",
    "Enter the expiration date or tell us your spouse's driver's license or ID doesn't have one",
    "Select one of the options for your spouse's driver's license or state-issued ID.",
    "The issue date of your spouse's ID must be on or before today's date",
    "The expiration date of your spouse's ID must be on or after today's date",
};

const char kNumberMismatch[] =
    "The driver's license or state ID number doesn't match the number on your federal return. "
    "Please make sure your state entry is correct.";
const char kStateMismatch[] =
    "The issuing state doesn't match the issuing state on your federal return. Please make sure "
    "your state entry is correct.";
const char kIssueDateMismatch[] =
    "The issue date doesn't match the issue date on your federal return. Please make sure your "
    "state entry is correct.";
const char kExpirationMismatch[] =
    "The expiration date doesn't match the expiration date on your federal return. Please make "
    "sure your state entry is correct.";

// Filing statuses of a state return on which the spouse has an ID too: the
// joint status, and the two codes that other states give joint returns.
const uint8_t kOtherStatesJointStatuses[] = {8, 9};
bool isJointStatus(uint8_t status) {
  return status == PADataMgmt::kFilingJoint || status == kOtherStatesJointStatuses[0] ||
         status == kOtherStatesJointStatuses[1];
}

// Both texts entered and different as whole texts, case ignored.
bool textsDiffer(const std::string& a, const std::string& b) {
  return !a.empty() && !b.empty() && Utils::OVStringUtils::stricmp(a.c_str(), b.c_str()) != 0;
}

// Both dates entered and on different days.
bool datesDiffer(const std::string& a, const std::string& b) {
  return !a.empty() && !b.empty() &&
         Utils::strDateToNumber(a.c_str()) != Utils::strDateToNumber(b.c_str());
}

// One person's eleven rules.
class DriversLicenseRules {
 public:
  DriversLicenseRules(StateTaxFormAuditor& auditor, StateDataMgmt::StateTaxReturn& stateReturn,
                      DataMgmt::TaxReturn* federal, const DataMgmt::FormId& form,
                      const DataMgmt::TaxForm& copy, int messageClass)
      : auditor_(auditor),
        state_(stateReturn),
        federal_(federal),
        form_(form),
        copy_(copy),
        class_(static_cast<uint8_t>(messageClass)) {}

  void run(const PersonFields& fields, const FederalIdFields& fed, const PersonTexts& texts,
           long today, bool expirationChecked);

 private:
  void report(bool answer, char code, const FieldId& field, const char* text) {
    auditor_.reportAuditIssue(AuditMgmt::kNoAuditHelpID, Primitives::OVImmutableTopicIdentifier(0),
                              false, class_, answer, code, form_, 1, field, text, 0);
  }
  // Whole texts, however long.
  std::string stateText(const FieldId& field) const {
    return state_.getFieldAsString(form_, 1, field);
  }
  std::string federalText(const FieldId& field) const {
    return federal_ == nullptr ? std::string()
                               : federal_->getFieldAsString(kFormID_FedFilerInfo, 1, field);
  }

  StateTaxFormAuditor& auditor_;
  StateDataMgmt::StateTaxReturn& state_;
  DataMgmt::TaxReturn* federal_;
  const DataMgmt::FormId& form_;
  const DataMgmt::TaxForm& copy_;
  const uint8_t class_;
};

void DriversLicenseRules::run(const PersonFields& f, const FederalIdFields& fed,
                              const PersonTexts& texts, long today, bool expirationChecked) {
  const bool hasId = copy_.xMarked(f.hasIdBox) || copy_.xMarked(f.secondHasIdBox);
  const bool noExpiration = copy_.xMarked(f.noExpirationBox);

  const std::string number = stateText(f.idNumber), issuer = stateText(f.issuingState),
                    issued = stateText(f.issueDate), expires = stateText(f.expirationDate);
  const std::string fedNumber = federalText(fed.idNumber), fedIssuer = federalText(fed.issuingState),
                    fedIssued = federalText(fed.issueDate),
                    fedExpires = federalText(fed.expirationDate);
  const bool fedNoExpiration =
      federal_ != nullptr && federal_->formYes(kFormID_FedFilerInfo, 1, fed.noExpiration);

  // Agreement with the federal entries.
  report(hasId && textsDiffer(fedNumber, number), kCodeNotice, f.idNumber, kNumberMismatch);
  report(hasId && textsDiffer(fedIssuer, issuer), kCodeNotice, f.issuingState, kStateMismatch);
  report(hasId && datesDiffer(fedIssued, issued), kCodeNotice, f.issueDate, kIssueDateMismatch);
  report(hasId && (fedNoExpiration != noExpiration || datesDiffer(fedExpires, expires)),
         kCodeNotice, f.expirationDate, kExpirationMismatch);

  // Completeness.
  report(hasId && copy_.isNull(f.idNumber), kCodeMissing, f.idNumber, texts.numberMissing);
  report(hasId && copy_.isNull(f.issuingState), kCodeMissing, f.issuingState, texts.stateMissing);
  report(hasId && copy_.isNull(f.issueDate), kCodeMissing, f.issueDate, texts.issueDateMissing);
  report(hasId && !noExpiration && copy_.isNull(f.expirationDate), kCodeMissing, f.expirationDate,
         texts.expirationMissing);
  const bool optionChosen =
      copy_.xMarked(f.otherOption) ||
      (f.secondOtherOption.getNumber() > 0 && copy_.xMarked(f.secondOtherOption)) ||
      copy_.xMarked(f.hasIdBox) || copy_.xMarked(f.secondHasIdBox);
  report(!optionChosen, kCodeMissing, f.hasIdBox, texts.noOption);

  // Dates against today. A date that cannot be read has day number 0,
  // before any today: never after it, always expired.
  const long issuedDay = Utils::strDateToNumber(issued.c_str());
  const long expiresDay = Utils::strDateToNumber(expires.c_str());
  report(hasId && copy_.nonNull(f.issueDate) && issuedDay > today, kCodeNoEFile, f.issueDate,
         texts.issueAfterToday);
  report(expirationChecked && hasId && !noExpiration && copy_.nonNull(f.expirationDate) &&
             expiresDay < today,
         kCodeNoEFile, f.expirationDate, texts.expiredBeforeToday);
}

}  // namespace

void StateTaxFormAuditor::auditDriversLicense(
    const FormId& form, int messageClass, FieldId otherOption, FieldId secondOtherOption,
    FieldId idNumber, FieldId issuingState, FieldId issueDate, FieldId expirationDate,
    FieldId noExpirationBox, FieldId hasIdBox, FieldId secondHasIdBox, FieldId spouseOtherOption,
    FieldId spouseSecondOtherOption, FieldId spouseIdNumber, FieldId spouseIssuingState,
    FieldId spouseIssueDate, FieldId spouseExpirationDate, FieldId spouseNoExpirationBox,
    FieldId spouseHasIdBox, FieldId spouseSecondHasIdBox) {
  if (stateReturn == nullptr) return;
  const DataMgmt::TaxFormPtr copy = stateReturn->getFormUVPtr(form, 1, false);
  if (copy.isNull()) return;

  int month = 0, day = 0, year = 0;
  Utils::getCurrentDate(month, day, year, false);
  const long today = Utils::dateToNumber(month, day, year);
  char abbreviation[16] = "";
  stateReturn->getStateAbbreviation(abbreviation);
  abbreviation[sizeof(abbreviation) - 1] = '\0';
  // New York does not judge expiration dates against today.
  const bool expirationChecked = std::string(abbreviation) != "NY";

  DriversLicenseRules rules(*this, *stateReturn, federalReturn, form, *copy, messageClass);
  const PersonFields taxpayer = {otherOption,     secondOtherOption, idNumber,
                                 issuingState,    issueDate,         expirationDate,
                                 noExpirationBox, hasIdBox,          secondHasIdBox};
  rules.run(taxpayer, kTaxpayerFederal, kTaxpayerTexts, today, expirationChecked);

  if (!isJointStatus(stateReturn->getFilingStatus())) return;
  const PersonFields spouse = {
      spouseOtherOption,     spouseSecondOtherOption, spouseIdNumber,
      spouseIssuingState,    spouseIssueDate,         spouseExpirationDate,
      spouseNoExpirationBox, spouseHasIdBox,          spouseSecondHasIdBox};
  rules.run(spouse, kSpouseFederal, kSpouseTexts, today, expirationChecked);
}

}  // namespace StateAuditMgmt
