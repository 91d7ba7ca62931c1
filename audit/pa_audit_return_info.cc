// auditReturnInfo: the rules of the PA return information form (state form
// 168). They check the return as a whole: electronic-filing eligibility
// (amended return, deceased taxpayer, middle initials, P.O. box, spouse's
// number), entries the return needs (school code, residency dates, the
// payer of unemployment compensation), the paper-return and payment
// instructions, and the shared state checks with the PA fields. Every rule
// reports its answer, true or false; the routine changes no field.
#include <cctype>
#include <cstddef>
#include <string>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/fields/fields.h"
#include "host/configuration.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace PAAuditMgmt {

namespace {

typedef Primitives::OVImmutableIdentifier FieldId;

// The PA-40 filing-status code of a married person filing separately.
const char kSeparateStatusCode[] = "M";

const int kStateInfoOptions = 177;   // suffix, duplicate, missing state, withholding

// PA forms still in draft, ended by a form numbered 0; none in this version.
const Primitives::OVImmutableFormIdentifier kDraftForms[] = {
    Primitives::OVImmutableFormIdentifier()};

const char kInitialsText[] =
    "For electronic filing, Pennsylvania only allows alpha characters for the taxpayer or "
    "spouse's middle initial. Please go back to the federal Interview and remove the number, "
    "hyphen, or punctuation mark.";
const char kAmendedText[] =
    "This program does not support electronic filing for taxpayers filing a PA Amended Return for "
    "the current year.";
const char kSchoolCodeEFileText[] =
    "you have either not entered the school code for the school district in which you lived at "
    "the end of the year, or the code you entered is invalid";
const char kSchoolCodeText[] =
    "you have either not entered the school code for the Pennsylvania public school district in "
    "which you lived at the end of the year, or the code you entered is invalid";
const char kDeceasedText[] =
    "This program does not support e-filing on behalf of a deceased taxpayer";
const char kDeceasedJointText[] =
    "Your federal filing status is MFJ, however, Pennsylvania does not permit you to file a joint "
    "return if the primary taxpayer died during the current tax year. You must create separate "
    "federal returns in addition to the joint return that you will actually file in order for "
    "your Pennsylvania return to contain the correct data.";
const char kSpouseSsnText[] =
    "For electronic filing, Pennsylvania requires you include your spouse's social security "
    "number.";
const char kPOBoxText[] =
    "The Pennsylvania Department of Revenue will not accept an electronically filed return from a "
    "taxpayer whose Pennsylvania mailing address differs from the federal mailing address. "
    "Because your mailing address includes a P.O. Box and Pennsylvania requires that this "
    "infomation appear on a separate address line, you must return to the federal interview "
    "topic Personal Information and change the information entered in the street box of the Your "
    "Personal Information screen to include only the P.O. Box information and to exactly match "
    "the information entered in the state interview.";
const char kCombatZoneText[] =
    "Print COMBAT ZONE at the top of your return and submit your military orders with your "
    "return.";
const char kPayerNameText[] =
    "Please review your Unemployment Compensation. The Payer name is required.";
const char kPayerAddressText[] =
    "Please review your Unemployment Compensation and complete the Payer's address.";
const char kLooseVoucherText[] =
    "Don't staple or otherwise attach the payment to the voucher. Instead, just place it loose in "
    "the envelope with the voucher.";
// The voucher text: its start, the tax year, its end.
const char kVoucherTextStart[] = "the last four digits of your Social Security number, \"";
const char kVoucherTextEnd[] = " PA-V\", and your daytime phone number";
// The different-residency text: its start, the tax year, its end.
const char kResidencyTextStart[] =
    "Because you and your spouse had different residency statuses or different tax years during ";
const char kResidencyTextEnd[] =
    " you must file separate PA tax returns. You may, however, file a joint return if you have "
    "different residency statuses if you both elect to file as Residents.";

// A box of the audited copy; a missing copy reads as unmarked.
bool markedOn(const DataMgmt::TaxFormPtr& formCopy, const FieldId& field) {
  return !formCopy.isNull() && formCopy->xMarked(field);
}

// Whether an initial holds a character that is not a letter.
bool hasNonLetter(const std::string& text) {
  for (char c : text) {
    if (!std::isalpha(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

}  // namespace

void PATaxFormAuditor::auditReturnInfo(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const FormId& form = kFormID_PAReturnInfo;
  const TopicId noTopic(0);
  const ScheduleRuleReporter report(*this, form, copy);
  // 1. Draft forms (none in this version).
  if (kDraftForms[0].getNumber() > 0 &&
      !DataMgmt::OrvaneConfiguration::getInstance().AllowAutoTest()) {
    auditDraftForms(kDraftForms);
  }
  // 2. State information of the federal statements.
  if (eFileAudit) {
    auditStateInfoReturns(AuditMgmt::kNoAuditHelpID, noTopic, false, form, kStateInfoOptions,
                          false);
  }

  // 3-4. Paper-return and payment instructions (listing mode).
  const std::string voucherText = kVoucherTextStart + std::string(kYearText2018) + kVoucherTextEnd;
  report.issue(kClassPayment, true, kCodeNotice, Primitives::kNullFieldID, voucherText.c_str());
  report.issue(kClassPayment, true, kCodeNotice, Primitives::kNullFieldID, kLooseVoucherText);

  auditReturnInfoFilers(formCopy, copy);
  auditReturnInfoAddresses(formCopy, copy);

  // 19. State entries of the federal return.
  auditStateInfoEntered(
      formCopy.isNull() ? 0 : static_cast<int>(formCopy->getIN(PAReturnInfo::kResidencyChoice)));

  // 20. Driver's licence or state ID of the taxpayer and the spouse.
  using namespace PAReturnInfo;  // NOLINT(build/namespaces): eighteen fields of one form
  auditDriversLicense(
      form, kClassEFile, kTaxpayerNoIDBox, kTaxpayerOtherIDOptionBox, kTaxpayerIDNumber,
      kTaxpayerIDState, kTaxpayerIDIssueDate, kTaxpayerIDExpirationDate, kTaxpayerIDNoExpirationBox,
      kTaxpayerDriversLicenseBox, kTaxpayerStateIDBox, kSpouseNoIDBox, kSpouseOtherIDOptionBox,
      kSpouseIDNumber, kSpouseIDState, kSpouseIDIssueDate, kSpouseIDExpirationDate,
      kSpouseIDNoExpirationBox, kSpouseDriversLicenseBox, kSpouseStateIDBox);
}

void PATaxFormAuditor::auditReturnInfoFilers(const DataMgmt::TaxFormPtr& formCopy, unsigned short copy) {
  const FormId& form = kFormID_PAReturnInfo;
  const TopicId noTopic(0);
  const ScheduleRuleReporter report(*this, form, copy);
  auto marked = [&formCopy](const FieldId& field) { return markedOn(formCopy, field); };
  auto filled = [this](const FieldId& field) {
    return paReturn->hasSigValue(kFormID_PAReturnInfo, 1, field);
  };
  // Whole texts of the PA return and the federal return.
  auto text = [this](const FormId& form, const FieldId& field) {
    return paReturn->getFieldAsString(form, 1, field);
  };
  DataMgmt::TaxReturn* const federal = federalReturn;

  // 5. Middle initials: letters only; the spouse's is not read once the
  // taxpayer's fails.
  bool badInitial = false;
  for (const FieldId* initial :
       {&PAReturnInfo::kTaxpayerMiddleInitial.id(), &PAReturnInfo::kSpouseMiddleInitial.id()}) {
    if (hasNonLetter(text(form, *initial))) {
      badInitial = true;
      break;
    }
  }
  reportEFileIssue(AuditMgmt::kNoAuditHelpID, noTopic, false, kClassEFile, badInitial, kCodeNoEFile,
                   FormId(), 1, Primitives::kNullFieldID, kInitialsText, kInterviewHint);

  // 6. Amended return.
  report.issue(kClassEFile, marked(PAReturnInfo::kAmendedReturnYesBox), kCodeNoEFile,
               Primitives::kNullFieldID, kAmendedText, kStateOnlyNote);

  // 7-8. School code.
  const bool schoolCodeMissing =
      !filled(PAReturnInfo::kSchoolCode) || !filled(PAReturnInfo::kSchoolDistrict);
  report.issue(kClassEFile, marked(PAReturnInfo::kFullYearResidentBox) && schoolCodeMissing,
               kCodeMissing, PAReturnInfo::kSchoolCode, kSchoolCodeEFileText);
  report.issue(
      kClassOrdinary,
      (marked(PAReturnInfo::kFullYearResidentBox) ||
       (marked(PAReturnInfo::kPartYearResidentBox) && marked(PAReturnInfo::kSchoolDistrictBox))) &&
          schoolCodeMissing,
      kCodeMissing, PAReturnInfo::kSchoolCode, kSchoolCodeText);

  // 9. Part-year residency period.
  auditResidencyDates(AuditMgmt::kNoAuditHelpID, noTopic, false, kClassBothAudits, form,
                      PAReturnInfo::kPartYearResidentBox, PAReturnInfo::kPartYearFromDate,
                      PAReturnInfo::kPartYearToDate);

  // 10. Different residency statuses on a joint return.
  const bool differentResidency =
      marked(PAReturnInfo::kDifferentResidencyYesBox) && marked(PAReturnInfo::kJointBox);
  const std::string residencyText =
      kResidencyTextStart + std::string(kYearText2018) + kResidencyTextEnd;
  report.issue(kClassOrdinary, differentResidency, kCodeNoEFile, PAReturnInfo::kJointBox,
               residencyText.c_str());
  report.efile(kClassRefusal, differentResidency, kCodeNoEFile, Primitives::kNullFieldID,
               residencyText.c_str(), kStateOnlyNote);

  // 11-12. Deceased taxpayer.
  auto federalYes = [federal](const FieldId& field) {
    return federal != nullptr && federal->formYes(kFormID_FedFilerInfo, 1, field);
  };
  report.efile(kClassRefusal,
               federalYes(FedFilerInfo::kTaxpayerDeceasedBox) ||
                   federalYes(FedFilerInfo::kSpouseDeceasedBox),
               kCodeNotice, Primitives::kNullFieldID, kDeceasedText, kStateOnlyNote);
  report.issue(kClassOrdinary,
               marked(PAReturnInfo::kTaxpayerDeceasedBox) &&
                   !marked(PAReturnInfo::kSpouseDeceasedBox) &&
                   federalYes(FedFilerInfo::kMarriedFilingJointlyBox),
               kCodeNoEFile, Primitives::kNullFieldID, kDeceasedJointText);

  // 13. Spouse's social security number on a married-separate return.
  const bool federalSsnEmpty =
      federal == nullptr || federal->isNull(kFormID_FedFilerInfo, 1, FedFilerInfo::kSpouseSsn);
  const bool spouseSsnEmpty =
      formCopy.isNull() || formCopy->isNull(PAReturnInfo::kSpouseSSNSecondEntry);
  reportAuditIssue(
      AuditMgmt::kNoAuditHelpID, noTopic, false, kClassEFile,
      text(kFormID_PA40, PA40::kFilingStatusCode) == kSeparateStatusCode && federalSsnEmpty &&
          spouseSsnEmpty,
      kCodeMissing, form, 1, PAReturnInfo::kSpouseSSNSecondEntry, kSpouseSsnText, kNoNote);
}

void PATaxFormAuditor::auditReturnInfoAddresses(const DataMgmt::TaxFormPtr& formCopy, unsigned short copy) {
  const FormId& form = kFormID_PAReturnInfo;
  const TopicId noTopic(0);
  const ScheduleRuleReporter report(*this, form, copy);
  auto marked = [&formCopy](const FieldId& field) { return markedOn(formCopy, field); };
  // Whole texts of the PA return and the federal return.
  auto text = [this](const FormId& form, const FieldId& field) {
    return paReturn->getFieldAsString(form, 1, field);
  };
  DataMgmt::TaxReturn* const federal = federalReturn;
  auto federalText = [federal](const FormId& form, uint16_t copy, const FieldId& field) {
    return federal == nullptr ? std::string() : federal->getFieldAsString(form, copy, field);
  };

  // 14. Direct deposit of a refund.
  const bool refundDue = paReturn->getStateLineValue(paReturn->getPA40FormId(), 1,
                                                     PADataMgmt::PATaxReturn::kLineRefund) > 0;
  auditDirectDeposit(AuditMgmt::kNoAuditHelpID, noTopic, false, form, kClassEFile, refundDue,
                     PAReturnInfo::kDirectDepositYesBox, PAReturnInfo::kDepositUseFederalBankBox,
                     Primitives::kNullFieldID, PAReturnInfo::kDepositRoutingNumber,
                     PAReturnInfo::kDepositAccountNumber, PAReturnInfo::kDepositCheckingBox,
                     PAReturnInfo::kDepositSavingsBox, Primitives::kNullFieldID,
                     Primitives::kNullFieldID, Primitives::kNullFieldID);

  // 15. Federal Care Of line.
  auditCareOf(AuditMgmt::kNoAuditHelpID, noTopic, false, 3);

  // 16. A P.O. box mailing address must match the federal street line.
  if (marked(PAReturnInfo::kPOBoxBox)) {
    // Whole lines: two lines alike in their first part still differ.
    const std::string street = federalText(kFormID_FedFilerInfo, 1, FedFilerInfo::kStreet);
    report.issueOn(FormId(), kClassEFile,
                   Utils::OVStringUtils::stricmp(text(form, PAReturnInfo::kStreet).c_str(),
                                                 street.c_str()) != 0,
                   kCodeNoEFile, Primitives::kNullFieldID, kPOBoxText, kInterviewHint);
  }

  // 17. Combat zone (paper return, listing mode).
  report.issue(kClassAttachment,
               !eFileAudit && (marked(PAReturnInfo::kCombatZoneYesBox) ||
                               marked(PAReturnInfo::kSecondCombatZoneYesBox)),
               kCodeNotice, Primitives::kNullFieldID, kCombatZoneText);

  // 18. Payer of PA unemployment compensation on each federal 1099-G.
  if (federal != nullptr) {
    const uint16_t count = federal->getFormCount(kFormID_Fed1099G);
    for (uint16_t i = 1; i <= count; ++i) {
      if (federalText(kFormID_Fed1099G, i, Fed1099G::kSecondState) != "PA" ||
          !(federal->getIR(kFormID_Fed1099G, i, Fed1099G::kSecondStateTaxWithheld) > 0)) {
        continue;
      }
      const ScheduleRuleReporter payer(*this, FormId(), i);
      payer.issue(kClassEFile, federal->isNull(kFormID_Fed1099G, i, Fed1099G::kPayerName),
                  kCodeMissing, Primitives::kNullFieldID, kPayerNameText, kInterviewHint);
      const FieldId address[5] = {Fed1099G::kPayerStreet, Fed1099G::kPayerCity,
                                  Fed1099G::kPayerState, Fed1099G::kPayerZip,
                                  Primitives::kNullFieldID};
      payer.issue(kClassEFile, scanFieldListNullState(kFormID_Fed1099G, i, address) < 4,
                  kCodeMissing, Primitives::kNullFieldID, kPayerAddressText, kInterviewHint);
    }
  }
}

}  // namespace PAAuditMgmt
